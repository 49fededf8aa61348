#include "dose_coverage.h"

#include <algorithm>

namespace ordevo::map {

double MappedKarShare(const rdsr::DoseReport& report, const std::vector<double>& placedShare) {
    double all = 0, placed = 0;
    for (std::size_t i = 0; i < report.Events.size(); ++i) {
        const double kar = std::max(0.0, report.Events[i].ReferenceAirKermaMGy.value_or(0.0));
        all += kar;
        if (i < placedShare.size()) placed += kar * std::clamp(placedShare[i], 0.0, 1.0);
    }
    return all > 0 ? std::min(1.0, placed / all) : 0.0;
}

bool HasUnboundedDose(const rdsr::DoseReport& report, const rdsr::ReportEvaluation& evaluation) {
    std::vector<bool> computed(report.Events.size(), false);
    for (const rdsr::PlaneEvaluation& plane : evaluation.Planes)
        for (const rdsr::EventEvaluation& e : plane.Events)
            if (e.EventIndex < computed.size())
                computed[e.EventIndex] = e.Case.Status == rdsr::EventStatus::Evaluated;
    for (std::size_t i = 0; i < report.Events.size(); ++i) {
        if (computed[i]) continue;
        // Ka,r 0 gives no skin dose whatever else is missing; an absent Ka,r may give any.
        const std::optional<double>& kar = report.Events[i].ReferenceAirKermaMGy;
        if (!kar || *kar > 0) return true;
    }
    return false;
}

const char* FollowUpStatusName(FollowUpStatus status) {
    switch (status) {
    case FollowUpStatus::Reached: return "reached";
    case FollowUpStatus::NotReached: return "notReached";
    case FollowUpStatus::Undetermined: return "undetermined";
    }
    return "undetermined";
}

FollowUpStatus JudgeFollowUp(double psdMGy, double unplacedBoundMGy, bool unbounded,
                             double levelMGy) {
    if (psdMGy >= levelMGy) return FollowUpStatus::Reached;
    if (!unbounded && psdMGy + std::max(0.0, unplacedBoundMGy) < levelMGy)
        return FollowUpStatus::NotReached;
    return FollowUpStatus::Undetermined;
}

}  // namespace ordevo::map
