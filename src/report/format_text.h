#pragma once

#include <cstdarg>
#include <string>

// vsnprintf into a string of whatever length the text needs.
std::string FormatText(const char *format, std::va_list args);
