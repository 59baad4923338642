// Random JSON text for the property tests that compare the library's
// reader and writer with RapidJSON's.
#ifndef ORVJSON_TESTS_TEXT_MAKER_H
#define ORVJSON_TESTS_TEXT_MAKER_H

#include <random>
#include <string>

namespace orvtest {

// Integers at the edges of the kinds a number takes (int, unsigned, int64,
// uint64) and past them.
constexpr const char* kIntegerEdges[] = {"0",
                                         "-0",
                                         "1",
                                         "-1",
                                         "2147483647",
                                         "2147483648",
                                         "-2147483648",
                                         "-2147483649",
                                         "4294967295",
                                         "4294967296",
                                         "9223372036854775807",
                                         "9223372036854775808",
                                         "-9223372036854775808",
                                         "-9223372036854775809",
                                         "18446744073709551615",
                                         "18446744073709551616",
                                         "99999999999999999999",
                                         "123456789012345678901234567890"};
constexpr unsigned kIntegerEdgeCount = sizeof kIntegerEdges / sizeof kIntegerEdges[0];

// Random JSON text: every kind of value, numbers at their kinds' edges,
// strings with escapes, surrogates, control and high bytes, and whitespace.
class TextMaker {
 public:
  explicit TextMaker(unsigned seed) : random_(seed) {}

  std::string Value(int depth) {
    switch (Pick(depth > 6 ? 6 : 8)) {
      case 0:
        return Pick(3) == 0 ? "null" : Pick(2) == 0 ? "true" : "false";
      case 1:
      case 2:
        return Number();
      case 3:
      case 4:
      case 5:
        return String();
      case 6: {
        std::string out = "[" + Space();
        for (int n = static_cast<int>(Pick(5)); n > 0; --n)
          out += Value(depth + 1) + Space() + (n > 1 ? "," : "") + Space();
        return out + "]";
      }
      default: {
        std::string out = "{" + Space();
        for (int n = static_cast<int>(Pick(5)); n > 0; --n) {
          out += String() + Space() + ":" + Space() + Value(depth + 1) + Space() + (n > 1 ? "," : "") + Space();
        }
        return out + "}";
      }
    }
  }

  // The text broken in one of the ways a text breaks.
  std::string Broken(std::string text) {
    if (text.empty()) return text;
    const std::size_t at = Pick(static_cast<unsigned>(text.size()));
    static const char kBytes[] = "{}[],:\"\\0123456789.eE+-ntfux \x01\x80";
    switch (Pick(4)) {
      case 0:
        return text.erase(at, 1);
      case 1:
        return text.insert(at, 1, kBytes[Pick(sizeof kBytes - 1)]);
      case 2:
        text[at] = kBytes[Pick(sizeof kBytes - 1)];
        return text;
      default:
        return text.substr(0, at);
    }
  }

 private:
  unsigned Pick(unsigned n) { return static_cast<unsigned>(random_() % n); }

  std::string Space() {
    static const char* const kSpaces[] = {"", "", "", " ", "\n  ", "\t", "\r\n", "                    "};
    return kSpaces[Pick(8)];
  }

  std::string Number() {
    static const char* const kOtherEdges[] = {"1e308", "1.8e308", "1e-400",   "2.5",  "-0.0",
                                              "1E+2",  "0.1",     "4.9e-324", "1e400"};
    if (Pick(3) == 0) {
      const unsigned pick = Pick(kIntegerEdgeCount + static_cast<unsigned>(sizeof kOtherEdges / sizeof kOtherEdges[0]));
      return pick < kIntegerEdgeCount ? kIntegerEdges[pick] : kOtherEdges[pick - kIntegerEdgeCount];
    }
    std::string out = Pick(4) == 0 ? "-" : "";
    out += std::to_string(random_() % 1000000);
    if (Pick(2) == 0) out += "." + std::to_string(random_() % 100000);
    if (Pick(3) == 0) out += std::string(Pick(2) ? "e" : "E") + (Pick(2) ? "-" : "") + std::to_string(Pick(330));
    return out;
  }

  std::string String() {
    static const char* const kPieces[] = {"a",       "key",      "\\\"",    "\\\\",    "\\/",
                                          "\\b",     "\\n",      "\\u00e9", "\\u0000", "\\ud83d\\ude00",
                                          "\\ud800", "\xc3\xa9", "\xff",    "\\u001f", "\\u007f",
                                          "\\t",     "\\r",      "\\f",     " ",       "0123456789abcdef0123456789"};
    std::string out = "\"";
    for (int n = static_cast<int>(Pick(6)); n > 0; --n) out += kPieces[Pick(sizeof kPieces / sizeof kPieces[0])];
    return out + "\"";
  }

  std::mt19937 random_;
};

}  // namespace orvtest

#endif  // ORVJSON_TESTS_TEXT_MAKER_H
