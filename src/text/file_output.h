// Writing JSON text into a file without holding it whole in memory.
#ifndef ORVJSON_SRC_TEXT_FILE_OUTPUT_H
#define ORVJSON_SRC_TEXT_FILE_OUTPUT_H

#include <cstddef>
#include <cstdio>
#include <memory>

#include "../json/json_types.h"

namespace orv {

// A RapidJSON output stream: a 64 KiB buffer in front of an open file. It
// lends the writer room to format numbers in place (Push and Pop), as a
// StringBuffer does, which RapidJSON's FileWriteStream cannot.
class FileOutput {
 public:
  typedef char Ch;

  explicit FileOutput(std::FILE* file)
      : file_(file), buffer_(new char[kSize]), current_(buffer_.get()), end_(buffer_.get() + kSize) {}
  FileOutput(const FileOutput&) = delete;
  FileOutput& operator=(const FileOutput&) = delete;

  void Put(char c) {
    if (current_ == end_) Drain();
    *current_++ = c;
  }
  // Room for count bytes (at most a number's worth), to be trimmed by Pop.
  char* Push(std::size_t count) {
    if (static_cast<std::size_t>(end_ - current_) < count) Drain();
    char* at = current_;
    current_ += count;
    return at;
  }
  void Pop(std::size_t count) { current_ -= count; }
  void Flush() { Drain(); }
  // Whether every byte so far reached the file.
  bool ok() const { return ok_; }

 private:
  static constexpr std::size_t kSize = 65536;  // on the heap: a writing thread may have a small stack

  void Drain() {
    const auto size = static_cast<std::size_t>(current_ - buffer_.get());
    if (size > 0 && std::fwrite(buffer_.get(), 1, size, file_) != size) ok_ = false;
    current_ = buffer_.get();
  }

  std::FILE* const file_;
  const std::unique_ptr<char[]> buffer_;
  char* current_;
  char* const end_;
  bool ok_ = true;
};

using FileWriter = rapidjson::Writer<FileOutput, rapidjson::UTF8<>, rapidjson::UTF8<>, CheckedAllocator>;

}  // namespace orv

namespace rapidjson {
ORVJSON_DIRECT_NUMBER_WRITERS(orv::FileWriter)
}  // namespace rapidjson

#endif  // ORVJSON_SRC_TEXT_FILE_OUTPUT_H
