#include <cstdio>

#include "common.h"

namespace orvtool {

int Validate(int argc, char** argv) {
  const Arguments args = ParseArguments(argc, argv, {"-v", "--verbose"}, {});
  if (!args.error.empty()) return Usage(args.error + " for validate");
  if (args.positional.empty()) return Usage("validate takes at least one FILE");
  const bool verbose = !args.options.empty();
  int status = kExitOk;
  for (const std::string& path : args.positional) {
    Document doc;
    const LoadResult result = LoadInto(doc, path.c_str());
    if (result.loaded) {
      if (verbose) PrintLine((path == "-" ? std::string("standard input") : path) + ": valid");
    } else {
      PrintLine(result.problem);
      status = kExitFailed;
    }
  }
  return status;
}

}  // namespace orvtool
