#include "run/texts.h"
#include "tool_run.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

namespace {

std::vector<std::string> BannerRows() {
  StartConsoleCapture();
  PrintBanner();
  std::istringstream text(EndConsoleCapture());
  std::vector<std::string> rows;
  for (std::string row; std::getline(text, row);)
    rows.push_back(row);
  return rows;
}

TEST(Banner, Has21RowsOf64Characters) {
  std::vector<std::string> rows = BannerRows();
  ASSERT_EQ(rows.size(), 21u);
  for (const std::string &row : rows)
    EXPECT_EQ(row.size(), 64u) << row;
  const std::string border =
      "+==============================================================+";
  EXPECT_EQ(rows[0], border);
  EXPECT_EQ(rows[3], border);
  EXPECT_EQ(rows[20], border);
}

TEST(Banner, NamesTheMakerAndItsPage) {
  std::vector<std::string> rows = BannerRows();
  ASSERT_EQ(rows.size(), 21u);
  EXPECT_EQ(rows[1],
            "|                    FIX_PRUXA Version 1.10                    |");
  EXPECT_EQ(rows[2], "|" + std::string(22, ' ') + "Qarlo Vemmo, Inc." +
                         std::string(23, ' ') + "|");
  EXPECT_EQ(rows[18], "|       http://www.qarlovemmo.com/vo-querix/vinfo/" +
                          std::string(13, ' ') + "|");
  EXPECT_EQ(rows[19],
            "|           virusencyclo/default5.asp?VName=WORM_PRUXA.A       |");
}

TEST(Banner, ShowsSinglePercentSigns) {
  std::vector<std::string> rows = BannerRows();
  ASSERT_EQ(rows.size(), 21u);
  EXPECT_EQ(
      rows[5],
      "|       a.  Delete the file \"%Windows%\\VOSNI.EXE\".             |");
  EXPECT_EQ(rows[15],
            "|       %Windows% refers to the Windows folder, which          |");
}

TEST(Usage, IsTheExactTextEndingInAnEmptyLine) {
  StartConsoleCapture();
  PrintUsage();
  EXPECT_EQ(EndConsoleCapture(),
            "Scans and removes all copies of the worm \"WORM_PRUXA.A\"\n\n"
            "FIX_PRUXA [/Q] [/?]\n\n"
            "    /Q          Quiet mode: Disables opening message. Removes\n"
            "                virus/worm and clean infected computer.\n"
            "    /?          Display help information.\n\n");
}

} // namespace
