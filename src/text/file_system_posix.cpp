// The file operations on POSIX systems (Linux).
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <new>
#include <string>

#include "file_system.h"

namespace orv {
namespace {

// A size in bytes as a size_t, when memory could hold that many.
std::size_t SizeInMemory(std::uint64_t size) {
  if (size >= SIZE_MAX) throw std::bad_alloc();
  return static_cast<std::size_t>(size);
}

std::string FolderOf(const std::string& path) {
  const auto last = path.rfind('/');
  return last == std::string::npos ? std::string() : path.substr(0, last + 1);
}

bool StatFolder(const std::string& folder, struct stat& info) {
  return stat(folder.empty() ? "." : folder.c_str(), &info) == 0;
}

// A folder where anyone may make files but only their owner may remove
// them (/tmp): another user's files and links there are not to be trusted.
bool IsStickyAndOpenToAll(const struct stat& folder) {
  return (folder.st_mode & S_ISVTX) != 0 && (folder.st_mode & S_IWOTH) != 0;
}

// The kernel's rule for such a folder (fs.protected_symlinks for links,
// fs.protected_regular for files): an entry there is trusted when it
// belongs to this process's user or to the folder's owner.
bool IsTrustedIn(const struct stat& entry, const struct stat& folder) {
  return !IsStickyAndOpenToAll(folder) || entry.st_uid == geteuid() || entry.st_uid == folder.st_uid;
}

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

bool InGroup(gid_t group) {
  if (group == getegid()) return true;
  const int count = getgroups(0, nullptr);
  if (count <= 0) return false;
  std::vector<gid_t> groups(static_cast<std::size_t>(count));
  const int got = getgroups(count, groups.data());
  for (int i = 0; i < got; ++i) {
    if (groups[static_cast<std::size_t>(i)] == group) return true;
  }
  return false;
}

// The umask, without changing it: umask() can only be read by setting it,
// which would race with other threads creating files.
mode_t CurrentUmask() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.compare(0, 6, "Umask:") == 0) return static_cast<mode_t>(std::stoul(line.substr(6), nullptr, 8));
  }
  const mode_t mask = umask(022);
  umask(mask);
  return mask;
}

// Every extended attribute of path (the access ACL is one), or false when
// one of them cannot be read: a replacement would then lose it.
bool ReadAttributes(const std::string& path, std::vector<std::pair<std::string, std::string>>& out) {
  ssize_t size = llistxattr(path.c_str(), nullptr, 0);
  if (size < 0) return errno == ENOTSUP;  // a file system without them
  std::string names(static_cast<std::size_t>(size), '\0');
  size = llistxattr(path.c_str(), &names[0], names.size());
  if (size < 0) return false;
  names.resize(static_cast<std::size_t>(size));
  for (std::size_t at = 0; at < names.size(); at += std::strlen(names.c_str() + at) + 1) {
    const char* name = names.c_str() + at;
    ssize_t length = lgetxattr(path.c_str(), name, nullptr, 0);
    if (length < 0) return false;
    std::string value(static_cast<std::size_t>(length), '\0');
    length = lgetxattr(path.c_str(), name, &value[0], value.size());
    if (length < 0) return false;
    value.resize(static_cast<std::size_t>(length));
    out.emplace_back(name, value);
  }
  return true;
}

// A name no other save picks: the process, a counter within it, and the
// clock for processes that reuse an id. Leading dot: hidden in listings.
std::string UniqueName() {
  static std::atomic<unsigned long> counter{0};
  const auto ticks = static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count());
  return ".orvjson-" + std::to_string(getpid()) + "-" + std::to_string(counter++) + "-" +
         std::to_string(ticks % 1000000007ULL) + ".tmp";
}

}  // namespace

bool PathFromLocal(const char* path, std::size_t length, NativePath& out) {
  if (path == nullptr || length == 0 || std::memchr(path, '\0', length) != nullptr) return false;
  out.assign(path, length);
  return true;
}

bool PathFromUtf8(const char* path, std::size_t length, NativePath& out) { return PathFromLocal(path, length, out); }

std::FILE* OpenRegularFile(const NativePath& path, std::size_t& reportedSize) {
  // Looked at before opening: opening someone's FIFO, even without waiting
  // for a writer, would disturb whoever uses it.
  struct stat info;
  if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return nullptr;
  // O_NONBLOCK in case it became a FIFO since: opening one waits for a writer.
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return nullptr;
  std::FILE* file = nullptr;
  if (fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
    reportedSize = SizeInMemory(static_cast<std::uint64_t>(info.st_size));
    file = fdopen(fd, "rb");  // O_NONBLOCK does nothing to a regular file
  }
  if (file == nullptr) close(fd);
  return file;
}

bool DescribeTarget(const NativePath& path, SaveTarget& target) {
  target = SaveTarget();
  target.path = path;
  struct stat info;
  // Links are followed as the kernel follows them, at most 40 in a row.
  for (int hops = 0;; ++hops) {
    if (lstat(target.path.c_str(), &info) != 0) {
      if (errno != ENOENT) return false;
      // A new file: what fopen would give it, 0666 less the umask.
      target.folder = FolderOf(target.path);
      target.mode = 0666 & ~CurrentUmask();
      target.replaceable = true;
      return true;
    }
    if (!S_ISLNK(info.st_mode)) break;
    struct stat folder;
    std::string link;
    if (hops == 40 || !StatFolder(FolderOf(target.path), folder) || !IsTrustedIn(info, folder) ||
        !ReadLink(target.path, link) || link.empty()) {
      return false;
    }
    target.path = link[0] == '/' ? link : FolderOf(target.path) + link;
  }
  target.folder = FolderOf(target.path);
  target.exists = true;
  target.regular = S_ISREG(info.st_mode);
  target.mode = info.st_mode & 07777;
  target.owner = info.st_uid;
  target.group = info.st_gid;
  target.device = info.st_dev;
  target.inode = info.st_ino;
  if (!target.regular) return true;  // written in place as it is
  struct stat folder;
  if (!StatFolder(target.folder, folder) || !IsTrustedIn(info, folder)) return false;
  target.writable = faccessat(AT_FDCWD, target.path.c_str(), W_OK, AT_EACCESS) == 0;
  // The owner can be carried over by root, or when it is the saver; the
  // group when the saver belongs to it.
  const bool ownership = geteuid() == 0 || (info.st_uid == geteuid() && InGroup(info.st_gid));
  target.replaceable = ownership && ReadAttributes(target.path, target.attributes);
  return true;
}

TempFile::~TempFile() {
  if (file_ != nullptr) std::fclose(file_);
  if (!name_.empty() && !placed_) unlink(name_.c_str());
}

bool TempFile::Create(const SaveTarget& target, bool& denied) {
  denied = false;
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string name = target.folder + UniqueName();
    // Private from the start: a reader that opened it now could read the
    // text later, whatever the mode becomes.
    const int fd = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) {
      if (errno == EEXIST) continue;
      denied = errno == EACCES || errno == EPERM || errno == EROFS;
      return false;
    }
    name_ = name;
    file_ = fdopen(fd, "wb");
    if (file_ == nullptr) close(fd);
    return file_ != nullptr;
  }
  return false;
}

bool TempFile::Sync() { return SyncFile(file_); }

bool TempFile::TakeProtection(const SaveTarget& target) {
  const int fd = fileno(file_);
  // The owner goes first (changing it clears the set-id bits), the mode last:
  // with an access ACL, the mode's group bits are the ACL's mask.
  if (target.exists && (target.owner != geteuid() || target.group != getegid()) &&
      fchown(fd, static_cast<uid_t>(target.owner), static_cast<gid_t>(target.group)) != 0) {
    return false;
  }
  for (const auto& attribute : target.attributes) {
    if (fsetxattr(fd, attribute.first.c_str(), attribute.second.data(), attribute.second.size(), 0) != 0) return false;
  }
  return fchmod(fd, static_cast<mode_t>(target.mode)) == 0;
}

bool TempFile::Close() {
  std::FILE* file = file_;
  file_ = nullptr;
  return std::fclose(file) == 0;
}

bool TempFile::Replace(const SaveTarget& target, bool& inPlace) {
  inPlace = false;
  if (std::rename(name_.c_str(), target.path.c_str()) == 0) {
    placed_ = true;
    return true;
  }
  // A sticky folder lets only a file's owner replace it; another member of
  // a shared folder may still write it.
  inPlace = target.exists && (errno == EPERM || errno == EACCES);
  return false;
}

std::FILE* OpenInPlace(const SaveTarget& target) {
  // Not truncated until it is known to be the file described: another user
  // may have put something else there since.
  const int fd = open(target.path.c_str(), O_WRONLY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return nullptr;
  struct stat info;
  const bool same = fstat(fd, &info) == 0 && info.st_dev == target.device && info.st_ino == target.inode;
  if (!same || (S_ISREG(info.st_mode) && ftruncate(fd, 0) != 0)) {
    close(fd);
    return nullptr;
  }
  std::FILE* file = fdopen(fd, "wb");
  if (file == nullptr) close(fd);
  return file;
}

bool SyncFile(std::FILE* file) { return fsync(fileno(file)) == 0; }

bool SyncFolder(const SaveTarget& target) {
  const int fd = open(target.folder.empty() ? "." : target.folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return true;  // a folder the process may not read cannot be synced by it
  // Some file systems cannot sync a folder (EINVAL); theirs is not an error.
  const bool synced = fsync(fd) == 0 || errno == EINVAL || errno == EROFS;
  close(fd);
  return synced;
}

// Pages of heap blocks can be given back with madvise.
TextBlock AllocateText(std::size_t bytes) { return TextBlock(new char[bytes]); }

void FreeText(char* text, bool) noexcept { delete[] text; }

bool Discardable(const TextBlock&) { return true; }

std::size_t PageSize() {
  static const auto page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
  return page;
}

// Private anonymous memory, which every heap block is, reads as zeros once
// discarded.
bool DiscardPages(char* first, std::size_t bytes) { return madvise(first, bytes, MADV_DONTNEED) == 0; }

}  // namespace orv
