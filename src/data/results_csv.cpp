#include "results_csv.h"

#include <algorithm>

#include "cp932_text.h"
#include "number_format.h"

namespace ordevo {

namespace {

constexpr int kFirstColumnLine = 3;
constexpr int kLineCount = kFirstColumnLine + kResultsColumnCount - 1;  // 18

QString Label(int column) { return QString::fromUtf8(kResultsCsvLabels[column]); }

// The line less the empty fields (commas and blanks) at its end.
QString WithoutTrailingEmptyFields(const QString& line) {
    qsizetype end = line.size();
    while (end > 0 && QStringView(u", \t").contains(line[end - 1])) --end;
    // Only commas make fields: blanks alone stay (" 2 " is the program's own line 2).
    return line.mid(end).contains(QLatin1Char(',')) ? line.left(end) : line;
}

// A spreadsheet set to quote its text cells writes "部位","胸部",… : each field in double quotes,
// a quote inside doubled. Commas inside quotes stay in the field.
QStringList SplitQuotedFields(const QString& line) {
    QStringList fields;
    QString field;
    bool inQuotes = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (inQuotes) {
            if (c != QLatin1Char('"')) {
                field += c;
            } else if (i + 1 < line.size() && line[i + 1] == QLatin1Char('"')) {
                field += c;
                ++i;
            } else {
                inQuotes = false;
            }
        } else if (c == QLatin1Char('"')) {
            inQuotes = true;
        } else if (c == QLatin1Char(',')) {
            fields << field;
            field.clear();
        } else {
            field += c;
        }
    }
    fields << field;
    return fields;
}

}  // namespace

FileResult<QStringList> ResultsCsvLines(const QString& comment, const ResultsTable& table,
                                        const QString& fileName) {
    const int rows = ResultsRowCount(table);
    if (comment.contains(QLatin1Char('\r')) || comment.contains(QLatin1Char('\n')))
        return FileError::AtLine(fileName, 1, QStringLiteral("コメントに改行は入れられません"));
    if (rows < 0 || rows > kResultsRowCount)
        return FileError::AtLine(
            fileName, 2,
            QStringLiteral("%1 行あります（0 行から %2 行まで）").arg(rows).arg(kResultsRowCount));
    QStringList lines;
    lines << comment << QStringLiteral(" %1 ").arg(rows);
    for (int column = 1; column <= kResultsColumnCount; ++column) {
        QString line = Label(column);
        for (int r = 1; r <= rows; ++r) {
            const QString cell = QString::fromStdString(CellText(table.Rows[r][column]));
            if (cell.contains(QLatin1Char(',')) || cell.contains(QLatin1Char('\r')) ||
                cell.contains(QLatin1Char('\n')))
                return FileError::AtLine(
                    fileName, kFirstColumnLine + column - 1,
                    QStringLiteral("%1 行目の計算結果（%2）にカンマか改行があり、このファイルには"
                                   "書けません:「%3」")
                        .arg(r)
                        .arg(Label(column), cell));
            line += QLatin1Char(',') + cell;
        }
        lines << line;
    }
    return lines;
}

FileResult<void> WriteResultsCsv(const QString& path, const QString& comment,
                                 const ResultsTable& table) {
    const auto lines = ResultsCsvLines(comment, table, FileNameOf(path));
    if (!lines) return lines.error();
    return WriteTextLines(path, *lines);
}

FileResult<ResultsCsvContents> ReadResultsCsv(const QString& path) {
    const QString name = FileNameOf(path);
    const auto read = ReadTextLines(path, kTableFileMaxBytes);
    if (!read) return read.error();
    const QStringList& lines = *read;
    if (lines.size() < kLineCount)
        return FileError::AtLine(name, static_cast<int>(lines.size()) + 1,
                                 QStringLiteral("ありません（%1 行必要です）").arg(kLineCount));

    // A lone CR (not part of a line end) inside the comment or a cell could not be written
    // back, since every line is ended by CR LF: such a file is refused here, not at saving.
    for (int i = 0; i < kLineCount; ++i) {
        if (lines[i].contains(QLatin1Char('\r')))
            return FileError::AtLine(name, i + 1,
                                     QStringLiteral("行の途中に改行文字（CR）があります"));
    }

    // A spreadsheet that saves the file again pads short lines with empty fields ("2,,") up to
    // its widest line; such trailing empty fields are no part of the table.
    // Quoted text cells: the first column's label stands in quotes. The program never writes
    // them, so only then are quotes taken away (a comment of its own may hold some).
    const bool quoted = TrimBlanks(lines[kFirstColumnLine - 1]).startsWith(QLatin1Char('"'));
    auto split = [quoted](const QString& line) {
        return quoted ? SplitQuotedFields(line) : line.split(QLatin1Char(','));
    };
    auto single = [&](const QString& line) {
        return quoted ? split(WithoutTrailingEmptyFields(line)).join(QLatin1Char(','))
                      : WithoutTrailingEmptyFields(line);
    };
    ResultsCsvContents contents;
    contents.Comment = single(lines[0]);

    const QString countText = TrimBlanks(single(lines[1]));
    bool isNumber = false;
    const int rows = countText.toInt(&isNumber);
    const bool digitsOnly = !countText.isEmpty() &&
                            std::all_of(countText.begin(), countText.end(),
                                        [](QChar c) { return c.isDigit() && c.unicode() < 0x80; });
    if (!isNumber || !digitsOnly)
        return FileError::AtLine(name, 2,
                                 QStringLiteral("「%1」は行数ではありません").arg(countText));
    if (rows > kResultsRowCount)
        return FileError::AtLine(
            name, 2,
            QStringLiteral("行数 %1 は多すぎます（%2 行まで）").arg(rows).arg(kResultsRowCount));

    ResultsTable& table = contents.Table;
    for (int column = 1; column <= kResultsColumnCount; ++column) {
        const int lineNumber = kFirstColumnLine + column - 1;
        QStringList fields = split(lines[lineNumber - 1]);
        while (fields.size() - 1 > rows && TrimBlanks(fields.back()).isEmpty()) fields.removeLast();
        if (TrimBlanks(fields[0]) != Label(column))
            return FileError::AtLine(
                name, lineNumber, QStringLiteral("行の始めに「%1」が必要です").arg(Label(column)));
        if (fields.size() - 1 != rows)
            return FileError::AtLine(name, lineNumber,
                                     QStringLiteral("データが %1 個あります（%2 個のはず）")
                                         .arg(fields.size() - 1)
                                         .arg(rows));
        for (int r = 1; r <= rows; ++r) {
            const QString field = TrimBlanks(fields[r]);
            // A quoted comma could not be written back: the program's cells hold none.
            if (field.contains(QLatin1Char(',')))
                return FileError::AtLine(
                    name, lineNumber,
                    QStringLiteral("%1 番目のデータ「%2」にカンマがあります").arg(r).arg(field));
            const std::string text = field.toStdString();
            double value = 0;
            if (!IsTextColumn(column) && !ParseWholeNumber(text, value))
                return FileError::AtLine(
                    name, lineNumber,
                    QStringLiteral("%1 番目のデータ「%2」は数値ではありません").arg(r).arg(field));
            table.Rows[r][column] = text;
        }
    }
    for (qsizetype i = kLineCount; i < lines.size(); ++i) {
        if (!TrimBlanks(WithoutTrailingEmptyFields(lines[i])).isEmpty())
            return FileError::AtLine(name, static_cast<int>(i) + 1,
                                     QStringLiteral("表の後に余分な文字があります"));
    }
    table.NextRowIndex = rows + 1;
    return contents;
}

FileResult<QString> ReadResultsComment(const QString& path) {
    return ReadFirstLine(path, kTableFileMaxBytes);
}

}  // namespace ordevo
