// Every platform call of a whole quiet run on an infected machine is made
// to fail in turn, once and from then on. Whatever fails, the run ends
// with status 0, never claims a removal that did not happen, touches
// nothing but its targets, keeps its log whole, and releases everything.
#include "fake_machine.h"
#include "tool_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <regex>

namespace {

const char *const kTargets[] = {
    "C:\\WINDOWS\\VOSNI.EXE", "c:\\inetpub\\wwwroot\\default.htm",
    "c:\\inetpub\\wwwroot\\redesi.htm", "c:\\inetpub\\wwwroot\\web.exe",
    "c:\\mirc\\script.ini"};
const char *const kBystanders[] = {"c:\\inetpub\\wwwroot\\index.htm",
                                   "c:\\mirc\\backup\\script.ini",
                                   "C:\\WINDOWS\\notepad.exe"};

void Infect() {
  fake::Reset();
  fake::AddFile(kTargets[0], "MZ", 0x07);
  fake::AddFile(kTargets[1], "<html>");
  fake::AddFile(kTargets[2], "<html>");
  fake::AddFile(kTargets[3], "MZ", 0x01);
  fake::AddFile(kTargets[4], "123456789\xd8\xc1\xe1\xfd");
  for (const char *path : kBystanders)
    fake::AddFile(path, path);
  fake::TheMachine().runValues = {{"vosni", "C:\\WINDOWS\\VOSNI.EXE"},
                                  {"other", "keep.exe"}};
}

// A target, a bystander, or the log (beside the program or, when the
// program's path cannot be had, in the current folder).
bool IsKnown(const std::string &lowerPath) {
  for (const char *path : kTargets)
    if (fake::Lower(path) == lowerPath)
      return true;
  for (const char *path : kBystanders)
    if (fake::Lower(path) == lowerPath)
      return true;
  return lowerPath == "c:\\tools\\fix_pruxa.log" ||
         lowerPath == "fix_pruxa.log";
}

int Count(const std::vector<fake::Call> &trace, fake::Call call) {
  return static_cast<int>(std::count(trace.begin(), trace.end(), call));
}

// How the console line of a named-file target ended, an error report
// perhaps standing between its start and its end.
std::string Outcome(const std::string &console, const std::string &path) {
  std::size_t start = console.find("Deleting file \"" + path + "\"...");
  if (start == std::string::npos)
    return "";
  std::size_t end = std::string::npos;
  std::string outcome;
  for (const char *candidate : {" Done.\n", " Failed.\n", " Not found.\n"}) {
    std::size_t at = console.find(candidate, start);
    if (at < end) {
      end = at;
      outcome = candidate;
    }
  }
  return outcome;
}

bool Contains(const std::string &text, const std::string &part) {
  return text.find(part) != std::string::npos;
}

// The log holds only whole headers and whole records.
bool IsWholeLog(const std::string &log) {
  std::string header;
  for (const char *c = kHeaderText; *c != '\0'; ++c) {
    if (*c == '\n')
      header += "\r\n";
    else if (std::string("\\|/-.,").find(*c) != std::string::npos)
      header += std::string("\\") + *c;
    else
      header += *c;
  }
  static const std::regex whole(
      "(" + header +
      "|[0-9]{4}-[0-9]{2}-[0-9]{2}, [0-9]{2}:[0-9]{2}:[0-9]{2},   [^\r\n]+"
      "\r\n(\r\n)?)*");
  return std::regex_match(log, whole);
}

void CheckRun(long failing, bool once, const ToolRun &run) {
  SCOPED_TRACE(testing::Message() << "call " << failing
                                  << (once ? " fails once" : " fails onward"));
  fake::Machine &machine = fake::TheMachine();
  EXPECT_EQ(run.status, 0);

  // Each stage was attempted: nothing but the stage itself stops it.
  EXPECT_EQ(Count(machine.trace, fake::Call::GetWindowsFolder), 1);
  EXPECT_GE(Count(machine.trace, fake::Call::FindFirstEntry), 3);
  EXPECT_EQ(Count(machine.trace, fake::Call::OpenForReading), 1);
  EXPECT_EQ(Count(machine.trace, fake::Call::OpenMachineKey), 1);

  // Console and log claim a removal exactly when it happened.
  std::string log = fake::Exists("C:\\Tools\\fix_pruxa.log")
                        ? fake::Content("C:\\Tools\\fix_pruxa.log")
                        : fake::Content("fix_pruxa.log");
  for (const char *target : kTargets) {
    std::string path = target;
    bool gone = !fake::Exists(path);
    bool claimed = Outcome(run.console, path) == " Done.\n" ||
                   Contains(run.console, "\"" + path + "\" was deleted.");
    EXPECT_EQ(claimed, gone) << path;
    if (!gone) {
      EXPECT_FALSE(Contains(log, "\"" + path + "\" was deleted.")) << path;
    }
  }
  bool valueGone = machine.runValues.count("vosni") == 0;
  EXPECT_EQ(Contains(run.console, "Vosni\" was deleted."), valueGone);
  if (!valueGone) {
    EXPECT_FALSE(Contains(log, "Vosni\" was deleted."));
  }

  // Nothing else changed.
  for (const char *path : kBystanders)
    EXPECT_EQ(fake::Content(path), path);
  EXPECT_EQ(machine.runValues.count("other"), 1u);
  for (const auto &entry : machine.entries)
    EXPECT_TRUE(IsKnown(entry.first)) << "created: " << entry.first;

  // Whole headers and records only, each handed over before the next call.
  EXPECT_TRUE(IsWholeLog(log)) << log;
  EXPECT_EQ(machine.callsWithLogPending, 0);

  // Everything acquired was released.
  EXPECT_TRUE(machine.openHandles.empty());
  EXPECT_TRUE(machine.openViews.empty());
  EXPECT_EQ(machine.openLogs, 0);
}

TEST(FaultSweep, EveryCallFailingOnceAndOnward) {
  Infect();
  ToolRun clean = RunTool({"/Q"});
  ASSERT_EQ(clean.status, 0);
  const long calls = fake::TheMachine().calls;
  ASSERT_GT(calls, 30);
  CheckRun(0, true, clean);

  int runs = 0;
  for (long failing = 1; failing <= calls; ++failing) {
    for (bool once : {true, false}) {
      Infect();
      fake::TheMachine().failFrom = failing;
      fake::TheMachine().failOnce = once;
      ToolRun run = RunTool({"/Q"});
      CheckRun(failing, once, run);
      ++runs;
      if (HasFailure())
        return;
    }
  }
  std::printf("fault sweep: %ld platform calls in a whole run, %d runs with "
              "faults\n",
              calls, runs);
}

} // namespace
