#include "fake_machine.h"
#include "removal/script_ini.h"
#include "report/log.h"
#include "tool_run.h"

#include <gtest/gtest.h>

namespace {

const char kScript[] = "c:\\mirc\\script.ini";
// Its CRC-32 is the worm script's.
const std::string kWormScript = "123456789\xd8\xc1\xe1\xfd";

struct ScriptCase {
  const char *name;
  bool present;
  std::string content;
  fake::Call failing; // GetLocalClock: nothing fails
  std::string console;
  bool remains;
};

void PrintTo(const ScriptCase &c, std::ostream *os) { *os << c.name; }

class ScriptStage : public testing::TestWithParam<ScriptCase> {};

TEST_P(ScriptStage, DeletesOnlyTheWormsScript) {
  const ScriptCase &c = GetParam();
  fake::Reset();
  if (c.present)
    fake::AddFile(kScript, c.content, 0x21);
  if (c.failing != fake::Call::GetLocalClock)
    fake::FailCall(c.failing, fake::TypicalFailure(c.failing));
  OpenLogFile();
  StartConsoleCapture();
  RemoveScriptIni();
  std::string console = EndConsoleCapture();
  CloseLogFile();

  EXPECT_EQ(console, c.console);
  std::string records = c.console.empty() ? "" : "@ " + c.console + "\n";
  EXPECT_EQ(LogText(), std::string(kHeaderText) + records);
  EXPECT_EQ(fake::Exists(kScript), c.remains);
  if (c.remains && c.present) {
    EXPECT_EQ(fake::Content(kScript), c.content);
  }
  fake::Machine &machine = fake::TheMachine();
  EXPECT_TRUE(machine.openHandles.empty());
  EXPECT_TRUE(machine.openViews.empty());
  int deletes = 0;
  for (fake::Call call : machine.trace)
    deletes += call == fake::Call::DeletePath;
  EXPECT_LE(deletes, 1);
}

const std::string kNotFound = "File \"c:\\mirc\\script.ini\" was not found.\n";
const std::string kDeleted = "File \"c:\\mirc\\script.ini\" was deleted.\n";
const std::string kNotDeleted =
    "File \"c:\\mirc\\script.ini\" could not be deleted.\n";
std::string OneByteChanged() {
  std::string changed = kWormScript;
  changed[4] ^= 1;
  return changed;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ScriptStage,
    testing::Values(
        ScriptCase{"absent", false, "", fake::Call::GetLocalClock, kNotFound,
                   false},
        ScriptCase{"unopenable", true, kWormScript, fake::Call::OpenForReading,
                   kNotFound, true},
        ScriptCase{"empty", true, "", fake::Call::GetLocalClock, "", true},
        ScriptCase{"unmappable", true, kWormScript,
                   fake::Call::CreateReadOnlyMapping, "", true},
        ScriptCase{"no view", true, kWormScript, fake::Call::MapReadOnlyView,
                   "", true},
        ScriptCase{"no size", true, kWormScript, fake::Call::GetFileSize64, "",
                   true},
        ScriptCase{"match", true, kWormScript, fake::Call::GetLocalClock,
                   kDeleted, false},
        // Still read-only, so the single delete fails.
        ScriptCase{"attributes fail", true, kWormScript,
                   fake::Call::SetAttributesNormal, kNotDeleted, true},
        ScriptCase{"match undeletable", true, kWormScript,
                   fake::Call::DeletePath, kNotDeleted, true},
        ScriptCase{"mismatch", true, OneByteChanged(),
                   fake::Call::GetLocalClock, "", true},
        ScriptCase{"other text", true, "[script]\r\nn0=on 1:text:*:#:{ }\r\n",
                   fake::Call::GetLocalClock, "", true}),
    [](const testing::TestParamInfo<ScriptCase> &info) {
      std::string name = info.param.name;
      for (char &c : name)
        if (c == ' ')
          c = '_';
      return name;
    });

TEST(ScriptStage, FolderNamedLikeTheScriptIsNotFound) {
  fake::Reset();
  fake::AddFolder(kScript);
  StartConsoleCapture();
  RemoveScriptIni();
  EXPECT_EQ(EndConsoleCapture(), kNotFound);
  EXPECT_TRUE(fake::Exists(kScript));
}

TEST(ScriptStage, ReleasesEverythingBeforeDeleting) {
  fake::Reset();
  fake::AddFile(kScript, kWormScript, 0x01);
  StartConsoleCapture();
  RemoveScriptIni();
  EndConsoleCapture();
  std::vector<fake::Call> expected = {
      fake::Call::OpenForReading,  fake::Call::CreateReadOnlyMapping,
      fake::Call::MapReadOnlyView, fake::Call::GetFileSize64,
      fake::Call::UnmapView,       fake::Call::CloseFile,
      fake::Call::CloseMapping,    fake::Call::SetAttributesNormal,
      fake::Call::DeletePath};
  EXPECT_EQ(fake::TheMachine().trace, expected);
}

} // namespace
