#include "fake_machine.h"

#include "report/log.h"
#include "run/tool_main.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>

namespace fake {

namespace {

Machine machine;
std::uintptr_t nextHandle = 0x1000;
std::map<std::uintptr_t, std::string> handlePaths; // file and mapping handles

const char kRunKey[] = "software\\microsoft\\windows\\currentversion\\run";

// Counts the call and tells whether it is to fail, and with what status.
bool Fails(Call call, Status *status) {
  ++machine.calls;
  machine.trace.push_back(call);
  if (!machine.pendingLog.empty() && call != Call::FlushLogStream &&
      call != Call::CloseLogStream)
    ++machine.callsWithLogPending;
  if (!CanFail(call))
    return false;
  if (machine.failFrom > 0 &&
      (machine.calls == machine.failFrom ||
       (!machine.failOnce && machine.calls > machine.failFrom))) {
    *status = TypicalFailure(call);
    return true;
  }
  for (Fault &fault : machine.faults) {
    if (fault.call != call || fault.times == 0)
      continue;
    if (fault.skip > 0) {
      --fault.skip;
      continue;
    }
    if (fault.times > 0)
      --fault.times;
    *status = fault.status;
    return true;
  }
  return false;
}

template <typename Handle> Handle NewHandle(const std::string &path) {
  std::uintptr_t value = nextHandle++;
  machine.openHandles.insert(value);
  handlePaths[value] = path;
  return reinterpret_cast<Handle>(value);
}

void Release(const void *handle) {
  std::uintptr_t value = reinterpret_cast<std::uintptr_t>(handle);
  machine.openHandles.erase(value);
  handlePaths.erase(value);
}

Entry *Find(const std::string &path) {
  auto found = machine.entries.find(Lower(path));
  return found == machine.entries.end() ? nullptr : &found->second;
}

// Moves what the stream buffered to the end of the file.
void HandOverLog() {
  Entry *entry = Find(machine.logPath);
  if (entry != nullptr)
    entry->content += machine.pendingLog;
  machine.pendingLog.clear();
  machine.logAfterFlush.push_back(Content(machine.logPath));
}

bool Fail(Status status) {
  machine.lastStatus = status;
  return false;
}

} // namespace

const char *CallName(Call call) {
  static const char *const names[] = {"WaitForConsoleKey",
                                      "GetProgramPath",
                                      "GetLocalClock",
                                      "GetWindowsFolder",
                                      "FindFirstEntry",
                                      "CloseSearch",
                                      "SetAttributesNormal",
                                      "DeletePath",
                                      "GetLastStatus",
                                      "OpenForReading",
                                      "GetFileSize64",
                                      "CloseFile",
                                      "CreateReadOnlyMapping",
                                      "CloseMapping",
                                      "MapReadOnlyView",
                                      "UnmapView",
                                      "OpenMachineKey",
                                      "DeleteKeyValue",
                                      "CloseKey",
                                      "OpenLogStream",
                                      "WriteLogStream",
                                      "FlushLogStream",
                                      "CloseLogStream",
                                      "DescribeStatus"};
  return names[static_cast<int>(call)];
}

bool CanFail(Call call) {
  switch (call) {
  case Call::WaitForConsoleKey:
  case Call::GetLocalClock:
  case Call::CloseSearch:
  case Call::GetLastStatus:
  case Call::CloseFile:
  case Call::CloseMapping:
  case Call::UnmapView:
  case Call::CloseKey:
  case Call::CloseLogStream:
    return false;
  default:
    return true;
  }
}

Status TypicalFailure(Call call) {
  switch (call) {
  case Call::GetProgramPath:
  case Call::GetWindowsFolder:
    return 8; // ERROR_NOT_ENOUGH_MEMORY
  case Call::FindFirstEntry:
  case Call::OpenForReading:
    return kStatusFileNotFound;
  case Call::DeletePath:
    return kStatusSharingViolation;
  case Call::CreateReadOnlyMapping:
    return 1006; // ERROR_FILE_INVALID
  case Call::MapReadOnlyView:
    return 8;
  case Call::WriteLogStream:
  case Call::FlushLogStream:
    return 112; // ERROR_DISK_FULL
  case Call::DescribeStatus:
    return 317; // ERROR_MR_MID_NOT_FOUND
  default:
    return kStatusAccessDenied;
  }
}

Machine &TheMachine() { return machine; }

void Reset() {
  machine = Machine();
  handlePaths.clear();
  QuietMode = false;
  std::free(LogPath);
  LogPath = nullptr;
  LogStream = nullptr;
}

std::string Lower(const std::string &text) {
  std::string lower = text;
  for (char &c : lower)
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower;
}

void AddFile(const std::string &path, const std::string &content,
             std::uint32_t attributes) {
  Entry entry;
  entry.content = content;
  entry.attributes = attributes;
  machine.entries[Lower(path)] = entry;
}

void AddFolder(const std::string &path) {
  Entry entry;
  entry.directory = true;
  entry.attributes = kAttributeDirectory;
  machine.entries[Lower(path)] = entry;
}

bool Exists(const std::string &path) { return Find(path) != nullptr; }

std::string Content(const std::string &path) {
  Entry *entry = Find(path);
  return entry == nullptr ? std::string() : entry->content;
}

void FailCall(Call call, Status status, int times, int skip) {
  machine.faults.push_back(Fault{call, status, skip, times});
}

} // namespace fake

using fake::Call;
using fake::machine;

void WaitForConsoleKey() {
  Status status;
  fake::Fails(Call::WaitForConsoleKey, &status);
  ++machine.keyReads;
}

std::uint32_t GetProgramPath(char *buffer, std::uint32_t size) {
  Status status;
  if (fake::Fails(Call::GetProgramPath, &status))
    return fake::Fail(status), 0;
  const std::string &path = machine.programPath;
  if (size == 0)
    return 0;
  std::size_t copied = std::min<std::size_t>(path.size(), size - 1);
  std::memcpy(buffer, path.data(), copied);
  buffer[copied] = '\0';
  if (copied < path.size()) {
    machine.lastStatus = 122; // ERROR_INSUFFICIENT_BUFFER
    return size;
  }
  return static_cast<std::uint32_t>(copied);
}

LocalTime GetLocalClock() {
  Status status;
  fake::Fails(Call::GetLocalClock, &status);
  return machine.clock;
}

std::uint32_t GetWindowsFolder(char *buffer, std::uint32_t size) {
  Status status;
  if (fake::Fails(Call::GetWindowsFolder, &status))
    return fake::Fail(status), 0;
  const std::string &folder = machine.windowsFolder;
  if (folder.size() + 1 > size)
    return static_cast<std::uint32_t>(folder.size() + 1);
  std::memcpy(buffer, folder.c_str(), folder.size() + 1);
  return static_cast<std::uint32_t>(folder.size());
}

SearchHandle FindFirstEntry(const char *path, std::uint32_t *attributes) {
  Status status;
  if (fake::Fails(Call::FindFirstEntry, &status))
    return fake::Fail(status), nullptr;
  fake::Entry *entry = fake::Find(path);
  if (entry == nullptr)
    return fake::Fail(kStatusFileNotFound), nullptr;
  *attributes = entry->attributes;
  return fake::NewHandle<SearchHandle>(path);
}

void CloseSearch(SearchHandle search) {
  Status status;
  fake::Fails(Call::CloseSearch, &status);
  fake::Release(search);
}

bool SetAttributesNormal(const char *path) {
  Status status;
  if (fake::Fails(Call::SetAttributesNormal, &status))
    return fake::Fail(status);
  fake::Entry *entry = fake::Find(path);
  if (entry == nullptr)
    return fake::Fail(kStatusFileNotFound);
  entry->attributes = entry->directory ? kAttributeDirectory : 0x80;
  return true;
}

bool DeletePath(const char *path) {
  Status status;
  if (fake::Fails(Call::DeletePath, &status))
    return fake::Fail(status);
  fake::Entry *entry = fake::Find(path);
  if (entry == nullptr)
    return fake::Fail(kStatusFileNotFound);
  if (entry->directory || (entry->attributes & 0x01) != 0)
    return fake::Fail(kStatusAccessDenied);
  if (entry->locked || entry->readers > 0)
    return fake::Fail(kStatusSharingViolation);
  machine.entries.erase(fake::Lower(path));
  return true;
}

Status GetLastStatus() {
  Status status;
  fake::Fails(Call::GetLastStatus, &status);
  return machine.lastStatus;
}

FileHandle OpenForReading(const char *path) {
  Status status;
  if (fake::Fails(Call::OpenForReading, &status))
    return fake::Fail(status), nullptr;
  fake::Entry *entry = fake::Find(path);
  if (entry == nullptr)
    return fake::Fail(kStatusFileNotFound), nullptr;
  if (entry->directory)
    return fake::Fail(kStatusAccessDenied), nullptr;
  if (entry->locked)
    return fake::Fail(kStatusSharingViolation), nullptr;
  ++entry->readers;
  return fake::NewHandle<FileHandle>(fake::Lower(path));
}

bool GetFileSize64(FileHandle file, std::uint64_t *size) {
  Status status;
  if (fake::Fails(Call::GetFileSize64, &status))
    return fake::Fail(status);
  fake::Entry *entry =
      fake::Find(fake::handlePaths.at(reinterpret_cast<std::uintptr_t>(file)));
  *size = entry == nullptr ? 0 : entry->content.size();
  return true;
}

void CloseFile(FileHandle file) {
  Status status;
  fake::Fails(Call::CloseFile, &status);
  // A file that has readers cannot be deleted, so it is still there.
  --fake::Find(fake::handlePaths.at(reinterpret_cast<std::uintptr_t>(file)))
        ->readers;
  fake::Release(file);
}

MappingHandle CreateReadOnlyMapping(FileHandle file) {
  Status status;
  if (fake::Fails(Call::CreateReadOnlyMapping, &status))
    return fake::Fail(status), nullptr;
  const std::string &path =
      fake::handlePaths.at(reinterpret_cast<std::uintptr_t>(file));
  fake::Entry *entry = fake::Find(path);
  if (entry == nullptr || entry->content.empty())
    return fake::Fail(1006), nullptr; // ERROR_FILE_INVALID
  return fake::NewHandle<MappingHandle>(path);
}

void CloseMapping(MappingHandle mapping) {
  Status status;
  fake::Fails(Call::CloseMapping, &status);
  fake::Release(mapping);
}

const unsigned char *MapReadOnlyView(MappingHandle mapping) {
  Status status;
  if (fake::Fails(Call::MapReadOnlyView, &status))
    return fake::Fail(status), nullptr;
  const std::string &path =
      fake::handlePaths.at(reinterpret_cast<std::uintptr_t>(mapping));
  // A copy of its own, so that reading past the file's end is caught by
  // the sanitizers.
  const std::string &content = fake::Find(path)->content;
  unsigned char *view = new unsigned char[content.size()];
  std::memcpy(view, content.data(), content.size());
  machine.openViews.insert(view);
  return view;
}

void UnmapView(const unsigned char *view) {
  Status status;
  fake::Fails(Call::UnmapView, &status);
  machine.openViews.erase(view);
  delete[] view;
}

Status OpenMachineKey(const char *subkey, KeyHandle *key) {
  Status status;
  *key = nullptr;
  if (fake::Fails(Call::OpenMachineKey, &status))
    return status;
  if (!machine.runKeyExists || fake::Lower(subkey) != fake::kRunKey)
    return kStatusFileNotFound;
  *key = fake::NewHandle<KeyHandle>(subkey);
  return 0;
}

Status DeleteKeyValue(KeyHandle key, const char *name) {
  Status status;
  if (fake::Fails(Call::DeleteKeyValue, &status))
    return status;
  if (machine.openHandles.count(reinterpret_cast<std::uintptr_t>(key)) == 0)
    return 6; // ERROR_INVALID_HANDLE
  if (machine.runValues.erase(fake::Lower(name)) == 0)
    return kStatusFileNotFound;
  return 0;
}

void CloseKey(KeyHandle key) {
  Status status;
  fake::Fails(Call::CloseKey, &status);
  fake::Release(key);
}

LogHandle OpenLogStream(const char *path) {
  Status status;
  if (fake::Fails(Call::OpenLogStream, &status))
    return fake::Fail(status), nullptr;
  fake::Entry *entry = fake::Find(path);
  if (entry != nullptr && (entry->directory || entry->unwritable))
    return fake::Fail(kStatusAccessDenied), nullptr;
  if (entry == nullptr)
    fake::AddFile(path);
  ++machine.openLogs;
  machine.logPath = path;
  machine.pendingLog.clear();
  return reinterpret_cast<LogHandle>(&machine);
}

bool WriteLogStream(LogHandle, const char *text, std::size_t length) {
  Status status;
  if (fake::Fails(Call::WriteLogStream, &status))
    return fake::Fail(status);
  // Text mode: every line break is stored as CR LF.
  for (std::size_t i = 0; i < length; ++i) {
    if (text[i] == '\n')
      machine.pendingLog += '\r';
    machine.pendingLog += text[i];
  }
  return true;
}

bool FlushLogStream(LogHandle) {
  Status status;
  if (fake::Fails(Call::FlushLogStream, &status)) {
    // The runtime drops the buffer it could not hand over.
    machine.pendingLog.clear();
    return fake::Fail(status);
  }
  fake::HandOverLog();
  return true;
}

void CloseLogStream(LogHandle) {
  Status status;
  fake::Fails(Call::CloseLogStream, &status);
  fake::HandOverLog();
  --machine.openLogs;
}

std::size_t DescribeStatus(Status status, char *buffer, std::size_t size) {
  Status failure;
  if (fake::Fails(Call::DescribeStatus, &failure) || size == 0)
    return 0;
  const char *text = "";
  switch (status) {
  case kStatusFileNotFound:
    text = "The system cannot find the file specified.\r\n";
    break;
  case kStatusAccessDenied:
    text = "Access is denied.  \r\n";
    break;
  case kStatusSharingViolation:
    text = "The process cannot access the file because it is being used by "
           "another process.\r\n";
    break;
  }
  // As the system gives it, then trimmed as the Win32 backend does.
  std::size_t length = std::min(std::strlen(text), size - 1);
  std::memcpy(buffer, text, length);
  while (length > 0 && std::strchr("\r\n ", buffer[length - 1]) != nullptr)
    --length;
  buffer[length] = '\0';
  return length;
}
