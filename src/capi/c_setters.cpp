// The C interface: setters, which append a member to an object root.
#include <vector>

#include "../json/limits.h"
#include "c_calls.h"

using orv::IsReadable;
using orv::OnObject;
using orv::Value;

namespace {

// Appends (key, make(allocator)); the common checks of every setter.
template <typename Make>
std::int32_t Append(orvjson_handle handle, const char* key, std::size_t keyLength, Make make) {
  if (!IsReadable(key, keyLength)) return ORVJSON_BAD_ARGUMENT;
  return OnObject(handle,
                  [&](COrvExtendJson& o) { return o.Append(key, keyLength, make) ? ORVJSON_OK : ORVJSON_WRONG_KIND; });
}

// An array of count numbers, each stored as Stored.
template <typename Stored, typename Number>
std::int32_t AppendNumbers(orvjson_handle handle, const char* key, std::size_t keyLength, const Number* values,
                           std::size_t count) {
  if (count > SIZE_MAX / sizeof(Number) || !IsReadable(values, count * sizeof(Number))) return ORVJSON_BAD_ARGUMENT;
  return Append(handle, key, keyLength, [&](orv::PoolAllocator& allocator) {
    Value array(rapidjson::kArrayType);
    array.Reserve(orv::ElementCount(count), allocator);
    for (std::size_t i = 0; i < count; ++i) array.PushBack(Value(static_cast<Stored>(values[i])), allocator);
    return array;
  });
}

}  // namespace

ORVJSON_API std::int32_t ORVJSON_CALL orvjson_set_null(orvjson_handle handle, const char* key, std::size_t key_length) {
  return Append(handle, key, key_length, [](orv::PoolAllocator&) { return Value(); });
}

ORVJSON_API std::int32_t ORVJSON_CALL orvjson_set_int(orvjson_handle handle, const char* key, std::size_t key_length,
                                                      std::int32_t value) {
  return Append(handle, key, key_length, [value](orv::PoolAllocator&) { return Value(value); });
}

ORVJSON_API std::int32_t ORVJSON_CALL orvjson_set_uint(orvjson_handle handle, const char* key, std::size_t key_length,
                                                       std::uint32_t value) {
  return Append(handle, key, key_length, [value](orv::PoolAllocator&) { return Value(value); });
}

ORVJSON_API std::int32_t ORVJSON_CALL orvjson_set_bool(orvjson_handle handle, const char* key, std::size_t key_length,
                                                       std::int32_t value) {
  return Append(handle, key, key_length, [value](orv::PoolAllocator&) { return Value(value != 0); });
}

ORVJSON_API std::int32_t ORVJSON_CALL orvjson_set_float(orvjson_handle handle, const char* key, std::size_t key_length,
                                                        float value) {
  return Append(handle, key, key_length, [value](orv::PoolAllocator&) { return Value(static_cast<double>(value)); });
}

ORVJSON_API std::int32_t ORVJSON_CALL orvjson_set_double(orvjson_handle handle, const char* key, std::size_t key_length,
                                                         double value) {
  return Append(handle, key, key_length, [value](orv::PoolAllocator&) { return Value(value); });
}

ORVJSON_API std::int32_t ORVJSON_CALL orvjson_set_string(orvjson_handle handle, const char* key, std::size_t key_length,
                                                         const char* value, std::size_t value_length) {
  if (!IsReadable(value, value_length)) return ORVJSON_BAD_ARGUMENT;
  return Append(handle, key, key_length, [&](orv::PoolAllocator& allocator) {
    return Value(value, orv::StringLength(value_length), allocator);
  });
}

ORVJSON_API std::int32_t ORVJSON_CALL orvjson_set_uint8_array(orvjson_handle handle, const char* key,
                                                              std::size_t key_length, const std::uint8_t* values,
                                                              std::size_t count) {
  return AppendNumbers<int>(handle, key, key_length, values, count);
}

ORVJSON_API std::int32_t ORVJSON_CALL orvjson_set_int16_array(orvjson_handle handle, const char* key,
                                                              std::size_t key_length, const std::int16_t* values,
                                                              std::size_t count) {
  return AppendNumbers<int>(handle, key, key_length, values, count);
}

ORVJSON_API std::int32_t ORVJSON_CALL orvjson_set_int32_array(orvjson_handle handle, const char* key,
                                                              std::size_t key_length, const std::int32_t* values,
                                                              std::size_t count) {
  return AppendNumbers<int>(handle, key, key_length, values, count);
}

ORVJSON_API std::int32_t ORVJSON_CALL orvjson_set_double_array(orvjson_handle handle, const char* key,
                                                               std::size_t key_length, const double* values,
                                                               std::size_t count) {
  return AppendNumbers<double>(handle, key, key_length, values, count);
}

ORVJSON_API std::int32_t ORVJSON_CALL orvjson_set_string_array(orvjson_handle handle, const char* key,
                                                               std::size_t key_length, const char* const* values,
                                                               const std::size_t* lengths, std::size_t count) {
  if (count > SIZE_MAX / sizeof(const char*) || !IsReadable(values, count * sizeof(const char*)) ||
      !IsReadable(lengths, count * sizeof(std::size_t))) {
    return ORVJSON_BAD_ARGUMENT;
  }
  for (std::size_t i = 0; i < count; ++i) {
    if (!IsReadable(values[i], lengths[i])) return ORVJSON_BAD_ARGUMENT;
  }
  return Append(handle, key, key_length, [&](orv::PoolAllocator& allocator) {
    // Every length is checked before anything is allocated.
    for (std::size_t i = 0; i < count; ++i) orv::StringLength(lengths[i]);
    Value array(rapidjson::kArrayType);
    array.Reserve(orv::ElementCount(count), allocator);
    for (std::size_t i = 0; i < count; ++i) {
      array.PushBack(Value(values[i], static_cast<rapidjson::SizeType>(lengths[i]), allocator), allocator);
    }
    return array;
  });
}

ORVJSON_API std::int32_t ORVJSON_CALL orvjson_set_copy(orvjson_handle handle, const char* key, std::size_t key_length,
                                                       orvjson_handle source) {
  return orvjson_set_copies(handle, key, key_length, &source, 1);
}

ORVJSON_API std::int32_t ORVJSON_CALL orvjson_set_copies(orvjson_handle handle, const char* key, std::size_t key_length,
                                                         const orvjson_handle* sources, std::size_t count) {
  if (!IsReadable(key, key_length) || count > SIZE_MAX / sizeof(orvjson_handle) ||
      !IsReadable(sources, count * sizeof(orvjson_handle))) {
    return ORVJSON_BAD_ARGUMENT;
  }
  return OnObject(handle, [&](COrvExtendJson& o) {
    // Every source is checked before the first member is added.
    std::vector<COrvExtendJson*> objects(count);
    for (std::size_t i = 0; i < count; ++i) {
      objects[i] = orv::LiveObject(sources[i]);
      if (objects[i] == nullptr) return ORVJSON_BAD_HANDLE;
    }
    if (!o.Root().IsObject()) return ORVJSON_WRONG_KIND;
    for (COrvExtendJson* source : objects) o.AppendCopy(key, key_length, *source);
    return ORVJSON_OK;
  });
}
