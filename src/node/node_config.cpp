#include "node_config.h"

#include "dose_forward.h"

#include <QFile>
#include <QString>
#include <QStringList>
#include <charconv>

namespace ordevo::node {

namespace {

// A DICOM AE title: 1 to 16 characters of the default repertoire, no backslash, not only spaces.
bool IsAeTitle(const std::string& title) {
    if (title.empty() || title.size() > 16) return false;
    if (title.find_first_not_of(' ') == std::string::npos) return false;
    for (char c : title)
        if (c < 0x20 || c > 0x7e || c == '\\') return false;
    return true;
}

std::string Trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

void ReadConfigFile(NodeConfig& config, const std::string& path) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly) || file.size() > 1024 * 1024)
        throw ConfigError{path + ": 設定ファイルを読めません"};
    const QStringList lines = QString::fromUtf8(file.readAll()).split('\n');
    for (int i = 0; i < lines.size(); ++i) {
        const std::string line = Trimmed(lines[i].toStdString());
        if (line.empty() || line[0] == '#') continue;
        const auto equals = line.find('=');
        const std::string where = path + " の " + std::to_string(i + 1) + " 行目";
        if (equals == std::string::npos)
            throw ConfigError{where + ": \"キー = 値\" の形ではありません"};
        ApplyConfigLine(config, Trimmed(line.substr(0, equals)), Trimmed(line.substr(equals + 1)),
                        where);
    }
}

constexpr const char* kAcceptForm =
    ": accept は CALLING_AE=EQUIPMENT_FILE[,ROOM_PROFILE[,PLANE_B_EQUIPMENT_FILE]] ; "
    "from=ADDRESS[/BITS][,...] [; subject=DN] の形です";

// "AE=FILES ; from=ADDRESSES ; subject=DN": the room, then where the unit may call from (a unit
// known by its AE title alone could be anyone naming it), then under TLS its certificate.
void ApplyAcceptLine(NodeConfig& config, const std::string& value, const std::string& where) {
    const QStringList parts = QString::fromStdString(value).split(';');
    const std::string room = parts[0].toStdString();
    const auto equals = room.find('=');
    // Spaces around an AE title are not part of it: "ANGIO1 = Room1.odv3" is ANGIO1's.
    const std::string ae = equals == std::string::npos ? "" : Trimmed(room.substr(0, equals));
    if (!IsAeTitle(ae) || Trimmed(room.substr(equals + 1)).empty())
        throw ConfigError{where + kAcceptForm};
    const QStringList files = QString::fromStdString(room.substr(equals + 1)).split(',');
    if (files.size() > 3)
        throw ConfigError{where + ": accept " + ae +
                          " は装置ファイル、部屋プロファイル、B 面の装置ファイルの 3 つまでです"};
    const auto file = [&files](int i) {
        return i < files.size() ? files[i].trimmed().toStdString() : std::string();
    };
    RoomSetup setup{file(0), file(1), file(2)};
    if (setup.EquipmentFile.empty())
        throw ConfigError{where + ": accept " + ae + " の装置ファイルがありません"};
    if (files.size() == 3 && setup.PlaneBEquipmentFile.empty())
        throw ConfigError{where + ": accept " + ae + " の B 面の装置ファイルがありません"};
    CallerCheck caller;
    for (int i = 1; i < parts.size(); ++i) {
        const std::string part = parts[i].toStdString();
        const auto is = part.find('=');
        const std::string name = is == std::string::npos ? "" : Trimmed(part.substr(0, is));
        const std::string text = is == std::string::npos ? "" : Trimmed(part.substr(is + 1));
        if (name == "from" && !text.empty()) {
            for (const QString& item : QString::fromStdString(text).split(',')) {
                const auto range = ParseAddressRange(item.trimmed().toStdString());
                if (!range)
                    throw ConfigError{
                        where + ": accept " + ae + " の from \"" + item.trimmed().toStdString() +
                        "\" は IP アドレスかネットワーク（192.168.10.0/24）ではありません"};
                caller.From.push_back(*range);
            }
        } else if (name == "subject" && !text.empty()) {
            caller.Subject = text;
        } else {
            throw ConfigError{where + kAcceptForm};
        }
    }
    if (caller.From.empty())
        throw ConfigError{where + ": accept " + ae +
                          " に呼び出し元のアドレス（; from=192.168.10.21 など）がありません"};
    config.Accepted[ae] = setup;
    config.Callers[ae] = caller;
}

}  // namespace

void ApplyConfigLine(NodeConfig& config, const std::string& key, const std::string& value,
                     const std::string& where) {
    if (value.empty()) throw ConfigError{where + ": " + key + " の値がありません"};
    if (key == "port") {
        int port = 0;
        const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), port);
        if (ec != std::errc() || end != value.data() + value.size() || port < 1 || port > 65535)
            throw ConfigError{where + ": port は 1 から 65535 のポート番号です"};
        config.Port = port;
    } else if (key == "listen") {
        if (!ParseAddressRange(value) || value.find('/') != std::string::npos)
            throw ConfigError{where +
                              ": listen は IP アドレス（例 0.0.0.0, 192.168.10.5, ::）です"};
        config.Listen = value;
    } else if (key == "spool-retention-days") {
        int days = 0;
        const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), days);
        if (ec != std::errc() || end != value.data() + value.size() || days < 1 || days > 36500)
            throw ConfigError{where + ": spool-retention-days は 1 から 36500 までの日数です"};
        config.SpoolRetentionDays = days;
    } else if (key == "aet") {
        if (!IsAeTitle(value)) throw ConfigError{where + ": aet は 16 文字以内の AE タイトルです"};
        config.AeTitle = value;
    } else if (key == "registry") {
        config.Registry = value;
    } else if (key == "spool") {
        config.Spool = value;
    } else if (key == "data") {
        config.Data = value;
    } else if (key == "tls-certificate") {
        config.TlsCertificate = value;
    } else if (key == "tls-key") {
        config.TlsKey = value;
    } else if (key == "tls-ca-certificate") {
        config.TlsCaCertificates = value;
    } else if (key == "alert-procedure-mgy" || key == "alert-cumulative-mgy" ||
               key == "alert-window-days") {
        double number = 0;
        const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), number);
        const bool days = key == "alert-window-days";
        if (ec != std::errc() || end != value.data() + value.size() || !(number > 0) ||
            number > (days ? 3650 : 1e6) || (days && number != static_cast<int>(number)))
            throw ConfigError{where + ": " + key + " は正の" +
                              (days ? "日数（3650 まで）です" : "線量 mGy です")};
        if (key == "alert-procedure-mgy") config.Levels.ProcedureMGy = number;
        if (key == "alert-cumulative-mgy") config.Levels.CumulativeMGy = number;
        if (days) config.Levels.WindowDays = static_cast<int>(number);
    } else if (key == "forward") {
        std::string why;
        if (!ParseForwardTarget(value, &why)) throw ConfigError{where + ": " + why};
        config.Forward = value;
    } else if (key == "alert-command") {
        config.AlertCommand = value;
    } else if (key == "accept") {
        ApplyAcceptLine(config, value, where);
    } else {
        throw ConfigError{where + ": 知らないキー " + key + " です"};
    }
}

NodeConfig ReadNodeConfig(const std::vector<std::string>& words) {
    NodeConfig config;
    std::vector<std::pair<std::string, std::string>> options;
    for (std::size_t i = 0; i < words.size(); i += 2) {
        if (words[i].rfind("--", 0) != 0 || i + 1 >= words.size())
            throw ConfigError{"オプション " + words[i] + " の値がありません"};
        options.emplace_back(words[i].substr(2), words[i + 1]);
    }
    for (const auto& [key, value] : options)
        if (key == "config") ReadConfigFile(config, value);
    // Options given on the command line replace the file's; --accept adds to its rooms.
    for (const auto& [key, value] : options)
        if (key != "config") ApplyConfigLine(config, key, value, "--" + key);
    if (config.Port == 0 || config.AeTitle.empty() || config.Registry.empty() ||
        config.Spool.empty() || config.Data.empty())
        throw ConfigError{"port, aet, registry, spool と data が必要です"};
    if (config.TlsCertificate.empty() != config.TlsKey.empty() ||
        (config.TlsCertificate.empty() && !config.TlsCaCertificates.empty()))
        throw ConfigError{"TLS には tls-certificate と tls-key の両方が必要です"};
    for (const auto& [ae, caller] : config.Callers)
        if (!caller.Subject.empty() && config.TlsCaCertificates.empty())
            throw ConfigError{"accept " + ae +
                              " の subject は TLS（tls-ca-certificate で証明書を確かめるとき）"
                              "だけに使えます"};
    if (config.Accepted.empty())
        throw ConfigError{"受け付ける呼び出し AE (accept) が一つもありません"};
    return config;
}

}  // namespace ordevo::node
