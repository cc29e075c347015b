// Console report of a failed platform call; never logged.
#pragma once

#include "platform/platform.h"
#include "report/log.h"

#include <string>

void ReportError(Status status, const char *format, ...) PRINTF_LIKE(2, 3);

// "<system text> (error N)", or "error N" when the system has no text.
std::string DescribeError(Status status);
