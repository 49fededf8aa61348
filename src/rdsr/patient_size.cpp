#include "patient_size.h"

#include <dcmtk/config/osconfig.h>
#include <dcmtk/dcmdata/dcdeftag.h>
#include <dcmtk/dcmdata/dcitem.h>

#include <charconv>
#include <cmath>

#include "dicom_codes.h"
#include "number_format.h"
#include "ucum_units.h"

namespace ordevo::rdsr {
namespace {

constexpr double kLowestHeightCm = 50.0, kHighestHeightCm = 250.0;
constexpr double kLowestWeightKg = 1.0, kHighestWeightKg = 350.0;

// The value when plausible; else nullopt and a note naming it.
std::optional<double> Checked(const char* what, double value, double lowest, double highest,
                              const char* unit, std::vector<std::string>& notes) {
    if (std::isfinite(value) && value >= lowest && value <= highest) return value;
    notes.push_back(std::string(what) + " " + FormatNumber(value, "0.0") + " " + unit + ": 範囲 " +
                    FormatNumber(lowest, "0") + "～" + FormatNumber(highest, "0") + " " + unit +
                    " の外のため使いません");
    return std::nullopt;
}

}  // namespace

void ReadPatientSizeHeader(DcmItem& dataset, PatientSize& size, std::vector<std::string>& notes) {
    Float64 value = 0;
    if (dataset.findAndGetFloat64(DCM_PatientSize, value).good() && value != 0)
        size.HeightCm =
            Checked("患者身長", 100.0 * value, kLowestHeightCm, kHighestHeightCm, "cm", notes);
    if (dataset.findAndGetFloat64(DCM_PatientWeight, value).good() && value != 0)
        size.WeightKg = Checked("患者体重", value, kLowestWeightKg, kHighestWeightKg, "kg", notes);
}

bool ReadPatientSizeItem(const GeometryItem& item, PatientSize& size,
                         std::vector<std::string>& notes) {
    const bool height = item.Concept == code::kBodyHeight;
    if (!item.IsNumber || (!height && item.Concept != code::kBodyWeight)) return false;
    if ((height ? size.HeightCm : size.WeightKg).has_value()) return true;  // the header's holds
    double value = 0;
    const auto [end, error] =
        std::from_chars(item.Number.data(), item.Number.data() + item.Number.size(), value);
    const std::optional<double> converted =
        error == std::errc() && item.HasUnits
            ? ConvertToProgramUnit(height ? Quantity::Length : Quantity::Mass, item.CodeValue,
                                   value)
            : std::nullopt;
    if (!converted) {
        notes.push_back(std::string(height ? "患者身長 " : "患者体重 ") + std::string(item.Number) +
                        " " + std::string(item.CodeValue) + ": 読めないため使いません");
        return true;
    }
    if (height)
        size.HeightCm =
            Checked("患者身長", *converted / 10.0, kLowestHeightCm, kHighestHeightCm, "cm", notes);
    else
        size.WeightKg =
            Checked("患者体重", *converted, kLowestWeightKg, kHighestWeightKg, "kg", notes);
    return true;
}

}  // namespace ordevo::rdsr
