// The texts that name a box or a file.
#include "case_messages.h"

#include "input_checks.h"
#include "number_format.h"

namespace ordevo {
namespace {

QString Plain(double value) { return QString::fromStdString(PlainNumber(value)); }

}  // namespace

QString CaseBoxName(CaseBox box) {
    switch (box) {
    case CaseBox::ReferenceAirKerma: return QStringLiteral("患者照射基準点線量 Ka,r（天板なし）");
    case CaseBox::KermaAreaProduct: return QStringLiteral("面積空気カーマ積算値 P_KA（天板なし）");
    case CaseBox::FocusSkinDistance: return QStringLiteral("実際の焦点-入射表面間距離");
    }
    return {};
}

QString NotANumberMessage(CaseBox box, const QString& text) {
    return QStringLiteral(" 「%1」には数値を 1 つだけ入力して下さい \n（入力された文字: %2）")
        .arg(CaseBoxName(box), text);
}

QString NotPositiveMessage(CaseBox box) {
    return QStringLiteral(" 「%1」には 0 より大きい数値を入力して下さい ").arg(CaseBoxName(box));
}

QString FocusSkinDistanceBeyondReceptorMessage(double focusSkinDistanceCm,
                                               double focusReceptorDistanceCm) {
    return QStringLiteral(
               " 「%1」%2 cm が焦点-受像面間距離 %3 cm 以上です。\n"
               "%3 cm より短い距離を入力して下さい ")
        .arg(CaseBoxName(CaseBox::FocusSkinDistance), Plain(focusSkinDistanceCm),
             Plain(focusReceptorDistanceCm));
}

QString ShortFocusSkinDistanceQuestion(double focusSkinDistanceCm) {
    return QStringLiteral(
               " 「%1」%2 cm は %3 cm より短い距離です。\n"
               "この距離で計算しますか？ ")
        .arg(CaseBoxName(CaseBox::FocusSkinDistance), Plain(focusSkinDistanceCm),
             Plain(kShortestPlausibleFocusSkinDistanceCm));
}

QString ShortFocusSkinDistanceNote(double focusSkinDistanceCm) {
    return QStringLiteral(
               "注: 「%1」%2 cm は %3 cm より短い距離です（入力の誤りでないか確かめて下さい）")
        .arg(CaseBoxName(CaseBox::FocusSkinDistance), Plain(focusSkinDistanceCm),
             Plain(kShortestPlausibleFocusSkinDistanceCm));
}

QString EquipmentFileUnreadableMessage(const QString& fileName, const QString& reason) {
    return QStringLiteral(" 基本データファイル %1 を読み込めませんでした \n%2")
        .arg(fileName, reason);
}

}  // namespace ordevo
