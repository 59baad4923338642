// orvjson: a small host program over the exported OrvJson interface.
#include <cstdio>
#include <cstring>
#include <string>

#include "common.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace {

const char kUsage[] =
    "Usage: orvjson COMMAND [ARGS]\n"
    "\n"
    "Commands:\n"
    "  compact [FILE [OUT]]  Print FILE's compact JSON text followed by a line break,\n"
    "                        or write the text to OUT (with no line break).\n"
    "  get FILE KEY          Print the value of member KEY of an object root:\n"
    "                        strings as they are, numbers in their stored kind\n"
    "                        (doubles always with a fraction or exponent); arrays\n"
    "                        of strings, 32-bit integers or doubles one element per\n"
    "                        line; other arrays and objects as one line of compact\n"
    "                        JSON. Integers outside the 32-bit ranges cannot be shown.\n"
    "  inspect [FILE]        Print one line per member (or per element of an array\n"
    "                        root): its name (or [index]), a tab, and its kind:\n"
    "                        string, integer, unsigned, int64, uint64, double, bool,\n"
    "                        null, array of N or object of N. The first line\n"
    "                        describes the root.\n"
    "\n"
    "FILE defaults to the bundled example where it is optional.\n"
    "\n"
    "Options:\n"
    "  -h, --help            Show this help.\n"
    "\n"
    "Exit status: 0 on success; 1 when a file cannot be read, is not valid JSON or\n"
    "cannot be written, or a member is missing or cannot be shown; 2 for a usage\n"
    "error. Errors are one line each on standard error.\n";

bool IsHelp(const char* arg) { return std::strcmp(arg, "-h") == 0 || std::strcmp(arg, "--help") == 0; }

}  // namespace

int main(int argc, char** argv) {
  using namespace orvtool;
#ifdef _WIN32
  // JSON text goes out byte for byte, without line-end translation.
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
#endif
  if (argc < 2) return Usage("no command given");
  for (int i = 1; i < argc; ++i) {
    if (IsHelp(argv[i])) {
      std::fputs(kUsage, stdout);
      return kExitOk;
    }
  }
  const std::string command = argv[1];
  if (command == "compact") return Compact(argc - 2, argv + 2);
  if (command == "get") return Get(argc - 2, argv + 2);
  if (command == "inspect") return Inspect(argc - 2, argv + 2);
  return Usage("unknown command '" + command + "'");
}
