// Saving a file so that a failure never costs the file that was there, and
// no other user can read, redirect or widen what is saved.
#ifndef ORVJSON_SRC_TEXT_FILE_SAVE_H
#define ORVJSON_SRC_TEXT_FILE_SAVE_H

#include "file_io.h"
#include "file_system.h"

namespace orv {

// The steps of a save, in order.
enum class SaveStep { kCreate, kWrite, kFlush, kSync, kProtect, kClose, kReplace, kSyncFolder };

// Lets a test make one step fail as if the system had refused it: called
// before each step, a true result fails that step.
using SaveFault = bool (*)(SaveStep step);

// Replaces the file at path with what write writes. The bytes go to a new
// file beside the target that only the saver can open; once they are synced
// to the disk the file takes the target's owner, group, permissions, access
// list and extended attributes, and is renamed over the target in one step,
// so that the target holds either its old bytes or all of the new ones, also
// for a reader and after a crash. A symbolic link stays a link and the file
// it leads to is replaced.
//
// Written in place instead (truncated and rewritten, so a failure can cut it
// short): devices and FIFOs; a file whose protection a replacement could not
// carry over (another user's file, an attribute the saver cannot set); a
// file in a folder that takes no new file, or where the rename is refused
// (a sticky folder), but that the saver may write.
//
// Refused, with nothing touched: a link or a file that another user planted
// in a sticky world-writable folder (the kernel's protected_symlinks and
// protected_regular rules), and an existing file the saver may not write.
//
// Returns true when the new text is in place. A failed sync of the folder
// after the rename does not change that: the file holds the new text, only
// its name may not survive a crash. On any failure everything the save made
// is closed and removed, exceptions from write included.
bool SaveFile(const NativePath& path, const WriteText& write, SaveFault fault = nullptr);

}  // namespace orv

#endif  // ORVJSON_SRC_TEXT_FILE_SAVE_H
