#include "procedure_categories_file.h"

#include "cp932_text.h"

namespace ordevo {

namespace {

// The part of a line before its "#" comment. A "#" inside a pattern would need escaping as
// "\x23"; the file's own comment says so.
QString WithoutComment(const QString& line) {
    const qsizetype hash = line.indexOf('#');
    return hash < 0 ? line : line.left(hash);
}

}  // namespace

FileResult<std::vector<CategoryRule>> ParseProcedureCategories(const QStringList& lines,
                                                               const QString& fileName) {
    std::vector<CategoryRule> rules;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const int lineNumber = static_cast<int>(i) + 1;
        const QString text = TrimBlanks(WithoutComment(lines[i]));
        if (text.isEmpty()) continue;
        const qsizetype equals = text.indexOf('=');
        if (equals < 0)
            return FileError::AtLine(fileName, lineNumber,
                                     "「分類 = パターン」の形ではありません（= がありません）");
        CategoryRule rule;
        rule.Category = TrimBlanks(text.left(equals));
        const QString pattern = TrimBlanks(text.mid(equals + 1));
        if (rule.Category.isEmpty())
            return FileError::AtLine(fileName, lineNumber, "分類の名前がありません");
        if (pattern.isEmpty())
            return FileError::AtLine(fileName, lineNumber, "パターンがありません");
        rule.Pattern =
            QRegularExpression(pattern, QRegularExpression::CaseInsensitiveOption |
                                            QRegularExpression::UseUnicodePropertiesOption);
        if (!rule.Pattern.isValid())
            return FileError::AtLine(fileName, lineNumber,
                                     "パターン「" + pattern + "」は正規表現として読めません（" +
                                         rule.Pattern.errorString() + "）");
        rule.LineNumber = lineNumber;
        rules.push_back(std::move(rule));
    }
    return rules;
}

FileResult<std::vector<CategoryRule>> ReadProcedureCategories(const QString& path) {
    const auto lines = ReadTextLines(path, kTableFileMaxBytes);
    if (!lines) return lines.error();
    return ParseProcedureCategories(*lines, FileNameOf(path));
}

std::optional<QString> MatchCategory(const std::vector<CategoryRule>& rules,
                                     const QStringList& texts) {
    for (const CategoryRule& rule : rules)
        for (const QString& text : texts)
            if (!text.isEmpty() && rule.Pattern.match(text).hasMatch()) return rule.Category;
    return std::nullopt;
}

}  // namespace ordevo
