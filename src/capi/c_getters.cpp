// The C interface: keyed getters, of single values and of arrays, and copies
// of members into other documents.
#include "c_calls.h"

using orv::IsReadable;
using orv::IsWritable;
using orv::OnObject;
using orv::Read;
using orv::ResultOf;
using orv::Value;

namespace {

// Runs read on the first member named key.
template <typename Reader>
std::int32_t OnMember(orvjson_handle handle, const char* key, std::size_t keyLength, Reader read) {
  if (!IsReadable(key, keyLength)) return ORVJSON_BAD_ARGUMENT;
  return OnObject(handle, [&](COrvExtendJson& o) {
    if (!o.Root().IsObject()) return ORVJSON_WRONG_KIND;
    const Value* member = o.FindMember(key, keyLength);
    return member == nullptr ? ORVJSON_NOT_FOUND : read(*member);
  });
}

// A single value through one of the shared acceptance rules (a template
// argument, so that it is inlined into the call).
template <typename Out, Read (*Rule)(const Value&, Out&)>
std::int32_t ReadMember(orvjson_handle handle, const char* key, std::size_t keyLength, Out* out) {
  if (out == nullptr) return ORVJSON_BAD_ARGUMENT;
  return OnMember(handle, key, keyLength, [&](const Value& member) { return ResultOf(Rule(member, *out)); });
}

// The elements of an array member, each through accept, into values.
template <typename Out, typename Accept>
std::int32_t ReadArray(orvjson_handle handle, const char* key, std::size_t keyLength, Out* values, std::size_t capacity,
                       std::size_t* count, Accept accept) {
  if (count == nullptr || capacity > SIZE_MAX / sizeof(Out) || !IsWritable(values, capacity * sizeof(Out))) {
    return ORVJSON_BAD_ARGUMENT;
  }
  return OnMember(handle, key, keyLength, [&](const Value& member) {
    if (!member.IsArray()) return ORVJSON_WRONG_KIND;
    *count = member.Size();
    if (capacity < member.Size()) return ORVJSON_BUFFER_TOO_SMALL;
    for (rapidjson::SizeType i = 0; i < member.Size(); ++i) {
      const Read read = accept(member[i], values[i]);
      if (read != Read::kAccepted) {
        *count = i;  // the elements before it are delivered
        return ResultOf(read);
      }
    }
    return ORVJSON_OK;
  });
}

template <int kLow, int kHigh, typename Out>
Read ReadIntElement(const Value& v, Out& out) {
  int i = 0;
  const Read read = orv::ReadIntBetween(v, kLow, kHigh, i);
  if (read == Read::kAccepted) out = static_cast<Out>(i);
  return read;
}

}  // namespace

ORVJSON_API std::int32_t ORVJSON_CALL orvjson_get_int(orvjson_handle handle, const char* key, std::size_t key_length,
                                                      std::int32_t* value) {
  return ReadMember<std::int32_t, orv::ReadInt>(handle, key, key_length, value);
}

ORVJSON_API std::int32_t ORVJSON_CALL orvjson_get_uint(orvjson_handle handle, const char* key, std::size_t key_length,
                                                       std::uint32_t* value) {
  return ReadMember<std::uint32_t, orv::ReadUint>(handle, key, key_length, value);
}

ORVJSON_API std::int32_t ORVJSON_CALL orvjson_get_float(orvjson_handle handle, const char* key, std::size_t key_length,
                                                        float* value) {
  return ReadMember<float, orv::ReadFloat>(handle, key, key_length, value);
}

ORVJSON_API std::int32_t ORVJSON_CALL orvjson_get_double(orvjson_handle handle, const char* key, std::size_t key_length,
                                                         double* value) {
  return ReadMember<double, orv::ReadDouble>(handle, key, key_length, value);
}

ORVJSON_API std::int32_t ORVJSON_CALL orvjson_get_bool(orvjson_handle handle, const char* key, std::size_t key_length,
                                                       std::int32_t* value) {
  if (value == nullptr) return ORVJSON_BAD_ARGUMENT;
  return OnMember(handle, key, key_length, [&](const Value& member) {
    bool b = false;
    const Read read = orv::ReadBool(member, b);
    if (read == Read::kAccepted) *value = b ? 1 : 0;
    return ResultOf(read);
  });
}

ORVJSON_API std::int32_t ORVJSON_CALL orvjson_get_string(orvjson_handle handle, const char* key, std::size_t key_length,
                                                         char* buffer, std::size_t capacity, std::size_t* length) {
  if (!IsWritable(buffer, capacity) || length == nullptr) return ORVJSON_BAD_ARGUMENT;
  return OnMember(handle, key, key_length, [&](const Value& member) {
    if (!member.IsString()) return ORVJSON_WRONG_KIND;
    return orv::CopyOut(member.GetString(), member.GetStringLength(), buffer, capacity, length);
  });
}

ORVJSON_API std::int32_t ORVJSON_CALL orvjson_is_null(orvjson_handle handle, const char* key, std::size_t key_length,
                                                      std::int32_t* is_null) {
  if (is_null == nullptr) return ORVJSON_BAD_ARGUMENT;
  return OnMember(handle, key, key_length, [&](const Value& member) {
    *is_null = member.IsNull() ? 1 : 0;
    return ORVJSON_OK;
  });
}

ORVJSON_API std::int32_t ORVJSON_CALL orvjson_get_uint8_array(orvjson_handle handle, const char* key,
                                                              std::size_t key_length, std::uint8_t* values,
                                                              std::size_t capacity, std::size_t* count) {
  return ReadArray(handle, key, key_length, values, capacity, count, ReadIntElement<0, 255, std::uint8_t>);
}

ORVJSON_API std::int32_t ORVJSON_CALL orvjson_get_int16_array(orvjson_handle handle, const char* key,
                                                              std::size_t key_length, std::int16_t* values,
                                                              std::size_t capacity, std::size_t* count) {
  return ReadArray(handle, key, key_length, values, capacity, count, ReadIntElement<-32768, 32767, std::int16_t>);
}

ORVJSON_API std::int32_t ORVJSON_CALL orvjson_get_int32_array(orvjson_handle handle, const char* key,
                                                              std::size_t key_length, std::int32_t* values,
                                                              std::size_t capacity, std::size_t* count) {
  return ReadArray(handle, key, key_length, values, capacity, count,
                   ReadIntElement<INT32_MIN, INT32_MAX, std::int32_t>);
}

ORVJSON_API std::int32_t ORVJSON_CALL orvjson_get_double_array(orvjson_handle handle, const char* key,
                                                               std::size_t key_length, double* values,
                                                               std::size_t capacity, std::size_t* count) {
  return ReadArray(handle, key, key_length, values, capacity, count, orv::ReadDouble);
}

ORVJSON_API std::int32_t ORVJSON_CALL orvjson_get_string_array(orvjson_handle handle, const char* key,
                                                               std::size_t key_length, char* bytes,
                                                               std::size_t bytes_capacity, std::size_t* lengths,
                                                               std::size_t lengths_capacity, std::size_t* count,
                                                               std::size_t* total_bytes) {
  if (count == nullptr || total_bytes == nullptr || !IsWritable(bytes, bytes_capacity) ||
      lengths_capacity > SIZE_MAX / sizeof(std::size_t) ||
      !IsWritable(lengths, lengths_capacity * sizeof(std::size_t))) {
    return ORVJSON_BAD_ARGUMENT;
  }
  return OnMember(handle, key, key_length, [&](const Value& member) {
    if (!member.IsArray()) return ORVJSON_WRONG_KIND;
    // The strings up to the first element of another kind are delivered;
    // measured first, so that nothing is written unless they all fit.
    rapidjson::SizeType strings = 0;
    std::size_t total = 0;
    for (; strings < member.Size() && member[strings].IsString(); ++strings) total += member[strings].GetStringLength();
    *count = strings;
    *total_bytes = total;
    if (lengths_capacity < strings || bytes_capacity < total) return ORVJSON_BUFFER_TOO_SMALL;
    std::size_t at = 0;
    for (rapidjson::SizeType i = 0; i < strings; ++i) {
      const Value& element = member[i];
      if (element.GetStringLength() > 0) std::memcpy(bytes + at, element.GetString(), element.GetStringLength());
      lengths[i] = element.GetStringLength();
      at += element.GetStringLength();
    }
    return strings == member.Size() ? ORVJSON_OK : ORVJSON_WRONG_KIND;
  });
}

ORVJSON_API std::int32_t ORVJSON_CALL orvjson_get_copy(orvjson_handle handle, const char* key, std::size_t key_length,
                                                       orvjson_handle target) {
  if (!IsReadable(key, key_length)) return ORVJSON_BAD_ARGUMENT;
  COrvExtendJson* into = orv::LiveObject(target);
  if (into == nullptr) return ORVJSON_BAD_HANDLE;
  return OnObject(handle, [&](COrvExtendJson& o) {
    if (!o.Root().IsObject()) return ORVJSON_WRONG_KIND;
    const Value* member = o.FindMember(key, key_length);
    if (member == nullptr) return ORVJSON_NOT_FOUND;
    if (!member->IsArray() && !member->IsObject()) return ORVJSON_WRONG_KIND;
    // Only a value without text (NaN or infinity inside) cannot be copied.
    return o.CopyOut(*member, *into, true) == 0 ? ORVJSON_OK : ORVJSON_NO_TEXT;
  });
}
