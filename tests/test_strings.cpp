// Strings are scanned by OrvJson's own code; over many generated inputs it
// must accept, refuse and decode exactly as RapidJSON's reader does, with the
// same error codes and offsets.
#include <random>
#include <string>

#include <gtest/gtest.h>
#include <rapidjson/document.h>

#include "text/json_parse.h"

TEST(StringScanner, AgreesWithRapidJsonOverGeneratedStrings) {
  std::mt19937 random(20261208);
  // Quotation marks, escapes, hex digits, control and high bytes, and NUL.
  const char kBytes[] = "\"\\/bfnrtu0123456789abcdefABCDEF\x01\x1f\x7f\x80\xff xDdEe";
  const std::string alphabet(kBytes, sizeof kBytes);  // the closing NUL too
  for (int round = 0; round < 200000; ++round) {
    std::string text = "[\"";
    for (int n = static_cast<int>(random() % 24); n > 0; --n) text += alphabet[random() % alphabet.size()];
    if (random() % 4 != 0) text += "\"]";
    orv::Document ours;
    rapidjson::Document theirs;
    const orv::ParseOutcome outcome = orv::ParseJsonText(ours, text.c_str(), text.size());
    theirs.Parse(text.c_str());
    ASSERT_EQ(static_cast<bool>(outcome), !theirs.HasParseError()) << text;
    if (!outcome) {
      ASSERT_EQ(outcome.code, theirs.GetParseError()) << text;
      ASSERT_EQ(outcome.offset, theirs.GetErrorOffset()) << text;
    } else {
      ASSERT_EQ(std::string(ours[0].GetString(), ours[0].GetStringLength()),
                std::string(theirs[0].GetString(), theirs[0].GetStringLength()))
          << text;
    }
  }
}
