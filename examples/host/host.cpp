// A host program: build a document, save it, load it back, read it with the
// typed getters, copy a member into another handle, list members and kinds.
#include <cstdio>
#include <string>
#include <vector>

#include <OrvJson.h>

namespace {

const char* MemberKind(int code) {
  switch (code) {
    case OrvMemberString:
      return "string";
    case OrvMemberIntOrNull:
      return "integer or null";
    case OrvMemberBool:
      return "bool";
    case OrvMemberDouble:
      return "double";
    case OrvMemberInt64:
      return "integer beyond 32 bits";
    case OrvMemberUint64:
      return "unsigned 64-bit integer";
    case OrvMemberArray:
      return "array";
    case OrvMemberObject:
      return "object";
    default:
      return "unknown";
  }
}

int Check(bool ok, const char* what) {
  if (!ok) std::fprintf(stderr, "orvjson_host: %s failed\n", what);
  return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string path = argc > 1 ? argv[1] : "orvjson-host.json";
  int failures = 0;

  // Build.
  const long doc = Create();
  SetValue(doc, "name", "Zürich");
  SetValue(doc, "count", 3);
  SetValue(doc, "ratio", 0.1);
  SetValue(doc, "active", true);
  std::vector<int> readings{12, 15, -3};
  SetValue(doc, "readings", readings);
  const long position = Create();
  SetValue(position, "lat", 47.37787);
  SetValue(position, "lon", 8.56575);
  long positionHandle = position;
  SetValue(doc, "position", static_cast<void*>(&positionHandle));
  Release(position);

  // Save and load back.
  failures += Check(WriteToFile(doc, path) == 0, "WriteToFile");
  const long loaded = Create();
  int hasBom = 0;
  failures += Check(LoadJsonFile(loaded, path.c_str(), hasBom) == 1, "LoadJsonFile");
  std::printf("saved and loaded: %s\n", GetString(loaded).c_str());

  // Read back with the typed getters.
  std::string name;
  int count = 0;
  double ratio = 0;
  bool active = false;
  std::vector<int> values;
  GetValue(loaded, "name", name);
  GetValue(loaded, "count", count);
  failures += Check(GetValue(loaded, "ratio", ratio) == 0 && ratio == 0.1, "double getter");
  GetValue(loaded, "active", active);
  failures += Check(GetValue(loaded, "readings", values) == 0 && values == readings, "vector getter");
  std::printf("name=%s count=%d ratio=%.17g active=%s readings=%zu\n", name.c_str(), count, ratio,
              active ? "true" : "false", values.size());

  // Copy a member into another handle.
  long copy = Create();
  failures += Check(GetValue(loaded, "position", static_cast<void*>(&copy)) == 0, "member copy");
  double lat = 0;
  GetValue(copy, "lat", lat);
  std::printf("position copied: %s (lat %.5f)\n", GetString(copy).c_str(), lat);

  // List members with their types.
  OrvVector members;
  const long listed = GetTagCollect(loaded, members);
  std::printf("%ld members:\n", listed);
  for (const OrvTagItem& member : members.m_items) {
    std::printf("  %-10s %s\n", member.name.c_str(), MemberKind(member.type));
  }

  Release(copy);
  Release(loaded);
  Release(doc);
  std::remove(path.c_str());
  return failures == 0 ? 0 : 1;
}
