// ordevo-cli registry drl: the registry's procedures against the diagnostic reference levels.
#pragma once

#include <QString>
#include <functional>
#include <ostream>
#include <string>

#include "cli_arguments.h"
#include "drl_review.h"

namespace ordevo::cli {

// What the review page shows besides the rows.
struct ReviewPage {
    const registry::DrlReview& Review;
    std::string From, To;   // ISO dates; "" for an open end
    std::string DrlFile;    // the levels' file, named on the page
    std::string Generated;  // when the review was made, ISO date
};
// Writes the page as PDF to the path; "" or why it could not.
using ReviewPageWriter = std::function<std::string(const std::string& path, const ReviewPage&)>;

// registry drl --registry PATH [--from DATE --to DATE] [--drl FILE] [--categories FILE]
// [--format json|csv] [--pdf OUT]. The files default to drl.txt and procedure_categories.txt in
// the data folder (--data or the program's default). Exit 1 with {"error": …} when the registry
// or a file cannot be read.
int RunRegistryDrl(const Arguments& args, const QString& registryPath, std::ostream& out,
                   const ReviewPageWriter& writePage);

// "2024-01-15" or "20240115" → "20240115"; throws UsageError naming the option otherwise.
std::string ReviewDate(const Arguments& args, const std::string& option);

}  // namespace ordevo::cli
