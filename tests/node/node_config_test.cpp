// The node's options and configuration file: every key both ways, the options winning, and a
// wrong line named with its file and line.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "node_config.h"

namespace ordevo::node {
namespace {

const std::vector<std::string> kComplete = {
    "--port",     "11112",    "--aet",    "ORDEVO",
    "--registry", "r.sqlite", "--spool",  "spool",
    "--data",     "data",     "--accept", "ANGIO1=Room1.odv3,siemens.room;from=192.168.10.21"};

TEST(NodeConfig, OptionsGiveEveryKey) {
    const NodeConfig c = ReadNodeConfig(kComplete);
    EXPECT_EQ(c.Port, 11112);
    EXPECT_EQ(c.AeTitle, "ORDEVO");
    EXPECT_EQ(c.Registry, "r.sqlite");
    ASSERT_EQ(c.Accepted.count("ANGIO1"), 1u);
    EXPECT_EQ(c.Accepted.at("ANGIO1").EquipmentFile, "Room1.odv3");
    EXPECT_EQ(c.Accepted.at("ANGIO1").RoomProfile, "siemens.room");
    EXPECT_EQ(c.Accepted.at("ANGIO1").PlaneBEquipmentFile, "");
    std::vector<std::string> biplane = kComplete;
    biplane.insert(biplane.end(),
                   {"--accept", "BIPLANE=A.odv3,,B.odv3 ; from = 10.1.0.0/16, fd00::/8"});
    const RoomSetup room = ReadNodeConfig(biplane).Accepted.at("BIPLANE");
    EXPECT_EQ(room.EquipmentFile, "A.odv3");
    EXPECT_EQ(room.RoomProfile, "");
    EXPECT_EQ(room.PlaneBEquipmentFile, "B.odv3");
    EXPECT_EQ(ReadNodeConfig(biplane).Callers.at("BIPLANE").From.size(), 2u);
    EXPECT_EQ(ReadNodeConfig(kComplete).Listen, "0.0.0.0");
    EXPECT_EQ(ReadNodeConfig(kComplete).SpoolRetentionDays, 30);
}

TEST(NodeConfig, TheFileGivesTheSameKeysAndOptionsWin) {
    QTemporaryDir dir;
    const QString path = dir.filePath("node.conf");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(
        "# room 1\nport = 104\naet = ORDEVO\nregistry = /var/r.sqlite\nspool = /s\n"
        "data = /d\naccept = ANGIO1 = Room1.odv3 ; from = 192.168.10.21\n"
        "accept = CARDIO=Room2.odv3;from=192.168.20.0/24\nlisten = 192.168.10.5\n"
        "spool-retention-days = 90\n"
        "alert-procedure-mgy = 2000\nalert-command = logger -t dose\n");
    file.close();
    const NodeConfig c = ReadNodeConfig(
        {"--config", path.toStdString(), "--port", "4104", "--alert-window-days", "180"});
    EXPECT_EQ(c.Levels.WindowDays, 180);
    EXPECT_EQ(c.Levels.ProcedureMGy, 2000);
    EXPECT_EQ(c.AlertCommand, "logger -t dose");
    EXPECT_EQ(c.Port, 4104);
    EXPECT_EQ(c.Registry, "/var/r.sqlite");
    EXPECT_EQ(c.Accepted.size(), 2u);
    EXPECT_EQ(c.Accepted.at("ANGIO1").EquipmentFile, "Room1.odv3");
    EXPECT_EQ(c.Accepted.at("CARDIO").RoomProfile, "");
    EXPECT_EQ(c.Callers.at("CARDIO").From.at(0).PrefixBits, 24);
    EXPECT_EQ(c.Listen, "192.168.10.5");
    EXPECT_EQ(c.SpoolRetentionDays, 90);
}

TEST(NodeConfig, RefusesWhatCannotBeUsed) {
    const struct {
        std::vector<std::string> change;
        const char* message;
    } cases[] = {
        {{"--port", "70000"}, "port"},
        {{"--port", "12a"}, "port"},
        {{"--aet", "A_TITLE_LONGER_THAN_16"}, "aet"},
        {{"--accept", "=Room1.odv3"}, "accept"},
        {{"--accept", "ANGIO2="}, "accept"},
        {{"--accept", "ANGIO2=A.odv3,,"}, "B 面"},
        {{"--accept", "ANGIO2=A.odv3,a.room,B.odv3,C.odv3"}, "3 つまで"},
        {{"--accept", "ANGIO2=A.odv3"}, "from"},
        {{"--accept", "ANGIO2=A.odv3;from="}, "accept"},
        {{"--accept", "ANGIO2=A.odv3;from=angio2.example"}, "angio2.example"},
        {{"--accept", "ANGIO2=A.odv3;from=10.0.0.0/33"}, "10.0.0.0/33"},
        {{"--accept", "ANGIO2=A.odv3;from=10.0.0.1;colour=red"}, "accept"},
        {{"--accept", "ANGIO2=A.odv3;from=10.0.0.1;subject=CN=a"}, "subject"},
        {{"--listen", "10.0.0.0/8"}, "listen"},
        {{"--listen", "localhost"}, "listen"},
        {{"--spool-retention-days", "0"}, "spool-retention-days"},
        {{"--colour", "red"}, "colour"},
        {{"--tls-key", "node.key"}, "tls-certificate"},
        {{"--alert-window-days", "2.5"}, "alert-window-days"},
        {{"--alert-procedure-mgy", "-1"}, "alert-procedure-mgy"},
        {{"--port"}, "--port"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> words = kComplete;
        words.insert(words.end(), c.change.begin(), c.change.end());
        try {
            ReadNodeConfig(words);
            ADD_FAILURE() << c.message << " accepted";
        } catch (const ConfigError& error) {
            EXPECT_NE(error.Message.find(c.message), std::string::npos) << error.Message;
        }
    }
    EXPECT_THROW(ReadNodeConfig({"--port", "104"}), ConfigError);
}

}  // namespace
}  // namespace ordevo::node
