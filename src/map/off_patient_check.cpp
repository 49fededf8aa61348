#include "off_patient_check.h"

#include <cmath>
#include <set>

namespace ordevo::map {

std::optional<std::string> OffPatientNote(const rdsr::DoseReport& report, const SkinDoseMap& map,
                                          const RoomProfile& profile) {
    std::set<std::string> unmapped;
    for (const UnmappedEvent& e : map.Unmapped) unmapped.insert(e.Uid);
    double all = 0, missed = 0;
    for (std::size_t i = 0; i < report.Events.size(); ++i) {
        const rdsr::IrradiationEvent& e = report.Events[i];
        if (!e.ReferenceAirKermaMGy || !(*e.ReferenceAirKermaMGy > 0)) continue;
        all += *e.ReferenceAirKermaMGy;
        const bool placed = i < map.Placements.size() && !map.Placements[i].Steps.empty();
        if (placed && unmapped.count(e.Uid)) missed += *e.ReferenceAirKermaMGy;
    }
    if (!(all > 0) || missed <= kOffPatientKarShare * all) return std::nullopt;
    const int percent = static_cast<int>(std::lround(100.0 * missed / all));
    return "Ka,r の " + std::to_string(percent) +
           " % が患者モデルに当たりません: 部屋プロファイル " + ProfileLabel(profile) +
           " がこの部屋の寝台の向きに合っているか確かめて下さい (ordevo-cli room-fit "
           "で実測できます)";
}

}  // namespace ordevo::map
