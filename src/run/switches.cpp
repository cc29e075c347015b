#include "run/switches.h"

bool IsSwitch(const char *argument) {
  return argument[0] == '/' || argument[0] == '-';
}

bool IsQuietSwitch(const char *argument) {
  return IsSwitch(argument) && (argument[1] == 'Q' || argument[1] == 'q') &&
         argument[2] == '\0';
}

bool IsHelpSwitch(const char *argument) {
  return IsSwitch(argument) && argument[1] == '?' && argument[2] == '\0';
}
