#include "text_releaser.h"

#include <cstdint>

#include "file_system.h"
#include "json_parse.h"

namespace orv {

void TextReleaser::Passed(std::size_t passed) {
  if (passed <= released_.offset) return;
  AdvancePosition(released_, text_, passed);
  if (kept_ == nullptr) return;
  // Whole pages only: the one where this release ends waits for the next.
  const std::uintptr_t page = PageSize();
  const auto from = reinterpret_cast<std::uintptr_t>(kept_);
  const auto to = reinterpret_cast<std::uintptr_t>(text_ + passed);
  const std::uintptr_t first = from + (page - from % page) % page;
  const std::uintptr_t last = to - to % page;
  if (first < last && DiscardPages(kept_ + (first - from), last - first)) kept_ += last - from;
}

}  // namespace orv
