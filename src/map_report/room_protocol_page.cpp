#include "room_protocol_page.h"

#include "messages.h"
#include "number_format.h"
#include "print_service.h"
#include "report_output.h"
#include "skin_dose_report_page.h"

namespace ordevo::map {

namespace {

constexpr double kPageWidth = 287;  // 200 mm high
const QString kTitle = QStringLiteral("部屋の寝台の向きの測定手順");

double Put(ui::Surface& s, double x, double y, const QString& text, double width) {
    for (const QString& line : WrapText(s, text, width)) {
        s.SetCurrentPosition(x, y);
        s.Print(line);
        y += s.TextHeight(line);
    }
    return y;
}

}  // namespace

void DrawRoomProtocolPage(ui::Surface& s, double moveCm) {
    const QString cm = QString::fromStdString(PlainNumber(moveCm));
    s.SetLineWidth(1);
    s.SetFont(ui::Font::MsGothic, 14);
    double y = Put(s, 0, 0, kTitle + QStringLiteral(" (部屋プロファイルの実測)"), kPageWidth);
    s.SetFont(ui::Font::MsGothic, 9);
    y = Put(s, 0, y + 2,
            QStringLiteral(
                "線量レポートの寝台位置がどの向きに増えるかは装置ごとに違い、誤った向きは照射野を"
                "離して置き、ピーク皮膚線量を黙って低く見積もります。この手順 (約 5 分) で部屋の"
                "向きを測り、プログラムが部屋プロファイルにします。"),
            kPageWidth);
    s.Line(0, y + 1.5, kPageWidth, y + 1.5);
    y += 4;
    s.SetFont(ui::Font::MsGothic, 11);
    y = Put(s, 0, y, QStringLiteral("準備"), kPageWidth);
    s.SetFont(ui::Font::MsGothic, 10);
    const QString preparation[] = {
        QStringLiteral("・患者なし。寝台に人も物も載せない (線量計やファントムも不要)。"),
        QStringLiteral("・Cアームは 0°/0° (正面、管球が下)。寝台は水平 (傾き・回転なし)。"),
        QStringLiteral(
            "・1 つの検査 (1 件の線量レポート) の中で、次の 4 回を順に、各回ごく短い撮影 1 回"
            "(または透視 1 秒) で行う。途中で他の照射をしない。"),
        QStringLiteral("・寝台の移動量は %1 cm。定規か寝台の表示で ± 1 割以内に合わせる。").arg(cm),
    };
    for (const QString& line : preparation) y = Put(s, 4, y + 0.5, line, kPageWidth - 4);
    y += 3;
    s.SetFont(ui::Font::MsGothic, 11);
    y = Put(s, 0, y, QStringLiteral("手順 (各手順で照射 1 回)"), kPageWidth);
    s.SetFont(ui::Font::MsGothic, 10);
    const QString steps[] = {
        QStringLiteral(
            "1. 基準: 寝台天板の上面をアイソセンタに合わせる (部屋のレーザーか装置のアイソセンタ"
            "表示で)。寝台を左右中央に。→ 照射"),
        QStringLiteral("2. 寝台を頭側 (頭から寝たときに頭がある端) へ %1 cm 動かす。→ 照射")
            .arg(cm),
        QStringLiteral(
            "3. 基準に戻し、患者の左 (頭から仰向けに寝た患者の左手側) へ %1 cm 動かす。→ 照射")
            .arg(cm),
        QStringLiteral("4. 基準に戻し、寝台を %1 cm 下げる。→ 照射").arg(cm),
    };
    for (const QString& line : steps) {
        s.Box(4, y + 0.6, 7, y + 3.6);  // a box to tick in the room
        y = Put(s, 10, y + 0.5, line, kPageWidth - 10) + 1.5;
    }
    y += 2;
    s.SetFont(ui::Font::MsGothic, 11);
    y = Put(s, 0, y, QStringLiteral("その後"), kPageWidth);
    s.SetFont(ui::Font::MsGothic, 10);
    const QString after[] = {
        QStringLiteral("・線量レポートを取り出し、皮膚線量分布ウィンドウの「部屋」で「測定から作る…"
                       "」を選ぶか、"
                       "ordevo-cli room-fit --move-cm %1 --out 部屋名.room レポート "
                       "で部屋プロファイルを作る。")
            .arg(cm),
        QStringLiteral(
            "・各手順で動いた寝台位置が 1 つだけ、移動量が %1 cm ± 1 割でなければ作られません"
            "(理由が表示されます)。その手順をやり直して下さい。")
            .arg(cm),
        QStringLiteral("・この手順では Cアームの角度の符号は測れません。角度を付けて撮ったマーカー"
                       "(例: 寝台の左に置いた金属片) の画像で、LAO・頭側が DICOM "
                       "の定義どおりか確かめて下さい。"),
        QStringLiteral("・寝台天板の幅・厚さとマットの厚さは既定値です。部屋で測ってプロファイルを"
                       "直して下さい。"),
    };
    for (const QString& line : after) y = Put(s, 4, y + 0.5, line, kPageWidth - 4);
    y += 4;
    s.Line(0, y, kPageWidth, y);
    s.SetFont(ui::Font::MsGothic, 9);
    Put(s, 0, y + 1.5,
        QStringLiteral(
            "実施日 ____________   装置 ______________________   実施者 ______________   "
            "線量レポート ______________________"),
        kPageWidth);
}

QString SaveRoomProtocolPdf(const QString& path, double moveCm) {
    const ui::PrintReport report = ui::SystemPrintService::WritePdf(
        path, kTitle, [&](ui::Surface& page) { DrawRoomProtocolPage(page, moveCm); });
    if (report.outcome != ui::PrintOutcome::Failed) return {};
    return QStringLiteral("%1: %2 (前のファイルはそのまま残っています)")
        .arg(report.where, report.error);
}

void PrintRoomProtocol(double moveCm) {
    PrintTitledPage(kTitle, [&](ui::Surface& page) { DrawRoomProtocolPage(page, moveCm); });
}

}  // namespace ordevo::map
