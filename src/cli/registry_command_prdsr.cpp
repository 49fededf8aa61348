#include "registry_command_prdsr.h"

#include <QFileInfo>

#include "json_writer.h"
#include "patient_dose_record.h"

namespace ordevo::cli {

int RunRegistryPatientDoseReport(const Arguments& args, const QString& registryPath,
                                 std::ostream& out) {
    const std::string sop = args.Positionals().at(1);
    const std::string path = args.Require("out");
    const auto fail = [&](const std::string& message) {
        out << JsonObject().String("error", message).Text() << "\n";
        return 1;
    };
    if (!QFileInfo(registryPath).isFile())
        return fail(QFileInfo(registryPath).fileName().toStdString() +
                    ": 線量登録簿がありません（--registry のパスを確かめてください）");
    auto opened = registry::Registry::Open(registryPath);
    if (!opened) return fail(opened.error().what());
    std::string uid;
    const std::string why = registry::WritePatientDoseReportFor(**opened, sop, path, &uid);
    if (!why.empty()) return fail(why);
    out << JsonObject().String("written", path).String("sopInstanceUid", uid).Text() << "\n";
    return 0;
}

}  // namespace ordevo::cli
