#include <cstdio>

#include "common.h"

namespace orvtool {

int Compact(int argc, char** argv) {
  const Arguments args = ParseArguments(argc, argv, {}, {});
  if (!args.error.empty()) return Usage(args.error + " for compact");
  if (args.positional.size() > 2) return Usage("compact takes at most FILE and OUT");
  Document doc;
  int status = kExitOk;
  if (!Load(doc, args.positional.empty() ? nullptr : args.positional[0].c_str(), status)) return status;
  const std::string text = GetString(doc.handle());
  if (args.positional.size() < 2 || args.positional[1] == "-") {
    PrintLine(text);
    return kExitOk;
  }
  const std::string& out = args.positional[1];
  if (text == "null") return Fail(args.positional[0] + " holds only null, which WriteToFile does not save");
  if (WriteToFile(doc.handle(), out) != 0) return Fail("cannot write " + out);
  return kExitOk;
}

}  // namespace orvtool
