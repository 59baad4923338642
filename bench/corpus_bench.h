// What the corpus benchmarks share: the input by argument, its label and
// byte count, and the arguments that run a benchmark over every corpus.
#ifndef ORVJSON_BENCH_CORPUS_BENCH_H
#define ORVJSON_BENCH_CORPUS_BENCH_H

#include <benchmark/benchmark.h>

#include <cstdint>

#include "corpus.h"

namespace orvbench {

inline const CorpusFile& Input(const benchmark::State& state) {
  return Corpora()[static_cast<std::size_t>(state.range(0))];
}

inline void Label(benchmark::State& state) {
  state.SetLabel(Input(state).name);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * Input(state).text.size()));
}

// Real time: file writes spend time outside the CPU.
inline void OverCorpora(benchmark::internal::Benchmark* b) {
  for (int i = 0; i < 3; ++i) b->Arg(i);
  b->Unit(benchmark::kMicrosecond)->UseRealTime();
}

}  // namespace orvbench

#endif  // ORVJSON_BENCH_CORPUS_BENCH_H
