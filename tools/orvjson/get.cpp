#include <string>

#include <rapidjson/pointer.h>

#include "common.h"
#include "text/json_write.h"

namespace orvtool {
namespace {

using orv::Value;

// A string's bytes as they are, NUL and control characters included.
std::string Bytes(const Value& v) { return std::string(v.GetString(), v.GetStringLength()); }

bool AllOf(const Value& array, bool (Value::*is)() const) {
  for (const Value& element : array.GetArray()) {
    if (!(element.*is)()) return false;
  }
  return !array.Empty();
}

// Strings as they are; numbers, true, false and null as the library writes
// them; arrays of strings or of numbers one element per line; any other
// array, and objects, as one line of compact JSON.
void Show(const Value& value) {
  if (value.IsString()) {
    PrintLine(Bytes(value));
  } else if (value.IsArray() && AllOf(value, &Value::IsString)) {
    for (const Value& element : value.GetArray()) PrintLine(Bytes(element));
  } else if (value.IsArray() && AllOf(value, &Value::IsNumber)) {
    for (const Value& element : value.GetArray()) PrintLine(orv::JsonText(element));
  } else {
    PrintLine(orv::JsonText(value));
  }
}

}  // namespace

int Get(int argc, char** argv) {
  const Arguments args = ParseArguments(argc, argv, {}, {});
  if (!args.error.empty()) return Usage(args.error + " for get");
  if (args.positional.size() != 2) return Usage("get takes FILE and KEY");
  const std::string& file = args.positional[0];
  const std::string& key = args.positional[1];
  Document doc;
  int status = kExitOk;
  if (!Load(doc, file.c_str(), status)) return status;
  orv::Document view;
  View(doc, view);
  const Value* value = nullptr;
  if (!key.empty() && key[0] == '/') {
    // A JSON Pointer (RFC 6901), resolved by RapidJSON.
    const rapidjson::GenericPointer<Value> pointer(key.c_str(), key.size());
    if (!pointer.IsValid()) {
      return Usage("'" + key + "' is not a valid JSON Pointer (at character " +
                   std::to_string(pointer.GetParseErrorOffset() + 1) + ")");
    }
    value = pointer.Get(view);
    if (value == nullptr) return Fail("nothing at " + key + " in " + file);
  } else {
    if (!view.IsObject()) {
      return Fail(file + " holds no object; get reads a member of an object, or takes a JSON Pointer such as /0");
    }
    // The first member whose name is exactly the key's bytes.
    for (const auto& member : view.GetObject()) {
      if (Bytes(member.name) == key) {
        value = &member.value;
        break;
      }
    }
    if (value == nullptr) return Fail("no member '" + key + "' in " + file);
  }
  Show(*value);
  return kExitOk;
}

}  // namespace orvtool
