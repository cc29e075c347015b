// Removal of the worm's files known by name alone.
#pragma once

#include "platform/platform.h"

constexpr std::size_t kTargetPathCapacity = 268; // with the terminating NUL

extern const char WebRootFiles[3][20];

bool FileExists(const char *path);
Status DeleteFileRetry(const char *path);
void RemoveFileTarget(const char *path);

// The stage: VOSNI.EXE in the Windows folder, then the web-root files.
void RemoveNamedFiles();
