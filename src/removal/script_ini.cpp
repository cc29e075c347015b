#include "removal/script_ini.h"

#include "platform/platform.h"
#include "removal/crc32.h"
#include "report/log.h"

#include <cstdio>

namespace {

const char kScriptPath[] = "c:\\mirc\\script.ini";

void Say(const char *text) {
  std::fputs(text, stdout);
  LogMessage("%s", text);
}

// True when the view holds the worm's script: the whole file, which must
// fit in 32 bits to be the worm's at all.
bool IsWormScript(FileHandle file, const unsigned char *view) {
  std::uint64_t size = 0;
  if (!GetFileSize64(file, &size) || size == 0 || size > 0xFFFFFFFFu)
    return false;
  return Crc32(view, static_cast<std::size_t>(size)) == kScriptChecksum;
}

} // namespace

void RemoveScriptIni() {
  FileHandle file = OpenForReading(kScriptPath);
  if (file == nullptr) {
    Say("File \"c:\\mirc\\script.ini\" was not found.\n");
    return;
  }
  // An empty file cannot be mapped; like any file that cannot be checked
  // it is left alone and the run goes on.
  MappingHandle mapping = CreateReadOnlyMapping(file);
  if (mapping == nullptr) {
    CloseFile(file);
    return;
  }
  const unsigned char *view = MapReadOnlyView(mapping);
  if (view == nullptr) {
    CloseFile(file);
    CloseMapping(mapping);
    return;
  }
  bool matches = IsWormScript(file, view);
  UnmapView(view);
  CloseFile(file);
  CloseMapping(mapping);
  if (!matches)
    return;
  SetAttributesNormal(kScriptPath);
  if (DeletePath(kScriptPath))
    Say("File \"c:\\mirc\\script.ini\" was deleted.\n");
  else
    Say("File \"c:\\mirc\\script.ini\" could not be deleted.\n");
}
