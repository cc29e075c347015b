// The command-line rules: which arguments pause, what is printed after the
// banner, and the exit status. Runs that stop at the arguments never reach
// the disk.
#include "fake_machine.h"
#include "run/texts.h"
#include "tool_run.h"

#include <gtest/gtest.h>

namespace {

const char *const kPrompt = kPromptText;
const char *const kUsage = kUsageText;
const char kTooMany[] = "Too many command-line parameters\n";

struct Case {
  std::vector<std::string> arguments;
  bool paused;
  std::string after; // console text after the banner and any prompt
  int status;
};

void PrintTo(const Case &c, std::ostream *os) {
  for (const std::string &argument : c.arguments) {
    *os << "[";
    for (std::size_t i = 0; i < argument.size() && i < 20; ++i) {
      unsigned char byte = static_cast<unsigned char>(argument[i]);
      if (byte < 0x80)
        *os << argument[i];
      else
        *os << "\\x" << std::hex << int(byte) << std::dec;
    }
    *os << (argument.size() > 20 ? "...]" : "]");
  }
}

std::string Invalid(const std::string &argument) {
  return "Invalid command-line option: " + argument + "\n";
}

class CommandLine : public testing::TestWithParam<Case> {
protected:
  void SetUp() override { fake::Reset(); }
};

TEST_P(CommandLine, StopsWithTheRightTextAndStatus) {
  const Case &c = GetParam();
  ToolRun run = RunTool(c.arguments);
  fake::Machine &machine = fake::TheMachine();

  StartConsoleCapture();
  PrintBanner();
  std::string expected = EndConsoleCapture();
  if (c.paused)
    expected += kPrompt;
  expected += c.after;

  EXPECT_EQ(run.console, expected);
  EXPECT_EQ(run.status, c.status);
  EXPECT_EQ(machine.keyReads, c.paused ? 1 : 0);
  // Nothing after the key read: no log, no file, no registry.
  EXPECT_EQ(machine.calls, c.paused ? 1 : 0);
  EXPECT_TRUE(machine.entries.empty());
}

const std::string kLong(20000, 'x');

INSTANTIATE_TEST_SUITE_P(
    Stops, CommandLine,
    testing::Values(
        Case{{"/?"}, true, kUsage, 1}, Case{{"-?"}, true, kUsage, 1},
        Case{{"/?", "/Q"}, false, kUsage, 1},
        Case{{"/Q", "/?"}, false, kUsage, 1},
        Case{{"/q", "-?", "junk"}, false, kUsage, 1},
        Case{{"C:\\"}, true, kTooMany, 2}, Case{{""}, true, kTooMany, 2},
        Case{{"word", "/Q"}, false, kTooMany, 2},
        Case{{"/x", "/Q"}, false, Invalid("/x"), 2},
        Case{{"/x", "/?"}, true, Invalid("/x"), 2},
        Case{{"/?", "/x"}, true, kUsage, 1},
        Case{{"/QQ"}, true, Invalid("/QQ"), 2},
        Case{{"/quiet"}, true, Invalid("/quiet"), 2},
        Case{{"/"}, true, Invalid("/"), 2}, Case{{"-"}, true, Invalid("-"), 2},
        Case{{"/??"}, true, Invalid("/??"), 2},
        Case{{"/%d%s%n"}, true, Invalid("/%d%s%n"), 2},
        Case{{"-q", "/%s"}, false, Invalid("/%s"), 2},
        Case{{"/" + kLong}, true, Invalid("/" + kLong), 2},
        Case{{"/\xE9t\xE9"}, true, Invalid("/\xE9t\xE9"), 2}));

TEST(QuietSwitch, EachSpellingSkipsThePauseAndRuns) {
  for (const char *spelling : {"/q", "/Q", "-q", "-Q"}) {
    fake::Reset();
    ToolRun run = RunTool({spelling});
    EXPECT_EQ(run.status, 0) << spelling;
    EXPECT_EQ(fake::TheMachine().keyReads, 0) << spelling;
    EXPECT_NE(run.console.find("\nQUIET MODE\n\nDeleting file"),
              std::string::npos)
        << spelling;
  }
}

TEST(Pause, PrecedesTheRunAndEndsOnThePromptLine) {
  fake::Reset();
  ToolRun run = RunTool({});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(fake::TheMachine().keyReads, 1);
  EXPECT_NE(
      run.console.find("+\nPress any key to continue ....\nDeleting file"),
      std::string::npos);
  // The key read comes before anything touches the machine.
  ASSERT_FALSE(fake::TheMachine().trace.empty());
  EXPECT_EQ(fake::TheMachine().trace[0], fake::Call::WaitForConsoleKey);
}

} // namespace
