// The properties the fuzz targets check, shared with the test suite, which
// replays the seeds and every past finding through them.
#ifndef ORVJSON_FUZZ_CHECKS_H
#define ORVJSON_FUZZ_CHECKS_H

#include <cstddef>
#include <cstdint>
#include <string>

namespace orvfuzz {

// Loads the bytes as JSON text. When they load: writing and loading again
// gives the same text, every query runs over every member and index (and
// beyond), and a file written and loaded back gives the same text.
void CheckText(const std::uint8_t* data, std::size_t size);

// Drives a sequence of API calls on a few handles, and on handles 0 and -1,
// checking invariants after each call.
void CheckApiSequence(const std::uint8_t* data, std::size_t size);

// A scratch file name of this process's own, in the temporary folder.
std::string ScratchPath();

}  // namespace orvfuzz

#endif  // ORVJSON_FUZZ_CHECKS_H
