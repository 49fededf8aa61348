// Stored rows, the total and the way back from a stored row to case values.
#include "results_addition.h"

#include "number_format.h"
#include "units.h"

namespace ordevo {
namespace {

ResultsCell& At(ResultsRow& row, int column) { return row[column]; }
const ResultsCell& At(const ResultsRow& row, int column) { return row[column]; }

}  // namespace

std::string FieldSizeText(std::string_view fieldSizeCaption, FieldShape shape) {
    return FormatNumber(LeadingNumber(fieldSizeCaption), kFieldSizePicture) +
           (shape == FieldShape::Square ? "cm平方" : "cm直径");
}

ResultsRow MakeResultsRow(const CurrentCase& current, std::string_view tubeVoltageBoxText,
                          std::string_view fieldSizeText) {
    namespace C = ResultsColumn;
    const auto mm = [](double cm) {
        return FormatNumber(kMillimetresPerCentimetre * cm, kFilterPicture);
    };
    ResultsRow row;
    At(row, C::BodyPart) = current.BodyPart;
    At(row, C::TubeVoltageText) = std::string(tubeVoltageBoxText);
    At(row, C::InherentFilterMm) = mm(current.InherentFiltration);
    At(row, C::AluminiumFilterMm) = mm(current.AddedAluminium);
    At(row, C::CopperFilterMm) = mm(current.AddedCopper);
    if (current.OtherFilterFlag == 1) {
        At(row, C::OtherFilterName) = current.OtherFilterMaterial;
        At(row, C::OtherFilterMm) = mm(current.OtherFilterThickness);
    } else {
        At(row, C::OtherFilterName) = std::string(kNoOtherFilterName);
        At(row, C::OtherFilterMm) = 0.0;
    }
    At(row, C::FocusSkinDistance) = FormatNumber(current.FocusSkinDistance, kDistancePicture);
    At(row, C::FieldSizeText) = std::string(fieldSizeText);
    At(row, C::ReferenceAirKerma) = FormatNumber(current.ReferenceAirKerma, kDosePicture);
    At(row, C::KermaAreaProduct) = FormatNumber(current.KermaAreaProduct, kDosePicture);
    At(row, C::CorrectedReferenceAirKerma) =
        FormatNumber(current.CorrectedReferenceAirKerma, kDosePicture);
    At(row, C::CorrectedKermaAreaProduct) =
        FormatNumber(current.CorrectedKermaAreaProduct, kDosePicture);
    At(row, C::TissueToAirDoseRatio) = FormatNumber(current.TissueToAirDoseRatio, kRatioPicture);
    At(row, C::ScatterFactor) = FormatNumber(current.ScatterFactor, kRatioPicture);
    At(row, C::SkinDose) = FormatNumber(current.SkinDose, kSkinDosePicture);
    return row;
}

AdditionOutcome AppendResultsRow(ResultsTable& table, const ResultsRow& row) {
    const int r = table.NextRowIndex;
    if (r < 1 || r > kResultsRowCount) return AdditionOutcome::RefusedFull;
    table.Rows[r] = row;
    table.NextRowIndex = r + 1;
    return table.NextRowIndex > kResultsRowCount ? AdditionOutcome::AddedNowFull
                                                 : AdditionOutcome::Added;
}

double ResultsTotal(const ResultsTable& table) {
    double sum = 0;
    for (int r = 1; r < table.NextRowIndex && r <= kResultsRowCount; ++r) {
        sum += CellNumber(At(table.Rows[r], ResultsColumn::SkinDose));
    }
    return sum;
}

std::string ResultsTotalText(const ResultsTable& table) {
    return FormatNumber(ResultsTotal(table), kSkinDosePicture);
}

CurrentCase CurrentCaseFromRow(const ResultsRow& row) {
    namespace C = ResultsColumn;
    const auto number = [&](int column) { return CellNumber(At(row, column)); };
    const auto cm = [&](int column) { return number(column) / kMillimetresPerCentimetre; };
    CurrentCase current;
    current.BodyPart = CellText(At(row, C::BodyPart));
    current.TubeVoltageText = CellText(At(row, C::TubeVoltageText));
    current.InherentFiltration = cm(C::InherentFilterMm);
    current.AddedAluminium = cm(C::AluminiumFilterMm);
    current.AddedCopper = cm(C::CopperFilterMm);
    current.OtherFilterMaterial = CellText(At(row, C::OtherFilterName));
    current.OtherFilterFlag =
        current.OtherFilterMaterial.empty() || current.OtherFilterMaterial == kNoOtherFilterName
            ? 0
            : 1;
    current.OtherFilterThickness = cm(C::OtherFilterMm);
    current.FocusSkinDistance = number(C::FocusSkinDistance);
    current.ReferenceAirKerma = number(C::ReferenceAirKerma);
    current.KermaAreaProduct = number(C::KermaAreaProduct);
    current.CorrectedReferenceAirKerma = number(C::CorrectedReferenceAirKerma);
    current.CorrectedKermaAreaProduct = number(C::CorrectedKermaAreaProduct);
    current.TissueToAirDoseRatio = number(C::TissueToAirDoseRatio);
    current.ScatterFactor = number(C::ScatterFactor);
    current.SkinDose = number(C::SkinDose);
    return current;
}

}  // namespace ordevo
