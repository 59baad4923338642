// WriteToFile replaces a file in one step: a reader, a crash or a full disk
// sees the old text or the new one, never a mix, and what callers rely on
// (permission bits, owner, symbolic links) is kept.
#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#ifndef _WIN32
#include <grp.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>
#endif

#include "support.h"

#ifdef _WIN32
#include <windows.h>

#include <aclapi.h>
#endif

using orvtest::Doc;
using orvtest::ReadBytes;
using orvtest::TempDir;
using orvtest::WriteBytes;

namespace {

// A document of about bytes of text whose every member says which version it is.
void Fill(long h, const char* version, int bytes) {
  Clear(h);
  for (int i = 0; bytes > 0; ++i, bytes -= 20) SetValue(h, ("member" + std::to_string(i)).c_str(), version);
}

std::string TextOf(const char* version, int bytes) {
  Doc doc;
  Fill(doc.h(), version, bytes);
  return doc.text();
}

}  // namespace

TEST(Save, AReaderDuringRepeatedSavesAlwaysLoadsAWholeVersion) {
  TempDir dir;
  const std::string path = dir.Path("shared.json");
  const std::string versions[] = {TextOf("old", 200000), TextOf("new", 200000)};
  WriteBytes(path, versions[0]);
  std::atomic<bool> done{false};
  int saves = 0, failedSaves = 0;
  std::thread writer([&] {
    Doc docs[2];
    Fill(docs[0].h(), "old", 200000);
    Fill(docs[1].h(), "new", 200000);
    for (int n = 0; !done; ++n, ++saves) failedSaves += WriteToFile(docs[n % 2].h(), path) != 0;
  });
  int failedLoads = 0, mixed = 0;
  Doc reader;
  for (int n = 0; n < 2000; ++n) {
    int hasBom = 0;
    failedLoads += LoadJsonFile(reader.h(), path.c_str(), hasBom) != 1;
    const std::string text = reader.text();
    mixed += text != versions[0] && text != versions[1];
  }
  done = true;
  writer.join();
  EXPECT_EQ(failedLoads, 0);
  EXPECT_EQ(mixed, 0);
  EXPECT_GT(saves, 0);
#ifndef _WIN32
  EXPECT_EQ(failedSaves, 0);  // Windows may refuse a replace while the reader holds the file open
#endif
}

#ifdef _WIN32
namespace {

std::wstring Wide(const std::string& path) { return std::wstring(path.begin(), path.end()); }

// The access list of a file, as bytes.
std::string AccessListOf(const std::string& path) {
  PACL dacl = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (GetNamedSecurityInfoW(Wide(path).c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &dacl,
                            nullptr, &descriptor) != ERROR_SUCCESS) {
    return "(none)";
  }
  const std::string bytes =
      dacl == nullptr ? "(null)" : std::string(reinterpret_cast<const char*>(dacl), dacl->AclSize);
  LocalFree(descriptor);
  return bytes;
}

}  // namespace

// A program that holds the file open and lets others write it (an editor, a
// log viewer) does not keep a save out: the file is written in place. One
// that does not let others write it keeps the old text, and the save says so.
TEST(Save, ATargetHeldOpenIsWrittenInPlaceWhenItsHolderLetsOthersWrite) {
  TempDir dir;
  const std::string path = dir.Path("held.json");
  Doc doc;
  SetValue(doc.h(), "new", 1);
  for (const DWORD sharing : {DWORD{FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE}, DWORD{FILE_SHARE_READ}}) {
    WriteBytes(path, "{\"old\":1}");
    HANDLE holder = CreateFileW(Wide(path).c_str(), GENERIC_READ, sharing, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    const bool writable = (sharing & FILE_SHARE_WRITE) != 0;
    EXPECT_EQ(WriteToFile(doc.h(), path), writable ? 0 : -1) << sharing;
    CloseHandle(holder);
    EXPECT_EQ(ReadBytes(path), writable ? doc.text() : "{\"old\":1}") << sharing;
  }
}

TEST(Save, TheTargetsAccessListIsKept) {
  TempDir dir;
  const std::string path = dir.Path("guarded.json");
  WriteBytes(path, "{}");
  // Protected from inheritance, one entry: everyone may read.
  EXPLICIT_ACCESSW entry{};
  wchar_t everyone[] = L"EVERYONE";
  BuildExplicitAccessWithNameW(&entry, everyone, GENERIC_READ, SET_ACCESS, NO_INHERITANCE);
  PACL acl = nullptr;
  ASSERT_EQ(SetEntriesInAclW(1, &entry, nullptr, &acl), static_cast<DWORD>(ERROR_SUCCESS));
  std::wstring wide = Wide(path);
  ASSERT_EQ(
      SetNamedSecurityInfoW(&wide[0], SE_FILE_OBJECT, DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION,
                            nullptr, nullptr, acl, nullptr),
      static_cast<DWORD>(ERROR_SUCCESS));
  LocalFree(acl);
  const std::string before = AccessListOf(path);
  Doc doc;
  SetValue(doc.h(), "saved", 1);
  ASSERT_EQ(WriteToFile(doc.h(), path), 0);
  EXPECT_EQ(ReadBytes(path), doc.text());
  EXPECT_EQ(AccessListOf(path), before);
}
#else

namespace {

constexpr uid_t kNobody = 65534;
constexpr uid_t kStranger = 12345;  // a user of no group the tests use

// Runs body in a child process as user (with group, and groups besides),
// and returns what body returned.
int RunAs(uid_t user, gid_t group, const std::vector<gid_t>& groups, const std::function<int()>& body) {
  const pid_t child = fork();
  if (child == 0) {
    if (setgroups(groups.size(), groups.data()) != 0 || setgid(group) != 0 || setuid(user) != 0) _exit(99);
    _exit(body());
  }
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 98;
}

// Runs body as an unprivileged user when the tests run as root (so that
// permissions apply), in a child process; returns what body returned.
int Unprivileged(const std::function<int()>& body) {
  if (geteuid() != 0) return body();
  return RunAs(kNobody, kNobody, {}, body);
}

// A folder of mode 1777 (as /tmp) owned by owner.
std::string StickyFolder(const TempDir& dir, const std::string& name, uid_t owner) {
  const std::string path = dir.Path(name);
  mkdir(path.c_str(), 0777);
  chmod(path.c_str(), 01777);
  chown(path.c_str(), owner, owner);
  return path;
}

mode_t ModeOf(const std::string& path) {
  struct stat info {};
  stat(path.c_str(), &info);
  return info.st_mode & 07777;
}

}  // namespace

TEST(Save, AProcessKilledWhileSavingLeavesTheOldOrTheNewText) {
  TempDir dir;
  const std::string path = dir.Path("killed.json");
  const std::string versions[] = {TextOf("old", 3000000), TextOf("new", 3000000)};
  for (int round = 0; round < 20; ++round) {
    WriteBytes(path, versions[0]);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      Doc docs[2];
      Fill(docs[0].h(), "old", 3000000);
      Fill(docs[1].h(), "new", 3000000);
      for (int n = 1;; ++n) WriteToFile(docs[n % 2].h(), path);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(100 + 13 * round));
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    Doc loaded;
    int hasBom = 0;
    ASSERT_EQ(LoadJsonFile(loaded.h(), path.c_str(), hasBom), 1) << "round " << round;
    EXPECT_TRUE(loaded.text() == versions[0] || loaded.text() == versions[1]) << "round " << round;
  }
}

TEST(Save, PermissionsOwnersAndSymbolicLinksAreKept) {
  TempDir dir;
  Doc doc;
  SetValue(doc.h(), "saved", 1);
  const std::string file = dir.Path("private.json");
  WriteBytes(file, "{}");
  chmod(file.c_str(), 0640);
  const bool root = geteuid() == 0;
  if (root) {
    ASSERT_EQ(chown(file.c_str(), 65534, 65534), 0);
  }
  ASSERT_EQ(WriteToFile(doc.h(), file), 0);
  EXPECT_EQ(ModeOf(file), 0640u);
  struct stat info {};
  stat(file.c_str(), &info);
  EXPECT_EQ(info.st_uid, root ? 65534u : geteuid());

  const mode_t mask = umask(022);
  umask(mask);
  ASSERT_EQ(WriteToFile(doc.h(), dir.Path("new.json")), 0);
  EXPECT_EQ(ModeOf(dir.Path("new.json")), 0666u & ~mask);

  // A relative link to a file elsewhere, and a link to a file not made yet.
  ASSERT_EQ(mkdir(dir.Path("real").c_str(), 0755), 0);
  WriteBytes(dir.Path("real/target.json"), "{}");
  ASSERT_EQ(symlink("real/target.json", dir.Path("link.json").c_str()), 0);
  ASSERT_EQ(symlink("real/later.json", dir.Path("dangling.json").c_str()), 0);
  for (const char* link : {"link.json", "dangling.json"}) {
    ASSERT_EQ(WriteToFile(doc.h(), dir.Path(link)), 0) << link;
    struct stat linkInfo {};
    lstat(dir.Path(link).c_str(), &linkInfo);
    EXPECT_TRUE(S_ISLNK(linkInfo.st_mode)) << link;
  }
  EXPECT_EQ(ReadBytes(dir.Path("real/target.json")), doc.text());
  EXPECT_EQ(ReadBytes(dir.Path("real/later.json")), doc.text());
}

TEST(Save, PermissionsDecideAsOpeningForWritingWould) {
  TempDir dir;
  // A folder that takes no new file, holding a file anyone may write: saved
  // in place. A read-only file in an open folder: refused, left alone.
  ASSERT_EQ(mkdir(dir.Path("closed").c_str(), 0755), 0);
  const std::string writable = dir.Path("closed/open.json");
  WriteBytes(writable, "{\"old\":1}");
  chmod(writable.c_str(), 0666);
  ASSERT_EQ(mkdir(dir.Path("open").c_str(), 0777), 0);
  chmod(dir.Path("open").c_str(), 0777);
  const std::string readOnly = dir.Path("open/locked.json");
  WriteBytes(readOnly, "{\"old\":1}");
  chmod(readOnly.c_str(), 0444);
  if (geteuid() != 0) chmod(dir.Path("closed").c_str(), 0555);
  const int results = Unprivileged([&] {
    Doc doc;
    SetValue(doc.h(), "new", 1);
    return (WriteToFile(doc.h(), writable) == 0 ? 1 : 0) | (WriteToFile(doc.h(), readOnly) == -1 ? 2 : 0) |
           (WriteToFile(doc.h(), dir.Path("closed/absent.json")) == -1 ? 4 : 0);
  });
  chmod(dir.Path("closed").c_str(), 0755);
  EXPECT_EQ(results, 7);
  EXPECT_EQ(ReadBytes(writable), "{\"new\":1}");
  EXPECT_EQ(ReadBytes(readOnly), "{\"old\":1}");
}

// Links and files another user planted in a sticky world-writable folder are
// not trusted, as the kernel's protected_symlinks and protected_regular rules
// say; the rules are applied whatever those settings are on this machine.
TEST(Save, LinksAreFollowedOnlyWhereTheKernelWouldFollowThem) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root, to make links owned by other users";
  struct Case {
    const char* name;
    bool sticky;        // the link's folder is sticky and open to all
    uid_t folderOwner;  // of the link's folder
    uid_t linkOwner;
    uid_t saver;
    bool dangling;  // the link leads to a file not made yet
    bool followed;
  };
  const Case cases[] = {
      {"another user's link, saved by root", true, 0, kNobody, 0, false, false},
      {"another user's dangling link, saved by root", true, 0, kNobody, 0, true, false},
      {"root's own link", true, 0, 0, 0, false, true},
      {"a link of the folder's owner", true, kStranger, kStranger, 0, false, true},
      {"a link in a folder that is not sticky", false, 0, kNobody, 0, false, true},
      {"another user's link, saved by nobody", true, 0, kStranger, kNobody, false, false},
      {"nobody's own link, saved by nobody", true, 0, kNobody, kNobody, false, true},
  };
  for (const Case& c : cases) {
    TempDir dir;
    const std::string targets = dir.Path("targets");
    mkdir(targets.c_str(), 0777);
    chmod(targets.c_str(), 0777);
    const std::string target = targets + (c.dangling ? "/later.json" : "/target.json");
    if (!c.dangling) {
      WriteBytes(target, "{\"old\":1}");
      chmod(target.c_str(), 0666);
    }
    const std::string folder = c.sticky ? StickyFolder(dir, "links", c.folderOwner) : dir.Path("links");
    if (!c.sticky) mkdir(folder.c_str(), 0777);
    const std::string link = folder + "/link.json";
    ASSERT_EQ(symlink(target.c_str(), link.c_str()), 0);
    ASSERT_EQ(lchown(link.c_str(), c.linkOwner, c.linkOwner), 0);
    const int saved = RunAs(c.saver, c.saver, {}, [&] {
      Doc doc;
      SetValue(doc.h(), "new", 1);
      return WriteToFile(doc.h(), link) == 0 ? 1 : 0;
    });
    EXPECT_EQ(saved, c.followed ? 1 : 0) << c.name;
    bool exists = false;
    const std::string text = ReadBytes(target, &exists);
    if (c.followed) {
      EXPECT_EQ(text, "{\"new\":1}") << c.name;
    } else if (c.dangling) {
      EXPECT_FALSE(exists) << c.name;
    } else {
      EXPECT_EQ(text, "{\"old\":1}") << c.name;
    }
    struct stat info {};
    lstat(link.c_str(), &info);
    EXPECT_TRUE(S_ISLNK(info.st_mode)) << c.name;
  }
}

TEST(Save, AnotherUsersFileInAStickyFolderIsRefusedAndLeftAlone) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root, to make files owned by other users";
  TempDir dir;
  const std::string folder = StickyFolder(dir, "shared", 0);
  struct Case {
    const char* file;
    uid_t owner;
    uid_t saver;
    bool saved;
  };
  const Case cases[] = {{"planted-for-root.json", kNobody, 0, false},
                        {"roots-own.json", 0, 0, true},
                        {"planted-for-nobody.json", kStranger, kNobody, false},
                        {"nobodys-own.json", kNobody, kNobody, true}};
  for (const Case& c : cases) {
    const std::string path = folder + "/" + c.file;
    WriteBytes(path, "{\"old\":1}");
    chmod(path.c_str(), 0666);
    chown(path.c_str(), c.owner, c.owner);
    const int saved = RunAs(c.saver, c.saver, {}, [&] {
      Doc doc;
      SetValue(doc.h(), "secret", 1);
      return WriteToFile(doc.h(), path) == 0 ? 1 : 0;
    });
    EXPECT_EQ(saved, c.saved ? 1 : 0) << c.file;
    EXPECT_EQ(ReadBytes(path), c.saved ? "{\"secret\":1}" : "{\"old\":1}") << c.file;
    struct stat info {};
    stat(path.c_str(), &info);
    EXPECT_EQ(info.st_uid, c.owner) << c.file;
  }
}

TEST(Save, AccessListsAndExtendedAttributesAreKept) {
  TempDir dir;
  const std::string path = dir.Path("acl.json");
  WriteBytes(path, "{}");
  chmod(path.c_str(), 0640);
  // setfacl -m g::---,u:nobody:r,m::r: owner rw, nobody r, group none, mask r.
  const std::uint32_t acl[] = {2,  // version
                               0x60001,    0xFFFFFFFF, 0x40002,    kNobody, 0x00004,
                               0xFFFFFFFF, 0x40010,    0xFFFFFFFF, 0x00020, 0xFFFFFFFF};
  if (setxattr(path.c_str(), "system.posix_acl_access", acl, sizeof acl, 0) != 0) {
    GTEST_SKIP() << "the file system here has no access lists";
  }
  ASSERT_EQ(setxattr(path.c_str(), "user.origin", "kept", 4, 0), 0);
  const auto attribute = [&](const char* name) {
    char value[256];
    const ssize_t length = getxattr(path.c_str(), name, value, sizeof value);
    return length < 0 ? std::string("(none)") : std::string(value, static_cast<std::size_t>(length));
  };
  const std::string before = attribute("system.posix_acl_access");
  Doc doc;
  SetValue(doc.h(), "saved", 1);
  ASSERT_EQ(WriteToFile(doc.h(), path), 0);
  EXPECT_EQ(ReadBytes(path), doc.text());
  EXPECT_EQ(attribute("system.posix_acl_access"), before);
  EXPECT_EQ(attribute("user.origin"), "kept");
  EXPECT_EQ(ModeOf(path), 0640u);  // the group bits are the mask, not the group's access
}

TEST(Save, AMemberOfAStickyGroupFolderSavesAnotherMembersFileInPlace) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root, to make a shared folder of other users";
  TempDir dir;
  constexpr gid_t kTeam = 4321;
  const std::string folder = dir.Path("team");
  mkdir(folder.c_str(), 0775);
  chown(folder.c_str(), 0, kTeam);
  chmod(folder.c_str(), 03775);
  const std::string path = folder + "/report.json";
  WriteBytes(path, "{\"old\":1}");
  chown(path.c_str(), kStranger, kTeam);
  chmod(path.c_str(), 0664);
  const int saved = RunAs(kNobody, kNobody, {kTeam}, [&] {
    Doc doc;
    SetValue(doc.h(), "new", 1);
    return WriteToFile(doc.h(), path) == 0 ? 1 : 0;
  });
  EXPECT_EQ(saved, 1);
  EXPECT_EQ(ReadBytes(path), "{\"new\":1}");
  struct stat info {};
  stat(path.c_str(), &info);
  EXPECT_EQ(info.st_uid, kStranger);
  EXPECT_EQ(info.st_mode & 07777, 0664u);
}

TEST(Save, AFullDiskLeavesTheOldFile) {
  TempDir dir;
  const std::string small = dir.Path("small");
  ASSERT_EQ(mkdir(small.c_str(), 0755), 0);
  if (mount("tmpfs", small.c_str(), "tmpfs", 0, "size=256k") != 0) {
    GTEST_SKIP() << "needs a small tmpfs, which only root may mount here";
  }
  const std::string settings = small + "/settings.json";
  const std::string old = TextOf("old", 1000);
  WriteBytes(settings, old);
  Doc big;
  Fill(big.h(), "new", 1000000);
  EXPECT_EQ(WriteToFile(big.h(), settings), -1);
  EXPECT_TRUE(ReadBytes(settings) == old);  // never printed: too long
  EXPECT_EQ(WriteToFile(big.h(), small + "/absent.json"), -1);
  const auto entries = std::distance(std::filesystem::directory_iterator(small), std::filesystem::directory_iterator());
  EXPECT_EQ(entries, 1);  // settings.json alone: no temporary file left
  umount2(small.c_str(), MNT_DETACH);
}

#endif
