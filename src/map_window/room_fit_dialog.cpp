#include "room_fit_dialog.h"

#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "file_name_check.h"
#include "messages.h"
#include "number_format.h"
#include "room_profile_file.h"
#include "room_protocol_page.h"

namespace ordevo {

using ui::AppMessages;

namespace {

QString MovedWords(map::TableDirection moved) {
    switch (moved) {
    case map::TableDirection::Head: return QStringLiteral("頭側へ");
    case map::TableDirection::Left: return QStringLiteral("患者の左へ");
    default: return QStringLiteral("下げる");
    }
}

}  // namespace

RoomFitDialog::RoomFitDialog(RoomCommissioning commissioning, double moveCm, QString folder,
                             const QString& suggestedName, QWidget* parent)
    : QDialog(parent),
      commissioning_(std::move(commissioning)),
      moveCm_(moveCm),
      folder_(std::move(folder)),
      steps_(new QTableWidget(0, 5, this)),
      message_(new QLabel(this)),
      name_(new QLineEdit(suggestedName, this)),
      save_(new QPushButton(QStringLiteral("保存"), this)),
      protocol_(new QPushButton(QStringLiteral("測定手順を印刷…"), this)) {
    setObjectName(QStringLiteral("RoomFitDialog"));
    setWindowTitle(QStringLiteral("部屋プロファイルを測定から作る"));
    const map::RoomFit& fit = commissioning_.Fit;

    steps_->setHorizontalHeaderLabels({QStringLiteral("手順"), QStringLiteral("動かした向き"),
                                       QStringLiteral("動いた寝台位置"), QStringLiteral("変化 mm"),
                                       QStringLiteral("プロファイル")});
    steps_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    steps_->verticalHeader()->hide();
    steps_->setRowCount(static_cast<int>(fit.Steps.size()));
    for (int r = 0; r < steps_->rowCount(); ++r) {
        const map::FitStep& s = fit.Steps[static_cast<std::size_t>(r)];
        const QStringList cells{
            QString::number(s.Number),
            QStringLiteral("%1 %2 cm")
                .arg(MovedWords(s.Moved), QString::fromStdString(PlainNumber(moveCm_))),
            QString::fromLatin1(map::ReportedAxisName(s.Axis)),
            (s.ChangeMm > 0 ? QStringLiteral("+") : QString()) +
                QString::fromStdString(FormatNumber(s.ChangeMm, "0.0")),
            QStringLiteral("%1 = %2").arg(
                QString::fromLatin1(map::ReportedAxisName(s.Axis)),
                QString::fromLatin1(map::TableDirectionName(s.Direction)))};
        for (int c = 0; c < cells.size(); ++c)
            steps_->setItem(r, c, new QTableWidgetItem(cells[c]));
    }
    steps_->resizeColumnsToContents();
    steps_->horizontalHeader()->setStretchLastSection(true);

    QStringList lines;
    if (fit.Profile) {
        const map::RoomProfile& p = *fit.Profile;
        lines << QStringLiteral("線量レポート %1 (%2、%3)")
                     .arg(QString::fromStdString(p.CommissionedReport),
                          QString::fromStdString(p.CommissionedOn),
                          QString::fromStdString(p.CommissionedDevice));
        if (p.TableHeightAtIsocentreMm)
            lines << QStringLiteral("アイソセンタでの寝台高さ (手順 1): %1 mm")
                         .arg(QString::fromStdString(
                             FormatNumber(*p.TableHeightAtIsocentreMm, "0.0")));
    } else {
        lines << QStringLiteral("プロファイルを作れません: %1")
                     .arg(QString::fromStdString(fit.Refusal));
        message_->setStyleSheet(QStringLiteral("color: #b00000;"));
    }
    for (const std::string& note : fit.Notes) lines << QString::fromStdString(note);
    message_->setText(lines.join('\n'));
    message_->setWordWrap(true);

    save_->setEnabled(fit.Profile.has_value());
    name_->setEnabled(fit.Profile.has_value());
    save_->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("キャンセル"), this);
    connect(save_, &QPushButton::clicked, this, &RoomFitDialog::Save);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(protocol_, &QPushButton::clicked, this, [this] { map::PrintRoomProtocol(moveCm_); });

    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(new QLabel(QStringLiteral("プロファイル名"), this));
    nameRow->addWidget(name_, 1);
    nameRow->addWidget(new QLabel(QStringLiteral(".room"), this));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(protocol_);
    buttons->addStretch(1);
    buttons->addWidget(save_);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(steps_, 1);
    layout->addWidget(message_);
    layout->addLayout(nameRow);
    layout->addLayout(buttons);
    resize(640, 360);
}

void RoomFitDialog::Save() {
    if (!commissioning_.Fit.Profile) return;
    const QString name = name_->text().trimmed();
    if (const std::optional<QString> problem = FileNameProblem(name)) {
        AppMessages().Warning(QStringLiteral(" プロファイル名を直して下さい \n%1").arg(*problem));
        name_->setFocus();
        return;
    }
    const QString path = QDir(folder_).filePath(name + QStringLiteral(".room"));
    if (!ui::MayReplaceFile(path)) return;
    map::RoomProfile profile = *commissioning_.Fit.Profile;
    profile.Name = name.toStdString();
    const auto written = WriteRoomProfileFile(path, commissioning_.Comment, profile, true);
    if (!written) {
        AppMessages().Error(QStringLiteral(" 部屋プロファイルを保存できませんでした \n%1")
                                .arg(written.error().message()));
        return;
    }
    saved_ = path;
    accept();
}

}  // namespace ordevo
