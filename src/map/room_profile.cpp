#include "room_profile.h"

#include <charconv>
#include <cmath>
#include <sstream>
#include <utility>

namespace ordevo::map {
namespace {

constexpr const char* kDirectionNames[] = {"head", "feet", "left", "right", "up", "down"};
constexpr const char* kSignNames[] = {"as_dicom", "opposite"};
constexpr const char* kSourceNames[] = {"unstated", "dicom", "manufacturer", "commissioned"};

std::string Trim(std::string text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) return "";
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

std::optional<double> Number(const std::string& text) {
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() ||
        !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<TableDirection> Direction(const std::string& text, bool vertical) {
    for (int i = 0; i < 6; ++i) {
        const bool isVertical = i >= 4;
        if (text == kDirectionNames[i] && isVertical == vertical)
            return static_cast<TableDirection>(i);
    }
    return std::nullopt;
}

// A free text kept on one line and without "#", which would start a comment when read back.
std::string OneLine(std::string text) {
    for (char& c : text)
        if (c == '#' || c == '\n' || c == '\r') c = ' ';
    return Trim(text);
}

std::string Format(double value) {
    std::ostringstream out;
    out << value;
    return out.str();
}

}  // namespace

std::variant<RoomProfile, std::string> ParseRoomProfile(const std::string& text,
                                                        const std::string& name) {
    RoomProfile profile;
    profile.Name = name;
    profile.Source = ProfileSource::Unstated;
    std::istringstream lines(text);
    std::string line;
    int number = 0;
    while (std::getline(lines, line)) {
        ++number;
        const std::string where = name + " " + std::to_string(number) + " 行目: ";
        line = Trim(line.substr(0, line.find('#')));
        if (line.empty()) continue;
        const auto equals = line.find('=');
        if (equals == std::string::npos) return where + "「キー = 値」の形ではありません";
        const std::string key = Trim(line.substr(0, equals));
        const std::string value = Trim(line.substr(equals + 1));
        if (key == "longitudinal" || key == "lateral" || key == "height") {
            const auto direction = Direction(value, key == "height");
            if (!direction)
                return where + key + " は " +
                       (key == "height" ? "up か down" : "head, feet, left, right のどれか") +
                       " です (\"" + value + "\")";
            (key == "longitudinal" ? profile.Longitudinal
             : key == "lateral"    ? profile.Lateral
                                   : profile.Height) = *direction;
            continue;
        }
        if (key == "primary_angle" || key == "secondary_angle") {
            AngleSign& sign = key == "primary_angle" ? profile.Primary : profile.Secondary;
            if (value == kSignNames[0])
                sign = AngleSign::AsDicom;
            else if (value == kSignNames[1])
                sign = AngleSign::Opposite;
            else
                return where + key + " は as_dicom か opposite です (\"" + value + "\")";
            continue;
        }
        if (key == "source") {
            bool known = false;
            for (int i = 1; i < 4; ++i)
                if (value == kSourceNames[i]) {
                    profile.Source = static_cast<ProfileSource>(i);
                    known = true;
                }
            if (!known)
                return where + key + " は dicom, manufacturer, commissioned のどれかです (\"" +
                       value + "\")";
            continue;
        }
        std::string* words = key == "reference"             ? &profile.Reference
                             : key == "commissioned_report" ? &profile.CommissionedReport
                             : key == "commissioned_on"     ? &profile.CommissionedOn
                             : key == "commissioned_device" ? &profile.CommissionedDevice
                                                            : nullptr;
        if (words) {
            *words = value;
            continue;
        }
        const std::optional<double> v = Number(value);
        if (key == "table_height_at_isocentre_mm") {
            if (!v) return where + key + " は数値です (\"" + value + "\")";
            profile.TableHeightAtIsocentreMm = *v;
            continue;
        }
        double* field = key == "table_top_width_cm"       ? &profile.TableTopWidthCm
                        : key == "table_top_thickness_cm" ? &profile.TableTopThicknessCm
                        : key == "mattress_thickness_cm"  ? &profile.MattressThicknessCm
                                                          : nullptr;
        if (!field) return where + "知らないキー \"" + key + "\" です";
        const bool widthKey = field == &profile.TableTopWidthCm;
        if (!v || *v < 0 || *v > 100 || (widthKey && *v < 10))
            return where + key + " は " + (widthKey ? "10～100" : "0～100") + " cm の数値です (\"" +
                   value + "\")";
        *field = *v;
    }
    // The two horizontal axes must be one longitudinal and one lateral direction.
    auto along = [](TableDirection d) {
        return d == TableDirection::Head || d == TableDirection::Feet;
    };
    if (along(profile.Longitudinal) == along(profile.Lateral))
        return name + ": longitudinal と lateral が同じ軸を指しています";
    if (profile.Source == ProfileSource::Commissioned && profile.CommissionedOn.empty())
        return name + ": source = commissioned には commissioned_on (測定日) が必要です";
    return profile;
}

std::string RoomProfileText(const RoomProfile& p) {
    std::string text;
    text += "# 部屋の幾何プロファイル: 線量レポートの寝台位置の向きと寝台・マットの寸法\n";
    text +=
        "longitudinal = " + std::string(kDirectionNames[static_cast<int>(p.Longitudinal)]) + "\n";
    text += "lateral = " + std::string(kDirectionNames[static_cast<int>(p.Lateral)]) + "\n";
    text += "height = " + std::string(kDirectionNames[static_cast<int>(p.Height)]) + "\n";
    if (p.TableHeightAtIsocentreMm)
        text += "table_height_at_isocentre_mm = " + Format(*p.TableHeightAtIsocentreMm) + "\n";
    text += "table_top_width_cm = " + Format(p.TableTopWidthCm) + "\n";
    text += "table_top_thickness_cm = " + Format(p.TableTopThicknessCm) + "\n";
    text += "mattress_thickness_cm = " + Format(p.MattressThicknessCm) + "\n";
    text += "primary_angle = " + std::string(kSignNames[static_cast<int>(p.Primary)]) + "\n";
    text += "secondary_angle = " + std::string(kSignNames[static_cast<int>(p.Secondary)]) + "\n";
    if (p.Source != ProfileSource::Unstated)
        text += "source = " + std::string(kSourceNames[static_cast<int>(p.Source)]) + "\n";
    const std::pair<const char*, const std::string*> texts[] = {
        {"reference", &p.Reference},
        {"commissioned_report", &p.CommissionedReport},
        {"commissioned_on", &p.CommissionedOn},
        {"commissioned_device", &p.CommissionedDevice}};
    for (const auto& [key, value] : texts)
        if (!OneLine(*value).empty()) text += std::string(key) + " = " + OneLine(*value) + "\n";
    return text;
}

const char* TableDirectionName(TableDirection direction) {
    return kDirectionNames[static_cast<int>(direction)];
}

const char* ProfileSourceName(ProfileSource source) {
    return kSourceNames[static_cast<int>(source)];
}

std::string ProfileLabel(const RoomProfile& p) {
    std::string where;
    switch (p.Source) {
    case ProfileSource::Unstated: where = "出典の記載なし"; break;
    case ProfileSource::Dicom:
        if (p.Name == "DICOM") return "DICOM の定義";
        where = "DICOM の定義";
        break;
    case ProfileSource::Manufacturer: where = "製造者の慣例 (公開情報、この部屋では未実測)"; break;
    case ProfileSource::Commissioned:
        where = "実測 " + p.CommissionedOn;
        if (!p.CommissionedDevice.empty()) where += "、" + p.CommissionedDevice;
        break;
    }
    return p.Name + "（" + where + "）";
}

std::optional<std::string> ProfileNote(const RoomProfile& p) {
    if (p.Source != ProfileSource::Manufacturer) return std::nullopt;
    std::string note = "部屋プロファイル " + p.Name + " は製造者の慣例";
    if (!p.Reference.empty()) note += " (出典: " + p.Reference + ")";
    return note + " で、この部屋では実測されていません (ordevo-cli room-fit で確かめられます)";
}

}  // namespace ordevo::map
