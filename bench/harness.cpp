#include "harness.h"

#include <utility>

namespace orvbench {

std::vector<Case>& Cases() {
  static std::vector<Case> cases;
  return cases;
}

bool Add(std::string name, std::function<Body()> prepare) {
  Cases().push_back(Case{std::move(name), std::move(prepare)});
  return true;
}

bool AddOverCorpora(const std::string& name, std::function<Body(std::size_t corpus)> prepare) {
  for (std::size_t corpus = 0; corpus < 3; ++corpus) {
    // The corpus is read when the benchmark is prepared, not when it is added.
    Add(name + "/" + std::to_string(corpus), [prepare, corpus] { return prepare(corpus); });
  }
  return true;
}

}  // namespace orvbench
