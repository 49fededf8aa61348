// The three commands of ordevo-cli. Each prints its result on stdout and returns the exit code.
#pragma once

#include <ostream>

#include <QString>

#include "cli_arguments.h"
#include "file_error.h"
#include "uncertainty_sources.h"

namespace ordevo::cli {

// --data, or the folder the window program would work in when started here: this folder when
// it holds the reference files, else the per-user data folder, seeded from the installation.
FileResult<QString> ChooseDataFolder(const Arguments& args);

// The equipment file --equipment names: a bare name is looked up in the data folder first, as
// the window opens equipment files by name in its working folder; else the path as given.
QString EquipmentPath(const std::string& given, const QString& dataFolder);

// What the uncertainty budget knows: the measurement record beside the equipment file the
// option names (found as EquipmentPath finds it in `dataFolder`), and --fsd-uncertainty (cm,
// default 2). Throws UsageError for an unusable --fsd-uncertainty.
UncertaintyKnowledge ReadKnowledge(const Arguments& args, const std::string& equipmentOption,
                                   const QString& dataFolder);

int RunEvaluate(const Arguments& args, std::ostream& out);
int RunSpectrum(const Arguments& args, std::ostream& out);
int RunCouch(const Arguments& args, std::ostream& out);

// The options each command accepts.
extern const std::vector<std::string> kEvaluateOptions;
extern const std::vector<std::string> kSpectrumOptions;
extern const std::vector<std::string> kCouchOptions;

}  // namespace ordevo::cli
