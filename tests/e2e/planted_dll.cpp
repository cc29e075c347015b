// Test helper: a DLL that leaves a mark when any process loads it. Planted
// beside fix_pruxa.exe under the names of DLLs that a runtime might look
// for, it shows that the program loads none of them.
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    HANDLE mark = CreateFileA("C:\\e2e\\planted-dll-loaded", GENERIC_WRITE, 0,
                              nullptr, CREATE_ALWAYS, 0, nullptr);
    if (mark != INVALID_HANDLE_VALUE)
      CloseHandle(mark);
  }
  return TRUE;
}
