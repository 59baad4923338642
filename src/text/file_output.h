// Writing JSON text into a file without holding it whole in memory.
#ifndef ORVJSON_SRC_TEXT_FILE_OUTPUT_H
#define ORVJSON_SRC_TEXT_FILE_OUTPUT_H

#include <cstddef>
#include <cstdio>
#include <memory>

namespace orv {

// An output for CompactWriter: a 64 KiB buffer in front of an open file,
// emptied into the file whenever the writer needs more room.
class FileOutput {
 public:
  explicit FileOutput(std::FILE* file) : file_(file), buffer_(new char[kSize]) {}
  FileOutput(const FileOutput&) = delete;
  FileOutput& operator=(const FileOutput&) = delete;

  char* Start() { return buffer_.get(); }
  char* End() { return buffer_.get() + kSize; }
  char* Grow(char* at, std::size_t /*room: always far less than the buffer*/) {
    Flush(at);
    return Start();
  }
  // Writes what is in the buffer up to at.
  void Flush(char* at) {
    const auto size = static_cast<std::size_t>(at - buffer_.get());
    if (size > 0 && std::fwrite(buffer_.get(), 1, size, file_) != size) ok_ = false;
  }
  // Whether every byte so far reached the file.
  bool ok() const { return ok_; }

 private:
  static constexpr std::size_t kSize = 65536;  // on the heap: a writing thread may have a small stack

  std::FILE* const file_;
  const std::unique_ptr<char[]> buffer_;
  bool ok_ = true;
};

}  // namespace orv

#endif  // ORVJSON_SRC_TEXT_FILE_OUTPUT_H
