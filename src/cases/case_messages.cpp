// The texts that name a box or a file.
#include "case_messages.h"

namespace ordevo {

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

QString EquipmentFileUnreadableMessage(const QString& fileName, const QString& reason) {
    return QStringLiteral(" 基本データファイル %1 を読み込めませんでした \n%2")
        .arg(fileName, reason);
}

}  // namespace ordevo
