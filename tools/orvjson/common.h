// What the orvjson commands share: exit codes, messages, handles, loading,
// output, and a view of the loaded document.
#ifndef ORVJSON_TOOLS_COMMON_H
#define ORVJSON_TOOLS_COMMON_H

#include <string>
#include <vector>

#include "OrvJson.h"
#include "json/json_types.h"

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

 private:
  long handle_;
};

// What loading a file told: loaded, or why not, in one line.
struct LoadResult {
  bool loaded = false;
  std::string problem;  // "FILE:LINE:COLUMN: reason", "cannot open FILE (...)", ...
};

// Loads path (the bundled example when null, standard input for "-") into
// doc with the library's own load, and when it refuses the text, finds where
// and why with the same parser. The name in messages is the path, or
// "standard input".
LoadResult LoadInto(Document& doc, const char* path);
// LoadInto, printing the problem as an error; false with status set.
bool Load(Document& doc, const char* path, int& status);

// The loaded document as the tool walks it: the library's text, parsed by
// the same parser, so that names and strings keep all their bytes.
void View(const Document& doc, orv::Document& view);

// Writes text and a line break to standard output.
void PrintLine(const std::string& text);

// A name for a line of output: control characters (NUL among them) as the
// \u00XX escapes the writer uses, every other byte as it is.
std::string Printable(const char* bytes, std::size_t length);

// Arguments after the command: options checked against the ones a command
// takes ("--indent" takes a value), positionals in order; "--" ends the
// options and "-" is a positional (standard input or output).
struct Arguments {
  std::vector<std::string> positional;
  std::vector<std::pair<std::string, std::string>> options;
  std::string error;  // a usage error, when not empty
};
Arguments ParseArguments(int argc, char** argv, const std::vector<std::string>& flags,
                         const std::vector<std::string>& valued);

int Compact(int argc, char** argv);
int Pretty(int argc, char** argv);
int Get(int argc, char** argv);
int Inspect(int argc, char** argv);
int Validate(int argc, char** argv);

}  // namespace orvtool

#endif  // ORVJSON_TOOLS_COMMON_H
