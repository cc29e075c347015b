#include "report/error_report.h"

#include "report/format_text.h"

#include <cstdio>

std::string DescribeError(Status status) {
  std::string number = "error " + std::to_string(status);
  std::string text = DescribeStatus(status);
  return text.empty() ? number : text + " (" + number + ")";
}

void ReportError(Status status, const char *format, ...) {
  std::string description = DescribeError(status);
  std::va_list args;
  va_start(args, format);
  std::string message = FormatText(format, args);
  va_end(args);
  std::fputs("\n", stdout);
  std::fputs(message.c_str(), stdout);
  std::fputs(": ", stdout);
  std::fputs(description.c_str(), stdout);
  std::fputs("\n", stdout);
}
