// The benchmarks as plain functions, so that one set of them runs under
// Google Benchmark (Linux) and under the timing driver of our own (the
// 32-bit DLL under wine, where Google Benchmark does not exist).
#ifndef ORVJSON_BENCH_HARNESS_H
#define ORVJSON_BENCH_HARNESS_H

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "OrvJson.h"

namespace orvbench {

// What is timed: one run of the operation.
using Body = std::function<void()>;

// A benchmark: prepare sets up its state once and returns the body, which
// holds that state. OrvJson operations are named Orv..., their floors (the
// raw RapidJSON code doing the same work) Rapid...; a corpus benchmark ends
// in /0, /1 or /2 for canada, citm and twitter.
struct Case {
  std::string name;
  std::function<Body()> prepare;
};

// Every benchmark, in the order they were added.
std::vector<Case>& Cases();

// Adds a benchmark; used at namespace scope as `const bool x = Add(...)`.
bool Add(std::string name, std::function<Body()> prepare);
// Adds name/0, name/1 and name/2, one per corpus; prepare gets the corpus.
bool AddOverCorpora(const std::string& name, std::function<Body(std::size_t corpus)> prepare);

// A new handle, released when the last copy of the pointer goes. The
// pointee is a handle variable, as the copying functions take it.
inline std::shared_ptr<long> NewHandle() {
  return std::shared_ptr<long>(new long(Create()), [](long* h) {
    Release(*h);
    delete h;
  });
}

// Keeps the compiler from dropping a computation whose result is unused.
template <typename T>
inline void Use(const T& value) {
  asm volatile("" : : "r,m"(value) : "memory");
}

}  // namespace orvbench

#endif  // ORVJSON_BENCH_HARNESS_H
