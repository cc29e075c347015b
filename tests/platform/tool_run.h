// Runs the tool against the fake machine and captures what it printed.
#pragma once

#include "expected_texts.h"

#include <string>
#include <vector>

struct ToolRun {
  int status;
  std::string console;
};

ToolRun RunTool(const std::vector<std::string> &arguments);

// Captures the console output of any piece of the tool.
void StartConsoleCapture();
std::string EndConsoleCapture();

// The log as stored, line breaks as LF and each record's 24-character
// time prefix replaced by "@ ".
std::string LogText(const std::string &path = "C:\\Tools\\fix_pruxa.log");
