// The benchmark inputs: the standard corpora and generated documents.
#ifndef ORVJSON_BENCH_CORPUS_H
#define ORVJSON_BENCH_CORPUS_H

#include <cstddef>
#include <string>
#include <vector>

namespace orvbench {

// The corpus files by short name (canada, citm, twitter).
struct CorpusFile {
  std::string name;
  std::string path;
  std::string text;
};

// The three corpora, read once. The folder comes from ORVJSON_CORPUS, or
// else bench/data in the project.
const std::vector<CorpusFile>& Corpora();

// {"m0":0,"m1":1,...} with count members.
std::string ObjectOfMembers(int count);
// [0.5,1.5,...] with count doubles.
std::string ArrayOfDoubles(int count);

// Generated texts of about 1 MB of the corpora's kinds: 0 numbers (an
// array of doubles of up to 17 digits), 1 strings (an array of strings
// with escapes and UTF-8), 2 records (an array of small objects).
std::size_t GeneratedKinds();
const std::string& Generated(std::size_t kind);

// A scratch file path for write benchmarks.
std::string ScratchFile(const std::string& name);

}  // namespace orvbench

#endif  // ORVJSON_BENCH_CORPUS_H
