// procedure_categories.txt: the user's rules that give each procedure its category. "#" starts
// a comment; every other non-blank line is "CATEGORY = PATTERN", a regular expression searched
// case-insensitively in the procedure's descriptive texts; the first rule that matches wins.
#pragma once

#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "file_error.h"

namespace ordevo {

struct CategoryRule {
    QString Category;
    QRegularExpression Pattern;  // case-insensitive
    int LineNumber = 0;
};

// Errors name the file and the line: a line without "=", an empty category or pattern, or a
// pattern that is not a valid regular expression.
FileResult<std::vector<CategoryRule>> ReadProcedureCategories(const QString& path);
// The same from lines already read; `fileName` names them in errors.
FileResult<std::vector<CategoryRule>> ParseProcedureCategories(const QStringList& lines,
                                                               const QString& fileName);

// The category of the first rule whose pattern occurs in any of `texts`, or none.
std::optional<QString> MatchCategory(const std::vector<CategoryRule>& rules,
                                     const QStringList& texts);

}  // namespace ordevo
