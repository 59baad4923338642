// The fastest DOM libraries doing the same work in the same process: yyjson
// (vendored under bench/peers, built for the benchmarks only) everywhere,
// and simdjson where its package is installed. Also generated inputs of the
// corpora's kinds, and small documents.
#include <cstdlib>
#include <memory>
#include <string>

#include "corpus.h"
#include "harness.h"
#include "yyjson.h"

#ifdef ORVJSON_BENCH_SIMDJSON
#include <simdjson.h>
#endif

namespace orvbench {
namespace {

std::shared_ptr<yyjson_doc> YyjsonDocument(const std::string& text) {
  return std::shared_ptr<yyjson_doc>(yyjson_read(text.data(), text.size(), 0), yyjson_doc_free);
}

Body YyjsonRead(const std::string& text) {
  return [&text] {
    yyjson_doc* doc = yyjson_read(text.data(), text.size(), 0);
    Use(doc);
    yyjson_doc_free(doc);
  };
}

Body OrvLoad(const std::string& text) {
  auto h = NewHandle();
  return [h, &text] { Use(LoadFromString(*h, text)); };
}

const bool kYyjsonRead =
    AddOverCorpora("YyjsonRead", [](std::size_t corpus) { return YyjsonRead(Corpora()[corpus].text); });

const bool kYyjsonWrite = AddOverCorpora("YyjsonWrite", [](std::size_t corpus) -> Body {
  auto doc = YyjsonDocument(Corpora()[corpus].text);
  return [doc] {
    std::size_t length = 0;
    char* text = yyjson_write(doc.get(), 0, &length);
    Use(length);
    std::free(text);
  };
});

#ifdef ORVJSON_BENCH_SIMDJSON
const bool kSimdjsonParse = AddOverCorpora("SimdjsonParse", [](std::size_t corpus) -> Body {
  auto parser = std::make_shared<simdjson::dom::parser>();
  auto text = std::make_shared<simdjson::padded_string>(Corpora()[corpus].text);
  return [parser, text] {
    auto element = parser->parse(*text);
    Use(element.error());
  };
});
#endif

// Generated inputs: the same kinds as the corpora, at 1 MB each.
bool AddOverGenerated(const std::string& name, Body (*prepare)(const std::string& text)) {
  for (std::size_t kind = 0; kind < GeneratedKinds(); ++kind) {
    Add(name + "/" + std::to_string(kind), [prepare, kind] { return prepare(Generated(kind)); });
  }
  return true;
}

const bool kOrvLoadGenerated = AddOverGenerated("OrvLoadGenerated", OrvLoad);
const bool kYyjsonReadGenerated = AddOverGenerated("YyjsonReadGenerated", YyjsonRead);

// A small document whole: a handle made, loaded and released, against
// yyjson's read and free.
const std::string kSmallDocument = R"({"id":12345,"name":"orvjson","tags":[1,2,3]} )";

const bool kOrvSmallDocument = Add("OrvSmallDocument", [] {
  return Body([] {
    const long h = Create();
    Use(LoadFromString(h, kSmallDocument));
    Release(h);
  });
});

const bool kYyjsonSmallDocument = Add("YyjsonSmallDocument", [] { return YyjsonRead(kSmallDocument); });

const bool kOrvCreateRelease = Add("OrvCreateRelease", [] {
  return Body([] {
    const long h = Create();
    Use(h);
    Release(h);
  });
});

}  // namespace
}  // namespace orvbench
