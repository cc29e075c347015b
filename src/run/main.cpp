// Process entry of the Windows build.
#include "run/tool_main.h"

// The runtime must hand over the arguments exactly as Windows split them:
// "/?" expanded against the current folder would be a different command.
extern "C" {
int _dowildcard = 0;
}

int main(int argc, char **argv) { return ToolMain(argc, argv); }
