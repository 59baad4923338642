#include <string>

#include <gtest/gtest.h>

#ifndef _WIN32
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif
#ifdef __linux__
#include <sys/prctl.h>
#endif

#include "support.h"

using orvtest::Doc;
using orvtest::TempDir;
using orvtest::WriteBytes;

namespace {

const char kBefore[] = R"({"before":1})";

struct FileCase {
  const char* name;
  std::string bytes;
  long result;
  int hasBom;
  const char* text;  // the document's text afterwards
};

}  // namespace

TEST(LoadJsonFile, FilesOfEveryShapeLoadLikeTextInMemory) {
  const FileCase cases[] = {
      {"empty file", "", 0, 0, kBefore},
      {"one digit", "5", 1, 0, "5"},
      {"empty array", "[]", 1, 0, "[]"},
      {"one-letter string", "\"a\"", 1, 0, "\"a\""},
      {"blank", " ", 0, 0, kBefore},
      {"CR LF line ends", "{\r\n  \"a\": [1,\r\n 2]\r\n}\r\n", 1, 0, R"({"a":[1,2]})"},
      {"byte-order mark then JSON", "\xEF\xBB\xBF{\"a\":1}", 0, 1, kBefore},
      {"byte-order mark alone", "\xEF\xBB\xBF", 0, 1, kBefore},
      {"two bytes of a mark", "\xEF\xBB", 0, 0, kBefore},
      {"mark not at the start", " \xEF\xBB\xBF", 0, 0, kBefore},
      {"NUL after the value", std::string("{\"a\":1}\0garbage{", 16), 1, 0, R"({"a":1})"},
      {"NUL right away", std::string("\0{}", 3), 0, 0, kBefore},
      {"invalid JSON", "{\"a\":", 0, 0, kBefore},
      {"non-finite number", "[1e400]", 0, 0, kBefore},
      {"null", "null", 1, 0, "null"},
  };
  TempDir dir;
  for (const FileCase& c : cases) {
    const std::string path = dir.Path("case.json");
    WriteBytes(path, c.bytes);
    Doc doc;
    ASSERT_EQ(LoadFromString(doc.h(), kBefore), 0);
    int hasBom = -7;
    EXPECT_EQ(LoadJsonFile(doc.h(), path.c_str(), hasBom), c.result) << c.name;
    EXPECT_EQ(hasBom, c.hasBom) << c.name;
    EXPECT_EQ(doc.text(), c.text) << c.name;
  }
}

TEST(LoadJsonFile, PathsThatNameNoReadableFileAreMinusOneWithTheDocumentUnchanged) {
  TempDir dir;
  Doc doc;
  ASSERT_EQ(LoadFromString(doc.h(), kBefore), 0);
  const std::string missing = dir.Path("missing.json");
  const std::string folder = dir.Path("");
  for (const char* path : {missing.c_str(), folder.c_str(), static_cast<const char*>(nullptr)}) {
    int hasBom = -7;
    EXPECT_EQ(LoadJsonFile(doc.h(), path, hasBom), -1) << (path ? path : "(null)");
    EXPECT_EQ(hasBom, 0);
    EXPECT_EQ(doc.text(), kBefore);
  }
}

TEST(LoadJsonFile, TheByteOrderMarkFlagIsResetByEveryCall) {
  TempDir dir;
  const std::string marked = dir.Path("marked.json");
  const std::string plain = dir.Path("plain.json");
  WriteBytes(marked, "\xEF\xBB\xBF[]");
  WriteBytes(plain, "[]");
  Doc doc;
  int hasBom = 0;
  EXPECT_EQ(LoadJsonFile(doc.h(), marked.c_str(), hasBom), 0);
  EXPECT_EQ(hasBom, 1);
  EXPECT_EQ(LoadJsonFile(doc.h(), plain.c_str(), hasBom), 1);
  EXPECT_EQ(hasBom, 0);
}

TEST(LoadJsonFile, ARemovedFileIsMinusOneOnTheNextCall) {
  TempDir dir;
  const std::string path = dir.Path("gone.json");
  WriteBytes(path, "[1]");
  Doc doc;
  int hasBom = 0;
  EXPECT_EQ(LoadJsonFile(doc.h(), path.c_str(), hasBom), 1);
  std::remove(path.c_str());
  EXPECT_EQ(LoadJsonFile(doc.h(), path.c_str(), hasBom), -1);
  EXPECT_EQ(doc.text(), "[1]");
}

TEST(LoadJsonFile, SpecialFilesAreRefusedWithoutBlocking) {
#ifdef _WIN32
  GTEST_SKIP() << "FIFOs and /dev files are POSIX-only";
#else
  TempDir dir;
  const std::string fifo = dir.Path("fifo");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  Doc doc;
  int hasBom = -7;
  EXPECT_EQ(LoadJsonFile(doc.h(), fifo.c_str(), hasBom), -1);  // would block in fopen
  EXPECT_EQ(hasBom, 0);
  EXPECT_EQ(LoadJsonFile(doc.h(), "/dev/zero", hasBom), -1);  // endless
  EXPECT_EQ(LoadJsonFile(doc.h(), "/dev/null", hasBom), -1);
  EXPECT_EQ(doc.text(), "{}");
#endif
}

TEST(LoadJsonFile, FilesWhoseSizeIsReportedAsZeroAreReadToTheirEnd) {
#ifndef __linux__
  GTEST_SKIP() << "procfs is Linux-only";
#else
  // procfs reports 0 bytes for both. The thread's name is short; a child's
  // command line, whose first argument is a long array ending at a NUL, is
  // longer than the first read.
  char name[16] = {};
  prctl(PR_GET_NAME, name);
  prctl(PR_SET_NAME, "[1]");
  Doc doc;
  int hasBom = -7;
  EXPECT_EQ(LoadJsonFile(doc.h(), "/proc/self/comm", hasBom), 1);
  prctl(PR_SET_NAME, name);
  EXPECT_EQ(doc.text(), "[1]");

  std::string array = "[1";
  while (array.size() < 20000) array += ",1";
  array += "]";
  const pid_t child = fork();
  if (child == 0) {
    execl("/bin/sleep", array.c_str(), "10", static_cast<char*>(nullptr));
    _exit(1);
  }
  const std::string cmdline = "/proc/" + std::to_string(child) + "/cmdline";
  for (int wait = 0; wait < 100 && orvtest::ReadBytes(cmdline).compare(0, 2, "[1") != 0; ++wait) usleep(10000);
  EXPECT_EQ(LoadJsonFile(doc.h(), cmdline.c_str(), hasBom), 1);
  kill(child, SIGKILL);
  waitpid(child, nullptr, 0);
  EXPECT_EQ(doc.text(), array);
#endif
}

TEST(LoadJsonFile, AnUnreadableFileIsMinusOne) {
#ifdef _WIN32
  GTEST_SKIP() << "POSIX permissions do not apply on Windows";
#else
  if (geteuid() == 0) GTEST_SKIP() << "root reads every file whatever its permissions";
  TempDir dir;
  const std::string path = dir.Path("secret.json");
  WriteBytes(path, "[1]");
  ASSERT_EQ(chmod(path.c_str(), 0), 0);
  Doc doc;
  int hasBom = -7;
  EXPECT_EQ(LoadJsonFile(doc.h(), path.c_str(), hasBom), -1);
  EXPECT_EQ(hasBom, 0);
#endif
}
