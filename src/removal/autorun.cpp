#include "removal/autorun.h"

#include "platform/platform.h"
#include "report/error_report.h"
#include "report/log.h"

#include <cstdio>

namespace {

const char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char kValueName[] = "Vosni";

} // namespace

void RemoveAutorunValue() {
  KeyHandle key = nullptr;
  Status status = OpenMachineKey(kRunKey, &key);
  if (status != 0) {
    ReportError(status, "Registry key \"%s\"was not found", kRunKey);
    return;
  }
  std::printf("Deleting registry entry \"HKEY_LOCAL_MACHINE\\%s\\%s\"...\n",
              kRunKey, kValueName);
  status = DeleteKeyValue(key, kValueName);
  if (status == 0) {
    std::printf("Registry entry \"HKEY_LOCAL_MACHINE\\%s\\%s\" was deleted.",
                kRunKey, kValueName);
    LogMessage("Registry entry \"HKEY_LOCAL_MACHINE\\%s\\%s\" was deleted.",
               kRunKey, kValueName);
  } else if (status == kStatusFileNotFound) {
    std::printf("Registry entry \"HKEY_LOCAL_MACHINE\\%s\\%s\" was not found.",
                kRunKey, kValueName);
    LogMessage("Registry entry \"HKEY_LOCAL_MACHINE\\%s\\%s\" was not found.",
               kRunKey, kValueName);
  } else {
    std::printf(
        "Registry entry \"HKEY_LOCAL_MACHINE\\%s\\%s\" could not be deleted.",
        kRunKey, kValueName);
    LogMessage(
        "Registry entry \"HKEY_LOCAL_MACHINE\\%s\\%s\" could not be deleted.",
        kRunKey, kValueName);
    ReportError(status, "Failed to delete registry entry \"%s\\%s\".", kRunKey,
                kValueName);
  }
  CloseKey(key);
}
