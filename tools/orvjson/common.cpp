#include "common.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

#include "diagnose.h"
#include "text/json_parse.h"

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

bool Readable(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file != nullptr) std::fclose(file);
  return file != nullptr;
}

// The folder of the running program, with a trailing separator; empty when
// the system does not say.
std::string ProgramFolder() {
  char path[4096] = {};
#ifdef _WIN32
  const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  if (length == 0 || length >= sizeof path) return std::string();
  const std::string program(path, length);
  return program.substr(0, program.find_last_of("\\/") + 1);
#else
  const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
  if (length <= 0) return std::string();
  const std::string program(path, static_cast<std::size_t>(length));
  return program.substr(0, program.find_last_of('/') + 1);
#endif
}

// The example beside the sources when run from a build tree; else the one
// installed with the tool, found from where the tool is (an unpacked
// archive or a moved installation), or where it was installed.
std::string BundledExample() {
#ifdef ORVJSON_EXAMPLE_JSON
  if (Readable(ORVJSON_EXAMPLE_JSON)) return ORVJSON_EXAMPLE_JSON;
#endif
  std::string beside = ProgramFolder() + "../share/orvjson/sample.json";
  if (Readable(beside)) return beside;
  return ORVJSON_INSTALLED_EXAMPLE_JSON;
}

bool StartsWithByteOrderMark(const std::string& text) { return text.compare(0, 3, "\xEF\xBB\xBF") == 0; }

LoadResult Refused(const std::string& problem) { return LoadResult{false, problem}; }

LoadResult LoadStandardInput(Document& doc) {
  std::string text;
  char buffer[65536];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, stdin)) > 0;) text.append(buffer, n);
  if (std::ferror(stdin)) return Refused("cannot read standard input");
  if (StartsWithByteOrderMark(text)) {
    return Refused("standard input starts with a UTF-8 byte-order mark; send it without one");
  }
  if (LoadFromString(doc.handle(), text) != 0) return Refused(Diagnose("standard input", text));
  return LoadResult{true, ""};
}

}  // namespace

LoadResult LoadInto(Document& doc, const char* path) {
  const std::string example = path == nullptr ? BundledExample() : std::string();
  if (path == nullptr) path = example.c_str();
  if (std::strcmp(path, "-") == 0) return LoadStandardInput(doc);
  int hasBom = 0;
  const long result = LoadJsonFile(doc.handle(), path, hasBom);
  const std::string name = path;
  if (result == 1) return LoadResult{true, ""};
  if (result == -1) return Refused("cannot open " + name + " (missing, unreadable, or not a regular file)");
  if (hasBom == 1) return Refused(name + " starts with a UTF-8 byte-order mark; save it without one");
  // The library says no; the same parser, run here on the same bytes, says where and why.
  std::ifstream in(path, std::ios::binary);
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return Refused(in.bad() ? name + " is not valid JSON" : Diagnose(name, text));
}

bool Load(Document& doc, const char* path, int& status) {
  const LoadResult result = LoadInto(doc, path);
  if (!result.loaded) status = Fail(result.problem);
  return result.loaded;
}

void View(const Document& doc, orv::Document& view) {
  const std::string text = GetString(doc.handle());
  orv::ParseJsonText(view, text.c_str(), text.size());  // the library's own text always parses
}

void PrintLine(const std::string& text) {
  std::fwrite(text.data(), 1, text.size(), stdout);
  std::fputc('\n', stdout);
}

std::string Printable(const char* bytes, std::size_t length) {
  std::string out;
  for (std::size_t i = 0; i < length; ++i) {
    const auto byte = static_cast<unsigned char>(bytes[i]);
    if (byte >= 0x20) {
      out += static_cast<char>(byte);
      continue;
    }
    char escape[8];
    std::snprintf(escape, sizeof escape, "\\u%04X", byte);
    out += escape;
  }
  return out;
}

Arguments ParseArguments(int argc, char** argv, const std::vector<std::string>& flags,
                         const std::vector<std::string>& valued) {
  Arguments args;
  bool options = true;
  for (int i = 0; i < argc; ++i) {
    const std::string arg = argv[i];
    if (!options || arg == "-" || arg.empty() || arg[0] != '-') {
      args.positional.push_back(arg);
    } else if (arg == "--") {
      options = false;
    } else if (std::find(flags.begin(), flags.end(), arg) != flags.end()) {
      args.options.emplace_back(arg, "");
    } else {
      const std::string name = arg.substr(0, arg.find('='));
      if (std::find(valued.begin(), valued.end(), name) == valued.end()) {
        args.error = "unknown option '" + arg + "'";
        return args;
      }
      if (name != arg) {
        args.options.emplace_back(name, arg.substr(name.size() + 1));
      } else if (i + 1 < argc) {
        args.options.emplace_back(name, argv[++i]);
      } else {
        args.error = "option '" + name + "' needs a value";
        return args;
      }
    }
  }
  return args;
}

}  // namespace orvtool
