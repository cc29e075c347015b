#include "report/log.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

char *LogPath = nullptr;
LogHandle LogStream = nullptr;

namespace {

const char kLogName[] = "fix_pruxa.log";

const char kHeader[] =
    "\n\n"
    "/--------------------------------------------------------------\\\n"
    "|                      FIX_PRUXA Log File                       |\n"
    "|                      Qarlo Vemmo, Inc.                       |\n"
    "\\--------------------------------------------------------------/\n"
    "\n\n";

// The program's full path however long it is, in a buffer of its own;
// null when it cannot be had.
char *ProgramPath() {
  for (std::uint32_t size = kLogPathCapacity; size <= 65536; size *= 2) {
    char *buffer = static_cast<char *>(std::malloc(size));
    if (buffer == nullptr)
      return nullptr;
    std::uint32_t length = GetProgramPath(buffer, size);
    if (length != 0 && length < size) {
      buffer[length] = '\0';
      return buffer;
    }
    std::free(buffer);
    if (length == 0)
      return nullptr;
  }
  return nullptr;
}

// The program's folder (up to its last backslash; nothing when there is
// none or the path is unknown) followed by the log's name.
void WorkOutLogPath() {
  char *program = ProgramPath();
  const char *slash = program ? std::strrchr(program, '\\') : nullptr;
  std::size_t folder =
      slash ? static_cast<std::size_t>(slash - program) + 1 : 0;
  LogPath = static_cast<char *>(std::malloc(folder + sizeof kLogName));
  if (LogPath != nullptr) {
    if (folder != 0)
      std::memcpy(LogPath, program, folder);
    std::memcpy(LogPath + folder, kLogName, sizeof kLogName);
  }
  std::free(program);
}

void WriteWhole(const char *text, std::size_t length) {
  // Failures are ignored: the text is lost, later records still go out.
  WriteLogStream(LogStream, text, length);
  FlushLogStream(LogStream);
}

} // namespace

void FormatRecordPrefix(const LocalTime &time, char (&prefix)[25]) {
  std::snprintf(prefix, sizeof prefix, "%04u-%02u-%02u, %02u:%02u:%02u,   ",
                time.year % 10000, time.month % 100, time.day % 100,
                time.hour % 100, time.minute % 100, time.second % 100);
}

void OpenLogFile() {
  if (LogStream == nullptr) {
    if (LogPath == nullptr)
      WorkOutLogPath();
    const char *path = LogPath ? LogPath : kLogName;
    // A path beyond the system's limit is never shortened into some other
    // file's name: such a log cannot be opened.
    if (std::strlen(path) < kLogPathCapacity)
      LogStream = OpenLogStream(path);
    if (LogStream == nullptr) {
      std::printf("\nCould not open log file \"%s\".\n", path);
      return;
    }
  }
  WriteWhole(kHeader, sizeof kHeader - 1);
}

void LogMessage(const char *format, ...) {
  if (LogStream == nullptr)
    return;
  char prefix[25];
  FormatRecordPrefix(GetLocalClock(), prefix);
  va_list args;
  va_start(args, format);
  va_list sizing;
  va_copy(sizing, args);
  int length = std::vsnprintf(nullptr, 0, format, sizing);
  va_end(sizing);
  // The whole record in one piece, so that it reaches the file whole or
  // not at all.
  char *record = length < 0 ? nullptr
                            : static_cast<char *>(std::malloc(
                                  24 + static_cast<std::size_t>(length) + 2));
  if (record != nullptr) {
    std::memcpy(record, prefix, 24);
    std::vsnprintf(record + 24, static_cast<std::size_t>(length) + 1, format,
                   args);
    record[24 + length] = '\n';
    WriteWhole(record, 24 + static_cast<std::size_t>(length) + 1);
    std::free(record);
  }
  va_end(args);
}

void CloseLogFile() {
  if (LogStream == nullptr)
    return;
  CloseLogStream(LogStream);
  LogStream = nullptr;
}
