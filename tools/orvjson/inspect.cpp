#include <string>

#include "common.h"
#include "text/json_write.h"

namespace orvtool {
namespace {

using orv::Value;

std::string CountOf(const char* kind, rapidjson::SizeType count) {
  return std::string(kind) + " of " + std::to_string(count);
}

std::string Kind(const Value& v) {
  if (v.IsObject()) return CountOf("object", v.MemberCount());
  if (v.IsArray()) return CountOf("array", v.Size());
  if (v.IsString()) return "string";
  if (v.IsBool()) return "bool";
  if (v.IsNull()) return "null";
  if (v.IsInt()) return "integer";
  if (v.IsUint()) return "unsigned";
  if (v.IsInt64()) return "int64";
  if (v.IsUint64()) return "uint64";
  return "double";
}

}  // namespace

int Inspect(int argc, char** argv) {
  const Arguments args = ParseArguments(argc, argv, {}, {});
  if (!args.error.empty()) return Usage(args.error + " for inspect");
  if (args.positional.size() > 1) return Usage("inspect takes at most FILE");
  Document doc;
  int status = kExitOk;
  if (!Load(doc, args.positional.empty() ? nullptr : args.positional[0].c_str(), status)) return status;
  orv::Document view;
  View(doc, view);
  if (view.IsObject()) {
    PrintLine("(root)\t" + Kind(view));
    for (const auto& member : view.GetObject()) {
      PrintLine(Printable(member.name.GetString(), member.name.GetStringLength()) + "\t" + Kind(member.value));
    }
  } else if (view.IsArray()) {
    PrintLine("(root)\t" + Kind(view));
    rapidjson::SizeType index = 0;
    for (const Value& element : view.GetArray()) PrintLine("[" + std::to_string(index++) + "]\t" + Kind(element));
  } else {
    PrintLine("(root)\t" + orv::JsonText(view));  // a scalar root
  }
  return kExitOk;
}

}  // namespace orvtool
