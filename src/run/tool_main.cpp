// Sequences the run: banner, quiet mode, pause, arguments, then the stages
// in their fixed order.
#include "run/tool_main.h"

#include "platform/platform.h"
#include "removal/autorun.h"
#include "removal/named_files.h"
#include "removal/script_ini.h"
#include "report/log.h"
#include "run/switches.h"
#include "run/texts.h"

#include <cstdio>

bool QuietMode = false;

namespace {

void PauseForKey() {
  std::fputs("Press any key to continue ....", stdout);
  std::fflush(nullptr);
  WaitForConsoleKey();
  std::fflush(nullptr);
}

// Returns -1 when the arguments pass, else the exit status.
int JudgeArguments(int argc, char **argv) {
  for (int i = 1; i < argc; ++i) {
    const char *argument = argv[i];
    if (!IsSwitch(argument)) {
      std::fputs("Too many command-line parameters\n", stdout);
      return 2;
    }
    if (IsQuietSwitch(argument))
      continue;
    if (IsHelpSwitch(argument)) {
      PrintUsage();
      return 1;
    }
    std::printf("Invalid command-line option: %s\n", argument);
    return 2;
  }
  return -1;
}

} // namespace

int ToolMain(int argc, char **argv) {
  PrintBanner();
  for (int i = 1; i < argc; ++i)
    if (IsQuietSwitch(argv[i]))
      QuietMode = true;
  if (!QuietMode)
    PauseForKey();
  int status = JudgeArguments(argc, argv);
  if (status >= 0)
    return status;

  OpenLogFile();
  if (QuietMode) {
    std::fputs("\nQUIET MODE\n", stdout);
    LogMessage("Quiet mode specified.");
  }
  std::fputs("\n", stdout);
  RemoveNamedFiles();
  RemoveScriptIni();
  RemoveAutorunValue();
  std::fputs("\n", stdout);
  CloseLogFile();
  return 0;
}
