// The registry window's tab "DRL との比較": the review of a period's procedures against the
// diagnostic reference levels (the same rows as ordevo-cli registry drl), its page printed or
// saved as PDF, and each procedure's category, which the user may set by hand.
#pragma once

#include <QString>
#include <QWidget>
#include <optional>
#include <vector>

#include "drl_review_page.h"
#include "registry.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace ordevo {

class DrlReviewPanel : public QWidget {
    Q_OBJECT
public:
    // drl.txt and procedure_categories.txt are read from `workingFolder` at each review.
    DrlReviewPanel(QString workingFolder, QWidget* parent = nullptr);

    // The registry reviewed (the window owns it); null empties the panel.
    void SetRegistry(registry::Registry* registry);
    // Reads the files and the registry for the period typed and fills both tables; false (said
    // in a message naming the box or file to correct) when it cannot.
    bool Review();
    // The chosen procedure's category, set by hand ("" takes the hand-set category back).
    bool SetChosenCategory(const QString& category);

    QLineEdit* FromBox() const { return from_; }
    QLineEdit* ToBox() const { return to_; }
    QTableWidget* RowTable() const { return rows_; }
    QTableWidget* ProcedureTable() const { return procedures_; }
    QComboBox* CategoryBox() const { return category_; }
    const std::optional<DrlReviewPageContent>& Shown() const { return shown_; }

    void PrintPage();
    void SavePdf(const QString& path);

private:
    QString folder_;
    registry::Registry* registry_ = nullptr;
    QLineEdit* from_;
    QLineEdit* to_;
    QPushButton* reviewButton_;
    QLabel* summary_;
    QTableWidget* rows_;
    QLabel* notes_;
    QTableWidget* procedures_;
    QComboBox* category_;
    QPushButton* setButton_;
    QPushButton* clearButton_;
    QPushButton* printButton_;
    QPushButton* pdfButton_;
    std::optional<DrlReviewPageContent> shown_;
    std::vector<registry::CategorisedProcedure> listed_;  // in the procedure table's order
};

}  // namespace ordevo
