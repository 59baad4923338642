#include "file_io.h"

#include <sys/stat.h>

#include <cstdio>

#include "file_system.h"

namespace orv {
namespace {

// Closes the file on every path out of a read.
struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using ReadFile = std::unique_ptr<std::FILE, FileCloser>;

// Checked before opening: opening a FIFO for reading would block until a
// writer appears.
bool IsRegularFile(const char* path) {
  struct stat info;
  return stat(path, &info) == 0 && S_ISREG(info.st_mode);
}

}  // namespace

bool ReadWholeFile(const char* path, FileBytes& out) {
  if (path == nullptr || !IsRegularFile(path)) return false;
  ReadFile file(OpenForReading(path));
  if (!file) return false;
  if (std::fseek(file.get(), 0, SEEK_END) != 0) return false;
  const long length = std::ftell(file.get());
  if (length < 0 || std::fseek(file.get(), 0, SEEK_SET) != 0) return false;
  const auto size = static_cast<std::size_t>(length);
  std::unique_ptr<char[]> data(new char[size + 1]);
  if (std::fread(data.get(), 1, size, file.get()) != size) return false;
  data[size] = '\0';
  out.data = std::move(data);
  out.size = size;
  return true;
}

bool WriteInPlace(const char* path, const char* data, std::size_t size, bool sync) {
  std::FILE* file = std::fopen(path, "wb");
  if (file == nullptr) return false;
  const bool written = std::fwrite(data, 1, size, file) == size && std::fflush(file) == 0;
  const bool synced = !sync || SyncFile(file);
  const bool closed = std::fclose(file) == 0;
  return written && synced && closed;
}

}  // namespace orv
