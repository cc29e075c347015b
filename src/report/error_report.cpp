#include "report/error_report.h"

#include <cstdarg>
#include <cstdio>

void ReportError(Status status, const char *format, ...) {
  char text[512];
  std::size_t length = DescribeStatus(status, text, sizeof text);
  std::fputs("\n", stdout);
  va_list args;
  va_start(args, format);
  std::vprintf(format, args);
  va_end(args);
  // "<system text> (error N)", or "error N" where the system has no text.
  if (length == 0)
    std::printf(": error %lu\n", static_cast<unsigned long>(status));
  else
    std::printf(": %s (error %lu)\n", text, static_cast<unsigned long>(status));
}
