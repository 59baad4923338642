#include "common.h"

#include <charconv>
#include <cstdio>

namespace orvtool {

int Fail(const std::string& message) {
  std::fprintf(stderr, "orvjson: %s\n", message.c_str());
  return kExitFailed;
}

int Usage(const std::string& message) {
  std::fprintf(stderr, "orvjson: %s\nTry 'orvjson --help'.\n", message.c_str());
  return kExitUsage;
}

bool Load(Document& doc, const char* path, int& status) {
  if (path == nullptr) path = ORVJSON_EXAMPLE_JSON;
  int hasBom = 0;
  const long result = LoadJsonFile(doc.handle(), path, hasBom);
  if (result == 1) return true;
  const std::string name = path;
  if (result == -1) {
    status = Fail("cannot open " + name + " (missing, unreadable, or not a regular file)");
  } else if (hasBom == 1) {
    status = Fail(name + " starts with a UTF-8 byte-order mark; save it without one");
  } else {
    status = Fail(name + " is not valid JSON");
  }
  return false;
}

void PrintLine(const std::string& text) {
  std::fwrite(text.data(), 1, text.size(), stdout);
  std::fputc('\n', stdout);
}

std::string DoubleText(double value) {
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  std::string text(buffer, result.ptr);
  if (text.find_first_of(".en") == std::string::npos) text += ".0";
  return text;
}

}  // namespace orvtool
