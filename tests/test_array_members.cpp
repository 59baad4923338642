#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support.h"

using orvtest::BitsOf;
using orvtest::Doc;
using orvtest::ReadBytes;
using orvtest::TempDir;

TEST(ArraySetters, EachVectorBecomesAnArrayOfItsElementsInOrder) {
  Doc doc;
  std::vector<unsigned char> bytes{0, 127, 128, 255};
  std::vector<short> shorts{-1, 32767, -32768};
  std::vector<int> ints{3, -2147483647 - 1, 2147483647};
  std::vector<double> doubles{1.5, 2.0, -0.0};
  std::vector<std::string> strings{"", std::string("a\0b", 3), "\xC3\xA9"};
  std::vector<int> none;
  EXPECT_EQ(SetValue(doc.h(), "b", bytes), 0);
  EXPECT_EQ(SetValue(doc.h(), "s", shorts), 0);
  EXPECT_EQ(SetValue(doc.h(), "i", ints), 0);
  EXPECT_EQ(SetValue(doc.h(), "d", doubles), 0);
  EXPECT_EQ(SetValue(doc.h(), "t", strings), 0);
  EXPECT_EQ(SetValue(doc.h(), "v", none), 0);
  EXPECT_EQ(doc.text(),
            "{\"b\":[0,127,128,255],\"s\":[-1,32767,-32768],\"i\":[3,-2147483648,2147483647],"
            "\"d\":[1.5,2.0,-0.0],\"t\":[\"\",\"a\\u0000b\",\"\xC3\xA9\"],\"v\":[]}");
}

TEST(ArraySetters, NullKeysAndRootsThatAreNotObjectsAddNothing) {
  std::vector<int> ints{1};
  std::vector<std::string> strings{"x"};
  Doc doc;
  EXPECT_EQ(SetValue(doc.h(), nullptr, ints), 0);
  EXPECT_EQ(SetValue(doc.h(), nullptr, strings), 0);
  EXPECT_EQ(doc.text(), "{}");
  ASSERT_EQ(LoadFromString(doc.h(), "[0]"), 0);
  EXPECT_EQ(SetValue(doc.h(), "k", ints), 0);
  EXPECT_EQ(SetValue(doc.h(), "k", strings), 0);
  EXPECT_EQ(doc.text(), "[0]");
}

TEST(ArraySetters, TheCallersVectorIsCopiedAndARepeatedKeyAddsASecondMember) {
  Doc doc;
  std::vector<int> ints{1, 2};
  SetValue(doc.h(), "k", ints);
  ints.assign({7, 8, 9});
  SetValue(doc.h(), "k", ints);
  EXPECT_EQ(doc.text(), R"({"k":[1,2],"k":[7,8,9]})");
  std::vector<int> read;
  EXPECT_EQ(GetValue(doc.h(), "k", read), 0);
  EXPECT_EQ(read, (std::vector<int>{1, 2}));
}

#ifndef ORVJSON_HPP  // the interface class, which the C++ layer leaves out
TEST(ArraySetters, TheInterfaceOnlyArraySettersKeepAKeyWithNulBytesWhole) {
  Doc doc;
  COrvBaseJson* object = reinterpret_cast<COrvBaseJson*>(doc.h());
  std::vector<int> ints{1, -2};
  std::vector<double> doubles{0.5};
  object->AddIntArray(std::string("a\0b", 3), ints);
  object->AddDoubleArray(std::string("c\0", 2), doubles);
  object->AddIntArray("", ints);
  EXPECT_EQ(doc.text(), R"({"a\u0000b":[1,-2],"c\u0000":[0.5],"":[1,-2]})");
}
#endif

namespace {

// Reads member key with the getter for T into a vector that already holds
// `prefix`; checks the result and what the vector holds afterwards.
template <typename T>
void CheckArrayRead(long h, const char* key, long result, std::vector<T> prefix, const std::vector<T>& appended) {
  std::vector<T> out = prefix;
  EXPECT_EQ(GetValue(h, key, out), result) << key;
  prefix.insert(prefix.end(), appended.begin(), appended.end());
  EXPECT_EQ(out, prefix) << key;
}

}  // namespace

TEST(ArrayGetters, EachGetterAppendsAcceptedElementsAndStopsAtTheFirstRefusal) {
  Doc doc;
  ASSERT_EQ(LoadFromString(doc.h(), R"({"ints":[1,2,3],"empty":[],"bytes":[0,255],"over":[10,256,20],)"
                                    R"("minus":[-1],"shorts":[-32768,32767],"wide":[32768],"big":[2147483648],)"
                                    R"("dbl":[1.5,2],"two":[2.0],"bool":[true],"null":[null],"text":"abc",)"
                                    R"("mixed":["a",1],"nul":["x\u0000y"],"nested":[[1]],"obj":{"a":1},)"
                                    R"("ints":[9]})"),
            0);
  const long h = doc.h();
  CheckArrayRead<int>(h, "ints", 0, {9}, {1, 2, 3});  // appended, never cleared; the first "ints" wins
  CheckArrayRead<int>(h, "big", -1, {}, {});
  CheckArrayRead<int>(h, "dbl", -1, {}, {});
  CheckArrayRead<unsigned char>(h, "bytes", 0, {}, {0, 255});
  CheckArrayRead<unsigned char>(h, "over", -1, {}, {10});
  CheckArrayRead<unsigned char>(h, "minus", -1, {}, {});
  CheckArrayRead<short>(h, "shorts", 0, {}, {-32768, 32767});
  CheckArrayRead<short>(h, "wide", -1, {}, {});
  CheckArrayRead<double>(h, "dbl", -1, {}, {1.5});
  CheckArrayRead<double>(h, "two", 0, {}, {2.0});
  CheckArrayRead<double>(h, "ints", -1, {}, {});
  CheckArrayRead<std::string>(h, "mixed", -1, {}, {"a"});
  CheckArrayRead<std::string>(h, "nul", 0, {}, {"x"});
  for (const char* key : {"empty", "bool", "null", "text", "nested", "obj", "missing"}) {
    CheckArrayRead<unsigned char>(h, key, -1, {7}, {});
    CheckArrayRead<short>(h, key, -1, {7}, {});
    CheckArrayRead<int>(h, key, -1, {7}, {});
    CheckArrayRead<double>(h, key, -1, {7.0}, {});
    CheckArrayRead<std::string>(h, key, -1, {"keep"}, {});
  }
  std::vector<int> out{7};
  EXPECT_EQ(GetValue(h, nullptr, out), -1);
  EXPECT_EQ(out, std::vector<int>{7});
}

TEST(ArrayGetters, EveryArrayGetterIsMinusOneOnARootThatIsNotAnObject) {
  Doc doc;
  ASSERT_EQ(LoadFromString(doc.h(), "[[1,2]]"), 0);
  std::vector<int> ints;
  std::vector<std::string> strings;
  EXPECT_EQ(GetValue(doc.h(), "0", ints), -1);
  EXPECT_EQ(GetValue(doc.h(), "0", strings), -1);
  EXPECT_TRUE(ints.empty());
}

#ifndef ORVJSON_HPP  // the interface class, which the C++ layer leaves out
TEST(ArrayGetters, GetObjectArrayEmptiesTheVectorAndOnlyChecksForAnArray) {
  Doc doc;
  ASSERT_EQ(LoadFromString(doc.h(), R"({"a":[{"x":1},2],"e":[],"s":"x"})"), 0);
  COrvBaseJson* object = reinterpret_cast<COrvBaseJson*>(doc.h());
  int marker = 0;
  std::vector<COrvBaseJson*> objects{reinterpret_cast<COrvBaseJson*>(&marker)};
  EXPECT_EQ(object->GetObjectArray("a", objects), 0);
  EXPECT_TRUE(objects.empty());
  objects.push_back(nullptr);
  EXPECT_EQ(object->GetObjectArray("e", objects), 0);
  EXPECT_TRUE(objects.empty());
  objects.push_back(nullptr);
  EXPECT_EQ(object->GetObjectArray("s", objects), -1);
  EXPECT_TRUE(objects.empty());
  EXPECT_EQ(object->GetObjectArray("missing", objects), -1);
  EXPECT_EQ(object->GetObjectArray(nullptr, objects), -1);
}
#endif

TEST(ArrayRoundTrip, EverySetterIsReadBackByItsGetterThroughMemoryAndAFile) {
  std::mt19937_64 random(99);
  std::vector<unsigned char> bytes;
  std::vector<short> shorts;
  std::vector<int> ints;
  std::vector<double> doubles;
  std::vector<std::string> strings;
  for (int n = 0; n < 2000; ++n) {
    bytes.push_back(static_cast<unsigned char>(random()));
    shorts.push_back(static_cast<short>(random()));
    ints.push_back(static_cast<int>(random()));
    double d;
    do {
      const unsigned long long bits = random();
      std::memcpy(&d, &bits, sizeof d);
    } while (!std::isfinite(d));
    doubles.push_back(d);
    std::string s(random() % 20, '\0');
    for (char& c : s) c = static_cast<char>(1 + random() % 255);  // every byte but NUL
    strings.push_back(s);
  }
  Doc doc;
  SetValue(doc.h(), "bytes", bytes);
  SetValue(doc.h(), "shorts", shorts);
  SetValue(doc.h(), "ints", ints);
  SetValue(doc.h(), "doubles", doubles);
  SetValue(doc.h(), "strings", strings);

  TempDir dir;
  const std::string path = dir.Path("arrays.json");
  ASSERT_EQ(WriteToFile(doc.h(), path), 0);
  Doc fromText, fromFile;
  ASSERT_EQ(LoadFromString(fromText.h(), doc.text()), 0);
  int hasBom = 0;
  ASSERT_EQ(LoadJsonFile(fromFile.h(), path.c_str(), hasBom), 1);

  for (const long h : {doc.h(), fromText.h(), fromFile.h()}) {
    std::vector<unsigned char> b;
    std::vector<short> s;
    std::vector<int> i;
    std::vector<double> d;
    std::vector<std::string> t;
    EXPECT_EQ(GetValue(h, "bytes", b), 0);
    EXPECT_EQ(GetValue(h, "shorts", s), 0);
    EXPECT_EQ(GetValue(h, "ints", i), 0);
    EXPECT_EQ(GetValue(h, "doubles", d), 0);
    EXPECT_EQ(GetValue(h, "strings", t), 0);
    EXPECT_EQ(b, bytes);
    EXPECT_EQ(s, shorts);
    EXPECT_EQ(i, ints);
    EXPECT_EQ(t, strings);
    ASSERT_EQ(d.size(), doubles.size());
    for (std::size_t n = 0; n < d.size(); ++n) ASSERT_EQ(BitsOf(d[n]), BitsOf(doubles[n])) << n;
  }
  EXPECT_EQ(ReadBytes(path), doc.text());
}
