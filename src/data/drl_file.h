// drl.txt: the diagnostic reference levels the review compares with. "#" starts a comment;
// every other non-blank line is "CATEGORY = KAR_MGY, PKA_GYCM2", the total Ka,r in mGy and the
// total P_KA in Gy·cm²; either may be left blank where no level is set.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "file_error.h"

namespace ordevo {

struct DrlEntry {
    QString Category;
    std::optional<double> KarMGy;
    std::optional<double> PkaGyCm2;
};

// Errors name the file and the line: no "=", no comma, a value that is not a positive number,
// a category given twice.
FileResult<std::vector<DrlEntry>> ReadDrlTable(const QString& path);
FileResult<std::vector<DrlEntry>> ParseDrlTable(const QStringList& lines, const QString& fileName);

const DrlEntry* FindDrl(const std::vector<DrlEntry>& table, const QString& category);

}  // namespace ordevo
