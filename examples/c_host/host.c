/* A C host: build a document, save it, load it back, read it with the typed
 * getters and list its members, through the C interface. Any C compiler
 * builds it: gcc or clang against liborvjson.so, MinGW against
 * liborvjson.dll.a, MSVC or clang-cl against orvjson.lib.
 *
 *   host [FILE]    saves to FILE (host-output.json by default) */
#include <stdio.h>
#include <string.h>

#include "orvjson_c.h"

/* Stops at the first refusal, saying which call and why. */
#define TRY(call)                                                             \
  do {                                                                        \
    const int32_t result_ = (call);                                           \
    if (result_ != ORVJSON_OK) {                                              \
      fprintf(stderr, "host: %s: %s\n", #call, orvjson_result_text(result_)); \
      return 1;                                                               \
    }                                                                         \
  } while (0)

/* A key given as a C string. */
#define KEY(text) text, strlen(text)

int main(int argc, char** argv) {
  const char* path = argc > 1 ? argv[1] : "host-output.json";
  static const double readings[] = {12.5, 15.0, -3.25};
  orvjson_handle doc = 0, loaded = 0;
  double values[8];
  char text[256], name[32];
  size_t count = 0, length = 0, i;
  int32_t has_bom = 0, type = 0, answer = 0;

  printf("OrvJson %s\n", orvjson_version());
  TRY(orvjson_create(&doc));
  TRY(orvjson_set_string(doc, KEY("station"), KEY("Z\xC3\xBCrich")));
  TRY(orvjson_set_int(doc, KEY("answer"), 42));
  TRY(orvjson_set_double_array(doc, KEY("readings"), readings, 3));
  TRY(orvjson_save_file(doc, KEY(path)));

  TRY(orvjson_create(&loaded));
  TRY(orvjson_load_file(loaded, KEY(path), &has_bom));
  TRY(orvjson_text(loaded, text, sizeof text, &length));
  printf("saved and loaded %s: %.*s\n", path, (int)length, text);
  TRY(orvjson_get_int(loaded, KEY("answer"), &answer));
  TRY(orvjson_get_double_array(loaded, KEY("readings"), values, 8, &count));
  printf("answer %d, %u readings, the last %g\n", (int)answer, (unsigned)count, values[count - 1]);
  TRY(orvjson_members(loaded, &count));
  for (i = 0; i < count; ++i) {
    TRY(orvjson_tag_at(loaded, i, name, sizeof name, &length, &type));
    printf("  %.*s: type %d\n", (int)length, name, (int)type);
  }
  /* A refusal says why. */
  if (orvjson_load_text(loaded, KEY("{\"a\": 1,,}")) == ORVJSON_INVALID_TEXT) {
    size_t offset = 0, line = 0, column = 0;
    const char* message = NULL;
    TRY(orvjson_load_error(loaded, &offset, &line, &column, &message));
    printf("refused at %u:%u: %s\n", (unsigned)line, (unsigned)column, message);
  }
  TRY(orvjson_release(loaded));
  TRY(orvjson_release(doc));
  return 0;
}
