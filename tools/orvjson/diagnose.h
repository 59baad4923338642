// Where and why a text is not valid JSON, found with the library's parser.
#ifndef ORVJSON_TOOLS_DIAGNOSE_H
#define ORVJSON_TOOLS_DIAGNOSE_H

#include <string>

namespace orvtool {

// "NAME:LINE:COLUMN: reason" for text the library refused: lines and columns
// count from 1, columns in characters (UTF-8 sequences), not bytes. The
// reasons are RapidJSON's for the grammar, and the library's own for a
// number out of range, nesting too deep, and sizes a document cannot hold.
std::string Diagnose(const std::string& name, const std::string& text);

}  // namespace orvtool

#endif  // ORVJSON_TOOLS_DIAGNOSE_H
