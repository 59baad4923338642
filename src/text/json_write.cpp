#include "json_write.h"

#include <cmath>
#include <cstdint>
#include <memory>

#include <rapidjson/filewritestream.h>

namespace orv {
namespace {

// Takes every event of a value and stops at a number JSON cannot express.
struct FiniteCheck {
  bool Null() { return true; }
  bool Bool(bool) { return true; }
  bool Int(int) { return true; }
  bool Uint(unsigned) { return true; }
  bool Int64(std::int64_t) { return true; }
  bool Uint64(std::uint64_t) { return true; }
  bool Double(double d) { return std::isfinite(d); }
  bool RawNumber(const char*, rapidjson::SizeType, bool) { return true; }
  bool String(const char*, rapidjson::SizeType, bool) { return true; }
  bool Key(const char*, rapidjson::SizeType, bool) { return true; }
  bool StartObject() { return true; }
  bool EndObject(rapidjson::SizeType) { return true; }
  bool StartArray() { return true; }
  bool EndArray(rapidjson::SizeType) { return true; }
};

using FileWriter =
    rapidjson::Writer<rapidjson::FileWriteStream, rapidjson::UTF8<>, rapidjson::UTF8<>, CheckedAllocator>;

}  // namespace

bool WriteJsonText(const Value& value, StringBuffer& out) {
  StringWriter writer(out);
  return value.Accept(writer);
}

std::string JsonText(const Value& value) {
  StringBuffer buffer;
  if (!WriteJsonText(value, buffer)) return std::string();
  return std::string(buffer.GetString(), buffer.GetSize());
}

bool HasJsonText(const Value& value) {
  FiniteCheck check;
  return value.Accept(check);
}

bool WriteJsonFile(const Value& value, std::FILE* file) {
  // On the heap: the writing thread may have a small stack.
  constexpr std::size_t kBufferSize = 65536;
  const std::unique_ptr<char[]> buffer(new char[kBufferSize]);
  rapidjson::FileWriteStream stream(file, buffer.get(), kBufferSize);
  FileWriter writer(stream);
  const bool complete = value.Accept(writer);
  stream.Flush();
  return complete && std::ferror(file) == 0;
}

}  // namespace orv
