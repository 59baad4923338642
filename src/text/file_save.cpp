#include "file_save.h"

#include <cstdio>
#include <memory>

namespace orv {
namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

// The old way, for what cannot be replaced: the file itself is truncated
// and written.
bool WriteInPlace(const SaveTarget& target, const WriteText& write, bool sync) {
  std::unique_ptr<std::FILE, FileCloser> file(OpenInPlace(target));
  if (!file) return false;
  const bool written = write(file.get()) && std::fflush(file.get()) == 0;
  const bool synced = !sync || SyncFile(file.get());
  return written && synced && std::fclose(file.release()) == 0;
}

}  // namespace

bool SaveFile(const NativePath& path, const WriteText& write, SaveFault fault) {
  const auto fails = [fault](SaveStep step) { return fault != nullptr && fault(step); };
  SaveTarget target;
  if (!DescribeTarget(path, target)) return false;
  if (target.exists && !target.regular) return WriteInPlace(target, write, false);
  // A read-only file stays refused, as opening it for writing would be.
  if (target.exists && !target.writable) return false;
  if (target.exists && !target.replaceable) return WriteInPlace(target, write, true);

  TempFile temp;
  bool denied = false;
  if (fails(SaveStep::kCreate) || !temp.Create(target, denied)) {
    // A folder that takes no new file, holding a file the process may write.
    return denied && target.exists && WriteInPlace(target, write, true);
  }
  bool saved = !fails(SaveStep::kWrite) && write(temp.file());
  saved = saved && !fails(SaveStep::kFlush) && std::fflush(temp.file()) == 0;
  saved = saved && !fails(SaveStep::kSync) && temp.Sync();
  if (!saved) return false;
  if (fails(SaveStep::kProtect) || !temp.TakeProtection(target)) {
    // What protects the file cannot all be carried over: keep the file.
    return target.exists && WriteInPlace(target, write, true);
  }
  if (fails(SaveStep::kClose) || !temp.Close()) return false;
  bool inPlace = false;
  if (fails(SaveStep::kReplace) || !temp.Replace(target, inPlace)) {
    return inPlace && WriteInPlace(target, write, true);
  }
  // The text is in place whatever this says; see the header.
  if (!fails(SaveStep::kSyncFolder)) SyncFolder(target);
  return true;
}

}  // namespace orv
