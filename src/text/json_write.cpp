#include "json_write.h"

#include <cmath>

#include "compact_writer.h"
#include "file_output.h"

namespace orv {
namespace {

// An output for CompactWriter: a small buffer whose text is appended to
// the string whenever the writer needs more room. The string's room is
// reserved, not resized, so that no byte of it is written twice.
class StringOutput {
 public:
  StringOutput(std::string& text, std::size_t expected) : text_(text) {
    text_.clear();
    text_.reserve(expected);
  }
  char* Start() { return buffer_; }
  char* End() { return buffer_ + sizeof buffer_; }
  char* Grow(char* at, std::size_t /*room: always far less than the buffer*/) {
    Finish(at);
    return buffer_;
  }
  void Finish(char* at) { text_.append(buffer_, static_cast<std::size_t>(at - buffer_)); }

 private:
  std::string& text_;
  char buffer_[4096];
};

}  // namespace

bool WriteJsonText(const Value& value, std::string& out, std::size_t expected) {
  StringOutput output(out, expected);
  CompactWriter<StringOutput> writer(output);
  const bool complete = writer.Write(value);
  output.Finish(writer.At());
  return complete;
}

std::string JsonText(const Value& value, std::size_t expected) {
  std::string text;
  if (!WriteJsonText(value, text, expected)) text.clear();
  return text;
}

bool HasJsonText(const Value& value) {
  // Only doubles can lack text; strings and the rest are not looked at.
  switch (value.GetType()) {
    case rapidjson::kNumberType:
      return !value.IsDouble() || std::isfinite(value.GetDouble());
    case rapidjson::kArrayType:
      for (const Value& element : value.GetArray()) {
        if (!HasJsonText(element)) return false;
      }
      return true;
    case rapidjson::kObjectType:
      for (const auto& member : value.GetObject()) {
        if (!HasJsonText(member.value)) return false;
      }
      return true;
    default:
      return true;
  }
}

bool WriteJsonFile(const Value& value, std::FILE* file) {
  // The output buffers already; the C runtime's buffer would copy it again.
  std::setvbuf(file, nullptr, _IONBF, 0);
  FileOutput output(file);
  CompactWriter<FileOutput> writer(output);
  const bool complete = writer.Write(value);
  output.Flush(writer.At());
  return complete && output.ok();
}

}  // namespace orv
