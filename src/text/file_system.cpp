#include "file_system.h"

#include <atomic>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <new>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <process.h>
#include <sys/stat.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace orv {
namespace {

#ifdef _WIN32
constexpr const char* kSeparators = "/\\:";
int ProcessId() { return _getpid(); }
#else
constexpr const char* kSeparators = "/";
int ProcessId() { return static_cast<int>(getpid()); }
#endif

// A size in bytes as a size_t, when memory could hold that many.
std::size_t SizeInMemory(std::uint64_t size) {
  if (size >= SIZE_MAX) throw std::bad_alloc();
  return static_cast<std::size_t>(size);
}

std::string FolderOf(const std::string& path) {
  const auto last = path.find_last_of(kSeparators);
  return last == std::string::npos ? std::string() : path.substr(0, last + 1);
}

// A name no other save picks: the process, a counter within it, and the
// clock for processes that reuse an id. Leading dot: hidden in listings.
std::string UniqueName() {
  static std::atomic<unsigned long> counter{0};
  const auto ticks = static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count());
  return ".orvjson-" + std::to_string(ProcessId()) + "-" + std::to_string(counter++) + "-" +
         std::to_string(ticks % 1000000007ULL) + ".tmp";
}

}  // namespace

#ifdef _WIN32

std::FILE* OpenRegularFile(const char* path, std::size_t& reportedSize) {
  std::FILE* file = nullptr;
  for (int attempt = 0; file == nullptr; ++attempt) {
    file = std::fopen(path, "rb");
    if (file == nullptr && (GetLastError() != ERROR_SHARING_VIOLATION || attempt == 100)) return nullptr;
    if (file == nullptr) Sleep(1);
  }
  struct _stati64 info;
  if (_fstati64(_fileno(file), &info) != 0 || (info.st_mode & _S_IFMT) != _S_IFREG) {
    std::fclose(file);
    return nullptr;
  }
  reportedSize = SizeInMemory(static_cast<std::uint64_t>(info.st_size));
  return file;
}

// Device names (CON, NUL, COM1, ...) name a device in every folder, with
// any extension; so does a path in the \\.\ namespace.
bool IsDevice(const std::string& path) {
  if (path.compare(0, 4, "\\\\.\\") == 0) return true;
  const auto slash = path.find_last_of(kSeparators);
  std::string base = path.substr(slash == std::string::npos ? 0 : slash + 1);
  base = base.substr(0, base.find('.'));
  while (!base.empty() && base.back() == ' ') base.pop_back();
  for (char& c : base) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (base == "CON" || base == "PRN" || base == "AUX" || base == "NUL") return true;
  return base.size() == 4 && (base.compare(0, 3, "COM") == 0 || base.compare(0, 3, "LPT") == 0) && base[3] >= '1' &&
         base[3] <= '9';
}

SaveTarget DescribeTarget(const std::string& path) {
  SaveTarget target;
  target.path = path;
  target.folder = FolderOf(path);
  if (IsDevice(path)) {
    target.exists = true;  // written to, never replaced
    return target;
  }
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES) {
    target.exists = true;
    target.writable = (attributes & FILE_ATTRIBUTE_READONLY) == 0;
    target.regular = (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
    target.attributes = attributes;
  }
  return target;
}

std::FILE* CreateTempFile(const SaveTarget& target, std::string& name, bool& denied) {
  denied = false;
  for (int attempt = 0; attempt < 100; ++attempt) {
    name = target.folder + UniqueName();
    const int fd = _open(name.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT, _S_IREAD | _S_IWRITE);
    if (fd < 0) {
      if (errno == EEXIST) continue;
      denied = errno == EACCES;
      return nullptr;
    }
    // Hidden and system files stay so; read-only ones were refused before.
    const DWORD kept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    if ((target.attributes & kept) != 0) SetFileAttributesA(name.c_str(), target.attributes & kept);
    std::FILE* file = _fdopen(fd, "wb");
    if (file == nullptr) {
      _close(fd);
      std::remove(name.c_str());
    }
    return file;
  }
  return nullptr;
}

bool SyncFile(std::FILE* file) {
  return FlushFileBuffers(reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)))) != 0;
}

bool ReplaceTarget(const std::string& temp, const SaveTarget& target) {
  // A reader that has the target open without sharing deletion holds off a
  // replace for as long as it reads; wait briefly for it.
  for (int attempt = 0; attempt < 50; ++attempt) {
    if (MoveFileExA(temp.c_str(), target.path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0) {
      return true;
    }
    const DWORD error = GetLastError();
    if (error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION) return false;
    Sleep(1);
  }
  return false;
}

// MOVEFILE_WRITE_THROUGH returns only once the move is on the disk.
bool SyncFolder(const SaveTarget&) { return true; }

#else

std::FILE* OpenRegularFile(const char* path, std::size_t& reportedSize) {
  // Looked at before opening: opening someone's FIFO, even without waiting
  // for a writer, would disturb whoever uses it.
  struct stat info;
  if (stat(path, &info) != 0 || !S_ISREG(info.st_mode)) return nullptr;
  // O_NONBLOCK in case it became a FIFO since: opening one waits for a writer.
  const int fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return nullptr;
  std::FILE* file = nullptr;
  if (fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
    reportedSize = SizeInMemory(static_cast<std::uint64_t>(info.st_size));
    file = fdopen(fd, "rb");  // O_NONBLOCK does nothing to a regular file
  }
  if (file == nullptr) close(fd);
  return file;
}

namespace {

bool ReadLink(const std::string& path, std::string& out) {
  std::string buffer(256, '\0');
  for (;;) {
    const ssize_t length = readlink(path.c_str(), &buffer[0], buffer.size());
    if (length < 0) return false;
    if (static_cast<std::size_t>(length) < buffer.size()) {
      buffer.resize(static_cast<std::size_t>(length));
      out = buffer;
      return true;
    }
    buffer.resize(buffer.size() * 2);
  }
}

bool IsLink(const std::string& path) {
  struct stat info;
  return lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode);
}

// The replacement keeps the owner and group where the process may set them
// (root, or a group it belongs to), and always the permission bits. The
// owner goes first: changing it clears the set-id bits.
bool CopyOwnerAndMode(int fd, const SaveTarget& target) {
  const auto owner = static_cast<uid_t>(target.owner);
  const auto group = static_cast<gid_t>(target.group);
  if (owner != geteuid() || group != getegid()) {
    if (fchown(fd, owner, group) != 0) (void)!fchown(fd, static_cast<uid_t>(-1), group);
  }
  return fchmod(fd, static_cast<mode_t>(target.mode)) == 0;
}

}  // namespace

SaveTarget DescribeTarget(const std::string& path) {
  SaveTarget target;
  target.path = path;
  // The system follows at most 40 links in a row; so does the save, and a
  // longer chain is left to fail as opening it fails.
  for (int hops = 0; hops < 40 && IsLink(target.path); ++hops) {
    std::string link;
    if (!ReadLink(target.path, link) || link.empty()) break;
    target.path = link[0] == '/' ? link : FolderOf(target.path) + link;
  }
  target.folder = FolderOf(target.path);
  struct stat info;
  if (IsLink(target.path)) {
    target.exists = true;  // a loop or an unreadable link: written in place
  } else if (stat(target.path.c_str(), &info) == 0) {
    target.exists = true;
    target.regular = S_ISREG(info.st_mode);
    target.writable = faccessat(AT_FDCWD, target.path.c_str(), W_OK, AT_EACCESS) == 0;
    target.mode = info.st_mode & 07777;
    target.owner = info.st_uid;
    target.group = info.st_gid;
  }
  return target;
}

std::FILE* CreateTempFile(const SaveTarget& target, std::string& name, bool& denied) {
  denied = false;
  for (int attempt = 0; attempt < 100; ++attempt) {
    name = target.folder + UniqueName();
    // Mode 0666 under the umask: what fopen gives a new file.
    const int fd = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
      if (errno == EEXIST) continue;
      denied = errno == EACCES || errno == EPERM || errno == EROFS;
      return nullptr;
    }
    std::FILE* file = nullptr;
    if (!target.exists || CopyOwnerAndMode(fd, target)) file = fdopen(fd, "wb");
    if (file == nullptr) {
      close(fd);
      unlink(name.c_str());
    }
    return file;
  }
  return nullptr;
}

bool SyncFile(std::FILE* file) { return fsync(fileno(file)) == 0; }

bool ReplaceTarget(const std::string& temp, const SaveTarget& target) {
  return std::rename(temp.c_str(), target.path.c_str()) == 0;
}

bool SyncFolder(const SaveTarget& target) {
  const int fd = open(target.folder.empty() ? "." : target.folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return true;  // a folder the process may not read cannot be synced by it
  // Some file systems cannot sync a folder (EINVAL); theirs is not an error.
  const bool synced = fsync(fd) == 0 || errno == EINVAL || errno == EROFS;
  close(fd);
  return synced;
}

#endif

}  // namespace orv
