// Writes the dose report of a long procedure for timing the command-line programs on it
// (bench/long_procedure.sh): ordevo-bench-report EVENTS PATH. Each event carries what a unit
// writes beside the doses (angles, table positions, the collimated field, the pulse rate and the
// duration), so that the file's size per event and the map's work are those of a real report: runs
// at six working projections, the table moved a little between runs.
#include <charconv>
#include <cmath>
#include <cstdio>
#include <iostream>
#include <string>

#include "report_writer.h"

namespace {

using ordevo::rdsr::testing::FixtureCode;
using ordevo::rdsr::testing::FixtureEvent;
using ordevo::rdsr::testing::FixtureNum;
using ordevo::rdsr::testing::FixtureReport;
using ordevo::rdsr::testing::Measured;

std::string Decimal(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.6g", value);
    return text;
}

void AddGeometry(FixtureEvent& e, int i) {
    constexpr double kPrimary[] = {0, 30, -30, 45, -20, 90};
    constexpr double kSecondary[] = {0, 20, -15, 0, 25, 0};
    const int projection = (i / 25) % 6;  // 25 runs at each projection in turn
    // The collimated field at the detector (1000 mm) from the field at the reference point (600
    // mm).
    const double ka = std::stod(e.DoseRp->Value), pka = std::stod(e.DoseAreaProduct->Value);
    const double sideMm = std::sqrt(pka / ka) * 1000.0 * 1000.0 / 600.0;
    const bool fluoro = e.TypeMeaning == "Fluoroscopy";
    e.GeometryNums = {
        {"112011", "Positioner Primary Angle", {Decimal(kPrimary[projection]), "deg"}},
        {"112012", "Positioner Secondary Angle", {Decimal(kSecondary[projection]), "deg"}},
        {"113751", "Table Longitudinal Position", {Decimal(10.0 * (i % 7)), "mm"}},
        {"113752", "Table Lateral Position", {Decimal(5.0 * (i % 3)), "mm"}},
        {"113753", "Table Height Position", {"0", "mm"}},
        {"113788", "Collimated Field Height", {Decimal(sideMm), "mm"}},
        {"113789", "Collimated Field Width", {Decimal(sideMm), "mm"}},
        {"113791", "Pulse Rate", {fluoro ? "15" : "3", "{pulse}/s"}},
        {"113742", "Irradiation Duration", {fluoro ? "6" : "8", "s"}},
    };
    e.GeometryCodes = {
        {"113745", "Patient Table Relationship", "102540008", "SCT", "headfirst"},
        {"113744", "Patient Orientation Modifier", "40199007", "SCT", "supine"},
    };
}

}  // namespace

int main(int argc, char** argv) {
    int events = 0;
    const std::string count = argc == 3 ? argv[1] : "";
    const auto [end, status] = std::from_chars(count.data(), count.data() + count.size(), events);
    if (argc != 3 || status != std::errc() || end != count.data() + count.size() || events < 1) {
        std::cerr << "usage: ordevo-bench-report EVENTS PATH\n";
        return 2;
    }
    FixtureReport report = ordevo::rdsr::testing::ManyEventReport(events);
    for (int i = 0; i < events; ++i) AddGeometry(report.Events[static_cast<std::size_t>(i)], i);
    std::string error;
    if (!ordevo::rdsr::testing::WriteFixtureReport(report, argv[2], &error)) {
        std::cerr << "not written: " << error << "\n";
        return 1;
    }
    return 0;
}
