// The peak memory of loading a large file, ours and yyjson's.
#ifndef ORVJSON_BENCH_FILE_PEAK_H
#define ORVJSON_BENCH_FILE_PEAK_H

#include <cstddef>

namespace orvbench {

// Writes files of about megabytes MB (copies of the corpora; copies of each
// generated kind), loads each in a fresh child process by LoadJsonFile and
// by yyjson_read_file, and prints, as one JSON member named "file_peak", how
// far each load raised the child's peak resident memory. POSIX only.
void PrintFilePeaks(std::size_t megabytes);

}  // namespace orvbench

#endif  // ORVJSON_BENCH_FILE_PEAK_H
