// The few operating-system file operations that a safe save needs beyond the
// C runtime: where a path really leads, exclusive creation, syncing to the
// disk and an atomic replace. One interface, a POSIX and a Windows body.
#ifndef ORVJSON_SRC_TEXT_FILE_SYSTEM_H
#define ORVJSON_SRC_TEXT_FILE_SYSTEM_H

#include <cstddef>
#include <cstdio>
#include <string>

namespace orv {

// Opens a regular file for reading ("rb") and gives the size the system
// reports for it (0 when it reports none). Null for anything else: a
// directory, a device or a FIFO (never waited for), a missing or unreadable
// file. On Windows a file is briefly locked while a save replaces it;
// opening waits for that instead of failing. A size that could not be held
// in memory throws std::bad_alloc.
std::FILE* OpenRegularFile(const char* path, std::size_t& reportedSize);

// What a save needs to know about its target before it writes anything.
struct SaveTarget {
  std::string path;    // the file a symbolic link leads to, or the path itself
  std::string folder;  // its folder, ending in a separator; empty for the current one
  bool exists = false;
  bool regular = false;   // a regular file (only those can be replaced atomically)
  bool writable = false;  // the process may write it (meaningful when it exists)
  // What the replacement keeps of an existing file.
#ifdef _WIN32
  unsigned long attributes = 0;
#else
  unsigned mode = 0;  // permission bits
  unsigned long owner = 0, group = 0;
#endif
};

// Follows symbolic links (also to a file that does not exist yet) and
// describes where the save will land.
SaveTarget DescribeTarget(const std::string& path);

// A new file in folder with a unique name, created exclusively with the
// permissions a new file gets from fopen, then given the existing target's
// permission bits (and owner and group, where the process may set them).
// Returns null with *denied set when the folder may not be written to.
std::FILE* CreateTempFile(const SaveTarget& target, std::string& name, bool& denied);

// Pushes what the system holds of the open file to the disk.
bool SyncFile(std::FILE* file);

// Puts the file named temp in place of target in one step.
bool ReplaceTarget(const std::string& temp, const SaveTarget& target);

// Makes the replace itself durable (the folder's entry), where the system
// needs and allows it. False only for a real input/output error.
bool SyncFolder(const SaveTarget& target);

}  // namespace orv

#endif  // ORVJSON_SRC_TEXT_FILE_SYSTEM_H
