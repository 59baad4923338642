// The file operations on Windows, through the wide (UTF-16) functions.
#include <windows.h>

#include <aclapi.h>
#include <fcntl.h>
#include <io.h>
#include <process.h>

#include <atomic>
#include <chrono>
#include <climits>
#include <cstdint>
#include <cstring>
#include <cwctype>
#include <memory>
#include <new>
#include <string>

#include "file_system.h"

namespace orv {
namespace {

constexpr const wchar_t* kSeparators = L"/\\:";

std::wstring FolderOf(const std::wstring& path) {
  const auto last = path.find_last_of(kSeparators);
  return last == std::wstring::npos ? std::wstring() : path.substr(0, last + 1);
}

bool Widen(unsigned codePage, const char* path, std::size_t length, std::wstring& out) {
  if (path == nullptr || length == 0 || length > INT_MAX || std::memchr(path, '\0', length) != nullptr) return false;
  const int size = static_cast<int>(length);
  const int wide = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, path, size, nullptr, 0);
  if (wide <= 0) return false;
  out.assign(static_cast<std::size_t>(wide), L'\0');
  return MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, path, size, &out[0], wide) == wide;
}

// Device names (CON, NUL, COM1, ...) name a device in every folder, with
// any extension; so does a path in the \\.\ namespace.
bool IsDevice(const std::wstring& path) {
  if (path.compare(0, 4, L"\\\\.\\") == 0) return true;
  const auto slash = path.find_last_of(kSeparators);
  std::wstring base = path.substr(slash == std::wstring::npos ? 0 : slash + 1);
  base = base.substr(0, base.find(L'.'));
  while (!base.empty() && base.back() == L' ') base.pop_back();
  for (wchar_t& c : base) c = static_cast<wchar_t>(std::towupper(c));
  if (base == L"CON" || base == L"PRN" || base == L"AUX" || base == L"NUL") return true;
  return base.size() == 4 && (base.compare(0, 3, L"COM") == 0 || base.compare(0, 3, L"LPT") == 0) && base[3] >= L'1' &&
         base[3] <= L'9';
}

// A C runtime stream over a handle, or null (the handle then closed).
std::FILE* StreamOf(HANDLE handle, int flags, const char* mode) {
  if (handle == INVALID_HANDLE_VALUE) return nullptr;
  const int fd = _open_osfhandle(reinterpret_cast<std::intptr_t>(handle), flags);
  if (fd < 0) {
    CloseHandle(handle);
    return nullptr;
  }
  std::FILE* file = _fdopen(fd, mode);
  if (file == nullptr) _close(fd);
  return file;
}

HANDLE HandleOf(std::FILE* file) { return reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file))); }

// A security descriptor that lets only this process's user at the file,
// for a file no one else should open while it is written.
class PrivateSecurity {
 public:
  PrivateSecurity() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return;
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    user_.reset(new (std::nothrow) unsigned char[size]);
    const bool got = user_ && GetTokenInformation(token, TokenUser, user_.get(), size, &size);
    CloseHandle(token);
    if (!got) return;
    PSID sid = reinterpret_cast<TOKEN_USER*>(user_.get())->User.Sid;
    const DWORD aclSize = sizeof(ACL) + sizeof(ACCESS_ALLOWED_ACE) + GetLengthSid(sid);
    acl_.reset(new (std::nothrow) unsigned char[aclSize]);
    PACL acl = reinterpret_cast<PACL>(acl_.get());
    ready_ = acl_ && InitializeAcl(acl, aclSize, ACL_REVISION) &&
             AddAccessAllowedAce(acl, ACL_REVISION, FILE_ALL_ACCESS, sid) &&
             InitializeSecurityDescriptor(&descriptor_, SECURITY_DESCRIPTOR_REVISION) &&
             SetSecurityDescriptorDacl(&descriptor_, TRUE, acl, FALSE) &&
             SetSecurityDescriptorControl(&descriptor_, SE_DACL_PROTECTED, SE_DACL_PROTECTED);
  }
  // Attributes for CreateFileW; null (the folder's defaults) when the
  // process's user could not be found.
  SECURITY_ATTRIBUTES* attributes() {
    if (!ready_) return nullptr;
    attributes_ = SECURITY_ATTRIBUTES{sizeof(SECURITY_ATTRIBUTES), &descriptor_, FALSE};
    return &attributes_;
  }

 private:
  std::unique_ptr<unsigned char[]> user_, acl_;
  SECURITY_DESCRIPTOR descriptor_{};
  SECURITY_ATTRIBUTES attributes_{};
  bool ready_ = false;
};

constexpr SECURITY_INFORMATION kOwnerAndGroup = OWNER_SECURITY_INFORMATION | GROUP_SECURITY_INFORMATION;

// A name no other save picks: the process, a counter within it, and the
// clock for processes that reuse an id. Leading dot: hidden in listings.
std::wstring UniqueName() {
  static std::atomic<unsigned long> counter{0};
  const auto ticks = static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count());
  return L".orvjson-" + std::to_wstring(_getpid()) + L"-" + std::to_wstring(counter++) + L"-" +
         std::to_wstring(ticks % 1000000007ULL) + L".tmp";
}

}  // namespace

bool PathFromLocal(const char* path, std::size_t length, NativePath& out) {
  // What the C runtime's byte functions take: the ANSI code page, or the
  // OEM one when the process switched its file functions to it.
  return Widen(AreFileApisANSI() ? CP_ACP : CP_OEMCP, path, length, out);
}

bool PathFromUtf8(const char* path, std::size_t length, NativePath& out) { return Widen(CP_UTF8, path, length, out); }

std::FILE* OpenRegularFile(const NativePath& path, std::size_t& reportedSize) {
  // Writers are not let in while the file is read, so that a save that has
  // to write in place never mixes texts under a reader; deletion is, so
  // that a save can replace the file as soon as the reader is done.
  HANDLE handle = INVALID_HANDLE_VALUE;
  const DWORD start = GetTickCount();
  while (handle == INVALID_HANDLE_VALUE) {
    handle = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
    // A save holds the file while it replaces or rewrites it: wait up to a
    // second for it.
    if (handle == INVALID_HANDLE_VALUE &&
        (GetLastError() != ERROR_SHARING_VIOLATION || GetTickCount() - start > 1000)) {
      return nullptr;
    }
    if (handle == INVALID_HANDLE_VALUE) Sleep(1);
  }
  LARGE_INTEGER size;
  if (GetFileType(handle) != FILE_TYPE_DISK || !GetFileSizeEx(handle, &size)) {
    CloseHandle(handle);
    return nullptr;
  }
  BY_HANDLE_FILE_INFORMATION info;
  if (!GetFileInformationByHandle(handle, &info) || (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    CloseHandle(handle);
    return nullptr;
  }
  if (static_cast<std::uint64_t>(size.QuadPart) >= SIZE_MAX) {
    CloseHandle(handle);
    throw std::bad_alloc();
  }
  reportedSize = static_cast<std::size_t>(size.QuadPart);
  return StreamOf(handle, _O_RDONLY | _O_BINARY, "rb");
}

bool DescribeTarget(const NativePath& path, SaveTarget& target) {
  target = SaveTarget();
  target.path = path;
  target.folder = FolderOf(path);
  if (IsDevice(path)) {
    target.exists = true;
    return true;
  }
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD error = GetLastError();
    target.replaceable = true;
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
  }
  target.exists = true;
  target.regular = (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) == 0;
  target.writable = (attributes & FILE_ATTRIBUTE_READONLY) == 0;
  target.attributes = attributes;
  // The replacement takes the file's access list (and its owner and group,
  // where the process may set them); a file whose list cannot be read is
  // written in place and keeps it.
  DWORD size = 0;
  GetFileSecurityW(path.c_str(), DACL_SECURITY_INFORMATION | kOwnerAndGroup, nullptr, 0, &size);
  if (size > 0) {
    target.security.resize(size);
    target.replaceable = GetFileSecurityW(path.c_str(), DACL_SECURITY_INFORMATION | kOwnerAndGroup,
                                          target.security.data(), size, &size) != 0;
  }
  return true;
}

TempFile::~TempFile() {
  if (file_ != nullptr) std::fclose(file_);
  if (!name_.empty() && !placed_) DeleteFileW(name_.c_str());
}

bool TempFile::Create(const SaveTarget& target, bool& denied) {
  denied = false;
  PrivateSecurity security;
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::wstring name = target.folder + UniqueName();
    // No sharing while it is written, and an access list for the saver alone.
    HANDLE handle = CreateFileW(name.c_str(), GENERIC_WRITE | WRITE_DAC | WRITE_OWNER | READ_CONTROL, 0,
                                security.attributes(), CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
      const DWORD error = GetLastError();
      if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) continue;
      denied = error == ERROR_ACCESS_DENIED;
      return false;
    }
    name_ = name;
    file_ = StreamOf(handle, _O_WRONLY | _O_BINARY, "wb");
    return file_ != nullptr;
  }
  return false;
}

bool TempFile::Sync() { return SyncFile(file_); }

bool TempFile::TakeProtection(const SaveTarget& target) {
  if (!target.exists) return true;  // a new file keeps what the folder gives it
  auto* descriptor = reinterpret_cast<PSECURITY_DESCRIPTOR>(const_cast<unsigned char*>(target.security.data()));
  BOOL present = FALSE, defaulted = FALSE;
  PACL dacl = nullptr;
  SECURITY_DESCRIPTOR_CONTROL control = 0;
  DWORD revision = 0;
  if (!GetSecurityDescriptorDacl(descriptor, &present, &dacl, &defaulted) ||
      !GetSecurityDescriptorControl(descriptor, &control, &revision)) {
    return false;
  }
  const SECURITY_INFORMATION inherit =
      (control & SE_DACL_PROTECTED) != 0 ? PROTECTED_DACL_SECURITY_INFORMATION : UNPROTECTED_DACL_SECURITY_INFORMATION;
  if (SetSecurityInfo(HandleOf(file_), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION | inherit, nullptr, nullptr,
                      present ? dacl : nullptr, nullptr) != ERROR_SUCCESS) {
    return false;
  }
  // Another owner needs a privilege most processes lack; the file is then
  // the saver's, which the access list already governs.
  PSID owner = nullptr, group = nullptr;
  if (GetSecurityDescriptorOwner(descriptor, &owner, &defaulted) &&
      GetSecurityDescriptorGroup(descriptor, &group, &defaulted) && owner != nullptr && group != nullptr) {
    SetSecurityInfo(HandleOf(file_), SE_FILE_OBJECT, kOwnerAndGroup, owner, group, nullptr, nullptr);
  }
  return true;
}

bool TempFile::Close() {
  std::FILE* file = file_;
  file_ = nullptr;
  return std::fclose(file) == 0;
}

bool TempFile::Replace(const SaveTarget& target, bool& inPlace) {
  inPlace = false;
  // Hidden and system files stay so; read-only ones were refused before.
  const DWORD kept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
  if ((target.attributes & kept) != 0) SetFileAttributesW(name_.c_str(), target.attributes & kept);
  const auto move = [&] {
    return MoveFileExW(name_.c_str(), target.path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
  };
  for (int attempt = 0; attempt < 50; ++attempt) {
    if (move()) {
      placed_ = true;
      return true;
    }
    const DWORD error = GetLastError();
    if (error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION) return false;
    // Someone holds the target open. When they let others write it, they
    // may hold it for long (an editor, a log viewer): write in place, unless
    // they have just let go. When they do not (a reader such as
    // LoadJsonFile), wait for them.
    HANDLE probe =
        CreateFileW(target.path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (probe != INVALID_HANDLE_VALUE) {
      CloseHandle(probe);
      if (move()) {
        placed_ = true;
        return true;
      }
      inPlace = target.exists;
      return false;
    }
    Sleep(1);
  }
  return false;
}

std::FILE* OpenInPlace(const SaveTarget& target) {
  // Readers that let others write may stay; none of ours does (see
  // OpenRegularFile), so they never see a text half rewritten.
  HANDLE handle = CreateFileW(target.path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return nullptr;
  if (target.regular && !SetEndOfFile(handle)) {
    CloseHandle(handle);
    return nullptr;
  }
  return StreamOf(handle, _O_WRONLY | _O_BINARY, "wb");
}

bool SyncFile(std::FILE* file) { return FlushFileBuffers(HandleOf(file)) != 0; }

// MOVEFILE_WRITE_THROUGH returns only once the move is on the disk.
bool SyncFolder(const SaveTarget&) { return true; }

// Pages of its own cost fresh, zeroed pages on every load, which the heap's
// reused blocks do not; only a text large enough to be thinned out (the
// parse gives pages back every few megabytes) gets them.
TextBlock AllocateText(std::size_t bytes) {
  constexpr std::size_t kOwnPagesFrom = std::size_t{8} << 20;
  if (bytes < kOwnPagesFrom) return TextBlock(new char[bytes]);
  void* block = VirtualAlloc(nullptr, bytes, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
  if (block == nullptr) throw std::bad_alloc();
  return TextBlock(static_cast<char*>(block), TextFree{true});
}

void FreeText(char* text, bool ownPages) noexcept {
  if (!ownPages) {
    delete[] text;
  } else if (text != nullptr) {
    VirtualFree(text, 0, MEM_RELEASE);
  }
}

bool Discardable(const TextBlock& block) { return block.get_deleter().ownPages; }

std::size_t PageSize() {
  static const std::size_t page = [] {
    SYSTEM_INFO system;
    GetSystemInfo(&system);
    return static_cast<std::size_t>(system.dwPageSize);
  }();
  return page;
}

// Decommitted pages hold no memory; the block keeps its address range until
// FreeText releases it.
bool DiscardPages(char* first, std::size_t bytes) { return VirtualFree(first, bytes, MEM_DECOMMIT) != 0; }

}  // namespace orv
