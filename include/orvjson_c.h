/*
 * OrvJson C interface: handle-based JSON documents for any compiler and any
 * language that can call C.
 *
 * Only C types cross this interface: fixed-width integers, double, size_t,
 * byte strings given as a pointer and an explicit length, and arrays given
 * as a pointer and a count. Every function uses the C calling convention
 * (cdecl), whatever the host's default, and no C++ exception ever leaves one.
 * It compiles as C99 and as C++.
 *
 * HANDLES. orvjson_create() makes a document and gives its handle; every
 * other function takes a handle first; orvjson_release() ends it. A handle is
 * the very number the C++ interface (OrvJson.h) uses for the same document,
 * so a host may mix both. It is always positive and below 2^31.
 *
 * RESULTS. Every function but the few that return a static text returns an
 * int32_t result: ORVJSON_OK (0) or one of the codes below, which
 * orvjson_result_text() names. Outputs are written only with ORVJSON_OK,
 * unless a function says otherwise.
 *
 * WHO FREES WHAT. Nothing the library gives back is ever the host's to
 * free. Every string and array comes out into the caller's own buffer, with
 * its length reported: call with too small a buffer (a capacity of 0 will do)
 * and the function returns ORVJSON_BUFFER_TOO_SMALL, writes nothing to the
 * buffer and reports the size needed. When the buffer has room for one more
 * byte, a NUL byte follows what was written, so that a string without NUL
 * bytes can be used as a C string. The few texts returned by pointer
 * (versions, result names, load errors) are static: they live as long as
 * the library and are never freed.
 *
 * STRINGS. Keys, strings and paths are bytes with an explicit length; they
 * may hold any byte, NUL included, and come out whole. Invalid UTF-8 is
 * stored as it is. Paths are UTF-8 on every platform (on Windows they are
 * converted to UTF-16 for the system, so any file name works whatever the
 * ANSI code page).
 *
 * BAD INPUT. A handle of 0 or below, a released handle or a number that never
 * came from orvjson_create (the last two detected as a best effort) gives
 * ORVJSON_BAD_HANDLE; a null pointer for any pointer argument, and a length
 * that would run past the end of memory, give ORVJSON_BAD_ARGUMENT. Nothing
 * is then written or changed.
 *
 * THREADS. Functions that only read a document (getters, kinds, text, tags,
 * member counts, saving) may run on one handle from several threads at
 * once. Functions that change a document need its handle alone.
 */
#ifndef ORVJSON_C_H
#define ORVJSON_C_H

#include <stddef.h>
#include <stdint.h>

/* ---------------------------------------------------------------------------
 * Export macro and calling convention
 * ------------------------------------------------------------------------ */
#ifndef ORVJSON_API
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
#endif

#if defined(_WIN32)
#define ORVJSON_CALL __cdecl
#else
#define ORVJSON_CALL
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* ---------------------------------------------------------------------------
 * Versions, handles, results
 * ------------------------------------------------------------------------ */

#define ORVJSON_VERSION "0.1.0"
/* major * 1000000 + minor * 1000 + patch */
#define ORVJSON_VERSION_NUMBER 1000

/* The version of the library actually loaded, such as "0.1.0". */
ORVJSON_API const char* ORVJSON_CALL orvjson_version(void);

/* A document. The same number as the long handle of the C++ interface. */
typedef intptr_t orvjson_handle;

#define ORVJSON_OK 0
#define ORVJSON_BAD_HANDLE 1        /* 0, negative, released, or never made by orvjson_create */
#define ORVJSON_BAD_ARGUMENT 2      /* a null pointer, a length past the end of memory, a bad path */
#define ORVJSON_NOT_FOUND 3         /* no member of that name */
#define ORVJSON_WRONG_KIND 4        /* the value, or the root, is of a kind the call does not take */
#define ORVJSON_OUT_OF_RANGE 5      /* an index past the end, or a number outside the type's range */
#define ORVJSON_NO_MEMORY 6         /* memory ran out (or, for create, the handles below 2 GiB did) */
#define ORVJSON_TOO_LARGE 7         /* a string, array or object beyond a document's size limits */
#define ORVJSON_INVALID_TEXT 8      /* the text is not valid JSON; see orvjson_load_error */
#define ORVJSON_CANNOT_READ 9       /* the file cannot be opened or read */
#define ORVJSON_CANNOT_SAVE 10      /* the file cannot be written; it holds what it held */
#define ORVJSON_BUFFER_TOO_SMALL 11 /* nothing written; the size needed is reported */
#define ORVJSON_NO_TEXT 12          /* the document holds NaN or infinity, which JSON cannot express */

/* "ORVJSON_NOT_FOUND: no member of that name", and so on; static. */
ORVJSON_API const char* ORVJSON_CALL orvjson_result_text(int32_t result);

/* ---------------------------------------------------------------------------
 * Type codes (the same numbers as OrvJson.h's OrvItemType, OrvMemberType and
 * OrvElementKind). The same number can mean different things in the three
 * tables: compare with these names.
 * ------------------------------------------------------------------------ */

/* Item types: orvjson_item_type_at, orvjson_first_item_type(_at). */
#define ORVJSON_ITEM_NULL 0
#define ORVJSON_ITEM_OBJECT 3
#define ORVJSON_ITEM_ARRAY 4
#define ORVJSON_ITEM_STRING 5
#define ORVJSON_ITEM_BOOL 8
#define ORVJSON_ITEM_INT 32     /* -2^31 to 2^31-1 */
#define ORVJSON_ITEM_UINT 64    /* 2^31 to 2^32-1 */
#define ORVJSON_ITEM_INT64 128  /* any other integer from -2^63 to 2^63-1 */
#define ORVJSON_ITEM_UINT64 256 /* 2^63 to 2^64-1 */
#define ORVJSON_ITEM_DOUBLE 512

/* Member types: orvjson_tag_at on an object root. */
#define ORVJSON_MEMBER_OBJECT 3
#define ORVJSON_MEMBER_ARRAY 4
#define ORVJSON_MEMBER_BOOL 8
#define ORVJSON_MEMBER_INT_OR_NULL 32 /* -2^31 to 2^31-1, and null */
#define ORVJSON_MEMBER_INT64 128      /* any other integer from -2^63 to 2^63-1 */
#define ORVJSON_MEMBER_UINT64 256     /* 2^63 to 2^64-1 */
#define ORVJSON_MEMBER_DOUBLE 512
#define ORVJSON_MEMBER_STRING 1024

/* Element kinds: orvjson_tag_at on an array root. */
#define ORVJSON_ELEMENT_NULL 0
#define ORVJSON_ELEMENT_FALSE 1
#define ORVJSON_ELEMENT_TRUE 2
#define ORVJSON_ELEMENT_OBJECT 3
#define ORVJSON_ELEMENT_ARRAY 4
#define ORVJSON_ELEMENT_STRING 5
#define ORVJSON_ELEMENT_NUMBER 6

/* ---------------------------------------------------------------------------
 * Lifecycle
 * ------------------------------------------------------------------------ */

/* A new document whose root is an empty object. ORVJSON_NO_MEMORY when
 * memory, or the address space below 2 GiB where documents live, ran out. */
ORVJSON_API int32_t ORVJSON_CALL orvjson_create(orvjson_handle* handle);
/* Ends the document; the handle is refused afterwards (a best effort: a new
 * document may be given the same number). */
ORVJSON_API int32_t ORVJSON_CALL orvjson_release(orvjson_handle handle);
/* Does nothing: ORVJSON_OK for a live handle. */
ORVJSON_API int32_t ORVJSON_CALL orvjson_test(orvjson_handle handle);
/* Makes the root an empty object. */
ORVJSON_API int32_t ORVJSON_CALL orvjson_clear(orvjson_handle handle);
/* Members of an object root, elements of an array root, 0 for another root. */
ORVJSON_API int32_t ORVJSON_CALL orvjson_members(orvjson_handle handle, size_t* count);

/* ---------------------------------------------------------------------------
 * Text in and out
 *
 * Text is strict JSON (RapidJSON's default grammar), and ends at its first
 * NUL byte or its length, whichever comes first. Numbers load as the double
 * nearest to their text; a number too large for a double, nesting deeper
 * than 1000 arrays and objects, and sizes a document cannot hold make the
 * text invalid.
 * ------------------------------------------------------------------------ */

/* Replaces the root with the value the text holds. ORVJSON_INVALID_TEXT
 * (the document unchanged) when the text is not valid JSON;
 * ORVJSON_TOO_LARGE when it holds a string, array or object too large. */
ORVJSON_API int32_t ORVJSON_CALL orvjson_load_text(orvjson_handle handle, const char* text, size_t length);
/* As orvjson_load_text, from the file at path (UTF-8). has_bom is set to 1
 * when the file starts with a UTF-8 byte-order mark (such files are
 * refused with ORVJSON_INVALID_TEXT), else 0. ORVJSON_CANNOT_READ for a
 * file that cannot be opened or read, a directory, a device or a FIFO. */
ORVJSON_API int32_t ORVJSON_CALL orvjson_load_file(orvjson_handle handle, const char* path, size_t path_length,
                                                   int32_t* has_bom);
/* Why the last load of this document failed, when it failed on its text:
 * where (the byte offset into the text; the line and the column, counted
 * from 1, the column in UTF-8 characters) and a static English message.
 * ORVJSON_NOT_FOUND when the last load succeeded or there was none. */
ORVJSON_API int32_t ORVJSON_CALL orvjson_load_error(orvjson_handle handle, size_t* offset, size_t* line, size_t* column,
                                                    const char** message);

/* The compact JSON text of the document, without a NUL byte at its end
 * unless capacity leaves room for one. ORVJSON_NO_TEXT when it holds NaN or
 * infinity. */
ORVJSON_API int32_t ORVJSON_CALL orvjson_text(orvjson_handle handle, char* buffer, size_t capacity, size_t* length);
/* Saves the compact text to the file at path (UTF-8) as WriteToFile does:
 * replaced in one step, the old text kept on any failure. ORVJSON_WRONG_KIND
 * for a null root and ORVJSON_NO_TEXT for NaN or infinity (no file touched);
 * ORVJSON_CANNOT_SAVE when it cannot be written. */
ORVJSON_API int32_t ORVJSON_CALL orvjson_save_file(orvjson_handle handle, const char* path, size_t path_length);

/* ---------------------------------------------------------------------------
 * Setters: append a member to an object root (no lookup, so a name may
 * repeat). ORVJSON_WRONG_KIND when the root is not an object;
 * ORVJSON_TOO_LARGE for a key, string or array beyond the size limits
 * (nothing added either way).
 * ------------------------------------------------------------------------ */

ORVJSON_API int32_t ORVJSON_CALL orvjson_set_null(orvjson_handle handle, const char* key, size_t key_length);
ORVJSON_API int32_t ORVJSON_CALL orvjson_set_int(orvjson_handle handle, const char* key, size_t key_length,
                                                 int32_t value);
ORVJSON_API int32_t ORVJSON_CALL orvjson_set_uint(orvjson_handle handle, const char* key, size_t key_length,
                                                  uint32_t value);
/* 0 stores false, anything else true. */
ORVJSON_API int32_t ORVJSON_CALL orvjson_set_bool(orvjson_handle handle, const char* key, size_t key_length,
                                                  int32_t value);
/* Stored as the double equal to the float. */
ORVJSON_API int32_t ORVJSON_CALL orvjson_set_float(orvjson_handle handle, const char* key, size_t key_length,
                                                   float value);
/* NaN and infinity are stored too; the document then has no text. */
ORVJSON_API int32_t ORVJSON_CALL orvjson_set_double(orvjson_handle handle, const char* key, size_t key_length,
                                                    double value);
ORVJSON_API int32_t ORVJSON_CALL orvjson_set_string(orvjson_handle handle, const char* key, size_t key_length,
                                                    const char* value, size_t value_length);
/* Arrays of numbers (bytes unsigned) and of strings (values[i] holds
 * lengths[i] bytes). */
ORVJSON_API int32_t ORVJSON_CALL orvjson_set_uint8_array(orvjson_handle handle, const char* key, size_t key_length,
                                                         const uint8_t* values, size_t count);
ORVJSON_API int32_t ORVJSON_CALL orvjson_set_int16_array(orvjson_handle handle, const char* key, size_t key_length,
                                                         const int16_t* values, size_t count);
ORVJSON_API int32_t ORVJSON_CALL orvjson_set_int32_array(orvjson_handle handle, const char* key, size_t key_length,
                                                         const int32_t* values, size_t count);
ORVJSON_API int32_t ORVJSON_CALL orvjson_set_double_array(orvjson_handle handle, const char* key, size_t key_length,
                                                          const double* values, size_t count);
ORVJSON_API int32_t ORVJSON_CALL orvjson_set_string_array(orvjson_handle handle, const char* key, size_t key_length,
                                                          const char* const* values, const size_t* lengths,
                                                          size_t count);
/* Appends a copy of the document of source (any kind of root), which is only
 * read. A source holding NaN or infinity, or nested so deep that the copy
 * would pass the limit of 1000 levels, is copied as null. */
ORVJSON_API int32_t ORVJSON_CALL orvjson_set_copy(orvjson_handle handle, const char* key, size_t key_length,
                                                  orvjson_handle source);
/* One member per source, all named key, in order. Every source is checked
 * before the first member is added: ORVJSON_BAD_HANDLE adds nothing. */
ORVJSON_API int32_t ORVJSON_CALL orvjson_set_copies(orvjson_handle handle, const char* key, size_t key_length,
                                                    const orvjson_handle* sources, size_t count);

/* ---------------------------------------------------------------------------
 * Keyed getters: read the first member whose name is exactly the key's bytes.
 * ORVJSON_NOT_FOUND when there is none; ORVJSON_WRONG_KIND when the root is
 * not an object or the member is of another kind; ORVJSON_OUT_OF_RANGE when
 * it is a number of the right kind outside the output's range. No getter
 * converts between integers and doubles.
 * ------------------------------------------------------------------------ */

/* Integers from -2^31 to 2^31-1, and null (read as 0). */
ORVJSON_API int32_t ORVJSON_CALL orvjson_get_int(orvjson_handle handle, const char* key, size_t key_length,
                                                 int32_t* value);
/* Integers from 0 to 2^32-1. */
ORVJSON_API int32_t ORVJSON_CALL orvjson_get_uint(orvjson_handle handle, const char* key, size_t key_length,
                                                  uint32_t* value);
/* Doubles within +-3.4028234e38, to the nearest float. */
ORVJSON_API int32_t ORVJSON_CALL orvjson_get_float(orvjson_handle handle, const char* key, size_t key_length,
                                                   float* value);
/* Doubles: a number written 5 is an integer, one written 5.0 a double. */
ORVJSON_API int32_t ORVJSON_CALL orvjson_get_double(orvjson_handle handle, const char* key, size_t key_length,
                                                    double* value);
/* true (1) and false (0). */
ORVJSON_API int32_t ORVJSON_CALL orvjson_get_bool(orvjson_handle handle, const char* key, size_t key_length,
                                                  int32_t* value);
/* Every byte of a string, NUL bytes included; see WHO FREES WHAT. */
ORVJSON_API int32_t ORVJSON_CALL orvjson_get_string(orvjson_handle handle, const char* key, size_t key_length,
                                                    char* buffer, size_t capacity, size_t* length);
/* is_null: 1 when the member is null, else 0. */
ORVJSON_API int32_t ORVJSON_CALL orvjson_is_null(orvjson_handle handle, const char* key, size_t key_length,
                                                 int32_t* is_null);

/* Array members, one element after another into values. With too small a
 * capacity: ORVJSON_BUFFER_TOO_SMALL, nothing written, count = the array's
 * length. An element of another kind or out of range ends the call with
 * ORVJSON_WRONG_KIND or ORVJSON_OUT_OF_RANGE; count then says how many
 * elements before it were written. An empty array gives ORVJSON_OK and a
 * count of 0. */
ORVJSON_API int32_t ORVJSON_CALL orvjson_get_uint8_array(orvjson_handle handle, const char* key, size_t key_length,
                                                         uint8_t* values, size_t capacity, size_t* count);
ORVJSON_API int32_t ORVJSON_CALL orvjson_get_int16_array(orvjson_handle handle, const char* key, size_t key_length,
                                                         int16_t* values, size_t capacity, size_t* count);
ORVJSON_API int32_t ORVJSON_CALL orvjson_get_int32_array(orvjson_handle handle, const char* key, size_t key_length,
                                                         int32_t* values, size_t capacity, size_t* count);
/* Elements stored as doubles only, as orvjson_get_double. */
ORVJSON_API int32_t ORVJSON_CALL orvjson_get_double_array(orvjson_handle handle, const char* key, size_t key_length,
                                                          double* values, size_t capacity, size_t* count);
/* The strings one after another into bytes, element i's length in
 * lengths[i]. ORVJSON_BUFFER_TOO_SMALL (nothing written) when either buffer
 * is too small: count and total_bytes then give the sizes needed. */
ORVJSON_API int32_t ORVJSON_CALL orvjson_get_string_array(orvjson_handle handle, const char* key, size_t key_length,
                                                          char* bytes, size_t bytes_capacity, size_t* lengths,
                                                          size_t lengths_capacity, size_t* count, size_t* total_bytes);
/* Copies an object or array member into target, whose root it becomes.
 * target may be handle itself. */
ORVJSON_API int32_t ORVJSON_CALL orvjson_get_copy(orvjson_handle handle, const char* key, size_t key_length,
                                                  orvjson_handle target);

/* ---------------------------------------------------------------------------
 * Root-array access by index: ORVJSON_WRONG_KIND when the root is not an
 * array or the element is of another kind; ORVJSON_OUT_OF_RANGE for an index
 * past the end.
 * ------------------------------------------------------------------------ */

/* Integers from -2^31 to 2^31-1 (keeping their low 16 bits), true (1),
 * false (0) and null (0). */
ORVJSON_API int32_t ORVJSON_CALL orvjson_get_int16_at(orvjson_handle handle, size_t index, int16_t* value);
/* Integers from -2^31 to 2^31-1, true (1) and false (0). */
ORVJSON_API int32_t ORVJSON_CALL orvjson_get_int_at(orvjson_handle handle, size_t index, int32_t* value);
ORVJSON_API int32_t ORVJSON_CALL orvjson_get_float_at(orvjson_handle handle, size_t index, float* value);
ORVJSON_API int32_t ORVJSON_CALL orvjson_get_double_at(orvjson_handle handle, size_t index, double* value);
ORVJSON_API int32_t ORVJSON_CALL orvjson_get_bool_at(orvjson_handle handle, size_t index, int32_t* value);
ORVJSON_API int32_t ORVJSON_CALL orvjson_get_string_at(orvjson_handle handle, size_t index, char* buffer,
                                                       size_t capacity, size_t* length);
ORVJSON_API int32_t ORVJSON_CALL orvjson_is_null_at(orvjson_handle handle, size_t index, int32_t* is_null);
/* Copies an object element into target, whose root it becomes. */
ORVJSON_API int32_t ORVJSON_CALL orvjson_get_copy_at(orvjson_handle handle, size_t index, orvjson_handle target);

/* ---------------------------------------------------------------------------
 * Kinds and member lists
 * ------------------------------------------------------------------------ */

/* The item type of an element of an array root (ORVJSON_ITEM_NULL for null). */
ORVJSON_API int32_t ORVJSON_CALL orvjson_item_type_at(orvjson_handle handle, size_t index, int32_t* type);
/* The item type of the first element of the array that is element index of
 * an array root; ORVJSON_OUT_OF_RANGE when that array is empty. */
ORVJSON_API int32_t ORVJSON_CALL orvjson_first_item_type_at(orvjson_handle handle, size_t index, int32_t* type);
/* The item type of the first element of the array member key. */
ORVJSON_API int32_t ORVJSON_CALL orvjson_first_item_type(orvjson_handle handle, const char* key, size_t key_length,
                                                         int32_t* type);
/* Entry index of the document's list: for an object root, member index's
 * whole name and its member type; for an array root, an empty name and the
 * element's kind. ORVJSON_WRONG_KIND for another root. Reading entries 0 to
 * orvjson_members() - 1 lists the document. */
ORVJSON_API int32_t ORVJSON_CALL orvjson_tag_at(orvjson_handle handle, size_t index, char* name, size_t capacity,
                                                size_t* name_length, int32_t* type);

#ifdef __cplusplus
}
#endif

#endif /* ORVJSON_C_H */
