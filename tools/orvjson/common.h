// What the orvjson commands share: exit codes, messages, handles, loading.
#ifndef ORVJSON_TOOLS_COMMON_H
#define ORVJSON_TOOLS_COMMON_H

#include <string>

#include "OrvJson.h"

namespace orvtool {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

// Prints "orvjson: message" on standard error and returns kExitFailed.
int Fail(const std::string& message);
// Prints a usage error, pointing to --help, on one line; returns kExitUsage.
int Usage(const std::string& message);

// A handle released on every way out of a command.
class Document {
 public:
  Document() : handle_(Create()) {}
  ~Document() { Release(handle_); }
  Document(const Document&) = delete;
  Document& operator=(const Document&) = delete;
  long handle() const { return handle_; }
  // The address of the handle variable, as the copying exports take it.
  void* handle_variable() { return &handle_; }

 private:
  long handle_;
};

// Loads path (the bundled example when null, standard input for "-") into
// doc. On failure prints one line saying why and returns false with status
// set.
bool Load(Document& doc, const char* path, int& status);

// Writes text and a line break to standard output.
void PrintLine(const std::string& text);

// The shortest text that reads back as the same double, always with a
// fraction or exponent so that it reads as a double.
std::string DoubleText(double value);

int Compact(int argc, char** argv);
int Get(int argc, char** argv);
int Inspect(int argc, char** argv);

}  // namespace orvtool

#endif  // ORVJSON_TOOLS_COMMON_H
