#include "text_limits.h"

#include <cstdint>
#include <vector>

#include "../json/limits.h"
#include "json_parse.h"

namespace orv {

bool FitsInDocument(const char* text, std::size_t length, std::size_t& offset) {
  if (length / 2 < kMaxElements) return true;
  // The entries of each open container, counted as its commas; strings are
  // stepped over so that their commas and brackets do not count. Anything
  // malformed is left for the parse to refuse: this has to be exact only for
  // valid text.
  struct Open {
    std::uint64_t commas;
    std::size_t at;
  };
  std::vector<Open> open;
  bool inString = false;
  for (std::size_t i = 0; text[i] != '\0'; ++i) {
    const char c = text[i];
    if (inString) {
      if (c == '\\' && text[i + 1] != '\0') {
        ++i;
      } else if (c == '"') {
        inString = false;
      }
    } else if (c == '"') {
      inString = true;
    } else if (c == '[' || c == '{') {
      // Deeper than any parse goes: the parse refuses it before counting.
      if (open.size() > kMaxNestingDepth) return true;
      open.push_back(Open{0, i});
    } else if ((c == ']' || c == '}') && !open.empty()) {
      open.pop_back();
    } else if (c == ',' && !open.empty() && ++open.back().commas >= kMaxElements) {
      offset = open.back().at;
      return false;
    }
  }
  return true;
}

}  // namespace orv
