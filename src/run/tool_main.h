#pragma once

extern bool QuietMode;

// The whole run; returns the exit status (0 done, 1 help, 2 bad arguments).
int ToolMain(int argc, char **argv);
