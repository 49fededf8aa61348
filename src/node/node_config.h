// What ordevo-node is told: its port and AE title, the calling AE titles it accepts and the room
// each one is, where the registry, the spool and the reference data are. From a configuration
// file of "key = value" lines and from options of the same names, the options winning.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "address_range.h"
#include "alerts.h"
#include "report_registration.h"

namespace ordevo::node {

using registry::RoomSetup;

// Who may call as an accepted AE title: from where, and under TLS with which certificate.
struct CallerCheck {
    std::vector<AddressRange> From;  // at least one
    std::string Subject;  // "" : any certificate the CA signed; else its subject (RFC 2253)
};

struct NodeConfig {
    int Port = 0;
    std::string Listen = "0.0.0.0";  // the address the port is opened on ("::" for IPv6 too)
    std::string AeTitle;
    std::string Registry, Spool, Data;
    std::map<std::string, RoomSetup> Accepted;   // calling AE title → room
    std::map<std::string, CallerCheck> Callers;  // calling AE title → where it may call from
    int SpoolRetentionDays = 30;   // registered sources are removed from the spool after this
    registry::AlertLevels Levels;  // alert-procedure-mgy, alert-cumulative-mgy, alert-window-days
    std::string AlertCommand;      // run with each alert's JSON on its standard input
    // "AE@HOST:PORT": each registered procedure's Patient Radiation Dose SR is sent there.
    std::string Forward;
    // TLS: the node's certificate and private key (PEM) switch it on; with the CA certificates
    // (PEM) a caller must also show a certificate they signed.
    std::string TlsCertificate, TlsKey, TlsCaCertificates;
};

// Bad options or configuration: the program prints the message and exits 2.
struct ConfigError {
    std::string Message;
};

// The option words after the program's name: "--config FILE" (read first), "--port N",
// "--listen ADDRESS", "--aet TITLE", "--registry PATH", "--spool DIR", "--data DIR",
// "--spool-retention-days DAYS", "--tls-certificate FILE", "--tls-key FILE",
// "--tls-ca-certificate FILE" and
// "--accept 'CALLING_AE=EQUIPMENT_FILE[,ROOM_PROFILE[,PLANE_B_EQUIPMENT_FILE]];
// from=ADDRESS[/BITS][,...][;subject=DN]'" (repeatable; an empty ROOM_PROFILE before a plane B
// keeps the manufacturer's). Throws ConfigError.
NodeConfig ReadNodeConfig(const std::vector<std::string>& words);

// One "key = value" text (the configuration file's lines); `where` names it in errors.
void ApplyConfigLine(NodeConfig& config, const std::string& key, const std::string& value,
                     const std::string& where);

}  // namespace ordevo::node
