// The C interface: elements of an array root by index, kinds, and the list
// of members or elements.
#include "../json/type_codes.h"
#include "c_calls.h"

using orv::IsWritable;
using orv::OnObject;
using orv::Read;
using orv::ResultOf;
using orv::Value;

namespace {

// Runs read on the element at index of an array root.
template <typename Reader>
std::int32_t OnElement(orvjson_handle handle, std::size_t index, Reader read) {
  return OnObject(handle, [&](COrvExtendJson& o) {
    if (!o.Root().IsArray()) return ORVJSON_WRONG_KIND;
    const Value* element = o.Element(index);
    return element == nullptr ? ORVJSON_OUT_OF_RANGE : read(o, *element);
  });
}

// A value through one of the shared acceptance rules (a template argument,
// so that it is inlined into the call).
template <typename Out, Read (*Rule)(const Value&, Out&)>
std::int32_t ReadElement(orvjson_handle handle, std::size_t index, Out* out) {
  if (out == nullptr) return ORVJSON_BAD_ARGUMENT;
  return OnElement(handle, index, [&](COrvExtendJson&, const Value& element) { return ResultOf(Rule(element, *out)); });
}

std::int32_t FirstItemType(const Value& array, std::int32_t* type) {
  if (!array.IsArray()) return ORVJSON_WRONG_KIND;
  if (array.Empty()) return ORVJSON_OUT_OF_RANGE;
  *type = orv::ItemTypeCode(array[0]);
  return ORVJSON_OK;
}

}  // namespace

ORVJSON_API std::int32_t ORVJSON_CALL orvjson_get_int16_at(orvjson_handle handle, std::size_t index,
                                                           std::int16_t* value) {
  return ReadElement<std::int16_t, orv::ReadShortAt>(handle, index, value);
}

ORVJSON_API std::int32_t ORVJSON_CALL orvjson_get_int_at(orvjson_handle handle, std::size_t index,
                                                         std::int32_t* value) {
  return ReadElement<std::int32_t, orv::ReadIntAt>(handle, index, value);
}

ORVJSON_API std::int32_t ORVJSON_CALL orvjson_get_float_at(orvjson_handle handle, std::size_t index, float* value) {
  return ReadElement<float, orv::ReadFloat>(handle, index, value);
}

ORVJSON_API std::int32_t ORVJSON_CALL orvjson_get_double_at(orvjson_handle handle, std::size_t index, double* value) {
  return ReadElement<double, orv::ReadDouble>(handle, index, value);
}

ORVJSON_API std::int32_t ORVJSON_CALL orvjson_get_bool_at(orvjson_handle handle, std::size_t index,
                                                          std::int32_t* value) {
  if (value == nullptr) return ORVJSON_BAD_ARGUMENT;
  return OnElement(handle, index, [&](COrvExtendJson&, const Value& element) {
    bool b = false;
    const Read read = orv::ReadBool(element, b);
    if (read == Read::kAccepted) *value = b ? 1 : 0;
    return ResultOf(read);
  });
}

ORVJSON_API std::int32_t ORVJSON_CALL orvjson_get_string_at(orvjson_handle handle, std::size_t index, char* buffer,
                                                            std::size_t capacity, std::size_t* length) {
  if (!IsWritable(buffer, capacity) || length == nullptr) return ORVJSON_BAD_ARGUMENT;
  return OnElement(handle, index, [&](COrvExtendJson&, const Value& element) {
    if (!element.IsString()) return ORVJSON_WRONG_KIND;
    return orv::CopyOut(element.GetString(), element.GetStringLength(), buffer, capacity, length);
  });
}

ORVJSON_API std::int32_t ORVJSON_CALL orvjson_is_null_at(orvjson_handle handle, std::size_t index,
                                                         std::int32_t* is_null) {
  if (is_null == nullptr) return ORVJSON_BAD_ARGUMENT;
  return OnElement(handle, index, [&](COrvExtendJson&, const Value& element) {
    *is_null = element.IsNull() ? 1 : 0;
    return ORVJSON_OK;
  });
}

ORVJSON_API std::int32_t ORVJSON_CALL orvjson_get_copy_at(orvjson_handle handle, std::size_t index,
                                                          orvjson_handle target) {
  COrvExtendJson* into = orv::LiveObject(target);
  if (into == nullptr) return ORVJSON_BAD_HANDLE;
  return OnElement(handle, index, [&](COrvExtendJson& o, const Value& element) {
    if (!element.IsObject()) return ORVJSON_WRONG_KIND;
    return o.CopyOut(element, *into, false) == 0 ? ORVJSON_OK : ORVJSON_NO_TEXT;
  });
}

ORVJSON_API std::int32_t ORVJSON_CALL orvjson_item_type_at(orvjson_handle handle, std::size_t index,
                                                           std::int32_t* type) {
  if (type == nullptr) return ORVJSON_BAD_ARGUMENT;
  return OnElement(handle, index, [&](COrvExtendJson&, const Value& element) {
    *type = orv::ItemTypeCode(element);
    return ORVJSON_OK;
  });
}

ORVJSON_API std::int32_t ORVJSON_CALL orvjson_first_item_type_at(orvjson_handle handle, std::size_t index,
                                                                 std::int32_t* type) {
  if (type == nullptr) return ORVJSON_BAD_ARGUMENT;
  return OnElement(handle, index, [&](COrvExtendJson&, const Value& element) { return FirstItemType(element, type); });
}

ORVJSON_API std::int32_t ORVJSON_CALL orvjson_first_item_type(orvjson_handle handle, const char* key,
                                                              std::size_t key_length, std::int32_t* type) {
  if (!orv::IsReadable(key, key_length) || type == nullptr) return ORVJSON_BAD_ARGUMENT;
  return OnObject(handle, [&](COrvExtendJson& o) {
    if (!o.Root().IsObject()) return ORVJSON_WRONG_KIND;
    const Value* member = o.FindMember(key, key_length);
    return member == nullptr ? ORVJSON_NOT_FOUND : FirstItemType(*member, type);
  });
}

ORVJSON_API std::int32_t ORVJSON_CALL orvjson_tag_at(orvjson_handle handle, std::size_t index, char* name,
                                                     std::size_t capacity, std::size_t* name_length,
                                                     std::int32_t* type) {
  if (!IsWritable(name, capacity) || name_length == nullptr || type == nullptr) return ORVJSON_BAD_ARGUMENT;
  return OnObject(handle, [&](COrvExtendJson& o) {
    const Value& root = o.Root();
    if (root.IsArray()) {
      if (index >= root.Size()) return ORVJSON_OUT_OF_RANGE;
      *type = orv::ElementKind(root[static_cast<rapidjson::SizeType>(index)]);
      return orv::CopyOut("", 0, name, capacity, name_length);
    }
    if (!root.IsObject()) return ORVJSON_WRONG_KIND;
    if (index >= root.MemberCount()) return ORVJSON_OUT_OF_RANGE;
    const Value::Member& member = root.MemberBegin()[static_cast<std::ptrdiff_t>(index)];
    const std::int32_t result =
        orv::CopyOut(member.name.GetString(), member.name.GetStringLength(), name, capacity, name_length);
    if (result == ORVJSON_OK) *type = orv::MemberTypeCode(member.value);
    return result;
  });
}
