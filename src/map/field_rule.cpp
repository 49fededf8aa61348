#include "field_rule.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace ordevo::map {
namespace {

constexpr double kCmPerMm = 0.1;

bool Agrees(double areaCm2, double pkaAreaCm2) {
    return areaCm2 >= pkaAreaCm2 / kFieldAreaAgreementFactor &&
           areaCm2 <= pkaAreaCm2 * kFieldAreaAgreementFactor;
}

FieldAtReference Square(double sideCm, std::string note) {
    return {0.5 * sideCm, 0.5 * sideCm, std::move(note)};
}

// "照射野: <why>ため、P_KA/Ka,r の面積を<how>で使用", built by appends (g++ 12 at -O3 warns
// -Wrestrict on chained concatenations).
std::string PkaNote(const char* why, const char* how) {
    std::string note = "照射野: ";
    note += why;
    note += "ため、P_KA/Ka,r の面積を";
    note += how;
    note += "で使用";
    return note;
}

}  // namespace

FieldAtReference ChooseField(const ReportedField& r, double pkaSideCm, double toReference) {
    const double pkaArea = pkaSideCm * pkaSideCm;
    if (r.HeightMm && r.WidthMm) {
        const double h = *r.HeightMm, w = *r.WidthMm;
        const char* why = "報告の高さ・幅が正の値でない";
        if (h > 0.0 && w > 0.0) {
            const double heightCm = h * kCmPerMm * toReference,
                         widthCm = w * kCmPerMm * toReference;
            if (Agrees(heightCm * widthCm, pkaArea)) return {0.5 * widthCm, 0.5 * heightCm, ""};
            why = "報告の高さ・幅の面積が P_KA/Ka,r と 2 倍を超えて違う";
        }
        const bool shapePlausible = h >= kShortestPlausibleSideMm &&
                                    w >= kShortestPlausibleSideMm &&
                                    std::max(h / w, w / h) <= kLargestPlausibleAspect;
        if (shapePlausible) {
            const double aspect = w / h;  // width over height, kept at the P_KA/Ka,r area
            return {0.5 * std::sqrt(pkaArea * aspect), 0.5 * std::sqrt(pkaArea / aspect),
                    PkaNote(why, "報告の縦横比")};
        }
        return Square(pkaSideCm, PkaNote(why, "正方形"));
    }
    if (r.AreaCm2) {
        const double areaAtReference = *r.AreaCm2 * toReference * toReference;
        if (*r.AreaCm2 > 0.0 && Agrees(areaAtReference, pkaArea))
            return Square(std::sqrt(areaAtReference), "照射野: 報告の照射野面積を正方形で使用");
        return Square(pkaSideCm,
                      PkaNote(*r.AreaCm2 > 0.0 ? "報告の照射野面積が P_KA/Ka,r と 2 倍を超えて違う"
                                               : "報告の照射野面積が正の値でない",
                              "正方形"));
    }
    return Square(pkaSideCm, "照射野の記載がなく、P_KA/Ka,r の面積を正方形で使用");
}

}  // namespace ordevo::map
