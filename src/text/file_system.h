// The operating-system file operations that reads and safe saves need beyond
// the C runtime. One interface; a POSIX and a Windows body.
#ifndef ORVJSON_SRC_TEXT_FILE_SYSTEM_H
#define ORVJSON_SRC_TEXT_FILE_SYSTEM_H

#include <cstddef>
#include <cstdio>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace orv {

// A path as the system's own file functions take it: bytes on POSIX, UTF-16
// on Windows (whose byte functions would go through the ANSI code page).
#ifdef _WIN32
using NativePath = std::wstring;
#else
using NativePath = std::string;
#endif

// A path given in the C runtime's encoding: the bytes themselves on POSIX,
// the ANSI code page on Windows (what fopen takes). False for a null or
// empty path, one with a NUL byte inside, or bytes the code page lacks.
bool PathFromLocal(const char* path, std::size_t length, NativePath& out);
// A path given in UTF-8. False for an empty path, a NUL byte inside, or
// bytes that are not UTF-8 (on Windows; POSIX takes any bytes).
bool PathFromUtf8(const char* path, std::size_t length, NativePath& out);

// Opens a regular file for reading and gives the size the system reports for
// it (0 when it reports none). Null for anything else: a directory, a device
// or a FIFO (never waited for), a missing or unreadable file. On Windows a
// file is briefly locked while a save replaces it; opening waits for that
// instead of failing. A size that could not be held in memory throws
// std::bad_alloc.
std::FILE* OpenRegularFile(const NativePath& path, std::size_t& reportedSize);

// What a save needs to know about its target before it writes anything.
struct SaveTarget {
  NativePath path;    // the file a symbolic link leads to, or the path itself
  NativePath folder;  // its folder, ending in a separator; empty for the current one
  bool exists = false;
  bool regular = false;   // a regular file (only those can be replaced)
  bool writable = false;  // the process may write it (when it exists)
  // Whether a replacement can carry over everything that protects the file
  // (owner, group, permissions, access lists, extended attributes). When it
  // cannot, the file is written in place and keeps them.
  bool replaceable = false;
#ifdef _WIN32
  unsigned long attributes = 0;
  std::vector<unsigned char> security;  // the file's security descriptor
#else
  unsigned mode = 0;  // permission bits
  unsigned long owner = 0, group = 0, device = 0, inode = 0;
  std::vector<std::pair<std::string, std::string> > attributes;  // extended attributes, the access ACL among them
#endif
};

// Describes where a save of path lands. Symbolic links are followed only
// where the kernel's protected_symlinks rule lets this process follow them.
// False, with nothing done, when the save must be refused: such a link, or
// another user's file in a sticky world-writable folder (the
// protected_regular rule), or a target whose protection cannot be read.
bool DescribeTarget(const NativePath& path, SaveTarget& target);

// A new file beside the target that only this process can open until
// Replace: created exclusively, readable and writable by the saver alone.
// Closed, and removed unless it replaced the target, when it goes.
class TempFile {
 public:
  TempFile() = default;
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;
  ~TempFile();

  // Creates the file. False with denied set when the folder takes no new
  // file from this process (a save may then write in place).
  bool Create(const SaveTarget& target, bool& denied);
  std::FILE* file() const { return file_; }
  // Pushes what the system holds of the file to the disk.
  bool Sync();
  // Gives the file what protects the target, now that its text is complete.
  bool TakeProtection(const SaveTarget& target);
  bool Close();
  // Puts the file in place of the target in one step. False with
  // inPlace set when the system refuses that but a write in place may do
  // (a sticky folder, a target another program holds open).
  bool Replace(const SaveTarget& target, bool& inPlace);

 private:
  NativePath name_;
  std::FILE* file_ = nullptr;
  bool placed_ = false;
};

// Opens the target for writing in place (it is not replaced), truncated, or
// null. An existing regular file must still be the one described.
std::FILE* OpenInPlace(const SaveTarget& target);

// Pushes what the system holds of the open file to the disk.
bool SyncFile(std::FILE* file);

// Makes the replace itself durable (the folder's entry), where the system
// needs and allows it. False only for a real input/output error.
bool SyncFolder(const SaveTarget& target);

// A block of bytes for a file's text. Heap memory, except for a large block
// on Windows, whose heap cannot give pages back: that one gets pages of its
// own, so that DiscardPages may thin it out while it is parsed.
void FreeText(char* text, bool ownPages) noexcept;
struct TextFree {
  bool ownPages = false;
  void operator()(char* text) const noexcept { FreeText(text, ownPages); }
};
using TextBlock = std::unique_ptr<char, TextFree>;
// Throws std::bad_alloc.
TextBlock AllocateText(std::size_t bytes);
// Whether DiscardPages may be given pages of block.
bool Discardable(const TextBlock& block);

// The size of the system's memory pages.
std::size_t PageSize();
// Gives the system back the memory of bytes (whole pages from first, inside
// one Discardable block), whose contents are no longer needed: they may read
// as zeros afterwards, or not be readable at all (Windows). The block is
// still freed as usual. False when the system refuses.
bool DiscardPages(char* first, std::size_t bytes);
}  // namespace orv

#endif  // ORVJSON_SRC_TEXT_FILE_SYSTEM_H
