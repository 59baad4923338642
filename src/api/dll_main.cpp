// The DLL's load and unload hook. The one thing done at load is to reserve
// the low address space for the objects behind handles, before a host that
// is large-address-aware (or 64-bit) can take it for itself.
#ifdef _WIN32
#include <windows.h>

#include "../json/object_slots.h"

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) orv::ObjectSlots::ReserveEarly();
  return TRUE;
}
#endif
