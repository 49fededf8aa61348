// Dose reports from bytes, read from memory as the program reads a file's bytes: no crash, every
// number of every event, filter, total and patient size finite, every event counted once.
#include <optional>
#include <set>
#include <string>

#include "dose_report_reader.h"
#include "fuzz_support.h"

using namespace ordevo::rdsr;
using ordevo::fuzz::Violated;

namespace {

bool Finite(const std::optional<double>& value) { return !value || std::isfinite(*value); }

void CheckEvent(const IrradiationEvent& e) {
    for (const std::optional<double>* value : {&e.ReferenceAirKermaMGy,
                                               &e.KermaAreaProductGyCm2,
                                               &e.TubeVoltageKv,
                                               &e.SourceToIsocentreMm,
                                               &e.SourceToDetectorMm,
                                               &e.SourceToReferencePointMm,
                                               &e.SourceToTablePlaneMm,
                                               &e.CollimatedFieldAreaCm2,
                                               &e.Geometry.PrimaryAngleDeg,
                                               &e.Geometry.SecondaryAngleDeg,
                                               &e.Geometry.PrimaryEndAngleDeg,
                                               &e.Geometry.SecondaryEndAngleDeg,
                                               &e.Geometry.TableLongitudinalMm,
                                               &e.Geometry.TableLateralMm,
                                               &e.Geometry.TableHeightMm,
                                               &e.Geometry.TableHeadTiltDeg,
                                               &e.Geometry.TableHorizontalRotationDeg,
                                               &e.Geometry.TableCradleTiltDeg,
                                               &e.Geometry.CollimatedFieldHeightMm,
                                               &e.Geometry.CollimatedFieldWidthMm})
        FUZZ_CHECK(Finite(*value));
    for (const XrayFilter& filter : e.Filters) {
        FUZZ_CHECK(Finite(filter.MinimumThicknessMm) && Finite(filter.MaximumThicknessMm));
        FUZZ_CHECK(Finite(filter.ThicknessMm()));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const ReportReading reading = ReadDoseReportBytes(data, size);
    FUZZ_CHECK(reading.Report.has_value() != !reading.Error.empty());
    if (!reading.Report) return 0;
    const DoseReport& report = *reading.Report;
    std::set<std::string> uids;
    for (const IrradiationEvent& event : report.Events) {
        CheckEvent(event);
        FUZZ_CHECK(event.Uid.empty() || uids.insert(event.Uid).second);  // counted once
    }
    for (const AccumulatedTotals& totals : report.Totals)
        FUZZ_CHECK(Finite(totals.ReferenceAirKermaMGy) && Finite(totals.KermaAreaProductGyCm2));
    FUZZ_CHECK(Finite(report.Patient.HeightCm) && Finite(report.Patient.WeightKg));
    return 0;
}
