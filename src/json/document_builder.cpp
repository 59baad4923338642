#include "document_builder.h"

namespace orv {

bool CopyJsonValue(Document& doc, const Value& source, unsigned maxDepth) {
  bool copied = false;
  auto generate = [&](Document& target) {
    DocumentBuilder builder(target, maxDepth);
    copied = source.Accept(builder);
    return copied;
  };
  doc.Populate(generate);
  return copied;
}

}  // namespace orv
