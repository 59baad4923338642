/* A C host without any C runtime, as a compiler for the MSVC ABI builds one
 * when Microsoft's libraries are not at hand (clang --target=*-windows-msvc
 * -ffreestanding, linked by lld-link with /nodefaultlib): only orvjson.lib
 * and the three kernel32 functions it declares itself. It prints the text of
 * a document it built and exits 0, or exits 1 at the first refusal. */
#include "orvjson_c.h"

__declspec(dllimport) void* __stdcall GetStdHandle(unsigned long which);
__declspec(dllimport) int __stdcall WriteFile(void* file, const void* data, unsigned long size, unsigned long* written,
                                              void* overlapped);
__declspec(dllimport) void __stdcall ExitProcess(unsigned int code);

static void Print(const char* text, size_t length) {
  unsigned long written = 0;
  WriteFile(GetStdHandle((unsigned long)-11), text, (unsigned long)length, &written, 0);
}

void __cdecl mainCRTStartup(void) {
  orvjson_handle doc = 0;
  char text[64];
  size_t length = 0;
  int32_t answer = 0;
  int ok = orvjson_create(&doc) == ORVJSON_OK;
  ok = ok && orvjson_set_int(doc, "answer", 6, 42) == ORVJSON_OK;
  ok = ok && orvjson_get_int(doc, "answer", 6, &answer) == ORVJSON_OK && answer == 42;
  ok = ok && orvjson_get_int(doc, "absent", 6, &answer) == ORVJSON_NOT_FOUND;
  ok = ok && orvjson_text(doc, text, sizeof text, &length) == ORVJSON_OK;
  if (ok) {
    Print(text, length);
    Print("\n", 1);
  }
  ok = ok && orvjson_release(doc) == ORVJSON_OK && orvjson_release(doc) == ORVJSON_BAD_HANDLE;
  ExitProcess(ok ? 0 : 1);
}
