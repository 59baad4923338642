// A save that fails at any step leaves the file it was replacing as it was,
// and nothing else behind.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <new>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>

#include <aclapi.h>
#include <io.h>
#include <sddl.h>
#else
#include <sys/stat.h>
#endif

#include "text/file_save.h"

namespace {

namespace fs = std::filesystem;
using orv::SaveStep;

SaveStep g_failing = SaveStep::kCreate;
bool FailOneStep(SaveStep step) { return step == g_failing; }

orv::WriteText Writes(const std::string& text) {
  return [text](std::FILE* file) { return std::fwrite(text.data(), 1, text.size(), file) == text.size(); };
}

std::string Contents(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// How many files the process has open, where the system can tell.
std::size_t OpenDescriptors() {
#ifdef _WIN32
  return 0;
#else
  return static_cast<std::size_t>(std::distance(fs::directory_iterator("/proc/self/fd"), fs::directory_iterator()));
#endif
}

std::vector<std::string> Listing(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
  return names;
}

class FileSave : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() /
              ("orvjson-save-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }
  fs::path folder_;
};

}  // namespace

TEST_F(FileSave, AFailureAtAnyStepLeavesTheTargetAsItWasAndNothingElse) {
  const std::string fresh = "{\"new\":true}";
  // A failure before the rename keeps the old text; one while the file takes
  // the target's protection makes the save write in place instead (the text
  // is new, the file the same); a failed folder sync comes after the new
  // text is in place, and says so.
  struct Case {
    SaveStep step;
    bool existingSaved;
    bool absentSaved;
  };
  const Case cases[] = {{SaveStep::kCreate, false, false},  {SaveStep::kWrite, false, false},
                        {SaveStep::kFlush, false, false},   {SaveStep::kSync, false, false},
                        {SaveStep::kProtect, true, false},  {SaveStep::kClose, false, false},
                        {SaveStep::kReplace, false, false}, {SaveStep::kSyncFolder, true, true}};
  for (const Case& c : cases) {
    g_failing = c.step;
    const fs::path existing = folder_ / "settings.json";
    std::ofstream(existing, std::ios::binary) << "{\"old\":1}";
    EXPECT_EQ(orv::SaveFile(existing.native(), Writes(fresh), FailOneStep), c.existingSaved) << int(c.step);
    EXPECT_EQ(Contents(existing), c.existingSaved ? fresh : "{\"old\":1}") << int(c.step);
    EXPECT_EQ(Listing(folder_), std::vector<std::string>{"settings.json"}) << int(c.step);

    const fs::path absent = folder_ / "new.json";
    EXPECT_EQ(orv::SaveFile(absent.native(), Writes(fresh), FailOneStep), c.absentSaved) << int(c.step);
    EXPECT_EQ(fs::exists(absent), c.absentSaved) << int(c.step);
    fs::remove(absent);
    EXPECT_EQ(Listing(folder_), std::vector<std::string>{"settings.json"}) << int(c.step);
  }
}

TEST_F(FileSave, ASaveThatSucceedsLeavesOnlyTheNewText) {
  const fs::path target = folder_ / "settings.json";
  std::ofstream(target, std::ios::binary) << std::string(100000, 'x');
  const std::string fresh = "{\"new\":true}";
  ASSERT_TRUE(orv::SaveFile(target.native(), Writes(fresh)));
  EXPECT_EQ(Contents(target), fresh);
  EXPECT_EQ(Listing(folder_), std::vector<std::string>{"settings.json"});
}

TEST_F(FileSave, AnExceptionWhileWritingClosesAndRemovesEverythingTheSaveMade) {
  const fs::path target = folder_ / "settings.json";
  std::ofstream(target, std::ios::binary) << "{\"old\":1}";
  const auto descriptors = OpenDescriptors();
  for (int round = 0; round < 100; ++round) {
    EXPECT_THROW(orv::SaveFile(target.native(), [](std::FILE*) -> bool { throw std::bad_alloc(); }), std::bad_alloc);
  }
  EXPECT_EQ(Contents(target), "{\"old\":1}");
  EXPECT_EQ(Listing(folder_), std::vector<std::string>{"settings.json"});
  EXPECT_EQ(OpenDescriptors(), descriptors);
}

#ifdef _WIN32
namespace {

std::wstring SidText(PSID sid) {
  LPWSTR text = nullptr;
  if (!ConvertSidToStringSidW(sid, &text)) return L"?";
  std::wstring out = text;
  LocalFree(text);
  return out;
}

std::wstring SaverSid() {
  HANDLE token = nullptr;
  OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token);
  DWORD size = 0;
  GetTokenInformation(token, TokenUser, nullptr, 0, &size);
  std::vector<unsigned char> user(size);
  GetTokenInformation(token, TokenUser, user.data(), size, &size);
  CloseHandle(token);
  return SidText(reinterpret_cast<TOKEN_USER*>(user.data())->User.Sid);
}

// Whom the access list of an open file lets in.
std::vector<std::wstring> GranteesOf(HANDLE handle) {
  PACL dacl = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  std::vector<std::wstring> grantees;
  if (GetSecurityInfo(handle, SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &dacl, nullptr,
                      &descriptor) != ERROR_SUCCESS ||
      dacl == nullptr) {
    return {L"(everyone: no list)"};
  }
  for (DWORD n = 0; n < dacl->AceCount; ++n) {
    ACCESS_ALLOWED_ACE* ace = nullptr;
    if (GetAce(dacl, n, reinterpret_cast<void**>(&ace)) && ace->Header.AceType == ACCESS_ALLOWED_ACE_TYPE) {
      grantees.push_back(SidText(&ace->SidStart));
    }
  }
  LocalFree(descriptor);
  return grantees;
}

}  // namespace

TEST_F(FileSave, TheTextIsPrivateToTheSaverUntilItIsCompleteAndSynced) {
  const fs::path target = folder_ / "shared.json";
  std::ofstream(target, std::ios::binary) << "{}";
  std::vector<std::wstring> grantees{L"(no list)"};
  bool shared = true;
  const bool saved = orv::SaveFile(target.native(), [&](std::FILE* file) {
    HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)));
    grantees = GranteesOf(handle);
    // No one else can open it while it is written.
    for (const auto& entry : fs::directory_iterator(folder_)) {
      if (entry.path().filename().wstring().rfind(L".orvjson-", 0) != 0) continue;
      HANDLE other =
          CreateFileW(entry.path().c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                      nullptr, OPEN_EXISTING, 0, nullptr);
      shared = other != INVALID_HANDLE_VALUE;
      if (shared) CloseHandle(other);
    }
    return std::fputs("{\"secret\":1}", file) >= 0;
  });
  ASSERT_TRUE(saved);
  // The saver, and the system itself (which wine adds to every list).
  for (const std::wstring& grantee : grantees) {
    EXPECT_TRUE(grantee == SaverSid() || grantee == L"S-1-5-18") << std::string(grantee.begin(), grantee.end());
  }
  EXPECT_FALSE(shared);
}
#else
TEST_F(FileSave, TheTextIsPrivateToTheSaverUntilItIsCompleteAndSynced) {
  const fs::path target = folder_ / "shared.json";
  std::ofstream(target, std::ios::binary) << "{}";
  chmod(target.c_str(), 0666);
  const mode_t mask = umask(0);
  mode_t whileWriting = 0;
  const bool saved = orv::SaveFile(target.native(), [&](std::FILE* file) {
    struct stat info {};
    fstat(fileno(file), &info);
    whileWriting = info.st_mode & 07777;
    return std::fputs("{\"secret\":1}", file) >= 0;
  });
  umask(mask);
  ASSERT_TRUE(saved);
  EXPECT_EQ(whileWriting, 0600u);
  struct stat after {};
  stat(target.c_str(), &after);
  EXPECT_EQ(after.st_mode & 07777, 0666u);
}
#endif
