#include "file_io.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <new>

namespace orv {
namespace {

// Closes the file on every path out of a read.
struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using ReadFile = std::unique_ptr<std::FILE, FileCloser>;

// Enough for small files whose size is not reported.
constexpr std::size_t kFirstRead = 4096;

}  // namespace

bool ReadWholeFile(const NativePath& path, FileBytes& out) {
  std::size_t capacity = 0;
  ReadFile file(OpenRegularFile(path, capacity));
  if (!file) return false;
  // The size the system reports is where reading starts, not where it ends:
  // virtual file systems (procfs) report 0 for files that hold bytes, and a
  // file can grow while it is read. One byte more than reported is asked
  // for, so that a file of the reported size is read in one call that also
  // finds its end.
  capacity = capacity < kFirstRead ? kFirstRead : capacity + 1;
  TextBlock data = AllocateText(capacity);
  std::size_t size = 0;
  for (;;) {
    size += std::fread(data.get() + size, 1, capacity - size, file.get());
    if (size < capacity) break;  // the end, or an error
    if (capacity > SIZE_MAX / 2) throw std::bad_alloc();
    TextBlock larger = AllocateText(capacity * 2);
    std::memcpy(larger.get(), data.get(), size);
    data = std::move(larger);
    capacity *= 2;
  }
  if (std::ferror(file.get())) return false;
  data.get()[size] = '\0';  // size < capacity: there is room
  out.data = std::move(data);
  out.size = size;
  return true;
}

}  // namespace orv
