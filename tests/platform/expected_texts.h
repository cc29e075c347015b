// The tool's fixed texts, written out again for the tests to compare with.
#pragma once

inline constexpr char kUsageText[] =
    "Scans and removes all copies of the worm \"WORM_PRUXA.A\"\n\n"
    "FIX_PRUXA [/Q] [/?]\n\n"
    "    /Q          Quiet mode: Disables opening message. Removes\n"
    "                virus/worm and clean infected computer.\n"
    "    /?          Display help information.\n\n";

inline constexpr char kHeaderText[] =
    "\n\n"
    "/--------------------------------------------------------------\\\n"
    "|                      FIX_PRUXA Log File                       |\n"
    "|                      Qarlo Vemmo, Inc.                       |\n"
    "\\--------------------------------------------------------------/\n"
    "\n\n";

inline constexpr char kPromptText[] = "Press any key to continue ....";
