#include <cstdio>

#include "common.h"

namespace orvtool {

int Compact(int argc, char** argv) {
  if (argc > 2) return Usage("compact takes at most FILE and OUT");
  Document doc;
  int status = kExitOk;
  if (!Load(doc, argc > 0 ? argv[0] : nullptr, status)) return status;
  if (argc == 2) {
    if (WriteToFile(doc.handle(), argv[1]) != 0) return Fail(std::string("cannot write ") + argv[1]);
    return kExitOk;
  }
  PrintLine(GetString(doc.handle()));
  return std::fflush(stdout) == 0 ? kExitOk : Fail("cannot write to standard output");
}

}  // namespace orvtool
