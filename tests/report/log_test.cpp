#include "fake_machine.h"
#include "report/log.h"
#include "tool_run.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

class Log : public testing::Test {
protected:
  void SetUp() override { fake::Reset(); }
  void TearDown() override { CloseLogFile(); }
};

TEST_F(Log, RecordPrefixIsZeroPaddedAnd24Characters) {
  char prefix[25];
  FormatRecordPrefix({2001, 3, 5, 2, 4, 9}, prefix);
  EXPECT_STREQ(prefix, "2001-03-05, 02:04:09,   ");
  FormatRecordPrefix({2001, 12, 13, 23, 59, 59}, prefix);
  EXPECT_STREQ(prefix, "2001-12-13, 23:59:59,   ");
}

TEST_F(Log, HeaderIs265CharactersAnd273BytesOnDisk) {
  EXPECT_EQ(std::string(kHeaderText).size(), 265u);
  OpenLogFile();
  const std::string stored = fake::Content("C:\\Tools\\fix_pruxa.log");
  EXPECT_EQ(stored.size(), 273u);
  EXPECT_EQ(LogText(), kHeaderText);
}

TEST_F(Log, QuietRecordIs47Bytes) {
  OpenLogFile();
  LogMessage("Quiet mode specified.");
  EXPECT_EQ(fake::Content("C:\\Tools\\fix_pruxa.log").substr(273),
            "2001-12-13, 09:05:07,   Quiet mode specified.\r\n");
}

TEST_F(Log, LiesBesideTheProgramAndAppends) {
  fake::AddFile("C:\\Tools\\fix_pruxa.log", "old\r\n");
  OpenLogFile();
  EXPECT_STREQ(LogPath, "C:\\Tools\\fix_pruxa.log");
  EXPECT_EQ(fake::Content("C:\\Tools\\fix_pruxa.log").substr(0, 9),
            "old\r\n\r\n\r\n");
}

TEST_F(Log, EachRecordIsHandedOverBeforeTheNextCall) {
  OpenLogFile();
  LogMessage("one %s", "x");
  fake::Machine &machine = fake::TheMachine();
  EXPECT_TRUE(machine.pendingLog.empty());
  EXPECT_EQ(machine.logAfterFlush.back(), fake::Content(machine.logPath));
  EXPECT_EQ(LogText(), std::string(kHeaderText) + "@ one x\n");
}

TEST_F(Log, ProgramPathWithoutBackslashOrUnknownLogsToCurrentFolder) {
  fake::TheMachine().programPath = "fix_pruxa.exe";
  OpenLogFile();
  EXPECT_STREQ(LogPath, "fix_pruxa.log");
  CloseLogFile();
  fake::Reset();
  fake::FailCall(fake::Call::GetProgramPath, 8);
  OpenLogFile();
  EXPECT_STREQ(LogPath, "fix_pruxa.log");
}

TEST_F(Log, PercentInTheProgramFolderIsShownUnchanged) {
  fake::TheMachine().programPath = "C:\\100%d %s\\fix_pruxa.exe";
  fake::AddFolder("C:\\100%d %s\\fix_pruxa.log");
  StartConsoleCapture();
  OpenLogFile();
  EXPECT_EQ(EndConsoleCapture(),
            "\nCould not open log file \"C:\\100%d %s\\fix_pruxa.log\".\n");
  EXPECT_EQ(LogStream, nullptr);
}

TEST_F(Log, UnopenableLogIsReportedOnceAndLaterRecordsAreDropped) {
  // A folder in its place, then a read-only log.
  for (bool folder : {true, false}) {
    fake::Reset();
    if (folder) {
      fake::AddFolder("C:\\Tools\\fix_pruxa.log");
    } else {
      fake::AddFile("C:\\Tools\\fix_pruxa.log", "old\r\n", 0x21);
      fake::TheMachine().entries["c:\\tools\\fix_pruxa.log"].unwritable = true;
    }
    StartConsoleCapture();
    OpenLogFile();
    LogMessage("dropped");
    EXPECT_EQ(EndConsoleCapture(),
              "\nCould not open log file \"C:\\Tools\\fix_pruxa.log\".\n");
    EXPECT_EQ(fake::TheMachine().calls, 2); // program path, open; no clock
    if (!folder) {
      EXPECT_EQ(fake::Content("C:\\Tools\\fix_pruxa.log"), "old\r\n");
    }
  }
}

TEST_F(Log, TooLongProgramPathIsNeverShortenedIntoAnotherName) {
  // The folder alone fits in 260 characters; with the log's name it
  // does not. The whole path would be cut by a 260-character buffer.
  for (std::size_t folderLength : {250u, 400u, 5000u}) {
    fake::Reset();
    std::string folder = "C:\\" + std::string(folderLength, 'd');
    fake::TheMachine().programPath = folder + "\\fix_pruxa.exe";
    StartConsoleCapture();
    OpenLogFile();
    EXPECT_EQ(EndConsoleCapture(),
              "\nCould not open log file \"" + folder + "\\fix_pruxa.log\".\n");
    EXPECT_EQ(LogStream, nullptr);
    EXPECT_TRUE(fake::TheMachine().entries.empty()) << folderLength;
  }
}

TEST_F(Log, LongestPathThatFitsIsUsed) {
  // 259 characters plus the terminating NUL.
  std::string folder = "C:\\" + std::string(259 - 3 - 14, 'd');
  fake::TheMachine().programPath = folder + "\\fix_pruxa.exe";
  OpenLogFile();
  EXPECT_EQ(std::strlen(LogPath), 259u);
  EXPECT_NE(LogStream, nullptr);
}

TEST_F(Log, WriteAndFlushFailuresLoseOnlyThatRecord) {
  fake::FailCall(fake::Call::WriteLogStream, 112, 1, 1);
  fake::FailCall(fake::Call::FlushLogStream, 112, 1, 3);
  OpenLogFile();
  LogMessage("lost in writing");
  LogMessage("kept 1");
  LogMessage("lost in flushing");
  LogMessage("kept 2");
  EXPECT_EQ(LogText(), std::string(kHeaderText) + "@ kept 1\n@ kept 2\n");
}

TEST_F(Log, SecondOpenWritesAnotherHeaderOnTheSameStream) {
  OpenLogFile();
  OpenLogFile();
  EXPECT_EQ(LogText(), std::string(kHeaderText) + kHeaderText);
  EXPECT_EQ(fake::TheMachine().openLogs, 1);
}

TEST_F(Log, CloseReleasesTheStream) {
  OpenLogFile();
  CloseLogFile();
  EXPECT_EQ(LogStream, nullptr);
  EXPECT_EQ(fake::TheMachine().openLogs, 0);
  LogMessage("after close");
  EXPECT_EQ(LogText(), kHeaderText);
}

} // namespace
