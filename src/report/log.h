// The action log beside the program: one header per run, then one
// timestamped record per action, each handed to the system at once.
#pragma once

#include "platform/platform.h"

#define PRINTF_LIKE(f, a) __attribute__((format(printf, f, a)))

constexpr std::size_t kLogPathCapacity = 260; // with the terminating NUL

extern char *LogPath;       // null until worked out
extern LogHandle LogStream; // null when no log is open

void OpenLogFile();
void LogMessage(const char *format, ...) PRINTF_LIKE(1, 2);
void CloseLogFile();

// Writes "2001-03-05, 02:04:09,   ", the 24 characters before each
// message, and its NUL into `prefix`.
void FormatRecordPrefix(const LocalTime &time, char (&prefix)[25]);
