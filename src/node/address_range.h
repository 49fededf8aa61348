// The addresses a unit may call from: one address ("192.168.10.21", "fd00::5") or a network in
// prefix notation ("192.168.10.0/24", "fd00::/64"). An IPv4 caller reaching an IPv6 socket
// (::ffff:192.168.10.21) is matched as its IPv4 address.
#pragma once

#include <sys/socket.h>

#include <array>
#include <optional>
#include <string>

namespace ordevo::node {

struct AddressRange {
    int Family = 0;  // AF_INET or AF_INET6
    std::array<unsigned char, 16> Bytes{};
    int PrefixBits = 0;
};

// std::nullopt for anything else (a host name, a prefix longer than the address, spaces).
std::optional<AddressRange> ParseAddressRange(const std::string& text);

bool Contains(const AddressRange& range, const sockaddr_storage& peer);

// The peer's address as text ("192.168.10.21"), IPv4-mapped addresses as IPv4.
std::string AddressText(const sockaddr_storage& peer);

}  // namespace ordevo::node
