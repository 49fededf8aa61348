#include "drl_file.h"

#include <cmath>
#include <string>

#include "cp932_text.h"
#include "field_reader.h"

namespace ordevo {

namespace {

// One level: blank is "not set"; anything else must be one positive number.
FileResult<std::optional<double>> ReadLevel(const QString& field, const QString& what,
                                            const QString& fileName, int lineNumber) {
    const QString text = TrimBlanks(field);
    if (text.isEmpty()) return std::optional<double>();
    std::vector<double> values;
    std::string problem;
    const std::string bytes = text.toStdString();
    if (!ReadNumberLine(bytes, values, problem) || values.size() != 1 ||
        !std::isfinite(values[0]) || values[0] <= 0)
        return FileError::AtLine(fileName, lineNumber,
                                 what + " の値「" + text + "」は正の数ではありません");
    return std::optional<double>(values[0]);
}

}  // namespace

FileResult<std::vector<DrlEntry>> ParseDrlTable(const QStringList& lines, const QString& fileName) {
    std::vector<DrlEntry> table;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const int lineNumber = static_cast<int>(i) + 1;
        const qsizetype hash = lines[i].indexOf('#');
        const QString text = TrimBlanks(hash < 0 ? lines[i] : lines[i].left(hash));
        if (text.isEmpty()) continue;
        const qsizetype equals = text.indexOf('=');
        if (equals < 0)
            return FileError::AtLine(fileName, lineNumber,
                                     "「分類 = Ka,r, P_KA」の形ではありません（= がありません）");
        DrlEntry entry;
        entry.Category = TrimBlanks(text.left(equals));
        if (entry.Category.isEmpty())
            return FileError::AtLine(fileName, lineNumber, "分類の名前がありません");
        const QStringList values = text.mid(equals + 1).split(',');
        if (values.size() != 2)
            return FileError::AtLine(fileName, lineNumber,
                                     "値は「Ka,r (mGy), P_KA (Gy·cm²)」の 2 つをコンマで区切って"
                                     "書きます（空欄も可）");
        const auto kar = ReadLevel(values[0], "Ka,r", fileName, lineNumber);
        if (!kar) return kar.error();
        const auto pka = ReadLevel(values[1], "P_KA", fileName, lineNumber);
        if (!pka) return pka.error();
        entry.KarMGy = *kar;
        entry.PkaGyCm2 = *pka;
        if (FindDrl(table, entry.Category))
            return FileError::AtLine(fileName, lineNumber,
                                     "分類「" + entry.Category + "」が 2 度書かれています");
        table.push_back(std::move(entry));
    }
    return table;
}

FileResult<std::vector<DrlEntry>> ReadDrlTable(const QString& path) {
    const auto lines = ReadTextLines(path, kTableFileMaxBytes);
    if (!lines) return lines.error();
    return ParseDrlTable(*lines, FileNameOf(path));
}

const DrlEntry* FindDrl(const std::vector<DrlEntry>& table, const QString& category) {
    for (const DrlEntry& entry : table)
        if (entry.Category == category) return &entry;
    return nullptr;
}

}  // namespace ordevo
