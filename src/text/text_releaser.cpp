#include "text_releaser.h"

#include "file_system.h"
#include "json_parse.h"

namespace orv {

void TextReleaser::Passed(std::size_t passed) {
  if (passed <= released_.offset) return;
  AdvancePosition(released_, text_, passed);
  if (kept_ != nullptr) kept_ = DiscardPages(kept_, text_ + passed);
}

}  // namespace orv
