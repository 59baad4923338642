#include <string>
#include <vector>

#include "common.h"

namespace orvtool {
namespace {

// Prints every element of an array member with the getter for T.
template <typename T, typename Show>
bool PrintArray(long h, const char* key, Show show) {
  std::vector<T> values;
  if (GetValue(h, key, values) != 0) return false;
  for (const T& value : values) PrintLine(show(value));
  return true;
}

// An object or array member as one line of compact JSON.
int ShowAsJson(Document& doc, const char* key) {
  Document copy;
  if (GetValue(doc.handle(), key, copy.handle_variable()) != 0) {
    return Fail(std::string("member '") + key + "' cannot be shown");
  }
  PrintLine(GetString(copy.handle()));
  return kExitOk;
}

// Arrays of strings, 32-bit integers or doubles print one element per line;
// any other array (empty, mixed, nested) prints as one line of compact JSON.
int ShowArray(Document& doc, const char* key) {
  const long h = doc.handle();
  int first = 0;
  GetArryItemType(h, std::string(key), first);
  if (first == 5 && PrintArray<std::string>(h, key, [](const std::string& s) { return s; })) return kExitOk;
  if (first == 32 && PrintArray<int>(h, key, [](int i) { return std::to_string(i); })) return kExitOk;
  if (first == 512 && PrintArray<double>(h, key, DoubleText)) return kExitOk;
  return ShowAsJson(doc, key);
}

int Show(Document& doc, const char* key, int memberType) {
  const long h = doc.handle();
  const std::string name = std::string("member '") + key + "'";
  switch (memberType) {
    case 1024: {
      std::string value;
      GetValue(h, key, value);
      PrintLine(value);
      return kExitOk;
    }
    case 32: {
      int value = 0;
      GetValue(h, key, value);
      PrintLine(GetIsNULL(h, key) == 1 ? "null" : std::to_string(value));
      return kExitOk;
    }
    case 8: {
      bool value = false;
      GetValue(h, key, value);
      PrintLine(value ? "true" : "false");
      return kExitOk;
    }
    case 512: {
      double value = 0;
      GetValue(h, key, value);
      PrintLine(DoubleText(value));
      return kExitOk;
    }
    case 128: {
      // Only the unsigned 32-bit part of this range has a getter; none of
      // those values is 0, so an untouched 0 means the getter refused.
      unsigned value = 0;
      GetValue(h, key, value);
      if (value != 0) {
        PrintLine(std::to_string(value));
        return kExitOk;
      }
      return Fail(name + " is a 64-bit integer, which no getter reads");
    }
    case 256:
      return Fail(name + " is an unsigned 64-bit integer, which no getter reads");
    case 4:
      return ShowArray(doc, key);
    case 3:
      return ShowAsJson(doc, key);
    default:
      return Fail(name + " cannot be shown");
  }
}

}  // namespace

int Get(int argc, char** argv) {
  if (argc != 2) return Usage("get takes FILE and KEY");
  Document doc;
  int status = kExitOk;
  if (!Load(doc, argv[0], status)) return status;
  const char* key = argv[1];
  int ignored = 0;
  if (GetItemType(doc.handle(), 0, ignored) == 0) {
    return Fail(std::string(argv[0]) + " holds an array; get reads members of an object");
  }
  OrvVector members;
  GetTagCollect(doc.handle(), members);
  for (const OrvTagItem& member : members.m_items) {
    if (member.name == key) {
      // Names are listed up to a NUL byte, so a listed name may still find
      // no member; the double getter reports -1 only for a missing one.
      double probe = 0;
      if (GetValue(doc.handle(), key, probe) != 0) break;
      return Show(doc, key, member.type);
    }
  }
  return Fail(std::string("no member '") + key + "' in " + argv[0]);
}

}  // namespace orvtool
