// An in-memory Windows machine behind platform.h for the host tests. Paths
// compare without regard to letter case, as on Windows. Any call can be
// made to fail with a chosen status.
#pragma once

#include "platform/platform.h"

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace fake {

enum class Call {
  WaitForConsoleKey,
  GetProgramPath,
  GetLocalClock,
  GetWindowsFolder,
  FindFirstEntry,
  CloseSearch,
  SetAttributesNormal,
  DeletePath,
  GetLastStatus,
  OpenForReading,
  GetFileSize64,
  CloseFile,
  CreateReadOnlyMapping,
  CloseMapping,
  MapReadOnlyView,
  UnmapView,
  OpenMachineKey,
  DeleteKeyValue,
  CloseKey,
  OpenLogStream,
  WriteLogStream,
  FlushLogStream,
  CloseLogStream,
  DescribeStatus,
};

const char *CallName(Call call);
// Whether the call can fail at all, and with what status it usually does.
bool CanFail(Call call);
Status TypicalFailure(Call call);

struct Entry {
  bool directory = false;
  std::string content;
  std::uint32_t attributes = 0x20; // FILE_ATTRIBUTE_ARCHIVE
  bool locked = false;             // held open without delete sharing
  int readers = 0;                 // the tool's own open handles
  bool unwritable = false;         // opening it for appending fails
};

struct Fault {
  Call call;
  Status status;
  int skip = 0;  // successful calls to let through first
  int times = 1; // failures after that; -1 for all later calls
};

struct Machine {
  std::map<std::string, Entry> entries; // keyed by lower-case path
  std::string programPath = "C:\\Tools\\fix_pruxa.exe";
  std::string windowsFolder = "C:\\WINDOWS";
  LocalTime clock{2001, 12, 13, 9, 5, 7};
  bool runKeyExists = true;
  std::map<std::string, std::string> runValues; // lower-case names

  std::vector<Fault> faults;
  // Fail every call from the Nth (1-based) on, or only that one.
  long failFrom = 0;
  bool failOnce = true;

  // What the run did.
  long calls = 0;
  std::vector<Call> trace;
  int keyReads = 0;
  Status lastStatus = 0;
  std::set<std::uintptr_t> openHandles; // searches, files, mappings, keys
  std::set<const unsigned char *> openViews;
  int openLogs = 0;
  std::string pendingLog; // written but not yet flushed
  std::string logPath;    // of the open stream
  // Calls made while written log text had not yet been handed over.
  int callsWithLogPending = 0;
  // Each flush, as the log file read back right after it.
  std::vector<std::string> logAfterFlush;
};

Machine &TheMachine();
// A fresh machine, with the tool's process-wide state reset too.
void Reset();

std::string Lower(const std::string &text);
void AddFile(const std::string &path, const std::string &content = "",
             std::uint32_t attributes = 0x20);
void AddFolder(const std::string &path);
bool Exists(const std::string &path);
std::string Content(const std::string &path);
void FailCall(Call call, Status status, int times = 1, int skip = 0);

} // namespace fake
