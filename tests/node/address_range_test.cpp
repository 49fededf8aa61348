// Where a unit may call from: addresses and networks of both families, an IPv4 caller on an
// IPv6 socket, and the escaping of what callers write into the journal.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>

#include <cstring>

#include "address_range.h"
#include "journal_text.h"

namespace ordevo::node {
namespace {

sockaddr_storage Peer(const char* text) {
    sockaddr_storage peer{};
    auto& v4 = reinterpret_cast<sockaddr_in&>(peer);
    auto& v6 = reinterpret_cast<sockaddr_in6&>(peer);
    if (inet_pton(AF_INET, text, &v4.sin_addr) == 1) {
        v4.sin_family = AF_INET;
    } else {
        EXPECT_EQ(inet_pton(AF_INET6, text, &v6.sin6_addr), 1) << text;
        v6.sin6_family = AF_INET6;
    }
    return peer;
}

TEST(AddressRange, MatchesAddressesAndNetworksOfBothFamilies) {
    const struct {
        const char* range;
        const char* peer;
        bool inside;
    } cases[] = {
        {"192.168.10.21", "192.168.10.21", true},
        {"192.168.10.21", "192.168.10.22", false},
        {"192.168.10.0/24", "192.168.10.255", true},
        {"192.168.10.0/24", "192.168.11.0", false},
        // 172.16.0.0/12 ends at 172.31.255.255: a prefix that splits a byte.
        {"172.16.0.0/12", "172.31.255.255", true},
        {"172.16.0.0/12", "172.32.0.0", false},
        {"0.0.0.0/0", "203.0.113.7", true},
        {"192.168.10.21", "::ffff:192.168.10.21", true},  // IPv4 caller on an IPv6 socket
        {"fd00::/8", "fd12:3456::1", true},
        {"fd00::/8", "fe80::1", false},
        {"::1", "::1", true},
        {"::1", "127.0.0.1", false},
        {"127.0.0.1", "::1", false},
    };
    for (const auto& c : cases) {
        const auto range = ParseAddressRange(c.range);
        ASSERT_TRUE(range) << c.range;
        EXPECT_EQ(Contains(*range, Peer(c.peer)), c.inside) << c.range << " " << c.peer;
    }
    EXPECT_EQ(AddressText(Peer("::ffff:10.0.0.9")), "10.0.0.9");
    EXPECT_EQ(AddressText(Peer("fd00::5")), "fd00::5");
}

TEST(AddressRange, RefusesWhatIsNoAddressOrNetwork) {
    for (const char* bad : {"", "angio1.example", "192.168.10", "192.168.10.0/33", "10.0.0.1/",
                            "10.0.0.1/-1", "10.0.0.1/8x", "fd00::/129", " 10.0.0.1", "10.0.0.1/ 8"})
        EXPECT_FALSE(ParseAddressRange(bad)) << bad;
}

TEST(JournalText, EscapesWhatCouldForgeALine) {
    const struct {
        std::string in, out;
    } cases[] = {
        {"ANGIO1", "ANGIO1"},
        {"A\nordevo-node: 警報", "A\\x0aordevo-node: \\xe8\\xad\\xa6\\xe5\\xa0\\xb1"},
        {std::string("A\0B", 3), "A\\x00B"},
        {"A\rB\x1b[2J\x7f", "A\\x0dB\\x1b[2J\\x7f"},
        {"C:\\x", "C:\\x5cx"},  // a backslash cannot pass for an escape
    };
    for (const auto& c : cases) EXPECT_EQ(JournalText(c.in), c.out) << c.out;
}

}  // namespace
}  // namespace ordevo::node
