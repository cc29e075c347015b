// Win32 backend of platform.h: one thin call per operation.
#include "platform/platform.h"

#include <windows.h>

#include <cstdio>
#include <share.h>

namespace {

// Keys that end the pause even though they yield no character.
bool IsFunctionCursorOrEditingKey(WORD key) {
  return (key >= VK_PRIOR && key <= VK_DOWN) || key == VK_INSERT ||
         key == VK_DELETE || (key >= VK_F1 && key <= VK_F24);
}

HANDLE PauseInput = INVALID_HANDLE_VALUE;

// With processed input off, Windows hands Ctrl+C over as a key. A console
// that still raises it as a signal (a terminal backend, another process)
// must not end the tool mid-pause: the signal is turned into that key.
BOOL WINAPI TurnCtrlCIntoKey(DWORD event) {
  if (event != CTRL_C_EVENT)
    return FALSE;
  INPUT_RECORD record = {};
  record.EventType = KEY_EVENT;
  record.Event.KeyEvent.bKeyDown = TRUE;
  record.Event.KeyEvent.wRepeatCount = 1;
  record.Event.KeyEvent.wVirtualKeyCode = 'C';
  record.Event.KeyEvent.uChar.AsciiChar = 3;
  record.Event.KeyEvent.dwControlKeyState = LEFT_CTRL_PRESSED;
  DWORD written = 0;
  WriteConsoleInputA(PauseInput, &record, 1, &written);
  return TRUE;
}

} // namespace

void WaitForConsoleKey() {
  // The console itself, so redirected standard input cannot answer.
  HANDLE input = CreateFileA("CONIN$", GENERIC_READ | GENERIC_WRITE,
                             FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             OPEN_EXISTING, 0, nullptr);
  if (input == INVALID_HANDLE_VALUE)
    return;
  DWORD previous = 0;
  if (!GetConsoleMode(input, &previous)) {
    CloseHandle(input);
    return;
  }
  SetConsoleMode(input, previous & ~(ENABLE_LINE_INPUT | ENABLE_ECHO_INPUT |
                                     ENABLE_PROCESSED_INPUT));
  PauseInput = input;
  SetConsoleCtrlHandler(TurnCtrlCIntoKey, TRUE);
  for (;;) {
    INPUT_RECORD record;
    DWORD read = 0;
    if (!ReadConsoleInputA(input, &record, 1, &read) || read == 0)
      break;
    if (record.EventType != KEY_EVENT || !record.Event.KeyEvent.bKeyDown)
      continue;
    const KEY_EVENT_RECORD &key = record.Event.KeyEvent;
    if (key.uChar.AsciiChar != 0 ||
        IsFunctionCursorOrEditingKey(key.wVirtualKeyCode))
      break;
  }
  SetConsoleCtrlHandler(TurnCtrlCIntoKey, FALSE);
  SetConsoleMode(input, previous);
  PauseInput = INVALID_HANDLE_VALUE;
  CloseHandle(input);
}

std::uint32_t GetProgramPath(char *buffer, std::uint32_t size) {
  return GetModuleFileNameA(nullptr, buffer, size);
}

LocalTime GetLocalClock() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

std::uint32_t GetWindowsFolder(char *buffer, std::uint32_t size) {
  return GetWindowsDirectoryA(buffer, size);
}

SearchHandle FindFirstEntry(const char *path, std::uint32_t *attributes) {
  WIN32_FIND_DATAA entry;
  HANDLE search = FindFirstFileA(path, &entry);
  if (search == INVALID_HANDLE_VALUE)
    return nullptr;
  *attributes = entry.dwFileAttributes;
  return reinterpret_cast<SearchHandle>(search);
}

void CloseSearch(SearchHandle search) {
  FindClose(reinterpret_cast<HANDLE>(search));
}

bool SetAttributesNormal(const char *path) {
  return SetFileAttributesA(path, FILE_ATTRIBUTE_NORMAL) != 0;
}

bool DeletePath(const char *path) { return DeleteFileA(path) != 0; }

Status GetLastStatus() { return GetLastError(); }

FileHandle OpenForReading(const char *path) {
  HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE)
    return nullptr;
  return reinterpret_cast<FileHandle>(file);
}

bool GetFileSize64(FileHandle file, std::uint64_t *size) {
  LARGE_INTEGER value;
  if (!GetFileSizeEx(reinterpret_cast<HANDLE>(file), &value))
    return false;
  *size = static_cast<std::uint64_t>(value.QuadPart);
  return true;
}

void CloseFile(FileHandle file) { CloseHandle(reinterpret_cast<HANDLE>(file)); }

MappingHandle CreateReadOnlyMapping(FileHandle file) {
  return reinterpret_cast<MappingHandle>(CreateFileMappingA(
      reinterpret_cast<HANDLE>(file), nullptr, PAGE_READONLY, 0, 0, nullptr));
}

void CloseMapping(MappingHandle mapping) {
  CloseHandle(reinterpret_cast<HANDLE>(mapping));
}

const unsigned char *MapReadOnlyView(MappingHandle mapping) {
  return static_cast<const unsigned char *>(
      MapViewOfFile(reinterpret_cast<HANDLE>(mapping), FILE_MAP_READ, 0, 0, 0));
}

void UnmapView(const unsigned char *view) { UnmapViewOfFile(view); }

Status OpenMachineKey(const char *subkey, KeyHandle *key) {
  HKEY opened = nullptr;
  LONG status = RegOpenKeyA(HKEY_LOCAL_MACHINE, subkey, &opened);
  *key =
      status == ERROR_SUCCESS ? reinterpret_cast<KeyHandle>(opened) : nullptr;
  return static_cast<Status>(status);
}

Status DeleteKeyValue(KeyHandle key, const char *name) {
  return static_cast<Status>(
      RegDeleteValueA(reinterpret_cast<HKEY>(key), name));
}

void CloseKey(KeyHandle key) { RegCloseKey(reinterpret_cast<HKEY>(key)); }

LogHandle OpenLogStream(const char *path) {
  return reinterpret_cast<LogHandle>(_fsopen(path, "at", _SH_DENYNO));
}

bool WriteLogStream(LogHandle log, const char *text, std::size_t length) {
  return std::fwrite(text, 1, length, reinterpret_cast<FILE *>(log)) == length;
}

bool FlushLogStream(LogHandle log) {
  return std::fflush(reinterpret_cast<FILE *>(log)) == 0;
}

void CloseLogStream(LogHandle log) {
  std::fclose(reinterpret_cast<FILE *>(log));
}

std::size_t DescribeStatus(Status status, char *buffer, std::size_t size) {
  char *text = nullptr;
  DWORD length = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
          FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, status, 0, reinterpret_cast<char *>(&text), 0, nullptr);
  std::size_t kept = 0;
  if (length != 0 && text != nullptr && size != 0) {
    kept = length < size ? length : size - 1;
    CopyMemory(buffer, text, kept);
  }
  if (text != nullptr)
    LocalFree(text);
  while (kept > 0 && (buffer[kept - 1] == '\r' || buffer[kept - 1] == '\n' ||
                      buffer[kept - 1] == ' '))
    --kept;
  if (size != 0)
    buffer[kept] = '\0';
  return kept;
}
