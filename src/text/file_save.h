// Saving a file so that a failure never costs the file that was there.
#ifndef ORVJSON_SRC_TEXT_FILE_SAVE_H
#define ORVJSON_SRC_TEXT_FILE_SAVE_H

#include "file_io.h"

namespace orv {

// The steps of a save, in order.
enum class SaveStep { kCreate, kWrite, kFlush, kSync, kClose, kReplace };

// Lets a test make one step fail as if the system had refused it: called
// before each step, a true result fails that step.
using SaveFault = bool (*)(SaveStep step);

// Replaces the file at path with what write writes. The bytes go to a new
// file beside the target, which is synced to the disk and then renamed over
// the target in one step, so that the target holds either its old bytes or
// all of the new ones, also for a reader and after a crash. A symbolic link
// stays a link and the file it leads to is replaced; an existing file keeps
// its permission bits (and owner and group where the process may set them).
// Devices and FIFOs are written in place, and so is a file in a folder where
// no new file may be made. Returns false, with the target as it was, when
// any step fails, and for an existing file the process may not write.
bool SaveFile(const char* path, const WriteText& write, SaveFault fault = nullptr);

}  // namespace orv

#endif  // ORVJSON_SRC_TEXT_FILE_SAVE_H
