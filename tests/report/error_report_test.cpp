#include "fake_machine.h"
#include "report/error_report.h"
#include "tool_run.h"

#include <gtest/gtest.h>

namespace {

TEST(ReportError, StartsWithLineBreakAndEndsWithDescription) {
  fake::Reset();
  StartConsoleCapture();
  ReportError(32, "Failed to delete file \"%s\"",
              "c:\\inetpub\\wwwroot\\web.exe");
  EXPECT_EQ(EndConsoleCapture(),
            "\nFailed to delete file \"c:\\inetpub\\wwwroot\\web.exe\": The "
            "process cannot access the file because it is being used by "
            "another process. (error 32)\n");
}

TEST(ReportError, StatusWithoutSystemTextIsNamedByNumber) {
  fake::Reset();
  StartConsoleCapture();
  ReportError(4000000000u, "Failed to get Windows folder");
  EXPECT_EQ(EndConsoleCapture(),
            "\nFailed to get Windows folder: error 4000000000\n");
}

TEST(ReportError, ArgumentsAreNeverFormats) {
  fake::Reset();
  StartConsoleCapture();
  ReportError(5, "Failed to delete file \"%s\"", "C:\\50%s%n%d\\x");
  EXPECT_EQ(EndConsoleCapture(),
            "\nFailed to delete file \"C:\\50%s%n%d\\x\": Access is denied. "
            "(error 5)\n");
  EXPECT_FALSE(fake::Exists("C:\\Tools\\fix_pruxa.log"));
}

} // namespace
