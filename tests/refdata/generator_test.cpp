// Command-line options of ordevo-refdata.
#include <gtest/gtest.h>

#include "generator.h"

namespace ordevo::refdata {
namespace {

TEST(ParseArguments, DefaultsToTheFullRunIntoRefdata) {
    const GeneratorOptions options = ParseArguments({});
    EXPECT_EQ(options.OutputFolder, "refdata");
    EXPECT_EQ(options.Settings.HistoriesPerEnergy, kFullHistoriesPerEnergy);
    EXPECT_EQ(options.Settings.Threads, 2);
    EXPECT_EQ(options.Settings.BaseSeed, kDefaultBaseSeed);
}

TEST(ParseArguments, ReadsEveryOption) {
    const GeneratorOptions quick =
        ParseArguments({"--quick", "--out", "x/y", "--threads", "1", "--seed", "5"});
    EXPECT_EQ(quick.OutputFolder, "x/y");
    EXPECT_EQ(quick.Settings.HistoriesPerEnergy, kQuickHistoriesPerEnergy);
    EXPECT_EQ(quick.Settings.Threads, 1);
    EXPECT_EQ(quick.Settings.BaseSeed, 5u);
    // Up to 20 keV four times the histories.
    EXPECT_EQ(quick.Settings.HistoriesAt(20), 4 * kQuickHistoriesPerEnergy);
    EXPECT_EQ(quick.Settings.HistoriesAt(25), kQuickHistoriesPerEnergy);
    EXPECT_EQ(ParseArguments({"--histories", "12345"}).Settings.HistoriesPerEnergy, 12345);
}

TEST(ParseArguments, RefusesBadArguments) {
    for (const std::vector<std::string>& bad :
         std::vector<std::vector<std::string>>{{"--histories"},
                                               {"--histories", "0"},
                                               {"--histories", "12x"},
                                               {"--threads", "-1"},
                                               {"--out"},
                                               {"--fast"}}) {
        EXPECT_THROW(ParseArguments(bad), std::invalid_argument) << bad[0];
    }
}

}  // namespace
}  // namespace ordevo::refdata
