// Names that become file names in the chosen folder: refused when they could not name a file
// there, with the reason.
#include "file_name_check.h"

#include <gtest/gtest.h>

namespace ordevo {
namespace {

TEST(FileNameProblem, RefusesWhatCouldNotNameAFileOfTheFolder) {
    for (const char* refused : {"", "  ", ".", "..", "../Room", "a\\b", "Room\t1", ":Cu", ":/x"})
        EXPECT_TRUE(FileNameProblem(QString::fromUtf8(refused))) << refused;
    for (const char* kept : {"Room 1", "銅, 合金", "a:b", ".hidden"})
        EXPECT_FALSE(FileNameProblem(QString::fromUtf8(kept))) << kept;
}

}  // namespace
}  // namespace ordevo
