// A direct copy between documents gives exactly what writing the source as
// text and parsing that text gives: the same text, kinds and bits, and null
// (a refused copy) for a source without text or too deep for its place.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <string>

#include <gtest/gtest.h>

#include "json/document_builder.h"
#include "text/json_parse.h"
#include "text/json_write.h"

namespace {

using orv::Value;

class RandomDocuments {
 public:
  explicit RandomDocuments(unsigned seed) : random_(seed) {}

  void Fill(Value& value, orv::PoolAllocator& allocator, int depth) {
    switch (Pick(depth > 6 ? 8 : 10)) {
      case 0:
        value.SetNull();
        break;
      case 1:
        value.SetBool(Pick(2) == 1);
        break;
      case 2:
        value.SetInt(static_cast<int>(random_()));
        break;
      case 3:
        value.SetUint64(Pick(2) == 1 ? random_() : std::numeric_limits<std::uint64_t>::max() - Pick(3));
        break;
      case 4:
        value.SetInt64(static_cast<std::int64_t>(random_()));
        break;
      case 5: {
        double d = 0;
        const std::uint64_t bits = random_();
        std::memcpy(&d, &bits, sizeof d);
        const double nonFinite[] = {std::nan(""), HUGE_VAL, -HUGE_VAL};
        value.SetDouble(Pick(20) == 0 ? nonFinite[Pick(3)] : d);
        break;
      }
      case 6:
        value.SetDouble(static_cast<double>(Pick(1000)));  // integral doubles stay doubles
        break;
      case 7: {
        std::string bytes(Pick(20), '\0');
        for (char& c : bytes) c = static_cast<char>(Pick(256));
        value.SetString(bytes.data(), static_cast<rapidjson::SizeType>(bytes.size()), allocator);
        break;
      }
      case 8:
        value.SetArray();
        for (int n = Pick(5); n > 0; --n) {
          Value element;
          Fill(element, allocator, depth + 1);
          value.PushBack(element, allocator);
        }
        break;
      default:
        value.SetObject();
        for (int n = Pick(5); n > 0; --n) {
          Value name(Pick(2) == 1 ? "same" : "other", allocator), member;
          Fill(member, allocator, depth + 1);
          value.AddMember(name, member, allocator);
        }
        break;
    }
  }

 private:
  int Pick(int n) { return static_cast<int>(random_() % static_cast<std::uint64_t>(n)); }
  std::mt19937_64 random_;
};

// Same kind flags and, for doubles, the same bits, all the way down.
bool SameKinds(const Value& a, const Value& b) {
  if (a.GetType() != b.GetType() || a.IsInt() != b.IsInt() || a.IsUint() != b.IsUint() || a.IsInt64() != b.IsInt64() ||
      a.IsUint64() != b.IsUint64() || a.IsDouble() != b.IsDouble()) {
    return false;
  }
  if (a.IsDouble()) {
    const double x = a.GetDouble(), y = b.GetDouble();
    return std::memcmp(&x, &y, sizeof x) == 0;
  }
  if (a.IsArray()) {
    for (rapidjson::SizeType i = 0; i < a.Size(); ++i) {
      if (!SameKinds(a[i], b[i])) return false;
    }
  }
  if (a.IsObject()) {
    for (auto m = a.MemberBegin(), n = b.MemberBegin(); m != a.MemberEnd(); ++m, ++n) {
      if (!SameKinds(m->value, n->value)) return false;
    }
  }
  return true;
}

}  // namespace

TEST(DirectCopies, GiveWhatATextRoundTripGivesOverManyGeneratedDocuments) {
  RandomDocuments generate(20261208);
  int withoutText = 0, tooDeep = 0;
  for (int round = 0; round < 3000; ++round) {
    orv::Document source;
    source.SetArray();
    for (int n = 0; n < 4; ++n) {
      Value element;
      generate.Fill(element, source.GetAllocator(), 1);
      source.PushBack(element, source.GetAllocator());
    }
    const unsigned maxDepth = 1 + static_cast<unsigned>(round % 9);  // the nesting limit, as a copy meets it
    const std::string text = orv::JsonText(source);
    orv::Document viaText, direct;
    const bool parsed = static_cast<bool>(orv::ParseJsonText(viaText, text.c_str(), text.size(), maxDepth));
    ASSERT_EQ(orv::CopyJsonValue(direct, source, maxDepth), parsed) << text;
    withoutText += text.empty();
    tooDeep += !text.empty() && !parsed;
    if (!parsed) {
      EXPECT_TRUE(direct.IsNull());
      continue;
    }
    EXPECT_EQ(orv::JsonText(direct), text);
    EXPECT_TRUE(SameKinds(direct, viaText)) << text;
  }
  EXPECT_GT(withoutText, 0);  // the generator reached both refusals
  EXPECT_GT(tooDeep, 0);
}
