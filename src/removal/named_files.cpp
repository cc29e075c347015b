#include "removal/named_files.h"

#include "report/error_report.h"
#include "report/log.h"

#include <cstdio>
#include <cstring>

const char WebRootFiles[3][20] = {"default.htm", "redesi.htm", "web.exe"};

namespace {

const char kWebRoot[] = "c:\\inetpub\\wwwroot\\";
const char kWormProgram[] = "VOSNI.EXE";
constexpr int kDeleteAttempts = 5;

// The worm's program file in the Windows folder, built in `target`.
// Returns false, after reporting why, when no trustworthy full path can be
// built: the tool never guesses a folder or deletes a shortened name.
bool BuildWindowsTarget(char (&target)[kTargetPathCapacity]) {
  std::uint32_t length = GetWindowsFolder(target, kTargetPathCapacity);
  if (length == 0) {
    ReportError(GetLastStatus(), "Failed to get Windows folder");
    return false;
  }
  if (length < kTargetPathCapacity) {
    if (target[length - 1] != '\\')
      target[length++] = '\\';
    if (length + sizeof kWormProgram <= kTargetPathCapacity) {
      std::memcpy(target + length, kWormProgram, sizeof kWormProgram);
      return true;
    }
  }
  ReportError(kStatusBufferOverflow, "Failed to get Windows folder");
  return false;
}

} // namespace

bool FileExists(const char *path) {
  std::uint32_t attributes = 0;
  SearchHandle search = FindFirstEntry(path, &attributes);
  if (search == nullptr)
    return false;
  CloseSearch(search);
  return (attributes & kAttributeDirectory) == 0;
}

Status DeleteFileRetry(const char *path) {
  for (int attempt = 0; attempt < kDeleteAttempts; ++attempt) {
    // Read-only, hidden and system files are deleted too.
    if (SetAttributesNormal(path) && DeletePath(path))
      return 0;
  }
  Status status = GetLastStatus();
  ReportError(status, "Failed to delete file \"%s\"", path);
  return status;
}

void RemoveFileTarget(const char *path) {
  std::printf("Deleting file \"%s\"...", path);
  if (!FileExists(path)) {
    std::fputs(" Not found.\n", stdout);
    LogMessage("File \"%s\" was not found.", path);
  } else if (DeleteFileRetry(path) != 0) {
    std::fputs(" Failed.\n", stdout);
    LogMessage("File \"%s\" could not be deleted.", path);
  } else {
    std::fputs(" Done.\n", stdout);
    LogMessage("File \"%s\" was deleted.", path);
  }
  std::fputs("\n", stdout);
}

void RemoveNamedFiles() {
  char target[kTargetPathCapacity];
  if (BuildWindowsTarget(target))
    RemoveFileTarget(target);
  for (const char *name : WebRootFiles) {
    std::snprintf(target, sizeof target, "%s%s", kWebRoot, name);
    RemoveFileTarget(target);
  }
}
