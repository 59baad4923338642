#include "text_limits.h"

#include <cstdint>
#include <vector>

#include "../json/limits.h"
#include "json_parse.h"

namespace orv {
namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The code unit of \uXXXX at text, or -1 when it is not one.
long Escape(const char* text) {
  if (text[0] != '\\' || text[1] != 'u') return -1;
  long unit = 0;
  for (int i = 2; i < 6; ++i) {
    const int digit = HexValue(text[i]);
    if (digit < 0) return -1;
    unit = unit * 16 + digit;
  }
  return unit;
}

// Scans a text the way the reader will, counting what the reader counts in
// 32 bits: the bytes of each string once unescaped, and the entries of each
// container (its commas plus one). Anything malformed is left for the parse
// to refuse; this only has to be exact for valid text.
class Scanner {
 public:
  explicit Scanner(const char* text) : text_(text) {}

  bool Fits(std::size_t& offset) {
    struct Open {
      std::uint64_t commas;
      std::size_t at;
    };
    std::vector<Open> open;
    for (std::size_t i = 0; text_[i] != '\0'; ++i) {
      switch (text_[i]) {
        case '"':
          offset = i;
          if (!StringFits(i)) return false;
          if (text_[i] == '\0') return true;  // unterminated: the parse refuses it
          break;
        case '[':
        case '{':
          // Deeper than any parse goes: the parse refuses it before counting.
          if (open.size() > kMaxNestingDepth) return true;
          open.push_back(Open{0, i});
          break;
        case ']':
        case '}':
          if (!open.empty()) open.pop_back();
          break;
        case ',':
          if (!open.empty() && ++open.back().commas >= kMaxElements) {
            offset = open.back().at;
            return false;
          }
          break;
        default:
          break;
      }
    }
    return true;
  }

 private:
  // Steps i from the opening quote to the closing one (or the end).
  bool StringFits(std::size_t& i) {
    std::uint64_t bytes = 0;
    for (++i; text_[i] != '"' && text_[i] != '\0'; ++bytes) {
      if (text_[i] != '\\') {
        ++i;
        continue;
      }
      const long unit = Escape(text_ + i);
      if (unit < 0) {
        i += text_[i + 1] == '\0' ? 1 : 2;  // \n, \", ...: one byte
      } else if (unit >= 0xD800 && unit <= 0xDBFF && Escape(text_ + i + 6) >= 0xDC00 &&
                 Escape(text_ + i + 6) <= 0xDFFF) {
        i += 12;  // a surrogate pair: four bytes
        bytes += 3;
      } else {
        i += 6;
        bytes += unit < 0x80 ? 0 : unit < 0x800 ? 1 : 2;
      }
      if (bytes > kMaxStringLength) return false;
    }
    return bytes <= kMaxStringLength;
  }

  const char* const text_;
};

}  // namespace

bool FitsInDocument(const char* text, std::size_t length, std::size_t& offset) {
  // A longer string needs 2^32 bytes of text, and more entries twice that.
  if (length <= kMaxStringLength) return true;
  return Scanner(text).Fits(offset);
}

}  // namespace orv
