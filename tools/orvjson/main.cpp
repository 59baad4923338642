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
    "       orvjson COMMAND --help\n"
    "\n"
    "Commands:\n"
    "  compact [FILE [OUT]]  Print FILE as compact JSON, or write it to OUT.\n"
    "  get FILE KEY          Print the value of member KEY of an object root.\n"
    "  inspect [FILE]        List the members (or elements) with their kinds.\n"
    "\n"
    "FILE '-' reads standard input; where FILE is optional it defaults to the\n"
    "bundled example.\n"
    "\n"
    "Options:\n"
    "  -h, --help            Show this help, or a command's own.\n"
    "  --version             Show the version.\n"
    "\n"
    "Exit status: 0 on success; 1 when input cannot be read or is not valid JSON,\n"
    "an output cannot be written, or a member is missing or cannot be shown; 2 for\n"
    "a usage error. Errors are one line each on standard error.\n";

const char kCompactHelp[] =
    "Usage: orvjson compact [FILE [OUT]]\n"
    "\n"
    "Load FILE and print its compact JSON text (no whitespace between tokens)\n"
    "followed by a line break, or write the text to OUT with no line break, as\n"
    "WriteToFile does. Numbers keep their exact values. FILE '-' reads standard\n"
    "input; without FILE the bundled example is used.\n"
    "\n"
    "Exit status: 0 on success, 1 when FILE cannot be read, starts with a UTF-8\n"
    "byte-order mark or is not valid JSON, or OUT cannot be written; 2 for a\n"
    "usage error.\n";

const char kGetHelp[] =
    "Usage: orvjson get FILE KEY\n"
    "\n"
    "Print the value of the first member named KEY of a document whose root is\n"
    "an object: strings as they are; integers in decimal; doubles always with a\n"
    "fraction or exponent; true, false and null as words; arrays of strings,\n"
    "32-bit integers or doubles one element per line; other arrays and objects\n"
    "as one line of compact JSON. FILE '-' reads standard input.\n"
    "\n"
    "Exit status: 0 on success; 1 when FILE cannot be read or is not valid JSON,\n"
    "its root is an array, there is no member KEY, or the member is an integer\n"
    "outside the 32-bit ranges (no getter reads those); 2 for a usage error.\n";

const char kInspectHelp[] =
    "Usage: orvjson inspect [FILE]\n"
    "\n"
    "The first line describes the root. Then one line per member of an object\n"
    "root (its name) or per element of an array root ([index]), a tab, and its\n"
    "kind: string, integer, unsigned, int64, uint64, double, bool, null,\n"
    "array of N, object of N. A repeated member name is described by its type\n"
    "code alone (lookups find the first of a name), and an array inside an\n"
    "array root is shown as 'array' without its length. FILE '-' reads\n"
    "standard input; without FILE the bundled example is used.\n"
    "\n"
    "Exit status: 0 on success, 1 when FILE cannot be read or is not valid JSON,\n"
    "2 for a usage error.\n";

bool IsHelp(const char* arg) { return std::strcmp(arg, "-h") == 0 || std::strcmp(arg, "--help") == 0; }
bool IsVersion(const char* arg) { return std::strcmp(arg, "--version") == 0; }

int Print(const char* text) {
  std::fputs(text, stdout);
  return orvtool::kExitOk;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace orvtool;
#ifdef _WIN32
  // JSON text goes out byte for byte, without line-end translation.
  _setmode(_fileno(stdin), _O_BINARY);
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
#endif
  if (argc < 2) return Usage("no command given");
  const std::string command = argv[1];
  struct Command {
    const char* name;
    int (*run)(int, char**);
    const char* help;
  };
  const Command commands[] = {
      {"compact", Compact, kCompactHelp}, {"get", Get, kGetHelp}, {"inspect", Inspect, kInspectHelp}};
  for (const Command& c : commands) {
    if (command != c.name) continue;
    for (int i = 2; i < argc; ++i) {
      if (IsHelp(argv[i])) return Print(c.help);
      if (IsVersion(argv[i])) return Print("orvjson " ORVJSON_VERSION "\n");
    }
    return c.run(argc - 2, argv + 2);
  }
  if (IsHelp(argv[1])) return Print(kUsage);
  if (IsVersion(argv[1])) return Print("orvjson " ORVJSON_VERSION "\n");
  return Usage("unknown command '" + command + "'");
}
