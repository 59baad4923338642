/* The C interface, from C: every function and every result code. */
#include <math.h>
#include <stdio.h>
#include <string.h>

#include "orvjson_c.h"

#ifdef _WIN32
#include <wchar.h>
#endif

static int failures = 0;

#define CHECK(condition)                                                      \
  do {                                                                        \
    if (!(condition)) {                                                       \
      fprintf(stderr, "%s:%d: failed: %s\n", __FILE__, __LINE__, #condition); \
      ++failures;                                                             \
    }                                                                         \
  } while (0)

#define EXPECT(call, expected)                                                                                  \
  do {                                                                                                          \
    const int32_t got_ = (call);                                                                                \
    if (got_ != (expected)) {                                                                                   \
      fprintf(stderr, "%s:%d: %s\n  gave %s\n  not %s\n", __FILE__, __LINE__, #call, orvjson_result_text(got_), \
              orvjson_result_text(expected));                                                                   \
      ++failures;                                                                                               \
    }                                                                                                           \
  } while (0)

/* A key or string literal and its length. */
#define K(literal) literal, sizeof(literal) - 1

static orvjson_handle Loaded(const char* text) {
  orvjson_handle h = 0;
  EXPECT(orvjson_create(&h), ORVJSON_OK);
  EXPECT(orvjson_load_text(h, text, strlen(text)), ORVJSON_OK);
  return h;
}

static void TheVersionAndEveryResultHaveANameOfTheirOwn(void) {
  static const char* const names[] = {"ORVJSON_OK",          "ORVJSON_BAD_HANDLE",  "ORVJSON_BAD_ARGUMENT",
                                      "ORVJSON_NOT_FOUND",   "ORVJSON_WRONG_KIND",  "ORVJSON_OUT_OF_RANGE",
                                      "ORVJSON_NO_MEMORY",   "ORVJSON_TOO_LARGE",   "ORVJSON_INVALID_TEXT",
                                      "ORVJSON_CANNOT_READ", "ORVJSON_CANNOT_SAVE", "ORVJSON_BUFFER_TOO_SMALL",
                                      "ORVJSON_NO_TEXT"};
  int32_t code;
  CHECK(strcmp(orvjson_version(), ORVJSON_VERSION) == 0);
  for (code = 0; code < (int32_t)(sizeof names / sizeof names[0]); ++code) {
    const char* text = orvjson_result_text(code);
    CHECK(strncmp(text, names[code], strlen(names[code])) == 0 && text[strlen(names[code])] == ':');
  }
  CHECK(strcmp(orvjson_result_text(99), "unknown result") == 0);
}

static void ALifeFromCreateToRelease(void) {
  orvjson_handle h = 0;
  size_t count = 99;
  EXPECT(orvjson_create(&h), ORVJSON_OK);
  CHECK(h > 0 && (uintptr_t)h < 0x80000000u);
  EXPECT(orvjson_test(h), ORVJSON_OK);
  EXPECT(orvjson_members(h, &count), ORVJSON_OK);
  CHECK(count == 0);
  EXPECT(orvjson_set_int(h, K("a"), 1), ORVJSON_OK);
  EXPECT(orvjson_set_int(h, K("a"), 2), ORVJSON_OK);
  EXPECT(orvjson_members(h, &count), ORVJSON_OK);
  CHECK(count == 2);
  EXPECT(orvjson_clear(h), ORVJSON_OK);
  EXPECT(orvjson_members(h, &count), ORVJSON_OK);
  CHECK(count == 0);
  EXPECT(orvjson_release(h), ORVJSON_OK);
  EXPECT(orvjson_release(h), ORVJSON_BAD_HANDLE);
  EXPECT(orvjson_test(h), ORVJSON_BAD_HANDLE);
  EXPECT(orvjson_create(NULL), ORVJSON_BAD_ARGUMENT);
}

/* Every function with handle and arguments that are otherwise fine; with a
 * null pointer in place of pointer argument `null_at` (0: none). Returns
 * -1 once which passes the last function. */
static int32_t Call(int which, orvjson_handle h, int null_at, orvjson_handle other) {
  char buffer[64];
  char* b = null_at == 1 ? NULL : buffer;
  size_t n = 0;
  size_t* pn = null_at == 2 ? NULL : &n;
  int32_t i = 0;
  int32_t* pi = null_at == 3 ? NULL : &i;
  const char* key = null_at == 4 ? NULL : "k";
  const char* msg = NULL;
  const char** pmsg = null_at == 5 ? NULL : &msg;
  uint8_t u8[2] = {1, 2};
  int16_t i16[2] = {1, 2};
  int32_t i32[2] = {1, 2};
  uint32_t u32 = 0;
  float f = 0;
  double d[2] = {1.5, 2.5};
  const char* strings[1] = {"s"};
  size_t lengths[1] = {1};
  orvjson_handle others[1];
  others[0] = other;
  switch (which) {
    case 0:
      return orvjson_members(h, pn);
    case 1:
      return orvjson_load_text(h, null_at == 1 ? NULL : "{}", 2);
    case 2:
      return orvjson_load_file(h, null_at == 1 ? NULL : "absent.json", 11, pi);
    case 3:
      return orvjson_load_error(h, pn, pn, pn, pmsg);
    case 4:
      return orvjson_text(h, b, sizeof buffer, pn);
    case 5:
      return orvjson_save_file(h, null_at == 1 ? NULL : "c-call.json", 11);
    case 6:
      return orvjson_set_null(h, key, 1);
    case 7:
      return orvjson_set_int(h, key, 1, 1);
    case 8:
      return orvjson_set_uint(h, key, 1, 1);
    case 9:
      return orvjson_set_bool(h, key, 1, 1);
    case 10:
      return orvjson_set_float(h, key, 1, 1.0f);
    case 11:
      return orvjson_set_double(h, key, 1, 1.0);
    case 12:
      return orvjson_set_string(h, key, 1, null_at == 1 ? NULL : "v", 1);
    case 13:
      return orvjson_set_uint8_array(h, key, 1, null_at == 1 ? NULL : u8, 2);
    case 14:
      return orvjson_set_int16_array(h, key, 1, null_at == 1 ? NULL : i16, 2);
    case 15:
      return orvjson_set_int32_array(h, key, 1, null_at == 1 ? NULL : i32, 2);
    case 16:
      return orvjson_set_double_array(h, key, 1, null_at == 1 ? NULL : d, 2);
    case 17:
      return orvjson_set_string_array(h, key, 1, null_at == 1 ? NULL : strings, null_at == 2 ? NULL : lengths, 1);
    case 18:
      return orvjson_set_copy(h, key, 1, other);
    case 19:
      return orvjson_set_copies(h, key, 1, null_at == 1 ? NULL : others, 1);
    case 20:
      return orvjson_get_int(h, key, 1, pi);
    case 21:
      return orvjson_get_uint(h, key, 1, null_at == 3 ? NULL : &u32);
    case 22:
      return orvjson_get_float(h, key, 1, null_at == 3 ? NULL : &f);
    case 23:
      return orvjson_get_double(h, key, 1, null_at == 3 ? NULL : d);
    case 24:
      return orvjson_get_bool(h, key, 1, pi);
    case 25:
      return orvjson_get_string(h, key, 1, b, sizeof buffer, pn);
    case 26:
      return orvjson_is_null(h, key, 1, pi);
    case 27:
      return orvjson_get_uint8_array(h, key, 1, null_at == 1 ? NULL : u8, 2, pn);
    case 28:
      return orvjson_get_int16_array(h, key, 1, null_at == 1 ? NULL : i16, 2, pn);
    case 29:
      return orvjson_get_int32_array(h, key, 1, null_at == 1 ? NULL : i32, 2, pn);
    case 30:
      return orvjson_get_double_array(h, key, 1, null_at == 1 ? NULL : d, 2, pn);
    case 31:
      return orvjson_get_string_array(h, key, 1, b, sizeof buffer, null_at == 3 ? NULL : lengths, 1, pn, pn);
    case 32:
      return orvjson_get_copy(h, key, 1, other);
    case 33:
      return orvjson_get_int16_at(h, 0, null_at == 3 ? NULL : i16);
    case 34:
      return orvjson_get_int_at(h, 0, pi);
    case 35:
      return orvjson_get_float_at(h, 0, null_at == 3 ? NULL : &f);
    case 36:
      return orvjson_get_double_at(h, 0, null_at == 3 ? NULL : d);
    case 37:
      return orvjson_get_bool_at(h, 0, pi);
    case 38:
      return orvjson_get_string_at(h, 0, b, sizeof buffer, pn);
    case 39:
      return orvjson_is_null_at(h, 0, pi);
    case 40:
      return orvjson_get_copy_at(h, 0, other);
    case 41:
      return orvjson_item_type_at(h, 0, pi);
    case 42:
      return orvjson_first_item_type_at(h, 0, pi);
    case 43:
      return orvjson_first_item_type(h, key, 1, pi);
    case 44:
      return orvjson_tag_at(h, 0, b, sizeof buffer, pn, pi);
    case 45:
      return orvjson_test(h);
    case 46:
      return orvjson_clear(h);
    case 47:
      return orvjson_release(h);
    default:
      return -1;
  }
}

static void EveryFunctionRefusesAHandleThatNamesNoDocument(void) {
  orvjson_handle released = 0, other = 0, live = 0;
  static const char stranger = 0;
  orvjson_handle bad[6];
  int which, n, count = 5;
  /* Released last: the next document made would take its place. */
  EXPECT(orvjson_create(&other), ORVJSON_OK);
  EXPECT(orvjson_create(&live), ORVJSON_OK);
  EXPECT(orvjson_create(&released), ORVJSON_OK);
  EXPECT(orvjson_release(released), ORVJSON_OK);
  bad[0] = 0;
  bad[1] = -1;
  bad[2] = released;
  bad[3] = (orvjson_handle)(((uintptr_t)&stranger) & 0x7FFFFFFF);
  bad[4] = released + 8;
#if INTPTR_MAX > 0x7FFFFFFF
  bad[count++] = live + ((orvjson_handle)1 << 32); /* a live handle's low half */
#endif
  for (n = 0; n < count; ++n) {
    for (which = 0; Call(which, bad[n], 0, other) != -1; ++which) {
      EXPECT(Call(which, bad[n], 0, other), ORVJSON_BAD_HANDLE);
    }
  }
  /* A bad source or target of a copy, with a good handle. */
  EXPECT(orvjson_set_copy(live, K("k"), released), ORVJSON_BAD_HANDLE);
  EXPECT(orvjson_set_copies(live, K("k"), &released, 1), ORVJSON_BAD_HANDLE);
  EXPECT(orvjson_get_copy(live, K("k"), 0), ORVJSON_BAD_HANDLE);
  EXPECT(orvjson_get_copy_at(live, 0, -5), ORVJSON_BAD_HANDLE);
  EXPECT(orvjson_release(live), ORVJSON_OK);
  EXPECT(orvjson_release(other), ORVJSON_OK);
}

static void EveryPointerArgumentRefusesNull(void) {
  orvjson_handle h = Loaded("{\"k\":[1]}"), other = Loaded("[{}]");
  int which, null_at, refused = 0;
  size_t count = 99;
  for (which = 0; which < 45; ++which) {
    for (null_at = 1; null_at <= 5; ++null_at) {
      const int32_t result = Call(which, h, null_at, other);
      const int32_t clean = Call(which, h, 0, other);
      /* Calls without such a pointer give what they give with none. */
      CHECK(result == ORVJSON_BAD_ARGUMENT || result == clean);
      refused += result == ORVJSON_BAD_ARGUMENT;
    }
  }
  /* Every pointer argument of the 45 functions that take one. */
  CHECK(refused == 78);
  /* Nothing was added by a refused setter: only the setters of the clean
   * calls (14 of them) and the loads changed the document. */
  EXPECT(orvjson_load_text(h, K("{\"k\":[1]}")), ORVJSON_OK);
  EXPECT(orvjson_set_int(h, NULL, 1, 5), ORVJSON_BAD_ARGUMENT);
  EXPECT(orvjson_members(h, &count), ORVJSON_OK);
  CHECK(count == 1);
  /* A length that runs past the end of memory. */
  EXPECT(orvjson_set_int(h, "k", (size_t)-1, 5), ORVJSON_BAD_ARGUMENT);
  EXPECT(orvjson_release(h), ORVJSON_OK);
  EXPECT(orvjson_release(other), ORVJSON_OK);
}

/* What each keyed getter makes of each kind of member. */
static void EachGetterAcceptsItsKindsAndSaysWhyItRefusesTheRest(void) {
  enum { kInt, kUint, kFloat, kDouble, kBool, kString, kNull, kGetters };
  static const struct {
    const char* key;
    int32_t expected[kGetters];
  } cases[] = {
      {"i",
       {ORVJSON_OK, ORVJSON_OK, ORVJSON_WRONG_KIND, ORVJSON_WRONG_KIND, ORVJSON_WRONG_KIND, ORVJSON_WRONG_KIND,
        ORVJSON_OK}},
      {"neg",
       {ORVJSON_OK, ORVJSON_OUT_OF_RANGE, ORVJSON_WRONG_KIND, ORVJSON_WRONG_KIND, ORVJSON_WRONG_KIND,
        ORVJSON_WRONG_KIND, ORVJSON_OK}},
      {"big",
       {ORVJSON_OUT_OF_RANGE, ORVJSON_OK, ORVJSON_WRONG_KIND, ORVJSON_WRONG_KIND, ORVJSON_WRONG_KIND,
        ORVJSON_WRONG_KIND, ORVJSON_OK}},
      {"huge",
       {ORVJSON_OUT_OF_RANGE, ORVJSON_OUT_OF_RANGE, ORVJSON_WRONG_KIND, ORVJSON_WRONG_KIND, ORVJSON_WRONG_KIND,
        ORVJSON_WRONG_KIND, ORVJSON_OK}},
      {"d",
       {ORVJSON_WRONG_KIND, ORVJSON_WRONG_KIND, ORVJSON_OK, ORVJSON_OK, ORVJSON_WRONG_KIND, ORVJSON_WRONG_KIND,
        ORVJSON_OK}},
      {"e39",
       {ORVJSON_WRONG_KIND, ORVJSON_WRONG_KIND, ORVJSON_OUT_OF_RANGE, ORVJSON_OK, ORVJSON_WRONG_KIND,
        ORVJSON_WRONG_KIND, ORVJSON_OK}},
      {"b",
       {ORVJSON_WRONG_KIND, ORVJSON_WRONG_KIND, ORVJSON_WRONG_KIND, ORVJSON_WRONG_KIND, ORVJSON_OK, ORVJSON_WRONG_KIND,
        ORVJSON_OK}},
      {"s",
       {ORVJSON_WRONG_KIND, ORVJSON_WRONG_KIND, ORVJSON_WRONG_KIND, ORVJSON_WRONG_KIND, ORVJSON_WRONG_KIND, ORVJSON_OK,
        ORVJSON_OK}},
      {"n",
       {ORVJSON_OK, ORVJSON_WRONG_KIND, ORVJSON_WRONG_KIND, ORVJSON_WRONG_KIND, ORVJSON_WRONG_KIND, ORVJSON_WRONG_KIND,
        ORVJSON_OK}},
      {"missing",
       {ORVJSON_NOT_FOUND, ORVJSON_NOT_FOUND, ORVJSON_NOT_FOUND, ORVJSON_NOT_FOUND, ORVJSON_NOT_FOUND,
        ORVJSON_NOT_FOUND, ORVJSON_NOT_FOUND}},
  };
  orvjson_handle h = Loaded(
      "{\"i\":7,\"neg\":-1,\"big\":3000000000,\"huge\":-10000000000,\"d\":2.5,\"e39\":1e39,\"b\":true,"
      "\"s\":\"a\\u0000b\",\"n\":null}");
  orvjson_handle list = Loaded("[1]");
  size_t c;
  for (c = 0; c < sizeof cases / sizeof cases[0]; ++c) {
    const char* key = cases[c].key;
    const size_t length = strlen(key);
    int32_t i = -9, is_null = -9;
    uint32_t u = 9;
    float f = -9;
    double d = -9;
    char text[8];
    size_t text_length = 0;
    EXPECT(orvjson_get_int(h, key, length, &i), cases[c].expected[kInt]);
    EXPECT(orvjson_get_uint(h, key, length, &u), cases[c].expected[kUint]);
    EXPECT(orvjson_get_float(h, key, length, &f), cases[c].expected[kFloat]);
    EXPECT(orvjson_get_double(h, key, length, &d), cases[c].expected[kDouble]);
    EXPECT(orvjson_get_bool(h, key, length, &i), cases[c].expected[kBool]);
    EXPECT(orvjson_get_string(h, key, length, text, sizeof text, &text_length), cases[c].expected[kString]);
    EXPECT(orvjson_is_null(h, key, length, &is_null), cases[c].expected[kNull]);
    CHECK(is_null == (c == 8 ? 1 : c == 9 ? -9 : 0));
  }
  {
    int32_t i = 0, b = 0;
    uint32_t u = 0;
    float f = 0;
    double d = 0;
    char text[4];
    size_t length = 0;
    EXPECT(orvjson_get_int(h, K("n"), &i), ORVJSON_OK);
    CHECK(i == 0);
    EXPECT(orvjson_get_uint(h, K("big"), &u), ORVJSON_OK);
    CHECK(u == 3000000000u);
    EXPECT(orvjson_get_float(h, K("d"), &f), ORVJSON_OK);
    CHECK(f == 2.5f);
    EXPECT(orvjson_get_double(h, K("e39"), &d), ORVJSON_OK);
    CHECK(d == (double)1e39); /* the cast drops the excess precision of x87 constants */
    EXPECT(orvjson_get_bool(h, K("b"), &b), ORVJSON_OK);
    CHECK(b == 1);
    /* Strings come out whole, NUL included; a NUL follows when there is room. */
    EXPECT(orvjson_get_string(h, K("s"), text, sizeof text, &length), ORVJSON_OK);
    CHECK(length == 3 && memcmp(text, "a\0b\0", 4) == 0);
    EXPECT(orvjson_get_string(h, K("s"), text, 2, &length), ORVJSON_BUFFER_TOO_SMALL);
    CHECK(length == 3 && text[0] == 'a');
    EXPECT(orvjson_get_string(h, K("s"), NULL, 0, &length), ORVJSON_BUFFER_TOO_SMALL);
    CHECK(length == 3);
    /* Keys are all their bytes. */
    EXPECT(orvjson_set_int(list, K("k"), 1), ORVJSON_WRONG_KIND);
    EXPECT(orvjson_get_int(list, K("k"), &i), ORVJSON_WRONG_KIND);
  }
  EXPECT(orvjson_release(h), ORVJSON_OK);
  EXPECT(orvjson_release(list), ORVJSON_OK);
}

static void SettersStoreEachKindAsTheirTextShows(void) {
  orvjson_handle h = 0;
  char text[256];
  size_t length = 0;
  static const uint8_t bytes[] = {0, 127, 128, 255};
  static const int16_t shorts[] = {-1, 32767};
  static const int32_t ints[] = {-2147483647 - 1, 7};
  static const double doubles[] = {0.1, 2.0};
  static const char* const strings[] = {"", "a\0b"};
  static const size_t lengths[] = {0, 3};
  static const char expected[] =
      "{\"n\":null,\"i\":-5,\"u\":4294967295,\"b\":false,\"f\":0.10000000149011612,\"d\":1.0,"
      "\"s\":\"x\\u0000y\",\"k\\u0000ey\":1,\"bytes\":[0,127,128,255],\"shorts\":[-1,32767],"
      "\"ints\":[-2147483648,7],\"doubles\":[0.1,2.0],\"strings\":[\"\",\"a\\u0000b\"]}";
  EXPECT(orvjson_create(&h), ORVJSON_OK);
  EXPECT(orvjson_set_null(h, K("n")), ORVJSON_OK);
  EXPECT(orvjson_set_int(h, K("i"), -5), ORVJSON_OK);
  EXPECT(orvjson_set_uint(h, K("u"), 4294967295u), ORVJSON_OK);
  EXPECT(orvjson_set_bool(h, K("b"), 0), ORVJSON_OK);
  EXPECT(orvjson_set_float(h, K("f"), 0.1f), ORVJSON_OK);
  EXPECT(orvjson_set_double(h, K("d"), 1.0), ORVJSON_OK);
  EXPECT(orvjson_set_string(h, K("s"), K("x\0y")), ORVJSON_OK);
  EXPECT(orvjson_set_int(h, K("k\0ey"), 1), ORVJSON_OK);
  EXPECT(orvjson_set_uint8_array(h, K("bytes"), bytes, 4), ORVJSON_OK);
  EXPECT(orvjson_set_int16_array(h, K("shorts"), shorts, 2), ORVJSON_OK);
  EXPECT(orvjson_set_int32_array(h, K("ints"), ints, 2), ORVJSON_OK);
  EXPECT(orvjson_set_double_array(h, K("doubles"), doubles, 2), ORVJSON_OK);
  EXPECT(orvjson_set_string_array(h, K("strings"), strings, lengths, 2), ORVJSON_OK);
  EXPECT(orvjson_text(h, text, sizeof text, &length), ORVJSON_OK);
  CHECK(length == sizeof expected - 1 && memcmp(text, expected, length) == 0 && text[length] == '\0');
  EXPECT(orvjson_text(h, text, length - 1, &length), ORVJSON_BUFFER_TOO_SMALL);
  CHECK(length == sizeof expected - 1);
  EXPECT(orvjson_text(h, text, length, &length), ORVJSON_OK); /* exactly fits: no NUL */
  {
    int32_t i = 0;
    EXPECT(orvjson_get_int(h, K("k\0ey"), &i), ORVJSON_OK);
    CHECK(i == 1);
    EXPECT(orvjson_get_int(h, K("k"), &i), ORVJSON_NOT_FOUND);
  }
  /* NaN is stored, and the document then has no text. */
  EXPECT(orvjson_set_double(h, K("nan"), nan("")), ORVJSON_OK);
  EXPECT(orvjson_text(h, text, sizeof text, &length), ORVJSON_NO_TEXT);
  EXPECT(orvjson_save_file(h, K("c-nan.json")), ORVJSON_NO_TEXT);
  EXPECT(orvjson_release(h), ORVJSON_OK);
}

static void ArraysComeOutWholeOrSayWhereTheyStopped(void) {
  orvjson_handle h = Loaded(
      "{\"bytes\":[0,255],\"wide\":[10,256,20],\"ints\":[1,2147483648],\"doubles\":[1.5,2],\"empty\":[],"
      "\"strings\":[\"ab\",\"\",\"c\\u0000d\"],\"mixed\":[\"x\",1],\"notarray\":5}");
  uint8_t bytes[4] = {9, 9, 9, 9};
  int16_t shorts[4];
  int32_t ints[4];
  double doubles[4];
  char text[16];
  size_t lengths[4];
  size_t count = 99, total = 99;
  EXPECT(orvjson_get_uint8_array(h, K("bytes"), bytes, 4, &count), ORVJSON_OK);
  CHECK(count == 2 && bytes[0] == 0 && bytes[1] == 255 && bytes[2] == 9);
  EXPECT(orvjson_get_uint8_array(h, K("bytes"), bytes, 1, &count), ORVJSON_BUFFER_TOO_SMALL);
  CHECK(count == 2);
  EXPECT(orvjson_get_uint8_array(h, K("wide"), bytes, 4, &count), ORVJSON_OUT_OF_RANGE);
  CHECK(count == 1 && bytes[0] == 10);
  EXPECT(orvjson_get_int16_array(h, K("wide"), shorts, 4, &count), ORVJSON_OK);
  CHECK(count == 3 && shorts[1] == 256);
  EXPECT(orvjson_get_int32_array(h, K("ints"), ints, 4, &count), ORVJSON_OUT_OF_RANGE);
  CHECK(count == 1 && ints[0] == 1);
  EXPECT(orvjson_get_double_array(h, K("doubles"), doubles, 4, &count), ORVJSON_WRONG_KIND);
  CHECK(count == 1 && doubles[0] == 1.5);
  EXPECT(orvjson_get_double_array(h, K("empty"), doubles, 4, &count), ORVJSON_OK);
  CHECK(count == 0);
  EXPECT(orvjson_get_int32_array(h, K("notarray"), ints, 4, &count), ORVJSON_WRONG_KIND);
  EXPECT(orvjson_get_int32_array(h, K("absent"), ints, 4, &count), ORVJSON_NOT_FOUND);
  EXPECT(orvjson_get_string_array(h, K("strings"), text, sizeof text, lengths, 4, &count, &total), ORVJSON_OK);
  CHECK(count == 3 && total == 5 && lengths[0] == 2 && lengths[1] == 0 && lengths[2] == 3);
  CHECK(memcmp(text, "abc\0d", 5) == 0);
  EXPECT(orvjson_get_string_array(h, K("strings"), text, 4, lengths, 4, &count, &total), ORVJSON_BUFFER_TOO_SMALL);
  CHECK(count == 3 && total == 5);
  EXPECT(orvjson_get_string_array(h, K("strings"), NULL, 0, NULL, 0, &count, &total), ORVJSON_BUFFER_TOO_SMALL);
  EXPECT(orvjson_get_string_array(h, K("mixed"), text, sizeof text, lengths, 4, &count, &total), ORVJSON_WRONG_KIND);
  CHECK(count == 1 && total == 1 && lengths[0] == 1 && text[0] == 'x');
  EXPECT(orvjson_release(h), ORVJSON_OK);
}

static void IndexGettersReadAnArrayRootOnly(void) {
  orvjson_handle h = Loaded("[7,-1,70000,2.5,5,true,false,null,\"ab\",{\"k\":1},3000000000,1e39,[[1],[]]]");
  orvjson_handle object = Loaded("{}");
  int16_t s = 0;
  int32_t i = 0, b = 0, is_null = 0, type = 0;
  float f = 0;
  double d = 0;
  char text[8];
  size_t length = 0;
  EXPECT(orvjson_get_int16_at(h, 2, &s), ORVJSON_OK);
  CHECK(s == 4464);
  EXPECT(orvjson_get_int16_at(h, 7, &s), ORVJSON_OK);
  CHECK(s == 0);
  EXPECT(orvjson_get_int16_at(h, 3, &s), ORVJSON_WRONG_KIND);
  EXPECT(orvjson_get_int_at(h, 5, &i), ORVJSON_OK);
  CHECK(i == 1);
  EXPECT(orvjson_get_int_at(h, 10, &i), ORVJSON_OUT_OF_RANGE);
  EXPECT(orvjson_get_int_at(h, 7, &i), ORVJSON_WRONG_KIND);
  EXPECT(orvjson_get_int_at(h, 13, &i), ORVJSON_OUT_OF_RANGE);
  EXPECT(orvjson_get_float_at(h, 3, &f), ORVJSON_OK);
  CHECK(f == 2.5f);
  EXPECT(orvjson_get_float_at(h, 11, &f), ORVJSON_OUT_OF_RANGE);
  EXPECT(orvjson_get_double_at(h, 4, &d), ORVJSON_WRONG_KIND);
  EXPECT(orvjson_get_double_at(h, 11, &d), ORVJSON_OK);
  EXPECT(orvjson_get_bool_at(h, 6, &b), ORVJSON_OK);
  CHECK(b == 0);
  EXPECT(orvjson_get_string_at(h, 8, text, sizeof text, &length), ORVJSON_OK);
  CHECK(length == 2 && strcmp(text, "ab") == 0);
  EXPECT(orvjson_is_null_at(h, 7, &is_null), ORVJSON_OK);
  CHECK(is_null == 1);
  EXPECT(orvjson_item_type_at(h, 10, &type), ORVJSON_OK);
  CHECK(type == ORVJSON_ITEM_UINT);
  EXPECT(orvjson_item_type_at(h, 7, &type), ORVJSON_OK);
  CHECK(type == ORVJSON_ITEM_NULL);
  EXPECT(orvjson_first_item_type_at(h, 12, &type), ORVJSON_OK);
  CHECK(type == ORVJSON_ITEM_ARRAY);
  EXPECT(orvjson_first_item_type_at(h, 0, &type), ORVJSON_WRONG_KIND);
  EXPECT(orvjson_get_double_at(object, 0, &d), ORVJSON_WRONG_KIND);
  EXPECT(orvjson_release(h), ORVJSON_OK);
  h = Loaded("[[]]");
  EXPECT(orvjson_first_item_type_at(h, 0, &type), ORVJSON_OUT_OF_RANGE);
  EXPECT(orvjson_release(h), ORVJSON_OK);
  EXPECT(orvjson_release(object), ORVJSON_OK);
}

static void TagsListMembersOrElementsWithTheirCodes(void) {
  orvjson_handle h = Loaded("{\"a\":1,\"b\\u0000c\":\"x\",\"e\":null,\"h\":3000000000,\"k\":[\"x\",1],\"z\":[]}");
  orvjson_handle list = Loaded("[1,\"x\",null,true,false,{},[]]");
  static const int32_t member_types[] = {ORVJSON_MEMBER_INT_OR_NULL, ORVJSON_MEMBER_STRING, ORVJSON_MEMBER_INT_OR_NULL,
                                         ORVJSON_MEMBER_INT64,       ORVJSON_MEMBER_ARRAY,  ORVJSON_MEMBER_ARRAY};
  static const int32_t kinds[] = {ORVJSON_ELEMENT_NUMBER, ORVJSON_ELEMENT_STRING, ORVJSON_ELEMENT_NULL,
                                  ORVJSON_ELEMENT_TRUE,   ORVJSON_ELEMENT_FALSE,  ORVJSON_ELEMENT_OBJECT,
                                  ORVJSON_ELEMENT_ARRAY};
  char name[8];
  size_t length = 0, n;
  int32_t type = 0;
  orvjson_handle scalar = Loaded("5");
  for (n = 0; n < 6; ++n) {
    EXPECT(orvjson_tag_at(h, n, name, sizeof name, &length, &type), ORVJSON_OK);
    CHECK(type == member_types[n]);
  }
  EXPECT(orvjson_tag_at(h, 1, name, sizeof name, &length, &type), ORVJSON_OK);
  CHECK(length == 3 && memcmp(name, "b\0c", 4) == 0);
  EXPECT(orvjson_tag_at(h, 1, name, 2, &length, &type), ORVJSON_BUFFER_TOO_SMALL);
  EXPECT(orvjson_tag_at(h, 6, name, sizeof name, &length, &type), ORVJSON_OUT_OF_RANGE);
  for (n = 0; n < 7; ++n) {
    EXPECT(orvjson_tag_at(list, n, name, sizeof name, &length, &type), ORVJSON_OK);
    CHECK(type == kinds[n] && length == 0);
  }
  EXPECT(orvjson_tag_at(scalar, 0, name, sizeof name, &length, &type), ORVJSON_WRONG_KIND);
  EXPECT(orvjson_first_item_type(h, K("k"), &type), ORVJSON_OK);
  CHECK(type == ORVJSON_ITEM_STRING);
  EXPECT(orvjson_first_item_type(h, K("z"), &type), ORVJSON_OUT_OF_RANGE);
  EXPECT(orvjson_first_item_type(h, K("a"), &type), ORVJSON_WRONG_KIND);
  EXPECT(orvjson_first_item_type(h, K("q"), &type), ORVJSON_NOT_FOUND);
  EXPECT(orvjson_first_item_type(list, K("k"), &type), ORVJSON_WRONG_KIND);
  EXPECT(orvjson_release(h), ORVJSON_OK);
  EXPECT(orvjson_release(list), ORVJSON_OK);
  EXPECT(orvjson_release(scalar), ORVJSON_OK);
}

static void CopiesMoveDocumentsBetweenHandles(void) {
  orvjson_handle source = Loaded("{\"x\":1}"), list = Loaded("[{\"a\":1},2]"), doc = 0, target = 0;
  orvjson_handle sources[2];
  char text[64];
  size_t length = 0;
  int32_t is_null = 0;
  EXPECT(orvjson_create(&doc), ORVJSON_OK);
  EXPECT(orvjson_create(&target), ORVJSON_OK);
  sources[0] = source;
  sources[1] = list;
  EXPECT(orvjson_set_copy(doc, K("one"), source), ORVJSON_OK);
  EXPECT(orvjson_set_copies(doc, K("two"), sources, 2), ORVJSON_OK);
  EXPECT(orvjson_text(doc, text, sizeof text, &length), ORVJSON_OK);
  CHECK(strcmp(text, "{\"one\":{\"x\":1},\"two\":{\"x\":1},\"two\":[{\"a\":1},2]}") == 0);
  EXPECT(orvjson_get_copy(doc, K("two"), target), ORVJSON_OK);
  EXPECT(orvjson_text(target, text, sizeof text, &length), ORVJSON_OK);
  CHECK(strcmp(text, "{\"x\":1}") == 0);
  EXPECT(orvjson_get_copy_at(list, 0, target), ORVJSON_OK);
  EXPECT(orvjson_text(target, text, sizeof text, &length), ORVJSON_OK);
  CHECK(strcmp(text, "{\"a\":1}") == 0);
  EXPECT(orvjson_get_copy_at(list, 1, target), ORVJSON_WRONG_KIND);
  EXPECT(orvjson_get_copy_at(list, 2, target), ORVJSON_OUT_OF_RANGE);
  EXPECT(orvjson_get_copy(doc, K("zz"), target), ORVJSON_NOT_FOUND);
  EXPECT(orvjson_set_copy(list, K("k"), source), ORVJSON_WRONG_KIND);
  /* A member holding NaN has no text to copy. */
  EXPECT(orvjson_load_text(doc, K("{\"o\":{}}")), ORVJSON_OK);
  EXPECT(orvjson_set_double(source, K("nan"), nan("")), ORVJSON_OK);
  EXPECT(orvjson_set_copy(doc, K("bad"), source), ORVJSON_OK); /* stored as null */
  EXPECT(orvjson_is_null(doc, K("bad"), &is_null), ORVJSON_OK);
  CHECK(is_null == 1);
  EXPECT(orvjson_release(doc), ORVJSON_OK);
  EXPECT(orvjson_release(target), ORVJSON_OK);
  EXPECT(orvjson_release(source), ORVJSON_OK);
  EXPECT(orvjson_release(list), ORVJSON_OK);
}

static void TextLoadsAndSaysWhereItIsBroken(void) {
  orvjson_handle h = 0;
  size_t offset = 0, line = 0, column = 0, count = 0;
  const char* message = NULL;
  static char big[16];
  EXPECT(orvjson_create(&h), ORVJSON_OK);
  EXPECT(orvjson_load_error(h, &offset, &line, &column, &message), ORVJSON_NOT_FOUND);
  EXPECT(orvjson_load_text(h, K("{\"a\": 1,\n \"b\": 2,,\n \"c\": 3}")), ORVJSON_INVALID_TEXT);
  EXPECT(orvjson_load_error(h, &offset, &line, &column, &message), ORVJSON_OK);
  CHECK(line == 2 && column == 9 && offset == 17 && strcmp(message, "Missing a name for object member.") == 0);
  EXPECT(orvjson_load_text(h, K("[1e400]")), ORVJSON_INVALID_TEXT);
  EXPECT(orvjson_load_error(h, &offset, &line, &column, &message), ORVJSON_OK);
  CHECK(strstr(message, "too large for a double") != NULL);
  /* The text ends at its length or at its first NUL byte. */
  EXPECT(orvjson_load_text(h, "[1,2]garbage", 5), ORVJSON_OK);
  EXPECT(orvjson_members(h, &count), ORVJSON_OK);
  CHECK(count == 2);
  EXPECT(orvjson_load_text(h, K("[3]\0garbage")), ORVJSON_OK);
  EXPECT(orvjson_load_error(h, &offset, &line, &column, &message), ORVJSON_NOT_FOUND);
  EXPECT(orvjson_load_text(h, "", 0), ORVJSON_INVALID_TEXT);
  /* Sizes beyond a document's limits, and allocations no memory holds. */
  EXPECT(orvjson_load_text(h, K("{}")), ORVJSON_OK);
  EXPECT(orvjson_set_string(h, K("k"), big, sizeof(size_t) == 8 ? 0xFFFFFFFFu : 0x80000000u), ORVJSON_TOO_LARGE);
  EXPECT(orvjson_set_int32_array(h, K("k"), (const int32_t*)big, sizeof(size_t) == 8 ? 0xFFFFFFFFu : 0x7FFFFFFu),
         ORVJSON_NO_MEMORY);
  EXPECT(orvjson_members(h, &count), ORVJSON_OK);
  CHECK(count == 0);
  EXPECT(orvjson_load_text(h, K("null")), ORVJSON_OK);
  EXPECT(orvjson_save_file(h, K("c-null.json")), ORVJSON_WRONG_KIND);
  EXPECT(orvjson_release(h), ORVJSON_OK);
}

/* Opens a file by its UTF-8 name as the system sees it: on Windows by its
 * UTF-16 name, so that a name taken through the ANSI code page would not be
 * found. */
static FILE* OpenUtf8(const char* path_utf8, int remove_it) {
#ifdef _WIN32
  wchar_t wide[64];
  /* The test's own UTF-8 to UTF-16: its names are short and well formed. */
  size_t n = 0;
  const unsigned char* p = (const unsigned char*)path_utf8;
  while (*p) {
    unsigned long c = *p++;
    if (c >= 0xE0) {
      c = ((c & 0x0F) << 12) | ((p[0] & 0x3Fu) << 6) | (p[1] & 0x3Fu);
      p += 2;
    } else if (c >= 0xC0) {
      c = ((c & 0x1F) << 6) | (p[0] & 0x3Fu);
      p += 1;
    }
    wide[n++] = (wchar_t)c;
  }
  wide[n] = 0;
  if (remove_it) return _wremove(wide) == 0 ? NULL : NULL;
  return _wfopen(wide, L"rb");
#else
  if (remove_it) return remove(path_utf8) == 0 ? NULL : NULL;
  return fopen(path_utf8, "rb");
#endif
}

static int FileHolds(const char* path_utf8, const char* expected) {
  char bytes[64] = {0};
  size_t read = 0;
  FILE* file = OpenUtf8(path_utf8, 0);
  if (file == NULL) return 0;
  read = fread(bytes, 1, sizeof bytes - 1, file);
  fclose(file);
  return read == strlen(expected) && memcmp(bytes, expected, read) == 0;
}

static void FilesAreNamedInUtf8EverywhereAndSavedInOneStep(void) {
  static const char name[] = "J\xC3\xBCrgen-\xE6\x97\xA5\xE6\x9C\xAC.json";
  orvjson_handle h = Loaded("{\"saved\":true}"), loaded = 0;
  int32_t has_bom = 7;
  size_t count = 0;
  FILE* bom = fopen("c-bom.json", "wb");
  EXPECT(orvjson_save_file(h, K(name)), ORVJSON_OK);
  CHECK(FileHolds(name, "{\"saved\":true}"));
  EXPECT(orvjson_create(&loaded), ORVJSON_OK);
  EXPECT(orvjson_load_file(loaded, K(name), &has_bom), ORVJSON_OK);
  CHECK(has_bom == 0);
  EXPECT(orvjson_members(loaded, &count), ORVJSON_OK);
  CHECK(count == 1);
  EXPECT(orvjson_load_file(loaded, K("c-absent.json"), &has_bom), ORVJSON_CANNOT_READ);
  EXPECT(orvjson_load_file(loaded, K("c\0hidden.json"), &has_bom), ORVJSON_BAD_ARGUMENT);
#ifdef _WIN32
  EXPECT(orvjson_load_file(loaded, "\xFF.json", 6, &has_bom), ORVJSON_BAD_ARGUMENT); /* not UTF-8 */
#else
  EXPECT(orvjson_load_file(loaded, "\xFF.json", 6, &has_bom), ORVJSON_CANNOT_READ); /* names are bytes */
#endif
  CHECK(bom != NULL);
  if (bom != NULL) {
    fputs("\xEF\xBB\xBF{}", bom);
    fclose(bom);
  }
  EXPECT(orvjson_load_file(loaded, K("c-bom.json"), &has_bom), ORVJSON_INVALID_TEXT);
  CHECK(has_bom == 1);
  EXPECT(orvjson_save_file(h, K("c-missing-folder/x.json")), ORVJSON_CANNOT_SAVE);
  EXPECT(orvjson_save_file(h, "", 0), ORVJSON_BAD_ARGUMENT);
  EXPECT(orvjson_release(h), ORVJSON_OK);
  EXPECT(orvjson_release(loaded), ORVJSON_OK);
  remove("c-bom.json");
  OpenUtf8(name, 1);
}

int main(void) {
  TheVersionAndEveryResultHaveANameOfTheirOwn();
  ALifeFromCreateToRelease();
  EveryFunctionRefusesAHandleThatNamesNoDocument();
  EveryPointerArgumentRefusesNull();
  EachGetterAcceptsItsKindsAndSaysWhyItRefusesTheRest();
  SettersStoreEachKindAsTheirTextShows();
  ArraysComeOutWholeOrSayWhereTheyStopped();
  IndexGettersReadAnArrayRootOnly();
  TagsListMembersOrElementsWithTheirCodes();
  CopiesMoveDocumentsBetweenHandles();
  TextLoadsAndSaysWhereItIsBroken();
  FilesAreNamedInUtf8EverywhereAndSavedInOneStep();
  remove("c-call.json");
  if (failures > 0) {
    fprintf(stderr, "%d checks failed\n", failures);
    return 1;
  }
  printf("every check passed\n");
  return 0;
}
