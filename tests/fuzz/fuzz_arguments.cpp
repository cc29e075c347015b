// Drives the whole tool with arbitrary argument vectors on an infected
// in-memory machine and checks the outcome against the command-line rules:
// status 1 only for the help switch, 2 only with the exact error texts, and
// the disk touched only when the run went ahead (status 0).
#include "expected_texts.h"
#include "fake_machine.h"
#include "run/tool_main.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

const char *const kUsage = kUsageText;
const std::string kPrompt = kPromptText;

bool IsSwitch(const std::string &a) {
  return !a.empty() && (a[0] == '/' || a[0] == '-');
}
bool IsQuiet(const std::string &a) {
  return IsSwitch(a) && a.size() == 2 && (a[1] == 'q' || a[1] == 'Q');
}

void Check(bool condition, const char *what) {
  if (!condition) {
    std::fprintf(stderr, "rule broken: %s\n", what);
    std::abort();
  }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data,
                                      std::size_t size) {
  // Arguments are separated by NUL bytes; at most 16 of them.
  std::vector<std::string> arguments{"C:\\Tools\\fix_pruxa.exe"};
  std::string current;
  for (std::size_t i = 0; i < size && arguments.size() < 17; ++i) {
    if (data[i] == 0) {
      arguments.push_back(current);
      current.clear();
    } else {
      current += static_cast<char>(data[i]);
    }
  }
  if (size != 0 && arguments.size() < 17)
    arguments.push_back(current);

  // What the rules say should happen.
  bool quiet = false;
  for (std::size_t i = 1; i < arguments.size(); ++i)
    quiet = quiet || IsQuiet(arguments[i]);
  int expected = 0;
  std::string text;
  for (std::size_t i = 1; i < arguments.size() && expected == 0; ++i) {
    const std::string &a = arguments[i];
    if (!IsSwitch(a)) {
      expected = 2;
      text = "Too many command-line parameters\n";
    } else if (IsQuiet(a)) {
      continue;
    } else if (a == "/?" || a == "-?") {
      expected = 1;
      text = kUsage;
    } else {
      expected = 2;
      text = "Invalid command-line option: " + a + "\n";
    }
  }

  fake::Reset();
  fake::AddFile("C:\\WINDOWS\\VOSNI.EXE", "MZ", 0x07);
  fake::AddFile("c:\\mirc\\script.ini", "123456789\xd8\xc1\xe1\xfd");
  fake::TheMachine().runValues = {{"vosni", "x"}};
  std::vector<char *> argv;
  for (std::string &argument : arguments)
    argv.push_back(&argument[0]);
  argv.push_back(nullptr);

  char *console = nullptr;
  std::size_t length = 0;
  FILE *saved = stdout;
  stdout = open_memstream(&console, &length);
  int status = ToolMain(static_cast<int>(arguments.size()), argv.data());
  std::fclose(stdout);
  stdout = saved;
  std::string out(console, length);
  std::free(console);

  Check(status == expected, "exit status");
  Check(out.size() >= 21 * 65 &&
            out.compare(0, 65, "+" + std::string(62, '=') + "+\n") == 0,
        "banner first");
  std::string after = out.substr(21 * 65);
  if (!quiet) {
    Check(after.compare(0, kPrompt.size(), kPrompt) == 0, "prompt");
    after = after.substr(kPrompt.size());
  }
  Check(fake::TheMachine().keyReads == (quiet ? 0 : 1), "pause");
  fake::Machine &machine = fake::TheMachine();
  if (expected != 0) {
    Check(after == text, "exact text");
    Check(machine.entries.size() == 2 && machine.runValues.size() == 1,
          "nothing touched");
  } else {
    Check(fake::Exists("C:\\Tools\\fix_pruxa.log"), "log written");
    Check(machine.entries.size() == 1 && machine.runValues.empty(),
          "worm removed");
  }
  return 0;
}
