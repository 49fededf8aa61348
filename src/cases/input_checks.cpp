// Checks of the case inputs and the reasons for a failed evaluation.
#include "input_checks.h"

#include <algorithm>
#include <cmath>

#include "case_entry.h"
#include "cp932_text.h"
#include "number_format.h"

namespace ordevo {
namespace {

QString Plain(double value) { return QString::fromStdString(PlainNumber(value)); }
// A field size as the main window shows it.
QString FieldSize(double cm) { return QString::fromStdString(FieldSizeText(cm)); }

// The evaluation with kernels of zeros: the ring-count checks, which decide whether a field is
// covered, run before a kernel's values are read, and the rest of the chain stays finite.
bool Completes(const ReferenceData& ref, const DoseCase& in) {
    const ScatterKernelLoader zeros = [](int) { return ScatterKernel{}; };
    return EvaluateDose(ref, in, zeros).Outcome == EvaluationOutcome::Completed;
}

// The largest field size (reference point, "#0.00") that the evaluation covers, or nothing
// when even a tiny field fails (another input is to blame).
std::optional<double> LargestCoveredFieldSize(const ReferenceData& ref, DoseCase in) {
    constexpr double kSmallestFieldCm = 0.01;
    const double tooLarge = in.ReferenceFieldSizeCm;
    in.ReferenceFieldSizeCm = kSmallestFieldCm;
    if (!(tooLarge > kSmallestFieldCm) || !Completes(ref, in)) return std::nullopt;
    double covered = kSmallestFieldCm;
    double failed = tooLarge;
    while (failed - covered > 0.001) {
        in.ReferenceFieldSizeCm = (covered + failed) / 2;
        (Completes(ref, in) ? covered : failed) = in.ReferenceFieldSizeCm;
    }
    return std::floor(covered * 100) / 100;
}

}  // namespace

QString WithoutUnsaveableCharacters(const QString& text, int& cursor) {
    QString kept;
    qsizetype position = 0;
    for (const char32_t codePoint : text.toUcs4()) {
        const QString c = QString::fromUcs4(&codePoint, 1);
        const bool refused = c == QLatin1String(",") || c == QLatin1String("\r") ||
                             c == QLatin1String("\n") || !EncodeCp932(c, {}, 0);
        if (!refused)
            kept += c;
        else if (position < cursor)
            cursor -= static_cast<int>(c.size());
        position += c.size();
    }
    return kept;
}

QStringList FailedInputReasons(const ReferenceData& ref, const DoseCase& in) {
    const double fsd = in.FocusSkinDistanceCm;
    const double couch = in.Equipment.CouchSoftTissueThickness;
    const QString fsdRange = QStringLiteral("%1 cm（天板の軟部組織等価厚）より大きく %2 cm 以下")
                                 .arg(Plain(couch), Plain(kMaxFocusSkinDistanceCm));
    if (!(fsd > couch)) {
        return {
            QStringLiteral(
                "・「%1」%2 cm が天板の軟部組織等価厚 %3 cm 以下です。%4で入力して下さい。")
                .arg(CaseBoxName(CaseBox::FocusSkinDistance), Plain(fsd), Plain(couch), fsdRange)};
    }
    if (in.Voltage.TubeVoltageHigh < kMinTubeVoltageKv) {
        return {
            QStringLiteral(
                "・管電圧 %1 kV は低すぎます。管電圧設定で %2 kV 以上 150 kV 以下にして下さい。")
                .arg(Plain(in.Voltage.TubeVoltageHigh), Plain(kMinTubeVoltageKv))};
    }
    QStringList reasons;
    if (fsd > kMaxFocusSkinDistanceCm) {
        reasons << QStringLiteral("・「%1」%2 cm は長すぎます。%3で入力して下さい。")
                       .arg(CaseBoxName(CaseBox::FocusSkinDistance), Plain(fsd), fsdRange);
    }
    if (!Completes(ref, in)) {
        if (const auto largest = LargestCoveredFieldSize(ref, in)) {
            reasons << QStringLiteral(
                           "・照射野サイズ %1 cm は散乱線データの範囲を超えています。この FSD では "
                           "%2 cm 以下です。Ka,r と P_KA（照射野サイズはこの 2 つから求めます）"
                           "または FSD を確かめて下さい。")
                           .arg(FieldSize(in.ReferenceFieldSizeCm), FieldSize(*largest));
        }
    }
    return reasons;
}

}  // namespace ordevo
