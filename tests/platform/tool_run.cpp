#include "tool_run.h"

#include "fake_machine.h"
#include "run/tool_main.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <regex>

void StartConsoleCapture() { testing::internal::CaptureStdout(); }

std::string EndConsoleCapture() {
  std::fflush(stdout);
  return testing::internal::GetCapturedStdout();
}

ToolRun RunTool(const std::vector<std::string> &arguments) {
  std::vector<std::string> storage{"C:\\Tools\\fix_pruxa.exe"};
  storage.insert(storage.end(), arguments.begin(), arguments.end());
  std::vector<char *> argv;
  for (std::string &argument : storage)
    argv.push_back(&argument[0]);
  argv.push_back(nullptr);
  StartConsoleCapture();
  int status = ToolMain(static_cast<int>(storage.size()), argv.data());
  return {status, EndConsoleCapture()};
}

std::string LogText(const std::string &path) {
  std::string text = std::regex_replace(fake::Content(path), std::regex("\r\n"),
                                        std::string("\n"));
  return std::regex_replace(
      text,
      std::regex(
          "(^|\n)[0-9]{4}-[0-9]{2}-[0-9]{2}, [0-9]{2}:[0-9]{2}:[0-9]{2},   "),
      std::string("$1@ "));
}
