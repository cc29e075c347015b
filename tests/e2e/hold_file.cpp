// Test helper: keeps a file open, as another program would, until told to
// let go. Usage: hold_file PATH READY-FLAG STOP-FLAG [read]
// Without "read" the file is opened for writing with no sharing at all;
// with it, for reading with read sharing only (no delete sharing).
#include <windows.h>

int main(int argc, char **argv) {
  if (argc < 4)
    return 2;
  bool reading = argc > 4 && lstrcmpA(argv[4], "read") == 0;
  HANDLE file = CreateFileA(
      argv[1], reading ? GENERIC_READ : GENERIC_READ | GENERIC_WRITE,
      reading ? FILE_SHARE_READ : 0, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE)
    return 3;
  HANDLE ready =
      CreateFileA(argv[2], GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
  CloseHandle(ready);
  for (int i = 0; i < 6000; ++i) { // at most a minute
    if (GetFileAttributesA(argv[3]) != INVALID_FILE_ATTRIBUTES)
      break;
    Sleep(10);
  }
  CloseHandle(file);
  return 0;
}
