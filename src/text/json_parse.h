// The one parse that every load goes through.
#ifndef ORVJSON_SRC_TEXT_JSON_PARSE_H
#define ORVJSON_SRC_TEXT_JSON_PARSE_H

#include <cstddef>

#include "../json/json_types.h"
#include "../json/limits.h"
#include "../json/load_problem.h"

namespace orv {

class TextReleaser;

// Why a text was refused.
enum class ParseProblem {
  kNone,
  kSyntax,            // RapidJSON's grammar; code says what it expected
  kNumberOutOfRange,  // a number whose value is not finite
  kTooDeep,           // nesting deeper than the limit
  kTooLong,           // a string longer than a document can hold, or too many members or elements
};

struct ParseOutcome {
  ParseProblem problem = ParseProblem::kNone;
  rapidjson::ParseErrorCode code = rapidjson::kParseErrorNone;  // for kSyntax
  std::size_t offset = 0;  // bytes from the start of the text to where the problem lies
  explicit operator bool() const { return problem == ParseProblem::kNone; }
};

// Parses text, which ends at its first NUL byte (text[length] is a NUL),
// with RapidJSON's default grammar, every number converted exactly. On
// success the root of doc is replaced; otherwise doc is left unchanged.
// A value parsed to be placed inside another document gets a smaller
// maxDepth, so that no document ever nests deeper than kMaxNestingDepth and
// everything written can be loaded again. A releaser, when given, is told
// now and then how much of the text lies behind the parse for good.
ParseOutcome ParseJsonText(Document& doc, const char* text, std::size_t length, unsigned maxDepth = kMaxNestingDepth,
                           TextReleaser* releaser = nullptr);

// Where and why text (length bytes) was refused, as outcome says: the line
// and column of the offset, and a static English message (RapidJSON's for
// the grammar, the library's own for the limits it adds). Lines and columns
// are counted on from known (offset, line and column of a place no later
// than the problem), so that text before known.offset is not read.
LoadProblem DescribeProblem(const ParseOutcome& outcome, const char* text, std::size_t length,
                            const LoadProblem& known = LoadProblem());

// Moves at (offset, line, column) on to offset to of text, counting the
// lines and the UTF-8 characters in between (none when to is not past
// at.offset).
void AdvancePosition(LoadProblem& at, const char* text, std::size_t to);

}  // namespace orv

#endif  // ORVJSON_SRC_TEXT_JSON_PARSE_H
