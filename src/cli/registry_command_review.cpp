#include "registry_command_review.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>

#include "cli_commands.h"
#include "json_writer.h"

namespace ordevo::cli {

namespace {

using namespace ordevo::registry;

struct Failure {
    std::string message;
};

constexpr const char* kPercentileDefinition =
    "linear interpolation between closest ranks: h = (n - 1) p, x[floor h] + (h - floor h) "
    "(x[floor h + 1] - x[floor h]) (Hyndman-Fan 7, PERCENTILE.INC)";

// A text field of the CSV: a leading = + - @ TAB or CR would make a spreadsheet read the field
// as a formula, so such a field is written after an apostrophe; quoted where it holds a
// separator, a quote or a line break.
std::string CsvText(const std::string& text) {
    std::string field = text;
    if (!field.empty() && std::string("=+-@\t\r").find(field[0]) != std::string::npos)
        field.insert(field.begin(), '\'');
    if (field.find_first_of(",\"\r\n") == std::string::npos) return field;
    std::string quoted = "\"";
    for (char c : field) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    quoted += '"';
    return quoted;
}
std::string CsvNumber(const std::optional<double>& value) {
    return value ? JsonNumber(*value) : std::string();
}
std::string CsvBool(const std::optional<bool>& value) {
    return value ? (*value ? "true" : "false") : std::string();
}

JsonObject& OptionalNumber(JsonObject& json, const std::string& key,
                           const std::optional<double>& value) {
    return value ? json.Number(key, *value) : json.Null(key);
}
JsonObject& OptionalBool(JsonObject& json, const std::string& key,
                         const std::optional<bool>& value) {
    return value ? json.Bool(key, *value) : json.Null(key);
}

std::string Std(const QString& text) { return text.toStdString(); }

std::string IsoOf(const std::string& dicomDate) {
    if (dicomDate.size() != 8) return dicomDate;
    return dicomDate.substr(0, 4) + "-" + dicomDate.substr(4, 2) + "-" + dicomDate.substr(6, 2);
}

// The user's file, else the one of that name in the data folder.
QString UserFile(const Arguments& args, const std::string& option, const char* defaultName) {
    if (const auto given = args.Get(option)) return QString::fromStdString(*given);
    const FileResult<QString> folder = ChooseDataFolder(args);
    if (!folder) throw Failure{folder.error().what()};
    return QDir(*folder).filePath(QString::fromLatin1(defaultName));
}

JsonObject RowJson(const ReviewRow& row) {
    JsonObject json;
    json.String("category", Std(row.Category))
        .String("room", Std(row.Room))
        .Number("procedures", row.Procedures);
    OptionalNumber(json, "medianKarMGy", row.MedianKarMGy);
    OptionalNumber(json, "p75KarMGy", row.P75KarMGy);
    OptionalNumber(json, "medianPkaGycm2", row.MedianPkaGyCm2);
    OptionalNumber(json, "p75PkaGycm2", row.P75PkaGyCm2);
    OptionalNumber(json, "drlKarMGy", row.DrlKarMGy);
    OptionalNumber(json, "drlPkaGycm2", row.DrlPkaGyCm2);
    OptionalBool(json, "karAboveDrl", row.KarAboveDrl);
    OptionalBool(json, "pkaAboveDrl", row.PkaAboveDrl);
    return json;
}

std::vector<std::string> StdList(const std::vector<QString>& list) {
    std::vector<std::string> out;
    for (const QString& text : list) out.push_back(Std(text));
    return out;
}

}  // namespace

std::string ReviewDate(const Arguments& args, const std::string& option) {
    const auto text = args.Get(option);
    if (!text) return {};
    QDate date = QDate::fromString(QString::fromStdString(*text), Qt::ISODate);
    if (!date.isValid()) date = QDate::fromString(QString::fromStdString(*text), "yyyyMMdd");
    if (!date.isValid())
        throw UsageError("--" + option + " must be a date such as 2024-01-15 or 20240115");
    return date.toString("yyyyMMdd").toStdString();
}

int RunRegistryDrl(const Arguments& args, const QString& registryPath, std::ostream& out,
                   const ReviewPageWriter& writePage) {
    const std::string from = ReviewDate(args, "from");
    const std::string to = ReviewDate(args, "to");
    if (!from.empty() && !to.empty() && from > to)
        throw UsageError("--from must not come after --to");
    const std::string format = args.Get("format").value_or("json");
    if (format != "json" && format != "csv") throw UsageError("--format must be json or csv");
    if (args.Has("pdf") && !writePage)
        throw UsageError("--pdf needs ordevo-cli built with the windows (Qt Gui)");
    try {
        const QString levelsPath = UserFile(args, "drl", "drl.txt");
        const QString rulesPath = UserFile(args, "categories", "procedure_categories.txt");
        const auto levels = ReadDrlTable(levelsPath);
        if (!levels) throw Failure{levels.error().what()};
        const auto rules = ReadProcedureCategories(rulesPath);
        if (!rules) throw Failure{rules.error().what()};
        if (!QFileInfo(registryPath).isFile())
            throw Failure{QFileInfo(registryPath).fileName().toStdString() +
                          ": 線量登録簿がありません（--registry のパスを確かめてください）"};
        auto opened = Registry::Open(registryPath);
        if (!opened) throw Failure{opened.error().what()};
        const auto sources = (*opened)->ReviewSources(from, to);
        if (!sources) throw Failure{sources.error().what()};
        std::vector<CategorisedProcedure> procedures;
        for (const ReviewSource& source : *sources)
            procedures.push_back(Categorise(source, *rules));
        const DrlReview review = ReviewAgainstDrl(procedures, *levels);

        if (const auto pdf = args.Get("pdf")) {
            const std::string why = writePage(
                *pdf, ReviewPage{review, IsoOf(from), IsoOf(to),
                                 QFileInfo(levelsPath).fileName().toStdString(),
                                 QDate::currentDate().toString(Qt::ISODate).toStdString()});
            if (!why.empty()) throw Failure{why};
        }
        if (format == "csv") {
            out << "category,room,procedures,medianKarMGy,p75KarMGy,medianPkaGycm2,p75PkaGycm2,"
                   "drlKarMGy,drlPkaGycm2,karAboveDrl,pkaAboveDrl,fewProcedures\r\n";
            for (const ReviewRow& row : review.Rows) {
                std::string line = CsvText(Std(row.Category));
                for (const std::string& field :
                     {CsvText(Std(row.Room)), std::to_string(row.Procedures),
                      CsvNumber(row.MedianKarMGy), CsvNumber(row.P75KarMGy),
                      CsvNumber(row.MedianPkaGyCm2), CsvNumber(row.P75PkaGyCm2),
                      CsvNumber(row.DrlKarMGy), CsvNumber(row.DrlPkaGyCm2),
                      CsvBool(row.KarAboveDrl), CsvBool(row.PkaAboveDrl),
                      std::string(row.TooFew ? "true" : "false")}) {
                    line += ',';
                    line += field;
                }
                out << line << "\r\n";
            }
            return 0;
        }
        std::vector<JsonObject> rows, few;
        for (const ReviewRow& row : review.Rows) {
            rows.push_back(RowJson(row));
            if (row.TooFew)
                few.push_back(JsonObject()
                                  .String("category", Std(row.Category))
                                  .String("room", Std(row.Room))
                                  .Number("procedures", row.Procedures));
        }
        JsonObject json;
        json.String("from", IsoOf(from))
            .String("to", IsoOf(to))
            .String("drlFile", Std(QDir::toNativeSeparators(levelsPath)))
            .String("categoriesFile", Std(QDir::toNativeSeparators(rulesPath)))
            .String("percentile", kPercentileDefinition)
            .Number("minimumProcedures", kMinimumProceduresForMedian)
            .Array("rows", rows)
            .Number("uncategorised", review.Uncategorised)
            .Array("fewProcedures", few)
            .StringArray("rooms", StdList(review.Rooms))
            .StringArray("facilities", StdList(review.Facilities));
        out << json.Text() << "\n";
        return 0;
    } catch (const Failure& failure) {
        out << JsonObject().String("error", failure.message).Text() << "\n";
        return 1;
    }
}

}  // namespace ordevo::cli
