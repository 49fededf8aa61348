#include "room_profile.h"

#include <charconv>
#include <cmath>
#include <sstream>

namespace ordevo::map {
namespace {

constexpr const char* kDirectionNames[] = {"head", "feet", "left", "right", "up", "down"};

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
    return text;
}

}  // namespace ordevo::map
