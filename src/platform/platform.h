// The Windows operations the tool relies on, one plain function per call.
// The Windows build links platform_win32.cpp; the host tests link an
// in-memory machine from tests/platform instead.
#pragma once

#include <cstddef>
#include <cstdint>

using Status = std::uint32_t;

// Opaque handles; a null value means "none".
struct SearchTag;
struct FileTag;
struct MappingTag;
struct KeyTag;
struct LogTag;
using SearchHandle = SearchTag *;
using FileHandle = FileTag *;
using MappingHandle = MappingTag *;
using KeyHandle = KeyTag *;
using LogHandle = LogTag *;

struct LocalTime {
  unsigned year, month, day, hour, minute, second;
};

constexpr Status kStatusFileNotFound = 2;      // ERROR_FILE_NOT_FOUND
constexpr Status kStatusAccessDenied = 5;      // ERROR_ACCESS_DENIED
constexpr Status kStatusSharingViolation = 32; // ERROR_SHARING_VIOLATION
constexpr Status kStatusBufferOverflow = 111;  // ERROR_BUFFER_OVERFLOW
constexpr std::uint32_t kAttributeDirectory = 0x10;

// Waits for one key at the console itself (not standard input), without
// echo; returns at once when there is no console.
void WaitForConsoleKey();

// GetModuleFileNameA for the running program: the length copied, `size`
// when the path was cut, 0 on failure.
std::uint32_t GetProgramPath(char *buffer, std::uint32_t size);

LocalTime GetLocalClock();

// GetWindowsDirectoryA: the length copied, or the size needed (with the
// terminating NUL) when `size` is too small, or 0 on failure.
std::uint32_t GetWindowsFolder(char *buffer, std::uint32_t size);

// FindFirstFileA: null when nothing is found, else the first entry's
// attributes in `attributes`.
SearchHandle FindFirstEntry(const char *path, std::uint32_t *attributes);
void CloseSearch(SearchHandle search);

bool SetAttributesNormal(const char *path);
bool DeletePath(const char *path);
Status GetLastStatus();

// CreateFileA for reading, sharing reads only, existing files only.
FileHandle OpenForReading(const char *path);
bool GetFileSize64(FileHandle file, std::uint64_t *size);
void CloseFile(FileHandle file);
MappingHandle CreateReadOnlyMapping(FileHandle file);
void CloseMapping(MappingHandle mapping);
const unsigned char *MapReadOnlyView(MappingHandle mapping);
void UnmapView(const unsigned char *view);

// RegOpenKeyA under HKEY_LOCAL_MACHINE; statuses as returned.
Status OpenMachineKey(const char *subkey, KeyHandle *key);
Status DeleteKeyValue(KeyHandle key, const char *name);
void CloseKey(KeyHandle key);

// The log stream: buffered, appending, text mode (LF stored as CR LF),
// shared for reading and writing with other programs.
LogHandle OpenLogStream(const char *path);
bool WriteLogStream(LogHandle log, const char *text, std::size_t length);
bool FlushLogStream(LogHandle log);
void CloseLogStream(LogHandle log);

// The system's own text for a status, trailing line breaks and spaces
// removed, cut to fit `size`; returns its length, 0 when there is none.
std::size_t DescribeStatus(Status status, char *buffer, std::size_t size);
