// The DLL's load and unload hook. The library keeps no global state, so
// there is nothing to set up or tear down.
#ifdef _WIN32
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
#endif
