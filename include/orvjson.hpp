/*
 * OrvJson for C++ hosts of any compiler: the functions of OrvJson.h, with
 * their signatures and behaviour, as inline code over the C interface
 * (orvjson_c.h). Include this header instead of OrvJson.h when the host is
 * built by another compiler or against another C++ standard library than the
 * library was (MSVC or clang-cl against a MinGW DLL, libc++ against a
 * libstdc++ build, a statically linked runtime): no std::string,
 * std::vector or exception ever crosses into the library, and the host's own
 * runtime throws std::bad_alloc and std::length_error where OrvJson.h's
 * functions would.
 *
 * Left out, because they hand C++ objects to the library: the COrvBaseJson
 * interface, and GetValue(long, const char*, COrvBaseJson*). Name the target
 * by its handle variable instead (the void* form).
 *
 * Paths are taken as OrvJson.h takes them: in the ANSI code page on Windows,
 * bytes elsewhere. (The C interface takes UTF-8.)
 */
#ifndef ORVJSON_HPP
#define ORVJSON_HPP

#ifdef ORVJSON_H
#error "include OrvJson.h or orvjson.hpp, not both"
#endif

#include <cstring>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include "OrvJsonTypes.h"
#include "orvjson_c.h"

#ifdef _WIN32
/* The two conversions a path needs, declared as <windows.h> declares them
 * (so that a host may include it too, or not). */
extern "C" __declspec(dllimport) int __stdcall MultiByteToWideChar(unsigned int, unsigned long, const char*, int,
                                                                   wchar_t*, int);
extern "C" __declspec(dllimport) int __stdcall WideCharToMultiByte(unsigned int, unsigned long, const wchar_t*, int,
                                                                   char*, int, const char*, int*);
extern "C" __declspec(dllimport) int __stdcall AreFileApisANSI(void);
#endif

namespace orvjson_layer {

static_assert(sizeof(short) == 2 && sizeof(int) == 4, "shorts and ints are 16 and 32 bits wide");

/* The host's runtime raises what the library's would have. */
inline int32_t Raise(int32_t result) {
  if (result == ORVJSON_NO_MEMORY) throw std::bad_alloc();
  if (result == ORVJSON_TOO_LARGE) throw std::length_error("OrvJson: larger than a document can hold");
  return result;
}

/* For the functions that answer 0 whatever they did: -1 only for a handle
 * that names no document. */
inline long Answer(int32_t result) { return Raise(result) == ORVJSON_BAD_HANDLE ? -1 : 0; }

inline long Live(long handle) { return orvjson_test(handle) == ORVJSON_OK ? 0 : -1; }

inline size_t LengthOf(const char* text) { return std::strlen(text); }

/* A pointer the C interface takes for an empty array. */
template <typename T>
const T* DataOf(const std::vector<T>& values) {
  static const T none = T();
  return values.empty() ? &none : values.data();
}

/* A path as the C interface takes it: UTF-8. */
inline bool Utf8Path(const char* path, size_t length, std::string& out) {
#ifdef _WIN32
  if (length == 0 || length > 0x7FFFFFFF) return false;
  const unsigned codePage = AreFileApisANSI() ? 0u /* CP_ACP */ : 1u /* CP_OEMCP */;
  const int size = static_cast<int>(length);
  const int wide = MultiByteToWideChar(codePage, 8 /* MB_ERR_INVALID_CHARS */, path, size, nullptr, 0);
  if (wide <= 0) return false;
  std::wstring utf16(static_cast<size_t>(wide), L'\0');
  MultiByteToWideChar(codePage, 8, path, size, &utf16[0], wide);
  const int bytes = WideCharToMultiByte(65001 /* CP_UTF8 */, 0, utf16.data(), wide, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return false;
  out.assign(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(65001, 0, utf16.data(), wide, &out[0], bytes, nullptr, nullptr);
#else
  out.assign(path, length);
#endif
  return true;
}

/* A string the C interface gives into a buffer, as std::string. */
template <typename Get>
int32_t ReadString(std::string& out, Get get) {
  size_t length = 0;
  char small[64];
  int32_t result = get(small, sizeof small, &length);
  if (result == ORVJSON_OK) {
    out.assign(small, length);
  } else if (result == ORVJSON_BUFFER_TOO_SMALL) {
    out.resize(length);
    result = get(&out[0], length, &length);
  }
  return result;
}

/* Up to the first NUL byte, as OrvJson.h gives strings. */
inline std::string BeforeNul(const std::string& text) { return std::string(text.c_str()); }

/* An array member through one of the C array getters, appended as OrvJson.h
 * appends: -1 for a missing member, another kind, an empty array, or at the
 * first element refused (the ones before it appended). */
template <typename Out, typename C, typename Get>
long ReadArray(std::vector<Out>& out, Get get) {
  size_t count = 0;
  int32_t result = Raise(get(static_cast<C*>(nullptr), 0, &count));
  if (result != ORVJSON_BUFFER_TOO_SMALL) return -1;
  std::vector<C> values(count);
  result = Raise(get(values.data(), values.size(), &count));
  out.insert(out.end(), values.begin(), values.begin() + static_cast<std::ptrdiff_t>(count));
  return result == ORVJSON_OK ? 0 : -1;
}

/* Whether the member a getter refused exists (its answer is then 0). */
inline long RefusedOrMissing(long handle, const char* key, size_t length) {
  int32_t isNull = 0;
  return orvjson_is_null(handle, key, length, &isNull) == ORVJSON_OK ? 0 : -1;
}

/* The keyed getters that answer -1 for a missing member and 0 for one they
 * refuse. */
template <typename C, typename Out, typename Get>
long ReadReporting(long handle, const char* key, Out& value, Get get) {
  if (key == nullptr) return -1;
  const size_t length = LengthOf(key);
  C read = C();
  const int32_t result = Raise(get(handle, key, length, &read));
  if (result == ORVJSON_OK) {
    value = static_cast<Out>(read);
    return 0;
  }
  if (result == ORVJSON_WRONG_KIND || result == ORVJSON_OUT_OF_RANGE) return RefusedOrMissing(handle, key, length);
  return -1;
}

/* The keyed getters that answer 0 whatever they found. */
template <typename C, typename Out, typename Get>
long ReadQuietly(long handle, const char* key, Out& value, Get get) {
  if (key == nullptr) return Live(handle);
  C read = C();
  const int32_t result = Raise(get(handle, key, LengthOf(key), &read));
  if (result == ORVJSON_OK) value = static_cast<Out>(read);
  return result == ORVJSON_BAD_HANDLE ? -1 : 0;
}

/* The index getters: 0 and the value, or -1. */
template <typename C, typename Out, typename Get>
long ReadAt(long handle, int index, Out& value, Get get) {
  if (index < 0) return -1;
  C read = C();
  if (Raise(get(handle, static_cast<size_t>(index), &read)) != ORVJSON_OK) return -1;
  value = static_cast<Out>(read);
  return 0;
}

/* The handle a host's variable holds, or 0 for none. */
inline long HandleAt(const void* variable) { return *static_cast<const long*>(variable); }

}  // namespace orvjson_layer

/* ---------------------------------------------------------------------------
 * Lifecycle
 * ------------------------------------------------------------------------ */

inline long Create() {
  orvjson_handle handle = 0;
  if (orvjson_create(&handle) != ORVJSON_OK) throw std::bad_alloc();
  return static_cast<long>(handle);
}
inline long Release(long handle) { return orvjson_release(handle) == ORVJSON_OK ? 0 : -1; }
inline long Test(long handle) { return orvjson_layer::Live(handle); }
inline long Clear(long handle) { return orvjson_clear(handle) == ORVJSON_OK ? 0 : -1; }
inline long Members(long handle) {
  size_t count = 0;
  return orvjson_members(handle, &count) == ORVJSON_OK ? static_cast<long>(count) : -1;
}

/* ---------------------------------------------------------------------------
 * Text in and out
 * ------------------------------------------------------------------------ */

inline long LoadJsonFile(long handle, const char* path, int& hasBom) {
  if (orvjson_layer::Live(handle) != 0) return -1;
  hasBom = 0;
  std::string utf8;
  if (path == nullptr || !orvjson_layer::Utf8Path(path, orvjson_layer::LengthOf(path), utf8)) return -1;
  int32_t bom = 0;
  const int32_t result = orvjson_load_file(handle, utf8.data(), utf8.size(), &bom);
  if (result == ORVJSON_NO_MEMORY) throw std::bad_alloc();
  hasBom = bom;
  return result == ORVJSON_OK ? 1 : result == ORVJSON_INVALID_TEXT || result == ORVJSON_TOO_LARGE ? 0 : -1;
}
inline long LoadFromString(long handle, const std::string& text) {
  // With its closing NUL byte, which ends the text where the C interface
  // needs no copy of it.
  const int32_t result = orvjson_load_text(handle, text.c_str(), text.size() + 1);
  if (result == ORVJSON_NO_MEMORY) throw std::bad_alloc();
  return result == ORVJSON_OK ? 0 : -1;
}
inline long WriteToFile(long handle, const std::string& path) {
  std::string utf8;
  if (std::strlen(path.c_str()) != path.size() || !orvjson_layer::Utf8Path(path.data(), path.size(), utf8)) {
    return -1;
  }
  return orvjson_layer::Raise(orvjson_save_file(handle, utf8.data(), utf8.size())) == ORVJSON_OK ? 0 : -1;
}
inline std::string GetString(long handle) {
  std::string text;
  const int32_t result = orvjson_layer::ReadString(text, [&](char* buffer, size_t capacity, size_t* length) {
    return orvjson_text(handle, buffer, capacity, length);
  });
  return orvjson_layer::Raise(result) == ORVJSON_OK ? text : std::string();
}
inline std::string GetString(long handle, const std::string& key) {
  std::string text;
  const int32_t result = orvjson_layer::ReadString(text, [&](char* buffer, size_t capacity, size_t* length) {
    return orvjson_get_string(handle, key.c_str(), orvjson_layer::LengthOf(key.c_str()), buffer, capacity, length);
  });
  return orvjson_layer::Raise(result) == ORVJSON_OK ? orvjson_layer::BeforeNul(text) : std::string();
}

/* ---------------------------------------------------------------------------
 * Keyed setters
 * ------------------------------------------------------------------------ */

inline long SetValue(long handle, const char* key) {
  if (key == nullptr) return orvjson_layer::Live(handle);
  return orvjson_layer::Answer(orvjson_set_null(handle, key, orvjson_layer::LengthOf(key)));
}
inline long SetValue(long handle, const char* key, int value) {
  if (key == nullptr) return orvjson_layer::Live(handle);
  return orvjson_layer::Answer(orvjson_set_int(handle, key, orvjson_layer::LengthOf(key), value));
}
inline long SetValue(long handle, const char* key, unsigned int value) {
  if (key == nullptr) return orvjson_layer::Live(handle);
  return orvjson_layer::Answer(orvjson_set_uint(handle, key, orvjson_layer::LengthOf(key), value));
}
inline long SetValue(long handle, const char* key, bool value) {
  if (key == nullptr) return orvjson_layer::Live(handle);
  return orvjson_layer::Answer(orvjson_set_bool(handle, key, orvjson_layer::LengthOf(key), value ? 1 : 0));
}
inline long SetValue(long handle, const char* key, float value) {
  if (key == nullptr) return orvjson_layer::Live(handle);
  return orvjson_layer::Answer(orvjson_set_float(handle, key, orvjson_layer::LengthOf(key), value));
}
inline long SetValue(long handle, const char* key, double value) {
  if (key == nullptr) return orvjson_layer::Live(handle);
  return orvjson_layer::Answer(orvjson_set_double(handle, key, orvjson_layer::LengthOf(key), value));
}
inline long SetValue(long handle, const char* key, const char* value) {
  if (key == nullptr || value == nullptr) return orvjson_layer::Live(handle);
  return orvjson_layer::Answer(
      orvjson_set_string(handle, key, orvjson_layer::LengthOf(key), value, orvjson_layer::LengthOf(value)));
}
inline long SetValue(long handle, const char* key, const std::string& value) {
  if (key == nullptr) return orvjson_layer::Live(handle);
  return orvjson_layer::Answer(
      orvjson_set_string(handle, key, orvjson_layer::LengthOf(key), value.data(), value.size()));
}
inline long SetValue(long handle, const char* key, std::vector<unsigned char>& values) {
  if (key == nullptr) return orvjson_layer::Live(handle);
  return orvjson_layer::Answer(
      orvjson_set_uint8_array(handle, key, orvjson_layer::LengthOf(key), orvjson_layer::DataOf(values), values.size()));
}
inline long SetValue(long handle, const char* key, std::vector<short>& values) {
  if (key == nullptr) return orvjson_layer::Live(handle);
  return orvjson_layer::Answer(
      orvjson_set_int16_array(handle, key, orvjson_layer::LengthOf(key), orvjson_layer::DataOf(values), values.size()));
}
inline long SetValue(long handle, const char* key, std::vector<int>& values) {
  if (key == nullptr) return orvjson_layer::Live(handle);
  return orvjson_layer::Answer(orvjson_set_int32_array(handle, key, orvjson_layer::LengthOf(key),
                                                       reinterpret_cast<const int32_t*>(orvjson_layer::DataOf(values)),
                                                       values.size()));
}
inline long SetValue(long handle, const char* key, std::vector<double>& values) {
  if (key == nullptr) return orvjson_layer::Live(handle);
  return orvjson_layer::Answer(orvjson_set_double_array(handle, key, orvjson_layer::LengthOf(key),
                                                        orvjson_layer::DataOf(values), values.size()));
}
inline long SetValue(long handle, const char* key, std::vector<std::string>& values) {
  if (key == nullptr) return orvjson_layer::Live(handle);
  std::vector<const char*> strings;
  std::vector<size_t> lengths;
  strings.reserve(values.size());
  lengths.reserve(values.size());
  for (const std::string& value : values) {
    strings.push_back(value.data());
    lengths.push_back(value.size());
  }
  return orvjson_layer::Answer(orvjson_set_string_array(handle, key, orvjson_layer::LengthOf(key),
                                                        orvjson_layer::DataOf(strings), orvjson_layer::DataOf(lengths),
                                                        values.size()));
}
/* source: the address of a variable holding another handle. -1 for a null
 * pointer, or a variable holding a negative or released handle; a variable
 * holding 0 adds nothing. */
inline long SetValue(long handle, const char* key, void* source) {
  if (source == nullptr) return -1;
  const long other = orvjson_layer::HandleAt(source);
  if (orvjson_layer::Live(handle) != 0 || (other != 0 && orvjson_layer::Live(other) != 0)) return -1;
  if (other == 0 || key == nullptr) return 0;
  return orvjson_layer::Answer(orvjson_set_copy(handle, key, orvjson_layer::LengthOf(key), other));
}
/* One member per element (each the address of a handle variable), all under
 * key; -1, adding nothing, for an empty vector or any element that is null
 * or names no document. */
inline long SetValue(long handle, const char* key, std::vector<void*>& sources) {
  if (sources.empty() || orvjson_layer::Live(handle) != 0) return -1;
  std::vector<orvjson_handle> handles;
  for (const void* source : sources) {
    if (source == nullptr) return -1;
    const long other = orvjson_layer::HandleAt(source);
    if (other != 0 && orvjson_layer::Live(other) != 0) return -1;
    if (other != 0) handles.push_back(other);
  }
  if (handles.empty() || key == nullptr) return 0;
  return orvjson_layer::Answer(
      orvjson_set_copies(handle, key, orvjson_layer::LengthOf(key), handles.data(), handles.size()));
}

/* ---------------------------------------------------------------------------
 * Keyed getters
 * ------------------------------------------------------------------------ */

inline long GetValue(long handle, const char* key, int& value) {
  return orvjson_layer::ReadQuietly<int32_t>(handle, key, value, orvjson_get_int);
}
inline long GetValue(long handle, const char* key, unsigned int& value) {
  return orvjson_layer::ReadReporting<uint32_t>(handle, key, value, orvjson_get_uint);
}
inline long GetValue(long handle, const char* key, float& value) {
  return orvjson_layer::ReadQuietly<float>(handle, key, value, orvjson_get_float);
}
inline long GetValue(long handle, const char* key, double& value) {
  return orvjson_layer::ReadReporting<double>(handle, key, value, orvjson_get_double);
}
inline long GetValue(long handle, const char* key, bool& value) {
  return orvjson_layer::ReadReporting<int32_t>(handle, key, value, orvjson_get_bool);
}
inline long GetValue(long handle, const char* key, std::string& value) {
  if (key == nullptr) return orvjson_layer::Live(handle);
  std::string read;
  const int32_t result =
      orvjson_layer::Raise(orvjson_layer::ReadString(read, [&](char* buffer, size_t capacity, size_t* length) {
        return orvjson_get_string(handle, key, orvjson_layer::LengthOf(key), buffer, capacity, length);
      }));
  if (result == ORVJSON_OK) value = orvjson_layer::BeforeNul(read);
  return result == ORVJSON_BAD_HANDLE ? -1 : 0;
}
inline long GetIsNULL(long handle, const char* key) {
  int32_t isNull = 0;
  if (key == nullptr) return -1;
  return orvjson_is_null(handle, key, orvjson_layer::LengthOf(key), &isNull) == ORVJSON_OK && isNull == 1 ? 1 : -1;
}

#define ORVJSON_LAYER_ARRAY_GETTER(Element, CElement, function)                                                     \
  inline long GetValue(long handle, const char* key, std::vector<Element>& values) {                                \
    if (key == nullptr) return -1;                                                                                  \
    const size_t length = orvjson_layer::LengthOf(key);                                                             \
    return orvjson_layer::ReadArray<Element, CElement>(values, [&](CElement* out, size_t capacity, size_t* count) { \
      return function(handle, key, length, out, capacity, count);                                                   \
    });                                                                                                             \
  }
ORVJSON_LAYER_ARRAY_GETTER(unsigned char, uint8_t, orvjson_get_uint8_array)
ORVJSON_LAYER_ARRAY_GETTER(short, int16_t, orvjson_get_int16_array)
ORVJSON_LAYER_ARRAY_GETTER(int, int32_t, orvjson_get_int32_array)
ORVJSON_LAYER_ARRAY_GETTER(double, double, orvjson_get_double_array)
#undef ORVJSON_LAYER_ARRAY_GETTER

inline long GetValue(long handle, const char* key, std::vector<std::string>& values) {
  if (key == nullptr) return -1;
  const size_t length = orvjson_layer::LengthOf(key);
  size_t count = 0, total = 0;
  int32_t result =
      orvjson_layer::Raise(orvjson_get_string_array(handle, key, length, nullptr, 0, nullptr, 0, &count, &total));
  if (result != ORVJSON_BUFFER_TOO_SMALL && !(result == ORVJSON_WRONG_KIND && count == 0 && total == 0)) return -1;
  if (count == 0) return -1;  // an empty array, or one whose first element is refused
  std::string bytes(total, '\0');
  std::vector<size_t> lengths(count);
  result = orvjson_layer::Raise(
      orvjson_get_string_array(handle, key, length, &bytes[0], total, lengths.data(), count, &count, &total));
  size_t at = 0;
  for (size_t i = 0; i < count; ++i) {
    values.push_back(orvjson_layer::BeforeNul(bytes.substr(at, lengths[i])));
    at += lengths[i];
  }
  return result == ORVJSON_OK ? 0 : -1;
}
/* Copies an object or array member into the document whose handle target
 * points to, which then holds it as its root. */
inline long GetValue(long handle, const char* key, void* target) {
  if (target == nullptr || key == nullptr) return -1;
  const long other = orvjson_layer::HandleAt(target);
  if (other == 0) return -1;
  return orvjson_layer::Raise(orvjson_get_copy(handle, key, orvjson_layer::LengthOf(key), other)) == ORVJSON_OK ? 0
                                                                                                                : -1;
}

/* ---------------------------------------------------------------------------
 * Root-array access by index
 * ------------------------------------------------------------------------ */

inline long GetValue(long handle, int index, short& value) {
  return orvjson_layer::ReadAt<int16_t>(handle, index, value, orvjson_get_int16_at);
}
inline long GetValue(long handle, int index, int& value) {
  return orvjson_layer::ReadAt<int32_t>(handle, index, value, orvjson_get_int_at);
}
inline long GetValue(long handle, int index, float& value) {
  return orvjson_layer::ReadAt<float>(handle, index, value, orvjson_get_float_at);
}
inline long GetValue(long handle, int index, double& value) {
  return orvjson_layer::ReadAt<double>(handle, index, value, orvjson_get_double_at);
}
inline long GetValue(long handle, int index, bool& value) {
  int32_t read = 0;
  if (orvjson_layer::ReadAt<int32_t>(handle, index, read, orvjson_get_bool_at) != 0) return -1;
  value = read != 0;
  return 0;
}
inline long GetValue(long handle, int index, std::string& value) {
  if (index < 0) return -1;
  std::string read;
  const int32_t result = orvjson_layer::ReadString(read, [&](char* buffer, size_t capacity, size_t* length) {
    return orvjson_get_string_at(handle, static_cast<size_t>(index), buffer, capacity, length);
  });
  if (orvjson_layer::Raise(result) != ORVJSON_OK) return -1;
  value = orvjson_layer::BeforeNul(read);
  return 0;
}
inline long GetValue(long handle, int index, void* target) {
  if (target == nullptr || index < 0) return -1;
  const long other = orvjson_layer::HandleAt(target);
  if (other == 0) return -1;
  return orvjson_layer::Raise(orvjson_get_copy_at(handle, static_cast<size_t>(index), other)) == ORVJSON_OK ? 0 : -1;
}
inline long GetIsNULL(long handle, int index) {
  int32_t isNull = 0;
  if (index < 0) return -1;
  return orvjson_is_null_at(handle, static_cast<size_t>(index), &isNull) == ORVJSON_OK && isNull == 1 ? 1 : -1;
}

/* ---------------------------------------------------------------------------
 * Type queries
 * ------------------------------------------------------------------------ */

inline long GetItemType(long handle, int index, int& type) {
  return orvjson_layer::ReadAt<int32_t>(handle, index, type, orvjson_item_type_at);
}
inline long GetArryItemType(long handle, int index, int& type) {
  int32_t read = 0;
  if (orvjson_layer::ReadAt<int32_t>(handle, index, read, orvjson_first_item_type_at) != 0) return -1;
  type = read;
  return read;
}
inline long GetArryItemType(long handle, std::string key, int& type) {
  int32_t read = 0;
  if (orvjson_first_item_type(handle, key.c_str(), orvjson_layer::LengthOf(key.c_str()), &read) != ORVJSON_OK) {
    return -1;
  }
  type = read;
  return read;
}
inline long GetTagCollect(long handle, OrvVector& items) {
  size_t count = 0;
  if (orvjson_members(handle, &count) != ORVJSON_OK) return -1;
  for (size_t index = 0; index < count; ++index) {
    int32_t type = 0;
    std::string name;
    const int32_t result = orvjson_layer::ReadString(name, [&](char* buffer, size_t capacity, size_t* length) {
      return orvjson_tag_at(handle, index, buffer, capacity, length, &type);
    });
    if (orvjson_layer::Raise(result) != ORVJSON_OK) return static_cast<long>(index);
    OrvTagItem item;
    item.name = orvjson_layer::BeforeNul(name);
    item.type = type;
    items.m_items.push_back(item);
  }
  return static_cast<long>(count);
}

#endif /* ORVJSON_HPP */
