// orvjson: a small host program over the exported OrvJson interface. It
// loads and saves through the library; to say where a text is broken, and
// to show names and strings with all their bytes, it also links the
// library's parser and runs it on the same text.
#include <cstdio>
#include <cstring>
#include <new>
#include <stdexcept>
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
    "  compact [FILE [OUT]]        Print FILE as compact JSON, or write it to OUT.\n"
    "  pretty [--indent N] [FILE [OUT]]\n"
    "                              Print FILE indented, or write it to OUT.\n"
    "  validate [-v] FILE...       Say where and why each invalid FILE is broken.\n"
    "  get FILE KEY                Print member KEY of an object root, or the value\n"
    "                              at KEY when KEY is a JSON Pointer (/a/0/b).\n"
    "  inspect [FILE]              List the members (or elements) with their kinds.\n"
    "\n"
    "FILE '-' reads standard input and OUT '-' writes standard output; where FILE\n"
    "is optional it defaults to the bundled example. '--' ends the options.\n"
    "\n"
    "Options:\n"
    "  -h, --help                  Show this help, or a command's own.\n"
    "  --version                   Show the version.\n"
    "\n"
    "A file that is not valid JSON is reported as FILE:LINE:COLUMN: reason (lines\n"
    "and columns from 1, columns in characters).\n"
    "\n"
    "Exit status: 0 on success; 1 when input cannot be read or is not valid JSON,\n"
    "an output cannot be written, or a member or value is missing; 2 for a usage\n"
    "error. Errors are one line each on standard error.\n";

const char kCompactHelp[] =
    "Usage: orvjson compact [FILE [OUT]]\n"
    "\n"
    "Load FILE and print its compact JSON text (no whitespace between tokens)\n"
    "followed by a line break, or save the text to OUT with no line break, as\n"
    "WriteToFile does (OUT is replaced in one step). Numbers keep their exact\n"
    "values. FILE '-' reads standard input, OUT '-' writes standard output;\n"
    "without FILE the bundled example is used.\n"
    "\n"
    "Exit status: 0 on success; 1 when FILE cannot be read, starts with a UTF-8\n"
    "byte-order mark or is not valid JSON (FILE:LINE:COLUMN: reason), holds only\n"
    "null (which WriteToFile does not save), or OUT cannot be written; 2 for a\n"
    "usage error.\n";

const char kPrettyHelp[] =
    "Usage: orvjson pretty [--indent N] [FILE [OUT]]\n"
    "\n"
    "Load FILE and print it indented by N spaces a level (4 unless --indent\n"
    "gives 0 to 16), one member or element a line, followed by a line break; or\n"
    "save that text to OUT. 'orvjson compact' turns it back into the compact\n"
    "text byte for byte. FILE '-' reads standard input, OUT '-' writes standard\n"
    "output; without FILE the bundled example is used.\n"
    "\n"
    "Exit status: 0 on success; 1 when FILE cannot be read or is not valid JSON,\n"
    "or OUT cannot be written; 2 for a usage error.\n";

const char kValidateHelp[] =
    "Usage: orvjson validate [-v] FILE...\n"
    "\n"
    "Load each FILE as the library does and print one line for each that does\n"
    "not load: FILE:LINE:COLUMN: reason, or why it could not be read. Valid\n"
    "files print nothing, unless -v (--verbose) prints FILE: valid. FILE '-'\n"
    "reads standard input.\n"
    "\n"
    "Exit status: 0 when every FILE is valid; 1 otherwise; 2 for a usage error.\n";

const char kGetHelp[] =
    "Usage: orvjson get FILE KEY\n"
    "\n"
    "Print a value of FILE. A KEY that starts with '/' is a JSON Pointer (RFC\n"
    "6901): /sensors/0/name is member name of the first element of member\n"
    "sensors, and ~1 and ~0 stand for '/' and '~' in a name. Any other KEY is the\n"
    "name of a member of an object root; the first member of that name, matched\n"
    "by all its bytes, is printed.\n"
    "\n"
    "Strings print as their raw bytes, NUL and control characters included\n"
    "(compact shows them escaped). Numbers, true, false and null print as the\n"
    "library writes them (1.0, 1e21, 18446744073709551615). Arrays of strings or\n"
    "of numbers print one element a line; other arrays, and objects, print as\n"
    "one line of compact JSON. FILE '-' reads standard input.\n"
    "\n"
    "Exit status: 0 on success; 1 when FILE cannot be read or is not valid JSON,\n"
    "or there is no such member or value; 2 for a usage error (an invalid JSON\n"
    "Pointer among them).\n";

const char kInspectHelp[] =
    "Usage: orvjson inspect [FILE]\n"
    "\n"
    "The first line describes the root: object of N, array of N, or the text of\n"
    "a scalar. Then one line per member of an object root (its name) or per\n"
    "element of an array root ([index]), a tab, and its kind: string, integer\n"
    "(32-bit), unsigned (32-bit, above 2^31 - 1), int64, uint64, double, bool,\n"
    "null, array of N, object of N. Names show every byte; control characters\n"
    "(NUL among them) appear as \\u00XX escapes. A name that repeats is listed\n"
    "each time. FILE '-' reads standard input; without FILE the bundled example\n"
    "is used.\n"
    "\n"
    "Exit status: 0 on success, 1 when FILE cannot be read or is not valid JSON,\n"
    "2 for a usage error.\n";

bool IsHelp(const char* arg) { return std::strcmp(arg, "-h") == 0 || std::strcmp(arg, "--help") == 0; }
bool IsVersion(const char* arg) { return std::strcmp(arg, "--version") == 0; }

int Print(const char* text) {
  std::fputs(text, stdout);
  return orvtool::kExitOk;
}

int Run(int argc, char** argv) {
  using namespace orvtool;
  if (argc < 2) return Usage("no command given");
  const std::string command = argv[1];
  struct Command {
    const char* name;
    int (*run)(int, char**);
    const char* help;
  };
  const Command commands[] = {{"compact", Compact, kCompactHelp},
                              {"pretty", Pretty, kPrettyHelp},
                              {"validate", Validate, kValidateHelp},
                              {"get", Get, kGetHelp},
                              {"inspect", Inspect, kInspectHelp}};
  for (const Command& c : commands) {
    if (command != c.name) continue;
    for (int i = 2; i < argc && std::strcmp(argv[i], "--") != 0; ++i) {
      if (IsHelp(argv[i])) return Print(c.help);
      if (IsVersion(argv[i])) return Print("orvjson " ORVJSON_VERSION "\n");
    }
    return c.run(argc - 2, argv + 2);
  }
  if (IsHelp(argv[1])) return Print(kUsage);
  if (IsVersion(argv[1])) return Print("orvjson " ORVJSON_VERSION "\n");
  return Usage("unknown command '" + command + "'");
}

}  // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
  // JSON text goes out byte for byte, without line-end translation.
  _setmode(_fileno(stdin), _O_BINARY);
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
#endif
  int status = orvtool::kExitOk;
  try {
    status = Run(argc, argv);
  } catch (const std::bad_alloc&) {
    // A file larger than the memory there is: one line, like any failure.
    return orvtool::Fail("out of memory");
  } catch (const std::length_error&) {
    return orvtool::Fail("too large for a document");
  }
  // Output is buffered: a full disk or a closed pipe shows only now.
  if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
    return orvtool::Fail("cannot write to standard output");
  }
  return status;
}
