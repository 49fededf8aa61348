// The results CSV file: line 1 the comment, line 2 " N ", lines 3–18 one column of the table
// each, a label followed by ",cell" for rows 1…N. Code page 932, CR LF.
#pragma once

#include <QString>
#include <QStringList>
#include <array>

#include "file_error.h"
#include "results_table.h"

namespace ordevo {

// The labels of lines 3–18 (UTF-8), index = results column (0 not used).
inline constexpr std::array<const char*, kResultsColumnCount + 1> kResultsCsvLabels = {
    "",
    "対象部位",
    "管電圧 (kV)",
    "固有濾過(mmAL)",
    "ｱﾙﾐ付加 (mm)",
    "銅付加 (mm)",
    "その他フィルタ",
    "上記厚(mm)",
    "FSD (cm)",
    "照射野 at 基準点",
    "Kar (mGy)",
    "P_KA (Gy･cm2)",
    "補正 kar (mGy)",
    "補正 P_KA (Gy･cm2)",
    "皮膚線量/空気カーマ比",
    "前方・後方散乱係数",
    "入射表面皮膚吸収線量 (mGy)",
};

// The 18 lines of the file; errors name `fileName`. Refused (error) when the comment holds a line
// break, the row count is outside 0..15, or a cell holds a comma or a line break (the file has no
// quoting, so such a cell could not be read back).
FileResult<QStringList> ResultsCsvLines(const QString& comment, const ResultsTable& table,
                                        const QString& fileName);

// Writes ResultsCsvLines through QSaveFile; on error nothing is written and an old file stays
// whole.
FileResult<void> WriteResultsCsv(const QString& path, const QString& comment,
                                 const ResultsTable& table);

struct ResultsCsvContents {
    QString Comment;
    ResultsTable Table;  // rows 1..N filled, the rest reset, NextRowIndex = N + 1
};

// Reads and checks the whole file before anything is returned, so a damaged file gives an
// error and never half a table. Lines padded with empty fields at their end (as a spreadsheet
// saves them: "2,,") are read as if the padding were not there: line 2 must hold a whole number
// 0..15 (blanks around it allowed); lines 3–18 their exact label and exactly N fields; blanks and
// tabs around a field are dropped; a field of a numeric column must be a number (its text is kept
// as the cell, so saving again writes the same bytes); a CR inside a line and non-empty lines after
// line 18 are errors. Whatever this reads, WriteResultsCsv writes back.
FileResult<ResultsCsvContents> ReadResultsCsv(const QString& path);

// Line 1 alone, readable even when the rest of the file is damaged.
FileResult<QString> ReadResultsComment(const QString& path);

}  // namespace ordevo
