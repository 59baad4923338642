#include "file_save.h"

#include <cstdio>
#include <string>

#include "file_io.h"
#include "file_system.h"

namespace orv {

bool SaveFile(const char* path, const WriteText& write, SaveFault fault) {
  const auto fails = [fault](SaveStep step) { return fault != nullptr && fault(step); };
  const SaveTarget target = DescribeTarget(path);
  // Only a regular file can be swapped for another; anything else is written
  // to as it is (a directory then fails to open).
  if (target.exists && !target.regular) return WriteInPlace(path, write, false);
  // A read-only file stays refused, as opening it for writing would be.
  if (target.exists && !target.writable) return false;

  std::string temp;
  bool denied = false;
  std::FILE* file = fails(SaveStep::kCreate) ? nullptr : CreateTempFile(target, temp, denied);
  // A folder that takes no new file, holding a file the process may write:
  // the old way, in place, so that nothing that could be saved before fails.
  if (file == nullptr) return denied && WriteInPlace(path, write, true);

  bool saved = !fails(SaveStep::kWrite) && write(file);
  saved = saved && !fails(SaveStep::kFlush) && std::fflush(file) == 0;
  saved = saved && !fails(SaveStep::kSync) && SyncFile(file);
  const bool closed = std::fclose(file) == 0 && !fails(SaveStep::kClose);
  saved = saved && closed && !fails(SaveStep::kReplace) && ReplaceTarget(temp, target);
  if (!saved) {
    std::remove(temp.c_str());
    return false;
  }
  return SyncFolder(target);
}

}  // namespace orv
