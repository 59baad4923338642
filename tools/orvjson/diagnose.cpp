#include "diagnose.h"

#include <rapidjson/error/en.h>

#include "text/json_parse.h"

namespace orvtool {
namespace {

// The line and column of a byte offset in text.
void Position(const std::string& text, std::size_t offset, std::size_t& line, std::size_t& column) {
  line = 1;
  column = 1;
  for (std::size_t i = 0; i < offset && i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte == '\n') {
      ++line;
      column = 1;
    } else if ((byte & 0xC0) != 0x80) {  // not a continuation byte: a new character
      ++column;
    }
  }
}

}  // namespace

std::string Diagnose(const std::string& name, const std::string& text) {
  orv::Document scratch;
  const orv::ParseOutcome outcome = orv::ParseJsonText(scratch, text.c_str(), text.size());
  if (outcome) return name + " is not valid JSON";  // it changed since the library read it
  std::string reason;
  switch (outcome.problem) {
    case orv::ParseProblem::kNumberOutOfRange:
      reason = "Number out of range: its value is too large for a double.";
      break;
    case orv::ParseProblem::kTooDeep:
      reason = "Nesting deeper than " + std::to_string(orv::kMaxNestingDepth) + " arrays and objects.";
      break;
    case orv::ParseProblem::kTooLong:
      reason = "String, array or object too large for a document.";
      break;
    default:
      reason = rapidjson::GetParseError_En(outcome.code);
      break;
  }
  std::size_t line = 0, column = 0;
  Position(text, outcome.offset, line, column);
  return name + ":" + std::to_string(line) + ":" + std::to_string(column) + ": " + reason;
}

}  // namespace orvtool
