// Loading text, against RapidJSON's exact-number parse (the floor) and its
// default, inexact one (for reference).
#include <cstdio>
#include <memory>
#include <string>

#include <rapidjson/document.h>

#include "corpus.h"
#include "harness.h"

namespace orvbench {
namespace {

template <unsigned flags>
Body RapidParse(std::size_t corpus) {
  const std::string& text = Corpora()[corpus].text;
  return [&text] {
    rapidjson::Document doc;
    doc.Parse<flags>(text.c_str());
    Use(doc.HasParseError());
  };
}

const bool kLoadFromString = AddOverCorpora("OrvLoadFromString", [](std::size_t corpus) -> Body {
  const std::string& text = Corpora()[corpus].text;
  auto h = NewHandle();
  return [h, &text] { Use(LoadFromString(*h, text)); };
});

const bool kRapidParseFull = AddOverCorpora("RapidParseFull", RapidParse<rapidjson::kParseFullPrecisionFlag>);
const bool kRapidParseDefault = AddOverCorpora("RapidParseDefault", RapidParse<rapidjson::kParseDefaultFlags>);

const bool kLoadJsonFile = AddOverCorpora("OrvLoadJsonFile", [](std::size_t corpus) -> Body {
  const std::string& path = Corpora()[corpus].path;
  auto h = NewHandle();
  return [h, &path] {
    int hasBom = 0;
    Use(LoadJsonFile(*h, path.c_str(), hasBom));
  };
});

// The whole file read into one block, then the exact-number parse.
const bool kRapidLoadFile = AddOverCorpora("RapidLoadFile", [](std::size_t corpus) -> Body {
  const std::string& path = Corpora()[corpus].path;
  return [&path] {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    std::fseek(file, 0, SEEK_END);
    const long size = std::ftell(file);
    std::fseek(file, 0, SEEK_SET);
    std::unique_ptr<char[]> buffer(new char[static_cast<std::size_t>(size) + 1]);
    const std::size_t read = std::fread(buffer.get(), 1, static_cast<std::size_t>(size), file);
    std::fclose(file);
    buffer[read] = '\0';
    rapidjson::Document doc;
    doc.Parse<rapidjson::kParseFullPrecisionFlag>(buffer.get());
    Use(doc.HasParseError());
  };
});

}  // namespace
}  // namespace orvbench
