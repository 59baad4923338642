#include "common.h"

#include <charconv>
#include <cstdio>
#include <cstring>

namespace orvtool {

int Fail(const std::string& message) {
  std::fprintf(stderr, "orvjson: %s\n", message.c_str());
  return kExitFailed;
}

int Usage(const std::string& message) {
  std::fprintf(stderr, "orvjson: %s (see 'orvjson --help')\n", message.c_str());
  return kExitUsage;
}

namespace {

// The example beside the sources when run from a build tree, else the one
// installed with the tool.
const char* BundledExample() {
  if (std::FILE* file = std::fopen(ORVJSON_EXAMPLE_JSON, "rb")) {
    std::fclose(file);
    return ORVJSON_EXAMPLE_JSON;
  }
  return ORVJSON_INSTALLED_EXAMPLE_JSON;
}

bool LoadStandardInput(Document& doc, int& status) {
  std::string text;
  char buffer[65536];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, stdin)) > 0;) text.append(buffer, n);
  if (std::ferror(stdin)) {
    status = Fail("cannot read standard input");
    return false;
  }
  if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) {
    status = Fail("standard input starts with a UTF-8 byte-order mark; send it without one");
    return false;
  }
  if (LoadFromString(doc.handle(), text) != 0) {
    status = Fail("standard input is not valid JSON");
    return false;
  }
  return true;
}

}  // namespace

bool Load(Document& doc, const char* path, int& status) {
  if (path == nullptr) path = BundledExample();
  if (std::strcmp(path, "-") == 0) return LoadStandardInput(doc, status);
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
