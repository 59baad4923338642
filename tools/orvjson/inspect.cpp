#include <set>
#include <string>

#include "common.h"

namespace orvtool {
namespace {

std::string CountOf(const char* kind, long count) { return std::string(kind) + " of " + std::to_string(count); }

// The kind of an element of an array root, from its item type code.
std::string ElementKind(Document& doc, int index) {
  int code = -1;
  GetItemType(doc.handle(), index, code);
  switch (code) {
    case 0:
      return "null";
    case 3: {
      Document copy;
      GetValue(doc.handle(), index, copy.handle_variable());
      return CountOf("object", Members(copy.handle()));
    }
    case 4:
      return "array";  // an array inside an array cannot be copied out to count it
    case 5:
      return "string";
    case 8:
      return "bool";
    case 32:
      return "integer";
    case 64:
      return "unsigned";
    case 128:
      return "int64";
    case 256:
      return "uint64";
    case 512:
      return "double";
    default:
      return "unknown";
  }
}

// The kind of a member, from its member type code. Lookups by name find the
// first member of a name, so a repeated name is told from its code alone.
std::string MemberKind(Document& doc, const OrvTagItem& member, bool repeated) {
  const long h = doc.handle();
  const char* key = member.name.c_str();
  switch (member.type) {
    case 1024:
      return "string";
    case 32:
      if (repeated) return "integer or null";
      return GetIsNULL(h, key) == 1 ? "null" : "integer";
    case 8:
      return "bool";
    case 512:
      return "double";
    case 128: {
      if (repeated) return "int64";
      unsigned value = 0;  // none of the unsigned values in this range is 0
      GetValue(h, key, value);
      return value != 0 ? "unsigned" : "int64";
    }
    case 256:
      return "uint64";
    case 4:
    case 3: {
      const char* kind = member.type == 4 ? "array" : "object";
      if (repeated) return kind;
      Document copy;
      GetValue(h, key, copy.handle_variable());
      return CountOf(kind, Members(copy.handle()));
    }
    default:
      return "unknown";
  }
}

}  // namespace

int Inspect(int argc, char** argv) {
  if (argc > 1) return Usage("inspect takes at most FILE");
  Document doc;
  int status = kExitOk;
  if (!Load(doc, argc > 0 ? argv[0] : nullptr, status)) return status;
  const long h = doc.handle();
  int firstType = 0;
  const bool arrayRoot = GetItemType(h, 0, firstType) == 0;
  if (arrayRoot) {
    const long count = Members(h);
    PrintLine("(root)\t" + CountOf("array", count));
    for (int index = 0; index < count; ++index)
      PrintLine("[" + std::to_string(index) + "]\t" + ElementKind(doc, index));
    return kExitOk;
  }
  OrvVector members;
  GetTagCollect(h, members);
  const std::string text = members.m_items.empty() ? GetString(h) : std::string();
  if (members.m_items.empty() && text != "{}" && text != "[]") {
    PrintLine("(root)\t" + text);  // a scalar root
    return kExitOk;
  }
  PrintLine("(root)\t" + CountOf(text == "[]" ? "array" : "object", Members(h)));
  std::set<std::string> seen;
  for (const OrvTagItem& member : members.m_items) {
    const bool repeated = !seen.insert(member.name).second;
    PrintLine(member.name + "\t" + MemberKind(doc, member, repeated));
  }
  return kExitOk;
}

}  // namespace orvtool
