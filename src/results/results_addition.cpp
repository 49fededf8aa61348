// The row of an evaluated case, stored rows and the total.
#include "results_addition.h"

#include "number_format.h"
#include "units.h"

namespace ordevo {
namespace {

ResultsCell& At(ResultsRow& row, int column) { return row[column]; }
const ResultsCell& At(const ResultsRow& row, int column) { return row[column]; }

}  // namespace

std::string FieldSizeText(double shownFieldSizeCm, FieldShape shape) {
    return FormatNumber(shownFieldSizeCm, kFieldSizePicture) +
           (shape == FieldShape::Square ? "cm平方" : "cm直径");
}

ResultsRow MakeResultsRow(const EvaluatedCase& evaluated) {
    namespace C = ResultsColumn;
    const DoseCase& c = evaluated.Case;
    const EquipmentData& equipment = c.Equipment;
    const DoseResult& result = evaluated.Evaluation.Result;
    const auto mm = [](double cm) {
        return FormatNumber(kMillimetresPerCentimetre * cm, kFilterPicture);
    };
    ResultsRow row;
    At(row, C::BodyPart) = BodyPartOf(evaluated.Entry);
    At(row, C::TubeVoltageText) = evaluated.Entry.TubeVoltage;
    At(row, C::InherentFilterMm) = mm(equipment.InherentFiltration);
    At(row, C::AluminiumFilterMm) = mm(equipment.AddedAluminium);
    At(row, C::CopperFilterMm) = mm(equipment.AddedCopper);
    if (equipment.OtherFilterFlag == 1) {
        At(row, C::OtherFilterName) = equipment.OtherFilterMaterial;
        At(row, C::OtherFilterMm) = mm(equipment.OtherFilterThickness);
    } else {
        At(row, C::OtherFilterName) = std::string(kNoOtherFilterName);
        At(row, C::OtherFilterMm) = 0.0;
    }
    At(row, C::FocusSkinDistance) = FormatNumber(c.FocusSkinDistanceCm, kDistancePicture);
    At(row, C::FieldSizeText) = FieldSizeText(c.ReferenceFieldSizeCm, c.Shape);
    At(row, C::ReferenceAirKerma) = FormatNumber(c.ReferenceAirKermaMGy, kDosePicture);
    At(row, C::KermaAreaProduct) = FormatNumber(c.KermaAreaProductGyCm2, kDosePicture);
    At(row, C::CorrectedReferenceAirKerma) =
        FormatNumber(result.CorrectedReferenceAirKerma, kDosePicture);
    At(row, C::CorrectedKermaAreaProduct) =
        FormatNumber(result.CorrectedKermaAreaProduct, kDosePicture);
    At(row, C::TissueToAirDoseRatio) = FormatNumber(result.TissueToAirDoseRatio, kRatioPicture);
    At(row, C::ScatterFactor) = FormatNumber(result.ScatterFactor, kRatioPicture);
    At(row, C::SkinDose) = FormatNumber(result.SkinDose, kSkinDosePicture);
    return row;
}

bool HasOtherFilter(const ResultsRow& row) {
    const std::string name = CellText(At(row, ResultsColumn::OtherFilterName));
    return !name.empty() && name != kNoOtherFilterName;
}

AdditionOutcome AppendResultsRow(ResultsTable& table, const ResultsRow& row) {
    const int r = table.NextRowIndex;
    if (r < 1 || r > kResultsRowCount) return AdditionOutcome::RefusedFull;
    table.Rows[r] = row;
    table.NextRowIndex = r + 1;
    return table.NextRowIndex > kResultsRowCount ? AdditionOutcome::AddedNowFull
                                                 : AdditionOutcome::Added;
}

void DeleteResultsRow(ResultsTable& table, int row) {
    const int last = table.NextRowIndex - 1;
    if (row < 1 || row > last) return;
    for (int r = row; r < last; ++r) table.Rows[r] = table.Rows[r + 1];
    table.Rows[last] = ResultsTable().Rows[last];
    table.NextRowIndex = last;
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

}  // namespace ordevo
