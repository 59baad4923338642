// Whole-file reads and writes through the C runtime.
#ifndef ORVJSON_SRC_TEXT_FILE_IO_H
#define ORVJSON_SRC_TEXT_FILE_IO_H

#include <cstddef>
#include <cstdio>
#include <functional>
#include <memory>

#include "file_system.h"

namespace orv {

// The bytes of a file followed by one NUL byte, so that they can be parsed
// as NUL-terminated text.
struct FileBytes {
  TextBlock data;
  std::size_t size = 0;
};

// Reads a regular file to its end, whatever size the system reports for it.
// Returns false, leaving out alone, for a path that is not a regular file
// (directories, devices and FIFOs have no end or would block), a file that
// does not open, and a read error. Throws std::bad_alloc when the file does
// not fit in memory.
bool ReadWholeFile(const NativePath& path, FileBytes& out);

// Writes the whole text into an open file; false when it could not.
using WriteText = std::function<bool(std::FILE* file)>;

}  // namespace orv

#endif  // ORVJSON_SRC_TEXT_FILE_IO_H
