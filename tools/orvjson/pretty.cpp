#include <cstdio>
#include <cstdlib>

#include <rapidjson/prettywriter.h>

#include "common.h"
#include "text/file_save.h"

namespace orvtool {

int Pretty(int argc, char** argv) {
  const Arguments args = ParseArguments(argc, argv, {}, {"--indent"});
  if (!args.error.empty()) return Usage(args.error + " for pretty");
  if (args.positional.size() > 2) return Usage("pretty takes at most FILE and OUT");
  unsigned indent = 4;
  for (const auto& option : args.options) {
    char* end = nullptr;
    const unsigned long value = std::strtoul(option.second.c_str(), &end, 10);
    if (option.second.empty() || *end != '\0' || value > 16) return Usage("--indent takes a number from 0 to 16");
    indent = static_cast<unsigned>(value);
  }
  Document doc;
  int status = kExitOk;
  if (!Load(doc, args.positional.empty() ? nullptr : args.positional[0].c_str(), status)) return status;
  orv::Document view;
  View(doc, view);
  // RapidJSON's pretty writer over the library's own writer, so that numbers
  // and strings read exactly as compact text has them.
  orv::StringBuffer buffer;
  rapidjson::PrettyWriter<orv::StringBuffer, rapidjson::UTF8<>, rapidjson::UTF8<>, orv::CheckedAllocator> writer(
      buffer);
  writer.SetIndent(' ', indent);
  view.Accept(writer);
  const std::string text = std::string(buffer.GetString(), buffer.GetSize()) + "\n";
  if (args.positional.size() < 2 || args.positional[1] == "-") {
    std::fwrite(text.data(), 1, text.size(), stdout);
    return kExitOk;
  }
  const std::string& out = args.positional[1];
  const auto write = [&text](std::FILE* file) { return std::fwrite(text.data(), 1, text.size(), file) == text.size(); };
  orv::NativePath path;
  if (!orv::PathFromLocal(out.data(), out.size(), path)) return Fail("cannot write " + out);
  return orv::SaveFile(path, write) ? kExitOk : Fail("cannot write " + out);
}

}  // namespace orvtool
