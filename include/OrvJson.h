/*
 * OrvJson — handle-based JSON documents for C++ hosts.
 *
 * A host calls Create() for a handle, passes that handle to every other
 * function and ends with Release(). Each handle owns one JSON document.
 *
 * Results: 0 means success and -1 failure, unless a function's comment says
 * otherwise. Every function except Create() returns -1 (the GetString forms:
 * an empty string) for a handle of 0 or below and then touches nothing,
 * output parameters included. A released handle cannot be recognised; using
 * one is the host's error.
 *
 * std::string and std::vector cross this interface, so the host and the
 * library must be built against the same C++ standard library. A host built
 * by another compiler, or against another standard library, includes
 * orvjson.hpp instead: the same functions over the C interface
 * (orvjson_c.h), which any compiler can call.
 */
#ifndef ORVJSON_H
#define ORVJSON_H

#include <string>
#include <vector>

#include "OrvJsonTypes.h"

/* ---------------------------------------------------------------------------
 * Export macro
 * ------------------------------------------------------------------------ */
#if defined(ORVJSON_STATIC)
#define ORVJSON_API
#elif defined(_WIN32)
#if defined(ORVJSON_BUILDING)
#define ORVJSON_API __declspec(dllexport)
#else
#define ORVJSON_API __declspec(dllimport)
#endif
#else
#define ORVJSON_API __attribute__((visibility("default")))
#endif

/* ---------------------------------------------------------------------------
 * The JSON object behind a handle
 *
 * A handle is the address of an object implementing this interface, so a
 * host may convert a handle to COrvBaseJson* and call it directly. The
 * declaration order is part of the binary interface: do not reorder.
 * ------------------------------------------------------------------------ */
class COrvBaseJson {
 public:
  virtual void Test() = 0;
  virtual void Destroy() = 0;
  virtual long WriteToFile(const std::string& path) = 0;
  virtual long LoadFromString(const std::string& text) = 0;
  virtual long LoadJsonFile(const char* path, int& hasBom) = 0;
  virtual void SetValue(const char* key, std::vector<double>& values) = 0;
  virtual void SetValue(const char* key, std::vector<std::string>& values) = 0;
  virtual void SetObjectArray(const char* key, std::vector<COrvBaseJson*>& objects) = 0;
  virtual void SetValue(const char* key, const std::string& value) = 0;
  virtual void SetValue(const char* key, std::vector<int>& values) = 0;
  virtual void SetValue(const char* key, std::vector<short>& values) = 0;
  virtual void SetValue(const char* key, std::vector<unsigned char>& values) = 0;
  virtual void SetValue(const char* key, unsigned int value) = 0;
  virtual void SetValue(const char* key, const char* value) = 0;
  virtual void SetValue(const char* key, COrvBaseJson* source) = 0;
  virtual void SetValue(const char* key, double value) = 0;
  virtual void SetValue(const char* key, float value) = 0;
  virtual void SetValue(const char* key, bool value) = 0;
  virtual void SetValue(const char* key, int value) = 0;
  virtual void SetValue(const char* key) = 0;
  virtual long GetValue(int index, COrvBaseJson* target) = 0;
  virtual long GetValue(int index, double& value) = 0;
  virtual long GetValue(int index, std::string& value) = 0;
  virtual long GetValue(int index, float& value) = 0;
  virtual long GetValue(int index, bool& value) = 0;
  virtual long GetValue(int index, int& value) = 0;
  virtual long GetValue(int index, short& value) = 0;
  virtual long GetValue(const char* key, unsigned int& value) = 0;
  virtual long GetValue(const char* key, std::vector<double>& values) = 0;
  virtual long GetValue(const char* key, std::vector<int>& values) = 0;
  virtual long GetObjectArray(const char* key, std::vector<COrvBaseJson*>& objects) = 0;
  virtual long GetValue(const char* key, std::vector<std::string>& values) = 0;
  virtual long GetValue(const char* key, std::vector<short>& values) = 0;
  virtual long GetValue(const char* key, std::vector<unsigned char>& values) = 0;
  virtual long GetValue(const char* key, COrvBaseJson* target) = 0;
  virtual long GetValue(const char* key, double& value) = 0;
  virtual long GetValue(const char* key, std::string& value) = 0;
  virtual long GetValue(const char* key, float& value) = 0;
  virtual long GetValue(const char* key, bool& value) = 0;
  virtual long GetValue(const char* key, int& value) = 0;
  virtual long GetIsNULL(int index) = 0;
  virtual void Clear() = 0;
  virtual std::string GetString(const std::string& key) = 0;
  virtual std::string GetString() = 0;
  virtual long Members() = 0;
  virtual long GetTagCollect(OrvVector& items) = 0;
  virtual long GetArryItemType(std::string key, int& type) = 0;
  virtual ~COrvBaseJson() = default;
  virtual void AddDoubleArray(const std::string& key, std::vector<double>& values) = 0;
  virtual void AddIntArray(const std::string& key, std::vector<int>& values) = 0;
  virtual long GetIsNULL(const char* key) = 0;
};

/* ---------------------------------------------------------------------------
 * Lifecycle
 * ------------------------------------------------------------------------ */

/* A new object whose root is an empty JSON object; returns its handle. */
ORVJSON_API long Create();
/* Destroys the object; the handle is dangling afterwards. Returns 0. */
ORVJSON_API long Release(long handle);
/* Does nothing; returns 0 for a live handle. */
ORVJSON_API long Test(long handle);
/* Makes the root an empty object. Returns 0. */
ORVJSON_API long Clear(long handle);
/* Members of an object root or elements of an array root; 0 for any other root. */
ORVJSON_API long Members(long handle);

/* ---------------------------------------------------------------------------
 * Text in and out
 *
 * Numbers load as the value nearest to their decimal text; a number too large
 * for a double, text nested deeper than 1000 arrays or objects, and a string
 * or container too large for a document (see the reference's size limits)
 * are refused like any other invalid text. The text ends at its first NUL
 * byte. Setters throw std::length_error for sizes beyond those limits.
 * ------------------------------------------------------------------------ */

/* 1 when the file was parsed and became the root; 0 when it was read but is
 * not valid JSON; -1 when it could not be opened or read (a directory, a
 * device, a FIFO). hasBom is set to 1 when the file starts with a UTF-8
 * byte-order mark (such files are refused), else 0. */
ORVJSON_API long LoadJsonFile(long handle, const char* path, int& hasBom);
/* 0 when the text was parsed and became the root; -1 (document unchanged) otherwise. */
ORVJSON_API long LoadFromString(long handle, const std::string& text);
/* Saves the compact text of the document (no trailing line break). The text
 * goes to a new file beside the target, synced to the disk, which then
 * replaces the target in one step: the file holds the old text or the new
 * one, never a mix. 0 when the new text is complete and on the disk; -1 with
 * the file as it was for an empty path, a null root, a document that holds
 * NaN or infinity, a read-only file, or any failed step. */
ORVJSON_API long WriteToFile(long handle, const std::string& path);
/* The compact text of the document; empty when it holds NaN or infinity. */
ORVJSON_API std::string GetString(long handle);
/* The string value of member key, up to its first NUL byte; empty when the
 * member is missing or not a string. */
ORVJSON_API std::string GetString(long handle, const std::string& key);

/* ---------------------------------------------------------------------------
 * Keyed setters: append a member to an object root (no lookup, so a name may
 * repeat). A null key or a root that is not an object adds nothing. Return 0.
 * ------------------------------------------------------------------------ */

/* Appends key: null. */
ORVJSON_API long SetValue(long handle, const char* key);
ORVJSON_API long SetValue(long handle, const char* key, int value);
ORVJSON_API long SetValue(long handle, const char* key, unsigned int value);
ORVJSON_API long SetValue(long handle, const char* key, bool value);
/* Stored as the double equal to the float. */
ORVJSON_API long SetValue(long handle, const char* key, float value);
ORVJSON_API long SetValue(long handle, const char* key, double value);
/* Up to the value's first NUL byte; a null value adds nothing. */
ORVJSON_API long SetValue(long handle, const char* key, const char* value);
/* All bytes, NUL bytes included. */
ORVJSON_API long SetValue(long handle, const char* key, const std::string& value);
/* Arrays of numbers (bytes unsigned, shorts sign-extended) and strings. */
ORVJSON_API long SetValue(long handle, const char* key, std::vector<unsigned char>& values);
ORVJSON_API long SetValue(long handle, const char* key, std::vector<short>& values);
ORVJSON_API long SetValue(long handle, const char* key, std::vector<int>& values);
ORVJSON_API long SetValue(long handle, const char* key, std::vector<double>& values);
ORVJSON_API long SetValue(long handle, const char* key, std::vector<std::string>& values);
/* source: the address of a variable holding another handle; appends a copy of
 * that document. -1 for a null pointer. */
ORVJSON_API long SetValue(long handle, const char* key, void* source);
/* One member per element (each the address of a handle variable), all under
 * key. -1 for an empty vector. */
ORVJSON_API long SetValue(long handle, const char* key, std::vector<void*>& sources);

/* ---------------------------------------------------------------------------
 * Keyed getters: read the first member named key. Output parameters are
 * written only when the member is accepted.
 * ------------------------------------------------------------------------ */

/* Accepts 32-bit integers, and null (read as 0). Returns 0. */
ORVJSON_API long GetValue(long handle, const char* key, int& value);
/* Accepts unsigned 32-bit integers. -1 for a missing member, 0 otherwise. */
ORVJSON_API long GetValue(long handle, const char* key, unsigned int& value);
/* Accepts doubles within the float range. Returns 0. */
ORVJSON_API long GetValue(long handle, const char* key, float& value);
/* Accepts doubles (never integers). -1 for a missing member, 0 otherwise. */
ORVJSON_API long GetValue(long handle, const char* key, double& value);
/* Accepts true and false. -1 for a missing member, 0 otherwise. */
ORVJSON_API long GetValue(long handle, const char* key, bool& value);
/* Accepts strings, up to their first NUL byte. Returns 0. */
ORVJSON_API long GetValue(long handle, const char* key, std::string& value);
/* 1 when the member is null; -1 otherwise. */
ORVJSON_API long GetIsNULL(long handle, const char* key);
/* Array getters append to values: 0 when every element was accepted; -1 for a
 * missing member, a non-array, an empty array, or at the first refused
 * element (earlier elements stay appended). */
ORVJSON_API long GetValue(long handle, const char* key, std::vector<unsigned char>& values);
ORVJSON_API long GetValue(long handle, const char* key, std::vector<short>& values);
ORVJSON_API long GetValue(long handle, const char* key, std::vector<int>& values);
ORVJSON_API long GetValue(long handle, const char* key, std::vector<double>& values);
ORVJSON_API long GetValue(long handle, const char* key, std::vector<std::string>& values);
/* Copies an object or array member into target, which then holds it as its root. */
ORVJSON_API long GetValue(long handle, const char* key, COrvBaseJson* target);
/* As above; target is the address of a variable holding the target's handle. */
ORVJSON_API long GetValue(long handle, const char* key, void* target);

/* ---------------------------------------------------------------------------
 * Root-array access by index. Each returns 0 when it accepts the element and
 * writes its output, else -1 with the output untouched; an index outside
 * 0 <= index < Members(), or a root that is not an array, is -1.
 * ------------------------------------------------------------------------ */

/* Accepts 32-bit integers (keeps the low 16 bits), true (1), false (0), null (0). */
ORVJSON_API long GetValue(long handle, int index, short& value);
/* Accepts 32-bit integers, true (1) and false (0). */
ORVJSON_API long GetValue(long handle, int index, int& value);
/* Accepts doubles within the float range. */
ORVJSON_API long GetValue(long handle, int index, float& value);
/* Accepts doubles (never integers). */
ORVJSON_API long GetValue(long handle, int index, double& value);
ORVJSON_API long GetValue(long handle, int index, bool& value);
/* Accepts strings, up to their first NUL byte. */
ORVJSON_API long GetValue(long handle, int index, std::string& value);
/* Copies an object element into the object whose handle target points to;
 * -1 for another kind, a null pointer, or a copy that fails to load. */
ORVJSON_API long GetValue(long handle, int index, void* target);
/* 1 when the element is null; -1 otherwise. */
ORVJSON_API long GetIsNULL(long handle, int index);

/* ---------------------------------------------------------------------------
 * Type queries
 * ------------------------------------------------------------------------ */

/* Writes the item type code of an element of an array root; 0 or -1. */
ORVJSON_API long GetItemType(long handle, int index, int& type);
/* Item type code of the first element of the array at index; -1 if none. */
ORVJSON_API long GetArryItemType(long handle, int index, int& type);
/* Item type code of the first element of the array member key; -1 if none. */
ORVJSON_API long GetArryItemType(long handle, std::string key, int& type);
/* Appends one entry per member (or element); returns the number appended. */
ORVJSON_API long GetTagCollect(long handle, OrvVector& items);

#endif /* ORVJSON_H */
