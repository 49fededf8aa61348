#include "drl_review.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <utility>

namespace ordevo::registry {

std::optional<double> Percentile(const std::vector<double>& sorted, double p) {
    if (sorted.empty()) return std::nullopt;
    const double h = static_cast<double>(sorted.size() - 1) * p;
    const auto below = static_cast<std::size_t>(std::floor(h));
    if (below + 1 >= sorted.size()) return sorted.back();
    return sorted[below] + (h - static_cast<double>(below)) * (sorted[below + 1] - sorted[below]);
}

CategorisedProcedure Categorise(const ReviewSource& source,
                                const std::vector<CategoryRule>& rules) {
    CategorisedProcedure c{source, {}, false};
    if (!source.HandCategory.empty()) {
        c.Category = QString::fromStdString(source.HandCategory);
        c.SetByHand = true;
        return c;
    }
    const rdsr::ProcedureTexts& t = source.Texts;
    const QStringList texts = {QString::fromStdString(t.StudyDescription),
                               QString::fromStdString(t.PerformedProcedureStepDescription),
                               QString::fromStdString(t.RequestedProcedureDescription),
                               QString::fromStdString(t.ProcedureReported),
                               QString::fromStdString(t.AcquisitionProtocols)};
    if (const auto category = MatchCategory(rules, texts)) c.Category = *category;
    return c;
}

DrlReview ReviewAgainstDrl(const std::vector<CategorisedProcedure>& procedures,
                           const std::vector<DrlEntry>& levels) {
    DrlReview review;
    // Categories in the table's order first: the page reads like the national table.
    const auto rank = [&](const QString& category) {
        for (std::size_t i = 0; i < levels.size(); ++i)
            if (levels[i].Category == category) return i;
        return levels.size();
    };
    const auto before = [&](const std::pair<QString, QString>& a,
                            const std::pair<QString, QString>& b) {
        const std::size_t ra = rank(a.first), rb = rank(b.first);
        if (ra != rb) return ra < rb;
        return a < b;
    };
    std::map<std::pair<QString, QString>, ReviewRow, decltype(before)> rows(before);
    std::set<QString> rooms, facilities;
    for (const CategorisedProcedure& p : procedures) {
        const QString room = QString::fromStdString(p.Source.Room);
        rooms.insert(room);
        if (!p.Source.Texts.InstitutionName.empty())
            facilities.insert(QString::fromStdString(p.Source.Texts.InstitutionName));
        if (p.Category.isEmpty()) {
            ++review.Uncategorised;
            continue;
        }
        ReviewRow& row = rows[{p.Category, room}];
        row.Category = p.Category;
        row.Room = room;
        ++row.Procedures;
        row.KarMGy.push_back(p.Source.KarMGy);
        row.PkaGyCm2.push_back(p.Source.PkaGyCm2);
    }
    for (auto& [key, row] : rows) {
        std::sort(row.KarMGy.begin(), row.KarMGy.end());
        std::sort(row.PkaGyCm2.begin(), row.PkaGyCm2.end());
        row.MedianKarMGy = Percentile(row.KarMGy, 0.5);
        row.P75KarMGy = Percentile(row.KarMGy, 0.75);
        row.MedianPkaGyCm2 = Percentile(row.PkaGyCm2, 0.5);
        row.P75PkaGyCm2 = Percentile(row.PkaGyCm2, 0.75);
        if (const DrlEntry* level = FindDrl(levels, row.Category)) {
            row.DrlKarMGy = level->KarMGy;
            row.DrlPkaGyCm2 = level->PkaGyCm2;
        }
        if (row.DrlKarMGy) row.KarAboveDrl = *row.MedianKarMGy > *row.DrlKarMGy;
        if (row.DrlPkaGyCm2) row.PkaAboveDrl = *row.MedianPkaGyCm2 > *row.DrlPkaGyCm2;
        row.TooFew = row.Procedures < kMinimumProceduresForMedian;
        review.Rows.push_back(std::move(row));
    }
    review.Rooms.assign(rooms.begin(), rooms.end());
    review.Facilities.assign(facilities.begin(), facilities.end());
    return review;
}

}  // namespace ordevo::registry
