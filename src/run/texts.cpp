// The banner and the usage text. Both are printed as plain text, never as
// formats, so "%Windows%" needs no doubling.
#include "run/texts.h"

#include <cstdio>

namespace {

const char kBanner[] =
    "+==============================================================+\n"
    "|                    FIX_PRUXA Version 1.10                    |\n"
    "|                      Qarlo Vemmo, Inc.                       |\n"
    "+==============================================================+\n"
    "|   1.  Scan and remove WORM_PRUXA.A from the system.          |\n"
    "|       a.  Delete the file \"%Windows%\\VOSNI.EXE\".             |\n"
    "|       b.  Delete the file \"C:\\INETPUB\\WWWROOT\\DEFAULT.HTM\".  |\n"
    "|       c.  Delete the file \"C:\\INETPUB\\WWWROOT\\REDESI.HTM\".   |\n"
    "|       d.  Delete the file \"C:\\INETPUB\\WWWROOT\\WEB.EXE\".      |\n"
    "|       e.  Delete the file \"C:\\MIRC\\SCRIPT.INI\".              |\n"
    "|       f.  Delete the registry entry \"HKLM\\Software\\Microsoft\\|\n"
    "|           Windows\\CurrentVersion\\Run\\Vosni\".                 |\n"
    "|   2.  Log actions in a file named \"fix_pruxa.log\" located    |\n"
    "|       in the same folder as this fix tool.                   |\n"
    "|   NOTE:                                                      |\n"
    "|       %Windows% refers to the Windows folder, which          |\n"
    "|       is usually \"C:\\WINDOWS\".                               |\n"
    "|   For information about this virus, visit:                   |\n"
    "|       http://www.qarlovemmo.com/vo-querix/vinfo/             |\n"
    "|           virusencyclo/default5.asp?VName=WORM_PRUXA.A       |\n"
    "+==============================================================+\n";

const char kUsage[] =
    "Scans and removes all copies of the worm \"WORM_PRUXA.A\"\n\n"
    "FIX_PRUXA [/Q] [/?]\n\n"
    "    /Q          Quiet mode: Disables opening message. Removes\n"
    "                virus/worm and clean infected computer.\n"
    "    /?          Display help information.\n\n";

} // namespace

void PrintBanner() { std::fputs(kBanner, stdout); }

void PrintUsage() { std::fputs(kUsage, stdout); }
