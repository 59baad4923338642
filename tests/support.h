// Helpers shared by the test files.
#ifndef ORVJSON_TESTS_SUPPORT_H
#define ORVJSON_TESTS_SUPPORT_H

#include <cstddef>
#include <functional>
#include <initializer_list>
#include <string>

#include <gtest/gtest.h>

#include "OrvJson.h"

namespace orvtest {

// A handle released at the end of the scope.
class Doc {
 public:
  Doc() : handle_(Create()) {}
  ~Doc() { Release(handle_); }
  Doc(const Doc&) = delete;
  Doc& operator=(const Doc&) = delete;
  long h() const { return handle_; }
  std::string text() const { return GetString(handle_); }

 private:
  long handle_;
};

// A fresh folder removed with everything in it at the end of the scope.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  // The path of name inside the folder.
  std::string Path(const std::string& name) const;

 private:
  std::string path_;
};

void WriteBytes(const std::string& path, const std::string& bytes);
// The file's bytes; an empty string with exists = false when it is missing.
std::string ReadBytes(const std::string& path, bool* exists = nullptr);

// Runs body on a new thread whose stack holds stackBytes, and waits for it.
void RunWithStack(std::size_t stackBytes, const std::function<void()>& body);

// One read through a getter: where (a key or an index), the result the call
// gives, and whether the output must then hold value (else it must still
// hold the sentinel it was set to).
template <typename Where, typename T>
struct ExpectedRead {
  Where where;
  long result;
  bool written;
  T value;
};

// Checks each read with GetValue(h, where, out), out first set to sentinel.
template <typename Where, typename T>
void CheckReads(long h, T sentinel, std::initializer_list<ExpectedRead<Where, T>> reads) {
  for (const ExpectedRead<Where, T>& r : reads) {
    T out = sentinel;
    const long result = GetValue(h, r.where, out);
    EXPECT_EQ(result, r.result) << "at " << ::testing::PrintToString(r.where);
    EXPECT_EQ(out, r.written ? r.value : sentinel) << "at " << ::testing::PrintToString(r.where);
  }
}

// The bytes of a double or float, for comparisons that must see every bit.
unsigned long long BitsOf(double value);
unsigned BitsOf(float value);

}  // namespace orvtest

#endif  // ORVJSON_TESTS_SUPPORT_H
