// The review page a radiation-safety committee files: the period, facility and rooms, per
// category and room the procedures' median and 75th percentile of Ka,r and P_KA against the
// diagnostic reference levels, and a box plot of each against its level. One landscape A4 page in
// millimetres, drawn on any Surface (paper, PDF, the window's picture, the tests' recorder).
#pragma once

#include <QString>

#include "drl_review.h"
#include "surface.h"

namespace ordevo {

struct DrlReviewPageContent {
    registry::DrlReview Review;
    QString From, To;   // ISO dates; "" for an open end
    QString DrlFile;    // the levels' file, named on the page
    QString Generated;  // the date the review was made
};

inline constexpr double kReviewPageWidthMm = 287;  // A4 landscape less 5 mm margins
inline constexpr double kReviewPageHeightMm = 200;

void DrawDrlReviewPage(ui::Surface& page, const DrlReviewPageContent& content);

// The page as PDF at `path`; "" or why it could not be written.
QString SaveDrlReviewPdf(const QString& path, const DrlReviewPageContent& content);

// "2024-01-01 〜 2024-12-31", "全期間", "2024-01-01 以降" …
QString ReviewPeriodText(const QString& from, const QString& to);

}  // namespace ordevo
