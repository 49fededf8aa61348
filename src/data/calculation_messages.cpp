#include "calculation_messages.h"

#include <sstream>

namespace ordevo {

namespace {

std::string Number(double value, int significantDigits) {
    std::ostringstream text;
    text.precision(significantDigits);
    text << value;
    return text.str();
}

const char* QuantityName(CalculatedQuantity quantity) {
    using Q = CalculatedQuantity;
    switch (quantity) {
    case Q::None: return "";
    case Q::SpectrumLastBin: return "スペクトルの最後のエネルギー区間";
    case Q::TubeVoltageSteps: return "管電圧の刻みの数";
    case Q::TissueToAirRatioAirSum: return "軟部組織/空気の吸収線量比（空気カーマの合計）";
    case Q::TissueToAirDoseRatio: return "軟部組織/空気の吸収線量比";
    case Q::InherentFilter: return "固有フィルタ";
    case Q::AddedAluminiumFilter: return "付加フィルタ (アルミ)";
    case Q::AddedCopperFilter: return "付加フィルタ (銅)";
    case Q::OtherFilter: return "任意フィルタ";
    case Q::BackscatterRingsToHalfWidth: return "後方散乱: 照射野の半幅までのリング数";
    case Q::BackscatterRingsToHalfLength: return "後方散乱: 照射野の半長までのリング数";
    case Q::BackscatterRingsToHalfDiagonal: return "後方散乱: 照射野の半対角線までのリング数";
    case Q::BackscatterRingSplitByHalfWidth: return "後方散乱: 半幅で分かれるリング";
    case Q::BackscatterRingSplitByHalfLength: return "後方散乱: 半長で分かれるリング";
    case Q::BackscatterPhantomSurfaceDistance: return "後方散乱: ファントム表面までの距離";
    case Q::BackscatterSurfaceFieldSize: return "後方散乱: ファントム表面の照射野サイズ";
    case Q::BackscatterCircleRings: return "後方散乱: 円形照射野のリング数";
    case Q::RingFractionCircleShortOfEdge:
        return "リングの照射野内の割合: 円が照射野の辺に届きません";
    case Q::RingFractionZeroHalfWidth: return "リングの照射野内の割合: 照射野の半幅が 0";
    case Q::RingFractionEdgeParallelToRadius: return "リングの照射野内の割合: 辺が半径と平行";
    case Q::DepthDoseSurfaceFieldSize: return "深部線量: ファントム表面の照射野サイズ";
    case Q::DepthDoseRings: return "深部線量: リング数";
    case Q::DepthDoseGridScatter: return "深部線量: 格子エネルギーの散乱線量";
    case Q::DepthDoseFactor: return "深部線量係数";
    case Q::InverseSquareFocusSkin: return "距離の逆二乗（焦点-皮膚間距離）";
    case Q::InverseSquarePhantomSurface: return "距離の逆二乗（ファントム表面までの距離）";
    case Q::SkinDose: return "入射表面皮膚吸収線量";
    case Q::ScatterFactorEntranceKerma: return "前方・後方散乱係数（入射空気カーマ × 吸収線量比）";
    case Q::ScatterFactor: return "前方・後方散乱係数";
    case Q::CorrectedReferenceAirKerma: return "補正 Ka,r (mGy)";
    case Q::CorrectedKermaAreaProduct: return "補正 P_KA (Gy·cm²)";
    case Q::CouchTransmission: return "天板透過率";
    case Q::EntranceAirKerma: return "入射空気カーマ (mGy)";
    case Q::PhantomSurfaceDistance: return "ファントム表面までの距離 (cm)";
    case Q::SurfaceFieldSize: return "ファントム表面の照射野サイズ (cm)";
    case Q::BackscatterFactor: return "後方散乱係数";
    case Q::SkinDoseMGy: return "入射表面皮膚吸収線量 (mGy)";
    }
    return "";
}

// The reason with placeholders: {q} the quantity's name, {0} and {1} the failure's values.
const char* ReasonPattern(CalculationProblem problem) {
    using P = CalculationProblem;
    switch (problem) {
    case P::None: return "";
    case P::Unknown: return "原因の分からない失敗";
    case P::NotAnIndex: return "{q}を番号にできません（{0}）";
    case P::DivisionByZero: return "{q}: 0 で割ることになります";
    case P::NegativeSquareRoot: return "{q}: 負の数（{0}）の平方根になります";
    case P::NonPositiveLogarithm: return "{q}: 0 以下の数（{0}）の対数になります";
    case P::NotFinite: return "{q}が有限の数になりません（{0}）";
    case P::StepResultUnusable: return "{q} が {0} です（0 以上の有限の数が必要です）";
    case P::TubeVoltageAboveTable:
        return "管電圧 {0} kV がエネルギーの表の上限 150 kV を超えています";
    case P::TubeVoltageBelowFirstBin: return "管電圧 {0} kV が 0.5 kV より低くなっています";
    case P::TubeVoltageRangeReversed:
        return "管電圧の範囲 {0} - {1} kV の下限が上限より大きくなっています";
    case P::TargetAngleOutsideRange: return "Ｘ線管ターゲット角度 {0} 度が 0〜90 度の外です";
    case P::FilterThicknessUnusable:
        return "{q}の厚さ {0} mm は 0 以上の有限の数でなければなりません";
    case P::NormalWeightingNeedsRange:
        return "正規分布の重みには管電圧の範囲が必要です（{0} - {1} kV）";
    case P::SpectrumTotalUnusable: return "スペクトルの合計 {0} で規格化できません";
    case P::BackscatterNoSpectrum: return "後方散乱: スペクトルがありません";
    case P::BackscatterRingOutsideTable:
        return "後方散乱の表: リング {0} は表（300 リング）の外です";
    case P::BackscatterBinOutsideTable:
        return "後方散乱: 管電圧 {0} kV の区間 {1} はエネルギーの表（300 区間）の外です";
    case P::BackscatterWeightTotalUnusable:
        return "後方散乱: スペクトルの線量の重みの合計が {0} です";
    case P::BackscatterEnergyOutsideTable:
        return "後方散乱: 管電圧 {0} kV のエネルギー番号 {1} は表（31 エネルギー）の外です";
    case P::BackscatterCircleOutsideTable:
        return "後方散乱: 半径 {0} cm の円にはリング {1} が必要で、表（300 リング）の外です";
    case P::BackscatterBinAboveLastEnergy:
        return "後方散乱: 区間 {0}（{1} keV）は表の最後のエネルギーより上です";
    case P::RingFractionNoSuchRing: return "リングの照射野内の割合: リング {0} はありません";
    case P::DepthDoseNoSpectrum: return "深部線量: スペクトルがありません";
    case P::DepthDoseBinOutsideTable:
        return "深部線量: 管電圧 {0} kV の区間 {1} はエネルギーの表（300 区間）の外です";
    case P::DepthDoseSurfaceDistanceNotPositive:
        return "深部線量: ファントム表面までの距離 {0} cm が正の数ではありません";
    case P::DepthDoseCouchOutsideTable:
        return "深部線量: 天板の軟部組織等価厚 {0} cm が 0〜19.75 cm の外です";
    case P::DepthDoseTooManyRings: return "深部線量: 深さ {0} cm でのリング数 {1} が 80 を超えます";
    case P::DepthDoseFirstBinDoseUnusable: return "深部線量: 最初の深さ区間の線量が {0} です";
    case P::DepthDoseSearchPastTable: return "深部線量: 深さ {0} cm の探索が 40 行目を超えました";
    case P::FocusIsocentreDistanceTooShort:
        return "焦点-アイソセンター間距離 {0} cm が 15 cm より大きくありません";
    case P::ReferencePointDistanceUnusable:
        return "患者照射基準点までの距離 {0} cm が正の有限の数ではありません";
    case P::FieldSizeReferenceAirKermaUnusable:
        return "照射野サイズ: 患者照射基準点線量 {0} mGy が正の数ではありません";
    case P::FieldSizeKermaAreaProductUnusable:
        return "照射野サイズ: 面積空気カーマ積算値 {0} Gy·cm² が負の数か有限の数ではありません";
    case P::FieldSizeNoShape: return "照射野サイズ: 照射野の形が選ばれていません";
    case P::MaterialTooFewRows: return "材質の表の行が 2 行より少なくなっています";
    case P::MaterialFirstEnergyAbove1keV:
        return "材質の表の最初のエネルギーが 1 keV を超えています";
    case P::MaterialRowNotPositive: return "材質の表に 0 以下のエネルギーまたは減弱係数があります";
    case P::MaterialNoRowAbove: return "材質の表に {0} keV より上の行がありません";
    case P::MaterialAttenuationNotFinite:
        return "材質の {0} keV "
               "の線減弱係数が有限の数になりません（密度または減弱係数が大きすぎます）";
    case P::CouchTypicalTubeVoltageOutsideRange:
        return "通常使用する代表的な管電圧 {0} kV は範囲外です（1〜150 kV）";
    case P::CouchTargetAngleOutsideRange:
        return "Ｘ線管ターゲット角度 {0} 度は範囲外です（0 度より大きく 90 度未満）";
    case P::CouchTransmissionAboveOne: return "天板透過率 {0} が 1 を超えています";
    case P::CouchAirKermaSpectrumUnusable:
        return "管電圧 {0} kV の空気カーマスペクトルの合計が {1} です";
    case P::CouchTransmissionBeyondTable:
        return "天板透過率 {0} は軟部組織 10 cm の透過率 {1} 以下です";
    case P::CouchAirKermaWithoutCouchUnusable:
        return "天板なしの実測空気カーマ {0} mGy は正の有限の数でなければなりません";
    case P::CouchAirKermaWithCouchUnusable:
        return "天板ありの実測空気カーマ {0} mGy は正の有限の数でなければなりません";
    case P::CouchDisplayedAirKermaUnusable:
        return "装置表示値 {0} mGy は正の有限の数でなければなりません";
    case P::CouchFocusIsocentreDistanceTooShort:
        return "焦点-アイソセンター間距離 {0} cm は 15 cm より大きくなければなりません";
    case P::CouchCalibrationConstantUnusable:
        return "校正定数 {0} が 0.2 以上 5 "
               "以下の範囲外です（表示値か測定値の単位・桁を確認して下さい）";
    }
    return "";
}

const char* UnitOf(EquipmentField field) {
    switch (field) {
    case EquipmentField::FocusReceptorDistance:
    case EquipmentField::FocusIsocentreDistance:
    case EquipmentField::CouchSoftTissueThickness: return " cm";
    case EquipmentField::TargetAngle: return " 度";
    case EquipmentField::InherentFiltration:
    case EquipmentField::AddedAluminium:
    case EquipmentField::AddedCopper:
    case EquipmentField::OtherFilterThickness: return " mm";
    case EquipmentField::CouchTransmission:
    case EquipmentField::CalibrationConstant: return "";
    }
    return "";
}

// 15 significant digits: the value as the file wrote it, without the noise of mm → cm → mm.
std::string EquipmentNumber(double value) { return Number(value, 15); }

std::string LimitOf(const EquipmentLimitViolation& v) {
    switch (v.Field) {
    case EquipmentField::FocusIsocentreDistance: return "15 cm より大きい有限の値";
    case EquipmentField::FocusReceptorDistance:
        return "焦点-アイソセンター間距離 " + EquipmentNumber(v.Bound) + " cm より大きい有限の値";
    case EquipmentField::TargetAngle: return "0 度より大きく 90 度未満";
    case EquipmentField::InherentFiltration:
    case EquipmentField::AddedAluminium:
    case EquipmentField::AddedCopper:
    case EquipmentField::OtherFilterThickness: return "0 mm 以上の有限の値";
    case EquipmentField::CouchTransmission: return "0 より大きく 1 以下";
    case EquipmentField::CouchSoftTissueThickness: return "0 cm 以上の有限の値";
    case EquipmentField::CalibrationConstant: return "0.2 以上 5 以下";
    }
    return "";
}

}  // namespace

std::string DescribeCalculationFailure(const CalculationFailure& failure) {
    const std::string pattern = ReasonPattern(failure.Problem);
    std::string text;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern.compare(i, 3, "{q}") == 0) {
            text += QuantityName(failure.Quantity);
            i += 2;
        } else if (pattern[i] == '{' && i + 2 < pattern.size() && pattern[i + 2] == '}' &&
                   (pattern[i + 1] == '0' || pattern[i + 1] == '1')) {
            const std::size_t index = pattern[i + 1] - '0';
            // A failure raised with fewer values than its words name shows "?", never garbage.
            text += index < failure.Values.size() ? Number(failure.Values[index], 17) : "?";
            i += 2;
        } else {
            text += pattern[i];
        }
    }
    return text;
}

const char* EquipmentFieldName(EquipmentField field) {
    switch (field) {
    case EquipmentField::FocusReceptorDistance: return "焦点-受像器間距離";
    case EquipmentField::FocusIsocentreDistance: return "焦点-アイソセンター間距離";
    case EquipmentField::TargetAngle: return "Ｘ線管ターゲット角度";
    case EquipmentField::InherentFiltration: return "固有フィルタ (Al 当量)";
    case EquipmentField::AddedAluminium: return "付加フィルタ (アルミ)";
    case EquipmentField::AddedCopper: return "付加フィルタ（銅）";
    case EquipmentField::OtherFilterThickness: return "任意フィルタの厚さ";
    case EquipmentField::CouchTransmission: return "天板透過率";
    case EquipmentField::CouchSoftTissueThickness: return "天板の軟部組織等価厚";
    case EquipmentField::CalibrationConstant: return "校正定数";
    }
    return "";
}

std::string DescribeViolation(const EquipmentLimitViolation& v) {
    return std::string(EquipmentFieldName(v.Field)) + " " + EquipmentNumber(v.Value) +
           UnitOf(v.Field) + " は範囲外です（" + LimitOf(v) + "）";
}

}  // namespace ordevo
