// orvjson: a small host program over the exported OrvJson interface.
#include <cstdio>
#include <cstring>
#include <string>

#include "OrvJson.h"

namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

const char kUsage[] =
    "Usage: orvjson COMMAND [ARGS]\n"
    "\n"
    "Commands:\n"
    "  compact [FILE [OUT]]  Load FILE and print its compact JSON text followed by a\n"
    "                        line break, or write the text to OUT (no line break).\n"
    "                        FILE defaults to the bundled example.\n"
    "\n"
    "Options:\n"
    "  -h, --help            Show this help.\n"
    "\n"
    "Exit status: 0 on success, 1 when a file cannot be read, is not valid JSON\n"
    "or cannot be written, 2 for a usage error. Errors go to standard error.\n";

int Fail(const std::string& message) {
  std::fprintf(stderr, "orvjson: %s\n", message.c_str());
  return kExitFailed;
}

int Usage(const std::string& message) {
  std::fprintf(stderr, "orvjson: %s\nTry 'orvjson --help'.\n", message.c_str());
  return kExitUsage;
}

// Handles are released on every way out of a command.
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

// Loads path into doc; on failure prints why and returns false.
bool Load(const Document& doc, const char* path, int& status) {
  int hasBom = 0;
  const long result = LoadJsonFile(doc.handle(), path, hasBom);
  if (result == 1) return true;
  const std::string name = path;
  if (result == -1) {
    status = Fail("cannot open " + name + " (missing, unreadable, or not a regular file)");
  } else if (hasBom == 1) {
    status = Fail(name + " starts with a UTF-8 byte-order mark; save it without one");
  } else {
    status = Fail(name + " is not valid JSON");
  }
  return false;
}

int Compact(int argc, char** argv) {
  if (argc > 2) return Usage("compact takes at most FILE and OUT");
  const char* path = argc > 0 ? argv[0] : ORVJSON_EXAMPLE_JSON;
  Document doc;
  int status = kExitOk;
  if (!Load(doc, path, status)) return status;
  if (argc == 2) {
    if (WriteToFile(doc.handle(), argv[1]) != 0) return Fail(std::string("cannot write ") + argv[1]);
    return kExitOk;
  }
  const std::string text = GetString(doc.handle());
  std::fwrite(text.data(), 1, text.size(), stdout);
  std::fputc('\n', stdout);
  return std::fflush(stdout) == 0 ? kExitOk : Fail("cannot write to standard output");
}

bool IsHelp(const char* arg) { return std::strcmp(arg, "-h") == 0 || std::strcmp(arg, "--help") == 0; }

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage("no command given");
  const char* command = argv[1];
  if (IsHelp(command)) {
    std::fputs(kUsage, stdout);
    return kExitOk;
  }
  for (int i = 2; i < argc; ++i) {
    if (IsHelp(argv[i])) {
      std::fputs(kUsage, stdout);
      return kExitOk;
    }
  }
  if (std::strcmp(command, "compact") == 0) return Compact(argc - 2, argv + 2);
  return Usage(std::string("unknown command '") + command + "'");
}
