// The command line: "/" or "-" followed by the name Q (any case) or ?.
#pragma once

bool IsSwitch(const char *argument);
bool IsQuietSwitch(const char *argument);
bool IsHelpSwitch(const char *argument);
