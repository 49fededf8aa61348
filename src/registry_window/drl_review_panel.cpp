#include "drl_review_panel.h"

#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

#include "messages.h"
#include "number_format.h"
#include "print_service.h"
#include "report_table.h"
#include "twips.h"

namespace ordevo {

using ui::AppMessages;

namespace {

void Place(QWidget* widget, int x, int y, int w, int h) {
    widget->setGeometry(ui::TwipsRectToPixels(x, y, w, h));
}

QString Num(const std::optional<double>& value, const char* picture) {
    return value ? QString::fromStdString(FormatNumber(*value, picture)) : QStringLiteral("―");
}
QString Verdict(const std::optional<bool>& above) {
    if (!above) return QStringLiteral("DRL なし");
    return *above ? QStringLiteral("超過") : QStringLiteral("以下");
}

QTableWidget* MakeTable(QWidget* parent, const QStringList& headings, const char* name) {
    auto* table = new QTableWidget(0, static_cast<int>(headings.size()), parent);
    table->setObjectName(QString::fromLatin1(name));
    table->setHorizontalHeaderLabels(headings);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->verticalHeader()->setDefaultSectionSize(20);
    table->horizontalHeader()->setStretchLastSection(true);
    return table;
}

void SetRow(QTableWidget* table, int row, const QStringList& cells) {
    for (int c = 0; c < cells.size(); ++c) table->setItem(row, c, new QTableWidgetItem(cells[c]));
}

// A date box: blank (an open end) or a date as 2024-01-15 or 20240115.
std::optional<QString> DateOf(const QLineEdit* box) {
    const QString text = box->text().trimmed();
    if (text.isEmpty()) return QString();
    QDate date = QDate::fromString(text, Qt::ISODate);
    if (!date.isValid()) date = QDate::fromString(text, QStringLiteral("yyyyMMdd"));
    if (!date.isValid()) return std::nullopt;
    return date.toString(Qt::ISODate);
}

}  // namespace

DrlReviewPanel::DrlReviewPanel(QString workingFolder, QWidget* parent)
    : QWidget(parent),
      folder_(std::move(workingFolder)),
      from_(new QLineEdit(this)),
      to_(new QLineEdit(this)),
      reviewButton_(new QPushButton(QStringLiteral("集計"), this)),
      summary_(new QLabel(this)),
      rows_(MakeTable(
          this,
          {QStringLiteral("分類"), QStringLiteral("部屋"), QStringLiteral("件数"),
           QStringLiteral("Ka,r 中央値"), QStringLiteral("Ka,r 75%"), QStringLiteral("Ka,r DRL"),
           QStringLiteral("判定"), QStringLiteral("P_KA 中央値"), QStringLiteral("P_KA 75%"),
           QStringLiteral("P_KA DRL"), QStringLiteral("判定")},
          "Grid2")),
      notes_(new QLabel(this)),
      procedures_(MakeTable(
          this,
          {QStringLiteral("検査日"), QStringLiteral("部屋"), QStringLiteral("分類"),
           QStringLiteral("設定"), QStringLiteral("Ka,r mGy"), QStringLiteral("P_KA Gy･cm²"),
           QStringLiteral("検査記述"), QStringLiteral("SOP Instance UID")},
          "Grid3")),
      category_(new QComboBox(this)),
      setButton_(new QPushButton(QStringLiteral("分類を設定"), this)),
      clearButton_(new QPushButton(QStringLiteral("手設定を外す"), this)),
      printButton_(new QPushButton(QStringLiteral("印刷…"), this)),
      pdfButton_(new QPushButton(QStringLiteral("PDF 保存…"), this)) {
    setObjectName(QStringLiteral("DrlReviewPanel"));
    auto* fromLabel = new QLabel(QStringLiteral("期間"), this);
    auto* dash = new QLabel(QStringLiteral("〜"), this);
    auto* categoryLabel = new QLabel(QStringLiteral("選んだ手技の分類"), this);
    from_->setObjectName(QStringLiteral("Text1"));
    to_->setObjectName(QStringLiteral("Text2"));
    from_->setPlaceholderText(QStringLiteral("2024-01-01 (空欄: 最初から)"));
    to_->setPlaceholderText(QStringLiteral("2024-12-31 (空欄: 最後まで)"));
    reviewButton_->setObjectName(QStringLiteral("Command11"));
    category_->setObjectName(QStringLiteral("Combo2"));
    category_->setEditable(true);
    setButton_->setObjectName(QStringLiteral("Command12"));
    clearButton_->setObjectName(QStringLiteral("Command13"));
    printButton_->setObjectName(QStringLiteral("Command14"));
    pdfButton_->setObjectName(QStringLiteral("Command15"));
    summary_->setObjectName(QStringLiteral("Label11"));
    notes_->setObjectName(QStringLiteral("Label12"));
    notes_->setWordWrap(true);
    notes_->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    // Positions in twips inside the tab (18660 × 9600).
    Place(fromLabel, 0, 60, 480, 330);
    Place(from_, 480, 0, 2400, 390);
    Place(dash, 2940, 60, 300, 330);
    Place(to_, 3240, 0, 2400, 390);
    Place(reviewButton_, 5760, 0, 1080, 390);
    Place(summary_, 6960, 60, 11700, 330);
    Place(rows_, 0, 480, 18660, 3360);
    Place(notes_, 0, 3900, 18660, 660);
    Place(procedures_, 0, 4620, 14400, 4980);
    Place(categoryLabel, 14520, 4620, 4140, 330);
    Place(category_, 14520, 4980, 4140, 390);
    Place(setButton_, 14520, 5460, 2000, 420);
    Place(clearButton_, 16620, 5460, 2040, 420);
    Place(printButton_, 14520, 9180, 2000, 420);
    Place(pdfButton_, 16620, 9180, 2040, 420);
    setButton_->setToolTip(QStringLiteral(" 選んだ手技に分類を手で設定する (規則より優先) "));
    clearButton_->setToolTip(QStringLiteral(" 手で設定した分類を外し、規則の分類に戻す "));
    printButton_->setToolTip(QStringLiteral(" DRL との比較 (A4 1 ページ) を印刷する "));
    pdfButton_->setToolTip(QStringLiteral(" DRL との比較を PDF ファイルに保存する "));
    for (QPushButton* b : {setButton_, clearButton_, printButton_, pdfButton_})
        b->setEnabled(false);

    connect(reviewButton_, &QPushButton::clicked, this, [this] { Review(); });
    connect(procedures_, &QTableWidget::currentCellChanged, this, [this](int row) {
        const bool chosen = row >= 0 && row < static_cast<int>(listed_.size());
        setButton_->setEnabled(chosen);
        clearButton_->setEnabled(chosen && listed_[static_cast<std::size_t>(row)].SetByHand);
        if (chosen) category_->setCurrentText(listed_[static_cast<std::size_t>(row)].Category);
    });
    connect(setButton_, &QPushButton::clicked, this,
            [this] { SetChosenCategory(category_->currentText().trimmed()); });
    connect(clearButton_, &QPushButton::clicked, this, [this] { SetChosenCategory(QString()); });
    connect(printButton_, &QPushButton::clicked, this, &DrlReviewPanel::PrintPage);
    connect(pdfButton_, &QPushButton::clicked, this, [this] {
        const QString path =
            QFileDialog::getSaveFileName(this, QStringLiteral("DRL との比較を PDF に保存"), folder_,
                                         QStringLiteral("PDF (*.pdf)"));
        if (!path.isEmpty()) SavePdf(path);
    });
}

void DrlReviewPanel::SetRegistry(registry::Registry* registry) {
    registry_ = registry;
    shown_.reset();
    listed_.clear();
    rows_->setRowCount(0);
    procedures_->setRowCount(0);
    summary_->clear();
    notes_->clear();
    for (QPushButton* b : {setButton_, clearButton_, printButton_, pdfButton_})
        b->setEnabled(false);
}

bool DrlReviewPanel::Review() {
    if (!registry_) {
        AppMessages().Warning(QStringLiteral(" 先に線量登録簿を開いて下さい "));
        return false;
    }
    const std::optional<QString> from = DateOf(from_), to = DateOf(to_);
    if (!from || !to) {
        AppMessages().Warning(
            QStringLiteral(" 期間の%1の日付を 2024-01-15 の形で入れて下さい (空欄も可) ")
                .arg(!from ? QStringLiteral("始め") : QStringLiteral("終わり")));
        (!from ? from_ : to_)->setFocus();
        return false;
    }
    if (!from->isEmpty() && !to->isEmpty() && *from > *to) {
        AppMessages().Warning(QStringLiteral(" 期間の始めが終わりより後です "));
        from_->setFocus();
        return false;
    }
    const QString levelsPath = QDir(folder_).filePath(QStringLiteral("drl.txt"));
    const auto levels = ReadDrlTable(levelsPath);
    const auto rules =
        ReadProcedureCategories(QDir(folder_).filePath(QStringLiteral("procedure_categories.txt")));
    const auto dicomDate = [](const QString& iso) {
        return QString(iso).remove('-').toStdString();
    };
    const auto sources = registry_->ReviewSources(dicomDate(*from), dicomDate(*to));
    for (const FileError* error :
         {levels ? nullptr : &levels.error(), rules ? nullptr : &rules.error(),
          sources ? nullptr : &sources.error()})
        if (error) {
            AppMessages().Error(
                QStringLiteral(" DRL との比較ができません \n%1").arg(error->message()));
            return false;
        }
    listed_.clear();
    for (const registry::ReviewSource& s : *sources)
        listed_.push_back(registry::Categorise(s, *rules));
    DrlReviewPageContent content{registry::ReviewAgainstDrl(listed_, *levels), *from, *to,
                                 QStringLiteral("drl.txt"),
                                 QDate::currentDate().toString(Qt::ISODate)};
    const registry::DrlReview& review = content.Review;

    rows_->setRowCount(static_cast<int>(review.Rows.size()));
    for (int i = 0; i < rows_->rowCount(); ++i) {
        const registry::ReviewRow& r = review.Rows[static_cast<std::size_t>(i)];
        SetRow(rows_, i,
               {r.Category, r.Room, QString::number(r.Procedures) + (r.TooFew ? "*" : ""),
                Num(r.MedianKarMGy, "0"), Num(r.P75KarMGy, "0"), Num(r.DrlKarMGy, "0"),
                Verdict(r.KarAboveDrl), Num(r.MedianPkaGyCm2, "0.0"), Num(r.P75PkaGyCm2, "0.0"),
                Num(r.DrlPkaGyCm2, "0.0"), Verdict(r.PkaAboveDrl)});
    }
    summary_->setText(QStringLiteral("%1: 手技 %2 件、分類なし %3 件")
                          .arg(ReviewPeriodText(*from, *to))
                          .arg(listed_.size())
                          .arg(review.Uncategorised));
    notes_->setText(
        QStringLiteral("中央値と 75% は手技ごとの全平面の合計 Ka,r・P_KA の、最近接順位間の線形補間"
                       " (h = (n−1)p)。判定は中央値と DRL (drl.txt) の比較。* は %1 件未満で、"
                       "中央値の意味が乏しいもの。分類は procedure_categories.txt の規則、"
                       "または手で設定したもの (設定欄「手」)。")
            .arg(registry::kMinimumProceduresForMedian));

    procedures_->setRowCount(static_cast<int>(listed_.size()));
    QStringList categories;
    for (const DrlEntry& level : *levels) categories << level.Category;
    for (const CategoryRule& rule : *rules)
        if (!categories.contains(rule.Category)) categories << rule.Category;
    for (int i = 0; i < procedures_->rowCount(); ++i) {
        const registry::CategorisedProcedure& p = listed_[static_cast<std::size_t>(i)];
        SetRow(procedures_, i,
               {QString::fromStdString(rdsr::IsoDate(p.Source.StudyDate)),
                QString::fromStdString(p.Source.Room),
                p.Category.isEmpty() ? QStringLiteral("（分類なし）") : p.Category,
                p.SetByHand ? QStringLiteral("手") : QStringLiteral("規則"),
                Num(p.Source.KarMGy, "0.0"), Num(p.Source.PkaGyCm2, "0.00"),
                QString::fromStdString(p.Source.Texts.StudyDescription),
                QString::fromStdString(p.Source.SopInstanceUid)});
        if (!p.Category.isEmpty() && !categories.contains(p.Category)) categories << p.Category;
    }
    const QString typed = category_->currentText();
    category_->clear();
    category_->addItems(categories);
    category_->setCurrentText(typed);
    shown_ = std::move(content);
    printButton_->setEnabled(true);
    pdfButton_->setEnabled(true);
    return true;
}

bool DrlReviewPanel::SetChosenCategory(const QString& category) {
    const int row = procedures_->currentRow();
    if (!registry_ || row < 0 || row >= static_cast<int>(listed_.size())) return false;
    const std::string sop = listed_[static_cast<std::size_t>(row)].Source.SopInstanceUid;
    if (category.isEmpty() && !listed_[static_cast<std::size_t>(row)].SetByHand) {
        AppMessages().Warning(QStringLiteral(" 「選んだ手技の分類」に分類の名前を入れて下さい "));
        category_->setFocus();
        return false;
    }
    const auto written = registry_->SetHandCategory(sop, category.toStdString());
    if (!written) {
        AppMessages().Error(
            QStringLiteral(" 分類を保存できませんでした \n%1").arg(written.error().message()));
        return false;
    }
    if (!Review()) return false;
    for (int i = 0; i < static_cast<int>(listed_.size()); ++i)
        if (listed_[static_cast<std::size_t>(i)].Source.SopInstanceUid == sop)
            procedures_->setCurrentCell(i, 0);
    return true;
}

void DrlReviewPanel::PrintPage() {
    if (!shown_) return;
    const DrlReviewPageContent content = *shown_;
    const ui::PrintReport report = ui::AppPrintService().PrintLandscapePage(
        QStringLiteral("診断参考レベルとの比較"),
        [&](ui::Surface& page) { DrawDrlReviewPage(page, content); });
    switch (report.outcome) {
    case ui::PrintOutcome::Printed:
        AppMessages().Notice(
            QStringLiteral(" DRL との比較をプリンター「%1」に送りました ").arg(report.where));
        break;
    case ui::PrintOutcome::SavedAsPdf:
        AppMessages().Notice(
            QStringLiteral(" DRL との比較を PDF ファイルに保存しました \n%1").arg(report.where));
        break;
    case ui::PrintOutcome::Cancelled: break;
    case ui::PrintOutcome::Failed:
        AppMessages().Error(
            QStringLiteral(" 印刷できませんでした \n%1: %2").arg(report.where, report.error));
        break;
    }
}

void DrlReviewPanel::SavePdf(const QString& path) {
    if (!shown_) return;
    const QString why = SaveDrlReviewPdf(path, *shown_);
    if (!why.isEmpty())
        AppMessages().Error(QStringLiteral(" PDF ファイルを保存できませんでした "
                                           "(前のファイルはそのまま残っています) \n%1")
                                .arg(why));
    else
        AppMessages().Notice(QStringLiteral(" DRL との比較を保存しました \n%1").arg(path));
}

}  // namespace ordevo
