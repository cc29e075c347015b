#include "fake_machine.h"
#include "removal/named_files.h"
#include "report/log.h"
#include "tool_run.h"

#include <gtest/gtest.h>

namespace {

const char kWeb[] = "c:\\inetpub\\wwwroot\\web.exe";
const char kLocked[] =
    ": The process cannot access the file because it is being used by "
    "another process. (error 32)\n";

class NamedFiles : public testing::Test {
protected:
  void SetUp() override {
    fake::Reset();
    OpenLogFile();
  }
  void TearDown() override { CloseLogFile(); }
  std::string Records() { return LogText().substr(265); }
};

struct RetryCase {
  int failures;
  bool deleted;
};

void PrintTo(const RetryCase &c, std::ostream *os) {
  *os << c.failures << " failures";
}

class DeleteRetry : public NamedFiles,
                    public testing::WithParamInterface<RetryCase> {};

TEST_P(DeleteRetry, GivesUpOnlyAfterFiveFailedAttempts) {
  fake::AddFile(kWeb, "MZ");
  fake::FailCall(fake::Call::DeletePath, kStatusSharingViolation,
                 GetParam().failures);
  StartConsoleCapture();
  Status status = DeleteFileRetry(kWeb);
  std::string console = EndConsoleCapture();
  int attempts = 0;
  for (fake::Call call : fake::TheMachine().trace)
    attempts += call == fake::Call::DeletePath;
  if (GetParam().deleted) {
    EXPECT_EQ(status, 0u);
    EXPECT_EQ(console, "");
    EXPECT_EQ(attempts, GetParam().failures + 1);
    EXPECT_FALSE(fake::Exists(kWeb));
  } else {
    EXPECT_EQ(status, kStatusSharingViolation);
    EXPECT_EQ(console, std::string("\nFailed to delete file \"") + kWeb + "\"" +
                           kLocked);
    EXPECT_EQ(attempts, 5);
    EXPECT_TRUE(fake::Exists(kWeb));
  }
}

INSTANTIATE_TEST_SUITE_P(Failures, DeleteRetry,
                         testing::Values(RetryCase{1, true}, RetryCase{2, true},
                                         RetryCase{3, true}, RetryCase{4, true},
                                         RetryCase{5, false}));

TEST_F(NamedFiles, AttributeFailureEndsTheAttemptBeforeAnyDelete) {
  fake::AddFile(kWeb, "MZ", 0x01);
  fake::FailCall(fake::Call::SetAttributesNormal, kStatusAccessDenied, -1);
  StartConsoleCapture();
  RemoveFileTarget(kWeb);
  std::string console = EndConsoleCapture();
  for (fake::Call call : fake::TheMachine().trace)
    EXPECT_NE(call, fake::Call::DeletePath);
  EXPECT_EQ(console, std::string("Deleting file \"") + kWeb +
                         "\"...\nFailed to delete file \"" + kWeb +
                         "\": Access is denied. (error 5)\n Failed.\n\n");
  EXPECT_EQ(Records(),
            std::string("@ File \"") + kWeb + "\" could not be deleted.\n");
}

TEST_F(NamedFiles, ReadOnlyHiddenSystemFileIsDeleted) {
  fake::AddFile(kWeb, "MZ", 0x01 | 0x02 | 0x04);
  StartConsoleCapture();
  RemoveFileTarget(kWeb);
  EXPECT_EQ(EndConsoleCapture(),
            std::string("Deleting file \"") + kWeb + "\"... Done.\n\n");
  EXPECT_EQ(Records(), std::string("@ File \"") + kWeb + "\" was deleted.\n");
  EXPECT_FALSE(fake::Exists(kWeb));
}

TEST_F(NamedFiles, FolderNamedLikeTargetCountsAsNotFound) {
  fake::AddFolder(kWeb);
  StartConsoleCapture();
  RemoveFileTarget(kWeb);
  EXPECT_EQ(EndConsoleCapture(),
            std::string("Deleting file \"") + kWeb + "\"... Not found.\n\n");
  EXPECT_TRUE(fake::Exists(kWeb));
  EXPECT_TRUE(fake::TheMachine().openHandles.empty());
}

TEST_F(NamedFiles, LockedFileIsReportedAndTheStageGoesOn) {
  fake::AddFile(kWeb, "MZ");
  fake::TheMachine().entries[kWeb].locked = true;
  fake::AddFile("c:\\inetpub\\wwwroot\\default.htm", "x");
  StartConsoleCapture();
  RemoveNamedFiles();
  std::string console = EndConsoleCapture();
  EXPECT_NE(console.find(std::string("Deleting file \"") + kWeb +
                         "\"...\nFailed to delete file \"" + kWeb + "\"" +
                         kLocked + " Failed.\n\n"),
            std::string::npos);
  EXPECT_FALSE(fake::Exists("c:\\inetpub\\wwwroot\\default.htm"));
  EXPECT_EQ(Records(),
            "@ File \"C:\\WINDOWS\\VOSNI.EXE\" was not found.\n"
            "@ File \"c:\\inetpub\\wwwroot\\default.htm\" was deleted.\n"
            "@ File \"c:\\inetpub\\wwwroot\\redesi.htm\" was not found.\n"
            "@ File \"c:\\inetpub\\wwwroot\\web.exe\" could not be deleted.\n");
}

struct FolderCase {
  std::string folder;
  std::string target; // empty when the target is skipped
};

void PrintTo(const FolderCase &c, std::ostream *os) {
  *os << c.folder.size() << " characters";
}

class WindowsFolder : public NamedFiles,
                      public testing::WithParamInterface<FolderCase> {};

TEST_P(WindowsFolder, TargetIsBuiltOnlyWhenItFits) {
  fake::TheMachine().windowsFolder = GetParam().folder;
  if (!GetParam().target.empty())
    fake::AddFile(GetParam().target, "MZ");
  StartConsoleCapture();
  RemoveNamedFiles();
  std::string console = EndConsoleCapture();
  const std::string webRoot =
      "Deleting file \"c:\\inetpub\\wwwroot\\default.htm\"... Not found.\n\n"
      "Deleting file \"c:\\inetpub\\wwwroot\\redesi.htm\"... Not found.\n\n"
      "Deleting file \"c:\\inetpub\\wwwroot\\web.exe\"... Not found.\n\n";
  if (GetParam().target.empty()) {
    EXPECT_EQ(console, "\nFailed to get Windows folder: error 111\n" + webRoot);
    EXPECT_EQ(Records().find("VOSNI"), std::string::npos);
  } else {
    EXPECT_EQ(console, "Deleting file \"" + GetParam().target +
                           "\"... Done.\n\n" + webRoot);
    EXPECT_EQ(Records().substr(0, 2 + 6 + GetParam().target.size() + 15),
              "@ File \"" + GetParam().target + "\" was deleted.\n");
    EXPECT_FALSE(fake::Exists(GetParam().target));
  }
}

const std::string kDeep257 = "C:\\" + std::string(254, 'w');
const std::string kDeep258 = "C:\\" + std::string(255, 'w');

INSTANTIATE_TEST_SUITE_P(
    Folders, WindowsFolder,
    testing::Values(
        FolderCase{"C:\\WINDOWS", "C:\\WINDOWS\\VOSNI.EXE"},
        FolderCase{"C:\\", "C:\\VOSNI.EXE"},
        FolderCase{"C:\\WIN%s%n%d", "C:\\WIN%s%n%d\\VOSNI.EXE"},
        // 257 characters is the longest that, with "\VOSNI.EXE", fits.
        FolderCase{kDeep257, kDeep257 + "\\VOSNI.EXE"},
        FolderCase{kDeep257 + "\\", kDeep257 + "\\VOSNI.EXE"},
        FolderCase{kDeep258, ""},
        FolderCase{"C:\\" + std::string(264, 'w'), ""},
        FolderCase{"C:\\" + std::string(265, 'w'), ""},
        FolderCase{"C:\\" + std::string(4000, 'w'), ""}));

TEST_F(NamedFiles, FailedWindowsFolderLookupSkipsOnlyThatTarget) {
  fake::FailCall(fake::Call::GetWindowsFolder, 8);
  fake::AddFile("c:\\VOSNI.EXE", "keep");
  fake::AddFile("VOSNI.EXE", "keep");
  StartConsoleCapture();
  RemoveNamedFiles();
  std::string console = EndConsoleCapture();
  EXPECT_EQ(
      console.rfind("\nFailed to get Windows folder: error 8\nDeleting", 0),
      0u);
  EXPECT_TRUE(fake::Exists("c:\\VOSNI.EXE"));
  EXPECT_TRUE(fake::Exists("VOSNI.EXE"));
  EXPECT_EQ(Records(),
            "@ File \"c:\\inetpub\\wwwroot\\default.htm\" was not found.\n"
            "@ File \"c:\\inetpub\\wwwroot\\redesi.htm\" was not found.\n"
            "@ File \"c:\\inetpub\\wwwroot\\web.exe\" was not found.\n");
}

} // namespace
