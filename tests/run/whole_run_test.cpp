// Whole runs on a clean and on a fully infected machine.
#include "fake_machine.h"
#include "report/log.h"
#include "run/texts.h"
#include "run/tool_main.h"
#include "tool_run.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

std::string Banner() {
  StartConsoleCapture();
  PrintBanner();
  return EndConsoleCapture();
}

const char kRunKeyEntry[] =
    "HKEY_LOCAL_"
    "MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Run\\Vosni";

TEST(WholeRun, CleanMachineGivesTheKnownTranscriptAndLog) {
  fake::Reset();
  ToolRun run = RunTool({});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(
      run.console,
      Banner() +
          "Press any key to continue ....\n"
          "Deleting file \"C:\\WINDOWS\\VOSNI.EXE\"... Not found.\n\n"
          "Deleting file \"c:\\inetpub\\wwwroot\\default.htm\"... Not "
          "found.\n\n"
          "Deleting file \"c:\\inetpub\\wwwroot\\redesi.htm\"... Not found.\n\n"
          "Deleting file \"c:\\inetpub\\wwwroot\\web.exe\"... Not found.\n\n"
          "File \"c:\\mirc\\script.ini\" was not found.\n"
          "Deleting registry entry \"" +
          kRunKeyEntry + "\"...\nRegistry entry \"" + kRunKeyEntry +
          "\" was not found.\n");
  std::string expectedLog =
      std::string(kHeaderText) +
      "@ File \"C:\\WINDOWS\\VOSNI.EXE\" was not found.\n"
      "@ File \"c:\\inetpub\\wwwroot\\default.htm\" was not found.\n"
      "@ File \"c:\\inetpub\\wwwroot\\redesi.htm\" was not found.\n"
      "@ File \"c:\\inetpub\\wwwroot\\web.exe\" was not found.\n"
      "@ File \"c:\\mirc\\script.ini\" was not found.\n\n"
      "@ Registry entry \"" +
      kRunKeyEntry + "\" was not found.\n";
  EXPECT_EQ(LogText(), expectedLog);
  EXPECT_NE(fake::Content("C:\\Tools\\fix_pruxa.log")
                .find("\r\n2001-12-13, 09:05:07,   File \"C:\\WINDOWS"),
            std::string::npos);
  EXPECT_EQ(fake::TheMachine().openLogs, 0);
}

TEST(WholeRun, QuietRunOnAnInfectedMachineRemovesOnlyTheWorm) {
  fake::Reset();
  // "123456789" with four bytes appended that bring the CRC-32 to the
  // worm script's value.
  const std::string script = std::string("123456789\xd8\xc1\xe1\xfd");
  fake::AddFile("C:\\WINDOWS\\VOSNI.EXE", "MZ", 0x07);
  fake::AddFile("c:\\inetpub\\wwwroot\\default.htm", "<html>");
  fake::AddFile("c:\\inetpub\\wwwroot\\redesi.htm", "<html>");
  fake::AddFile("c:\\inetpub\\wwwroot\\web.exe", "MZ");
  fake::AddFile("c:\\inetpub\\wwwroot\\index.htm", "keep");
  fake::AddFile("c:\\mirc\\script.ini", script);
  fake::TheMachine().runValues = {{"vosni", "C:\\WINDOWS\\VOSNI.EXE"},
                                  {"other", "keep.exe"}};
  ToolRun run = RunTool({"/Q"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(
      run.console,
      Banner() +
          "\nQUIET MODE\n\n"
          "Deleting file \"C:\\WINDOWS\\VOSNI.EXE\"... Done.\n\n"
          "Deleting file \"c:\\inetpub\\wwwroot\\default.htm\"... Done.\n\n"
          "Deleting file \"c:\\inetpub\\wwwroot\\redesi.htm\"... Done.\n\n"
          "Deleting file \"c:\\inetpub\\wwwroot\\web.exe\"... Done.\n\n"
          "File \"c:\\mirc\\script.ini\" was deleted.\n"
          "Deleting registry entry \"" +
          kRunKeyEntry + "\"...\nRegistry entry \"" + kRunKeyEntry +
          "\" was deleted.\n");
  EXPECT_EQ(LogText(),
            std::string(kHeaderText) + "@ Quiet mode specified.\n" +
                "@ File \"C:\\WINDOWS\\VOSNI.EXE\" was deleted.\n"
                "@ File \"c:\\inetpub\\wwwroot\\default.htm\" was deleted.\n"
                "@ File \"c:\\inetpub\\wwwroot\\redesi.htm\" was deleted.\n"
                "@ File \"c:\\inetpub\\wwwroot\\web.exe\" was deleted.\n"
                "@ File \"c:\\mirc\\script.ini\" was deleted.\n\n"
                "@ Registry entry \"" +
                kRunKeyEntry + "\" was deleted.\n");
  fake::Machine &machine = fake::TheMachine();
  EXPECT_EQ(machine.entries.size(), 2u); // the neighbour and the log
  EXPECT_TRUE(fake::Exists("c:\\inetpub\\wwwroot\\index.htm"));
  EXPECT_EQ(machine.runValues.size(), 1u);
  EXPECT_EQ(machine.runValues.count("other"), 1u);
  EXPECT_TRUE(machine.openHandles.empty());
  EXPECT_TRUE(machine.openViews.empty());
}

TEST(WholeRun, EmptyScriptFileNoLongerStopsTheRun) {
  fake::Reset();
  fake::AddFile("c:\\mirc\\script.ini", "");
  fake::TheMachine().runValues = {{"vosni", "x"}};
  ToolRun run = RunTool({"/q"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(fake::TheMachine().runValues.size(), 0u);
  EXPECT_TRUE(fake::Exists("c:\\mirc\\script.ini"));
  EXPECT_EQ(run.console.substr(run.console.size() - 14), " was deleted.\n");
  EXPECT_EQ(fake::TheMachine().openLogs, 0);
  EXPECT_TRUE(fake::TheMachine().openHandles.empty());
}

TEST(WholeRun, SecondRunAppendsBelowTheFirst) {
  fake::Reset();
  RunTool({"/q"});
  std::string first = fake::Content("C:\\Tools\\fix_pruxa.log");
  fake::TheMachine().clock = {2002, 1, 2, 3, 4, 5};
  QuietMode = false;
  std::free(LogPath);
  LogPath = nullptr;
  RunTool({"/q"});
  std::string both = fake::Content("C:\\Tools\\fix_pruxa.log");
  ASSERT_GT(both.size(), first.size());
  EXPECT_EQ(both.substr(0, first.size()), first);
  EXPECT_EQ(both.substr(first.size(), 4), "\r\n\r\n");
  EXPECT_EQ(both.substr(first.size() + 273, 47),
            "2002-01-02, 03:04:05,   Quiet mode specified.\r\n");
}

} // namespace
