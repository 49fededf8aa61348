// Results CSV: whatever loads can be saved, and reads back as the same table and comment;
// saving that again writes the same bytes.
#include "fuzz_support.h"
#include "results_csv.h"

using namespace ordevo;
using namespace ordevo::fuzz;

namespace {

bool SameTable(const ResultsCsvContents& a, const ResultsCsvContents& b) {
    if (a.Comment != b.Comment || a.Table.NextRowIndex != b.Table.NextRowIndex) return false;
    for (int r = 1; r <= kResultsRowCount; ++r)
        for (int c = 1; c <= kResultsColumnCount; ++c)
            if (CellText(a.Table.Rows[r][c]) != CellText(b.Table.Rows[r][c])) return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString path = WriteInput(QStringLiteral("in.csv"), Input(data, size));
    const auto loaded = ReadResultsCsv(path);
    (void)ReadResultsComment(path);
    if (!loaded) return 0;
    const int rows = ResultsRowCount(loaded->Table);
    FUZZ_CHECK(rows >= 0 && rows <= kResultsRowCount);

    const QString saved = Scratch().filePath(QStringLiteral("out.csv"));
    const auto written = WriteResultsCsv(saved, loaded->Comment, loaded->Table);
    FUZZ_CHECK(written.has_value());  // a file the program loads it can save
    const auto reloaded = ReadResultsCsv(saved);
    FUZZ_CHECK(reloaded.has_value());
    FUZZ_CHECK(SameTable(*loaded, *reloaded));

    QFile first(saved);
    FUZZ_CHECK(first.open(QIODevice::ReadOnly));
    const QByteArray firstBytes = first.readAll();
    first.close();
    FUZZ_CHECK(WriteResultsCsv(saved, reloaded->Comment, reloaded->Table).has_value());
    QFile second(saved);
    FUZZ_CHECK(second.open(QIODevice::ReadOnly));
    FUZZ_CHECK(second.readAll() == firstBytes);
    return 0;
}
