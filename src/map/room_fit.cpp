#include "room_fit.h"

#include <array>
#include <cmath>

#include "number_format.h"

namespace ordevo::map {
namespace {

struct Position {
    std::array<std::optional<double>, 3> Mm;  // by ReportedAxis
};

Position PositionOf(const rdsr::EventGeometry& g) {
    return {{g.TableLongitudinalMm, g.TableLateralMm, g.TableHeightMm}};
}

std::string Mm(double value) { return FormatNumber(value, "0.0") + " mm"; }

// The words of the protocol's steps, as the printed protocol says them.
const char* StepWords(int step) {
    switch (step) {
    case 2: return "頭側へ移動";
    case 3: return "患者の左へ移動";
    case 4: return "下げる";
    }
    return "基準";
}

TableDirection Opposite(TableDirection d) {
    switch (d) {
    case TableDirection::Head: return TableDirection::Feet;
    case TableDirection::Feet: return TableDirection::Head;
    case TableDirection::Left: return TableDirection::Right;
    case TableDirection::Right: return TableDirection::Left;
    case TableDirection::Up: return TableDirection::Down;
    case TableDirection::Down: return TableDirection::Up;
    }
    return d;
}

std::string DateOf(const rdsr::DoseReport& report, const rdsr::IrradiationEvent& first) {
    const std::string date = report.StudyDate.size() >= 8 ? report.StudyDate
                             : first.DateTime.size() >= 8 ? first.DateTime
                                                          : "";
    if (date.size() < 8) return "日付不明";
    return date.substr(0, 4) + "-" + date.substr(4, 2) + "-" + date.substr(6, 2);
}

std::string DeviceOf(const rdsr::DoseReport& report) {
    std::string device = report.Manufacturer;
    if (!report.Model.empty()) device += (device.empty() ? "" : " ") + report.Model;
    if (!report.SerialNumber.empty()) device += " (S/N " + report.SerialNumber + ")";
    return device.empty() ? "装置不明" : device;
}

}  // namespace

const char* ReportedAxisName(ReportedAxis axis) {
    constexpr const char* kNames[] = {"longitudinal", "lateral", "height"};
    return kNames[static_cast<int>(axis)];
}

RoomFit FitRoomProfile(const rdsr::DoseReport& report, double moveCm, const std::string& reportName,
                       const std::string& profileName) {
    RoomFit fit;
    const std::size_t count = report.Events.size();
    if (count < 4) {
        fit.Refusal = "照射が " + std::to_string(count) +
                      " 件しかありません (手順の 4 回の照射が 1 件の線量レポートに必要です)";
        return fit;
    }
    if (count > 4)
        fit.Notes.push_back("照射が " + std::to_string(count) +
                            " 件あり、最後の 4 件を手順 1～4 として使いました");
    const rdsr::IrradiationEvent* events[4];
    for (int i = 0; i < 4; ++i) events[i] = &report.Events[count - 4 + static_cast<std::size_t>(i)];

    std::array<Position, 4> at;
    for (int i = 0; i < 4; ++i) {
        const rdsr::EventGeometry& g = events[i]->Geometry;
        const std::string step = "手順 " + std::to_string(i + 1) + " (" + StepWords(i + 1) + "): ";
        const std::pair<const std::optional<double>*, const char*> tilts[] = {
            {&g.TableHeadTiltDeg, "頭尾方向の傾き"},
            {&g.TableCradleTiltDeg, "左右の傾き (クレードル)"},
            {&g.TableHorizontalRotationDeg, "水平回転"}};
        for (const auto& [tilt, what] : tilts)
            if (*tilt && std::abs(**tilt) > kFitMaxTiltDeg) {
                fit.Refusal = step + "寝台が傾いています (" + what + " " +
                              FormatNumber(**tilt, "0.0") + "°)。寝台を水平にして測り直して下さい";
                return fit;
            }
        at[static_cast<std::size_t>(i)] = PositionOf(g);
        for (int a = 0; a < 3; ++a)
            if (!at[static_cast<std::size_t>(i)].Mm[static_cast<std::size_t>(a)]) {
                fit.Refusal = step + "寝台位置 " +
                              std::string(ReportedAxisName(static_cast<ReportedAxis>(a))) +
                              " の記載がありません";
                return fit;
            }
        const auto angle = [](const std::optional<double>& v) { return v && std::abs(*v) > 1.0; };
        if (angle(g.PrimaryAngleDeg) || angle(g.SecondaryAngleDeg))
            fit.Notes.push_back(
                step + "Cアームが 0°/0° ではありません (寝台の向きの測定には影響しません)");
    }

    const double move = 10.0 * moveCm;
    const double tolerance = kMoveTolerance * move;
    RoomProfile profile;
    profile.Name = profileName;
    bool used[3] = {false, false, false};
    const TableDirection moved[] = {TableDirection::Head, TableDirection::Left,
                                    TableDirection::Down};
    for (int step = 2; step <= 4; ++step) {
        const std::string where = "手順 " + std::to_string(step) + " (" + StepWords(step) + " " +
                                  PlainNumber(moveCm) + " cm): ";
        std::vector<int> changed;
        std::string changes;
        for (int a = 0; a < 3; ++a) {
            const double delta =
                *at[static_cast<std::size_t>(step - 1)].Mm[static_cast<std::size_t>(a)] -
                *at[0].Mm[static_cast<std::size_t>(a)];
            if (std::abs(delta) <= kStillToleranceMm) continue;
            changed.push_back(a);
            changes += (changes.empty() ? "" : "、") +
                       std::string(ReportedAxisName(static_cast<ReportedAxis>(a))) + " " +
                       (delta > 0 ? "+" : "") + Mm(delta);
        }
        if (changed.empty()) {
            fit.Refusal = where + "どの寝台位置も基準 (手順 1) から " + Mm(kStillToleranceMm) +
                          " を超えて動いていません";
            return fit;
        }
        if (changed.size() > 1) {
            fit.Refusal = where + "寝台位置が複数動いています (" + changes +
                          ")。基準に戻してから 1 方向だけ動かして下さい";
            return fit;
        }
        const int a = changed.front();
        const auto axis = static_cast<ReportedAxis>(a);
        const double delta =
            *at[static_cast<std::size_t>(step - 1)].Mm[static_cast<std::size_t>(a)] -
            *at[0].Mm[static_cast<std::size_t>(a)];
        if (std::abs(std::abs(delta) - move) > tolerance) {
            fit.Refusal = where + ReportedAxisName(axis) + " の動きが " + Mm(delta) + " で、" +
                          PlainNumber(moveCm) + " cm ± " + Mm(tolerance) +
                          " ではありません (--move-cm を確かめて下さい)";
            return fit;
        }
        if (used[a]) {
            fit.Refusal = where + ReportedAxisName(axis) + " は前の手順で既に動いています";
            return fit;
        }
        // The profile says a horizontal word for longitudinal and lateral, up or down for
        // height: a unit that reports a vertical move in another axis cannot be written so.
        const bool vertical = step == 4;
        if (vertical != (axis == ReportedAxis::Height)) {
            fit.Refusal =
                where + ReportedAxisName(axis) + " が動きました。" +
                (vertical ? "上下の移動は height に" : "水平の移動は longitudinal か lateral に") +
                "出るはずで、この部屋の報告はプロファイルで表せません";
            return fit;
        }
        used[a] = true;
        const TableDirection direction = delta > 0 ? moved[step - 2] : Opposite(moved[step - 2]);
        fit.Steps.push_back({step, moved[step - 2], axis, delta, direction});
        (axis == ReportedAxis::Longitudinal ? profile.Longitudinal
         : axis == ReportedAxis::Lateral    ? profile.Lateral
                                            : profile.Height) = direction;
    }
    profile.TableHeightAtIsocentreMm = *at[0].Mm[static_cast<std::size_t>(ReportedAxis::Height)];
    profile.Source = ProfileSource::Commissioned;
    profile.CommissionedReport = reportName;
    profile.CommissionedOn = DateOf(report, *events[0]);
    profile.CommissionedDevice = DeviceOf(report);
    fit.Profile = profile;
    return fit;
}

std::vector<std::string> TableDifferences(const RoomProfile& expected,
                                          const RoomProfile& measured) {
    std::vector<std::string> out;
    const std::pair<const char*, TableDirection RoomProfile::*> keys[] = {
        {"longitudinal", &RoomProfile::Longitudinal},
        {"lateral", &RoomProfile::Lateral},
        {"height", &RoomProfile::Height}};
    for (const auto& [key, member] : keys)
        if (expected.*member != measured.*member)
            out.push_back(std::string(key) + " は " + expected.Name + " では " +
                          TableDirectionName(expected.*member) + "、実測では " +
                          TableDirectionName(measured.*member));
    return out;
}

}  // namespace ordevo::map
