#include "report/log.h"

#include "report/format_text.h"

#include <cstdio>
#include <vector>

std::string LogPath;
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

// The program's full path however long it is; empty when it cannot be had.
std::string ProgramPath() {
  std::vector<char> buffer(kLogPathCapacity);
  for (;;) {
    std::uint32_t size = static_cast<std::uint32_t>(buffer.size());
    std::uint32_t length = GetProgramPath(buffer.data(), size);
    if (length == 0)
      return std::string();
    if (length < size)
      return std::string(buffer.data(), length);
    if (size >= 32768) // beyond any Windows path
      return std::string();
    buffer.resize(buffer.size() * 2);
  }
}

void WorkOutLogPath() {
  std::string path = ProgramPath();
  std::size_t slash = path.rfind('\\');
  path.erase(slash == std::string::npos ? 0 : slash + 1);
  LogPath = path + kLogName;
}

void WriteWhole(const std::string &text) {
  // Failures are ignored: the text is lost, later records still go out.
  WriteLogStream(LogStream, text.data(), text.size());
  FlushLogStream(LogStream);
}

} // namespace

std::string FormatRecordPrefix(const LocalTime &time) {
  char prefix[64];
  std::snprintf(prefix, sizeof prefix, "%04u-%02u-%02u, %02u:%02u:%02u,   ",
                time.year, time.month, time.day, time.hour, time.minute,
                time.second);
  return prefix;
}

void OpenLogFile() {
  if (LogStream == nullptr) {
    if (LogPath.empty())
      WorkOutLogPath();
    // A path that does not fit the system's limit is never shortened into
    // some other file's name.
    if (LogPath.size() < kLogPathCapacity)
      LogStream = OpenLogStream(LogPath.c_str());
    if (LogStream == nullptr) {
      std::printf("\nCould not open log file \"%s\".\n", LogPath.c_str());
      return;
    }
  }
  WriteWhole(kHeader);
}

void LogMessage(const char *format, ...) {
  if (LogStream == nullptr)
    return;
  std::string record = FormatRecordPrefix(GetLocalClock());
  std::va_list args;
  va_start(args, format);
  record += FormatText(format, args);
  va_end(args);
  record += '\n';
  WriteWhole(record);
}

void CloseLogFile() {
  if (LogStream == nullptr)
    return;
  CloseLogStream(LogStream);
  LogStream = nullptr;
}
