// Loading a document from a file, for the C++ export and the C interface.
#ifndef ORVJSON_SRC_TEXT_LOAD_OPS_H
#define ORVJSON_SRC_TEXT_LOAD_OPS_H

#include "../json/COrvExtendJson.h"
#include "file_system.h"

namespace orv {

// Loads the file at path into object: 1 when its text became the root, 0
// when it is not valid JSON (the problem recorded), -1 when it could not be
// opened or read. hasBom: 1 when the file starts with a UTF-8 byte-order
// mark (so it is refused), else 0.
long LoadFile(COrvExtendJson& object, const NativePath& path, int& hasBom);

}  // namespace orv

#endif  // ORVJSON_SRC_TEXT_LOAD_OPS_H
