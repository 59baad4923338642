// Gives back the memory of a large text while it is parsed.
#ifndef ORVJSON_SRC_TEXT_TEXT_RELEASER_H
#define ORVJSON_SRC_TEXT_TEXT_RELEASER_H

#include <cstddef>

#include "../json/load_problem.h"
#include "file_system.h"

namespace orv {

// The parse reads its text once, front to back, and copies whatever the
// document keeps, so the text behind it is needed again only to count lines
// should it fail further on. A releaser counts those lines and gives the
// pages back as the parse passes them: the text of a large file and its
// document are then never both whole in memory.
class TextReleaser {
 public:
  static constexpr std::size_t kEvery = std::size_t{4} << 20;

  // Releases come every `every` bytes; pages are given back where the block
  // allows it (Discardable), and otherwise only counted.
  explicit TextReleaser(const TextBlock& text, std::size_t every = kEvery)
      : text_(text.get()), kept_(Discardable(text) ? text_ : nullptr), every_(every) {}
  std::size_t every() const { return every_; }
  // Nothing before text + passed will be read again.
  void Passed(std::size_t passed);
  // The end of the released text, as an offset with its line and column.
  const LoadProblem& released() const { return released_; }

 private:
  char* const text_;
  char* kept_;  // the first byte not given back; null when none may be
  const std::size_t every_;
  LoadProblem released_;
};

}  // namespace orv

#endif  // ORVJSON_SRC_TEXT_TEXT_RELEASER_H
