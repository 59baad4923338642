// The writer against RapidJSON's Writer, whose text it must give byte for
// byte: over generated documents, every byte in every position of a string,
// and random doubles.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "text/json_parse.h"
#include "text/json_write.h"
#include "text_maker.h"

namespace {

std::string RapidJsonText(const orv::Value& value) {
  rapidjson::StringBuffer buffer;
  rapidjson::Writer<rapidjson::StringBuffer> writer(buffer);
  if (!value.Accept(writer)) return "(no text)";
  return std::string(buffer.GetString(), buffer.GetSize());
}

std::string OurText(const orv::Value& value, std::size_t expected = 0) {
  std::string text;
  return orv::WriteJsonText(value, text, expected) ? text : "(no text)";
}

std::string FileText(const orv::Value& value) {
  std::FILE* file = std::tmpfile();
  if (file == nullptr) return "(no file)";
  const bool written = orv::WriteJsonFile(value, file);
  std::string text;
  std::rewind(file);
  char chunk[4096];
  for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, file)) > 0;) text.append(chunk, n);
  std::fclose(file);
  return written ? text : "(no text)";
}

}  // namespace

TEST(CompactWriter, WritesWhatRapidJsonsWriterWritesForGeneratedDocuments) {
  orvtest::TextMaker maker(1209);
  orv::Document all;  // every document, in one array larger than the file buffer
  all.SetArray();
  for (int round = 0; round < 20000; ++round) {
    orv::Document doc;
    const std::string text = maker.Value(0);
    if (!orv::ParseJsonText(doc, text.c_str(), text.size())) continue;  // some numbers are out of range
    ASSERT_EQ(OurText(doc), RapidJsonText(doc)) << text;
    ASSERT_EQ(OurText(doc, text.size()), RapidJsonText(doc)) << text;
    orv::Value copy(doc, all.GetAllocator());
    all.PushBack(copy, all.GetAllocator());
  }
  const std::string expected = RapidJsonText(all);
  ASSERT_GT(expected.size(), std::size_t{2} << 16);
  EXPECT_EQ(OurText(all), expected);
  EXPECT_EQ(FileText(all), expected);
}

TEST(CompactWriter, EscapesEveryByteAtEveryPositionAsRapidJsonDoes) {
  orv::Document doc;
  for (int byte = 0; byte < 256; ++byte) {
    for (std::size_t length = 1; length <= 40; ++length) {
      for (std::size_t at = 0; at < length; at += 3) {
        std::string s(length, 'a');
        s[at] = static_cast<char>(byte);
        // As a name and as a value: short ones live inside their values.
        doc.SetObject().AddMember(orv::Value(s.data(), static_cast<rapidjson::SizeType>(s.size()), doc.GetAllocator()),
                                  orv::Value(s.data(), static_cast<rapidjson::SizeType>(s.size()), doc.GetAllocator()),
                                  doc.GetAllocator());
        ASSERT_EQ(OurText(doc), RapidJsonText(doc)) << byte << " at " << at << " of " << length;
      }
    }
  }
}

TEST(CompactWriter, WritesLongStringsAtEveryPlaceInItsBufferAsRapidJsonDoes) {
  // The end of a long string is stored over bytes already written; strings
  // of every length from 16 to 48, plain or with an escape in their last 16
  // bytes, end at every place in the output's buffer and across its edge.
  orv::Document doc;
  doc.SetArray();
  for (std::size_t i = 0; i < 3 * 4096; ++i) {
    std::string s(16 + i % 33, static_cast<char>('a' + i % 26));
    if (i % 7 == 0) s[s.size() - 1 - i % 16] = i % 2 == 0 ? '"' : '\n';
    doc.PushBack(orv::Value(s.data(), static_cast<rapidjson::SizeType>(s.size()), doc.GetAllocator()),
                 doc.GetAllocator());
  }
  const std::string expected = RapidJsonText(doc);
  EXPECT_EQ(OurText(doc), expected);
  EXPECT_EQ(FileText(doc), expected);
}

TEST(CompactWriter, WritesDoublesAndIntegersAsRapidJsonDoes) {
  std::mt19937_64 random(20261209);
  orv::Document doc;
  for (int round = 0; round < 200000; ++round) {
    const std::uint64_t bits = random();
    double d;
    std::memcpy(&d, &bits, sizeof d);
    switch (round % 4) {
      case 0:
        doc.SetDouble(std::isfinite(d) ? d : 0.5);
        break;
      case 1:
        doc.SetDouble(static_cast<double>(static_cast<std::int64_t>(bits) >> (bits % 64)));
        break;
      case 2:
        doc.SetInt64(static_cast<std::int64_t>(bits) >> (bits % 64));
        break;
      default:
        doc.SetUint64(bits >> (bits % 64));
        break;
    }
    ASSERT_EQ(OurText(doc), RapidJsonText(doc)) << bits;
  }
}

// The double writer's shortcuts depend on the binary exponent (the cached
// power), on where the digits split around the point (the layout) and on
// digits near a power of ten; each is walked through whole here.
TEST(CompactWriter, WritesDoublesOfEveryExponentAndLayoutAsRapidJsonDoes) {
  std::mt19937_64 random(1210);
  std::vector<double> doubles;
  const auto add = [&](std::uint64_t bits) {
    double d;
    std::memcpy(&d, &bits, sizeof d);
    doubles.push_back(d);
    doubles.push_back(-d);
  };
  constexpr std::uint64_t kMantissa = (std::uint64_t{1} << 52) - 1;
  for (std::uint64_t exponent = 0; exponent < 2047; ++exponent) {
    for (const std::uint64_t mantissa : {std::uint64_t{0}, std::uint64_t{1}, kMantissa, random() & kMantissa,
                                         (random() & kMantissa) >> (random() % 52)}) {
      add(exponent << 52 | mantissa);
    }
  }
  for (int power = -325; power <= 309; ++power) {
    const double d = std::pow(10.0, power);
    for (const double near : {d, std::nextafter(d, 0.0), std::nextafter(d, HUGE_VAL), 1.5 * d, 1.25 * d}) {
      doubles.push_back(near);
    }
  }
  for (std::uint64_t bits = 1; bits < 2000; ++bits) add(bits);  // the smallest subnormals
  for (int i = 1; i < 20000; ++i) {
    doubles.insert(doubles.end(),
                   {i / 1000.0, i * 1e-7, static_cast<double>(i) * 1e15, static_cast<double>(random() >> (i % 64))});
  }
  orv::Document doc;
  for (const double d : doubles) {
    if (!std::isfinite(d)) continue;
    doc.SetDouble(d);
    ASSERT_EQ(OurText(doc), RapidJsonText(doc)) << d;
  }
}

TEST(CompactWriter, WritesEveryIntegerLengthOfEveryKindAsRapidJsonDoes) {
  // Either side of every power of ten, and the kinds' own ends: where a
  // digit count changes, and where a leading zero could be kept or lost.
  std::vector<std::uint64_t> magnitudes = {std::numeric_limits<std::uint64_t>::max(),
                                           std::uint64_t{std::numeric_limits<std::uint32_t>::max()},
                                           std::uint64_t{std::numeric_limits<std::int32_t>::max()}};
  for (std::uint64_t ten = 1;; ten *= 10) {
    for (const std::uint64_t near : {ten - 1, ten, ten + 1}) magnitudes.push_back(near);
    if (ten > std::numeric_limits<std::uint64_t>::max() / 10) break;  // 10^19, the last power
  }
  orv::Document doc;
  for (const std::uint64_t m : magnitudes) {
    for (const std::uint64_t n : {m, m + 1, m - 1}) {
      doc.SetUint64(n);
      ASSERT_EQ(OurText(doc), RapidJsonText(doc)) << n;
      doc.SetInt64(static_cast<std::int64_t>(0 - n));
      ASSERT_EQ(OurText(doc), RapidJsonText(doc)) << n;
      doc.SetUint(static_cast<std::uint32_t>(n));
      ASSERT_EQ(OurText(doc), RapidJsonText(doc)) << n;
      doc.SetInt(static_cast<std::int32_t>(0 - static_cast<std::uint32_t>(n)));
      ASSERT_EQ(OurText(doc), RapidJsonText(doc)) << n;
    }
  }
}

TEST(CompactWriter, StopsAtANaNOrAnInfinity) {
  for (const double d : {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
                         -std::numeric_limits<double>::infinity()}) {
    orv::Document doc;
    doc.SetArray().PushBack(1, doc.GetAllocator()).PushBack(d, doc.GetAllocator());
    std::string text;
    EXPECT_FALSE(orv::WriteJsonText(doc, text));
    EXPECT_EQ(text, "[1,");
    EXPECT_EQ(orv::JsonText(doc), "");
    EXPECT_EQ(FileText(doc), "(no text)");
  }
}
