// Console report of a failed platform call; never logged.
#pragma once

#include "platform/platform.h"
#include "report/log.h"

void ReportError(Status status, const char *format, ...) PRINTF_LIKE(2, 3);
