#include "report/format_text.h"

#include <cstdio>

std::string FormatText(const char *format, std::va_list args) {
  std::va_list sizing;
  va_copy(sizing, args);
  int length = std::vsnprintf(nullptr, 0, format, sizing);
  va_end(sizing);
  if (length <= 0)
    return std::string();
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  std::vsnprintf(&text[0], text.size(), format, args);
  text.resize(static_cast<std::size_t>(length));
  return text;
}
