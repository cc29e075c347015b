#include "fake_machine.h"
#include "removal/autorun.h"
#include "report/log.h"
#include "tool_run.h"

#include <gtest/gtest.h>

namespace {

const std::string kEntry =
    "HKEY_LOCAL_"
    "MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Run\\Vosni";
const std::string kDeleting = "Deleting registry entry \"" + kEntry + "\"...\n";

struct AutorunCase {
  const char *name;
  bool present;
  Status deleteFailure; // 0: none injected
  std::string console;
  std::string record;
};

void PrintTo(const AutorunCase &c, std::ostream *os) { *os << c.name; }

class AutorunStage : public testing::TestWithParam<AutorunCase> {};

TEST_P(AutorunStage, RemovesOnlyTheWormsValue) {
  const AutorunCase &c = GetParam();
  fake::Reset();
  fake::Machine &machine = fake::TheMachine();
  machine.runValues = {{"other", "keep.exe"}};
  if (c.present)
    machine.runValues["vosni"] = "C:\\WINDOWS\\VOSNI.EXE";
  if (c.deleteFailure != 0)
    fake::FailCall(fake::Call::DeleteKeyValue, c.deleteFailure);
  OpenLogFile();
  StartConsoleCapture();
  RemoveAutorunValue();
  EXPECT_EQ(EndConsoleCapture(), c.console);
  CloseLogFile();
  EXPECT_EQ(LogText(), std::string(kHeaderText) + "@ " + c.record + "\n");
  EXPECT_EQ(machine.runValues.count("other"), 1u);
  EXPECT_EQ(machine.runValues.count("vosni"),
            c.present && c.deleteFailure != 0 ? 1u : 0u);
  EXPECT_TRUE(machine.openHandles.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AutorunStage,
    testing::Values(
        AutorunCase{"deleted", true, 0,
                    kDeleting + "Registry entry \"" + kEntry +
                        "\" was deleted.",
                    "Registry entry \"" + kEntry + "\" was deleted."},
        AutorunCase{"absent", false, 0,
                    kDeleting + "Registry entry \"" + kEntry +
                        "\" was not found.",
                    "Registry entry \"" + kEntry + "\" was not found."},
        AutorunCase{"denied", true, kStatusAccessDenied,
                    kDeleting + "Registry entry \"" + kEntry +
                        "\" could not be deleted.\nFailed to delete registry "
                        "entry \"Software\\Microsoft\\Windows\\CurrentVersion\\"
                        "Run\\Vosni\".: Access is denied. (error 5)\n",
                    "Registry entry \"" + kEntry + "\" could not be deleted."}),
    [](const testing::TestParamInfo<AutorunCase> &info) {
      return std::string(info.param.name);
    });

TEST(AutorunStage, UnopenableKeyIsOnlyReported) {
  for (Status status : {kStatusFileNotFound, kStatusAccessDenied}) {
    fake::Reset();
    fake::TheMachine().runValues = {{"vosni", "x"}};
    fake::FailCall(fake::Call::OpenMachineKey, status);
    OpenLogFile();
    StartConsoleCapture();
    RemoveAutorunValue();
    std::string console = EndConsoleCapture();
    CloseLogFile();
    EXPECT_EQ(console.rfind("\nRegistry key \"Software\\Microsoft\\Windows\\"
                            "CurrentVersion\\Run\"was not found: ",
                            0),
              0u);
    EXPECT_NE(console.find("(error " + std::to_string(status) + ")\n"),
              std::string::npos);
    EXPECT_EQ(console.find("Deleting"), std::string::npos);
    EXPECT_EQ(LogText(), kHeaderText);
    EXPECT_EQ(fake::TheMachine().runValues.size(), 1u);
  }
}

} // namespace
