#include "address_range.h"

#include <arpa/inet.h>
#include <netinet/in.h>

#include <charconv>
#include <cstring>

namespace ordevo::node {

namespace {

// The peer as (family, 16 bytes), an IPv4-mapped IPv6 address as IPv4.
std::pair<int, std::array<unsigned char, 16>> Normalised(const sockaddr_storage& peer) {
    std::array<unsigned char, 16> bytes{};
    if (peer.ss_family == AF_INET) {
        const auto& v4 = reinterpret_cast<const sockaddr_in&>(peer);
        std::memcpy(bytes.data(), &v4.sin_addr, 4);
        return {AF_INET, bytes};
    }
    if (peer.ss_family == AF_INET6) {
        const auto& v6 = reinterpret_cast<const sockaddr_in6&>(peer);
        if (IN6_IS_ADDR_V4MAPPED(&v6.sin6_addr)) {
            std::memcpy(bytes.data(), v6.sin6_addr.s6_addr + 12, 4);
            return {AF_INET, bytes};
        }
        std::memcpy(bytes.data(), v6.sin6_addr.s6_addr, 16);
        return {AF_INET6, bytes};
    }
    return {0, bytes};
}

}  // namespace

std::optional<AddressRange> ParseAddressRange(const std::string& text) {
    const auto slash = text.find('/');
    const std::string address = text.substr(0, slash);
    AddressRange range;
    if (inet_pton(AF_INET, address.c_str(), range.Bytes.data()) == 1) {
        range.Family = AF_INET;
        range.PrefixBits = 32;
    } else if (inet_pton(AF_INET6, address.c_str(), range.Bytes.data()) == 1) {
        range.Family = AF_INET6;
        range.PrefixBits = 128;
    } else {
        return std::nullopt;
    }
    if (slash != std::string::npos) {
        const std::string bits = text.substr(slash + 1);
        int prefix = -1;
        const auto [end, ec] = std::from_chars(bits.data(), bits.data() + bits.size(), prefix);
        if (bits.empty() || ec != std::errc() || end != bits.data() + bits.size() || prefix < 0 ||
            prefix > range.PrefixBits)
            return std::nullopt;
        range.PrefixBits = prefix;
    }
    return range;
}

bool Contains(const AddressRange& range, const sockaddr_storage& peer) {
    const auto [family, bytes] = Normalised(peer);
    if (family != range.Family) return false;
    const int whole = range.PrefixBits / 8, rest = range.PrefixBits % 8;
    if (std::memcmp(bytes.data(), range.Bytes.data(), static_cast<std::size_t>(whole)) != 0)
        return false;
    if (rest == 0) return true;
    const auto mask = static_cast<unsigned char>(0xff << (8 - rest));
    return (bytes[whole] & mask) == (range.Bytes[whole] & mask);
}

std::string AddressText(const sockaddr_storage& peer) {
    const auto [family, bytes] = Normalised(peer);
    char text[INET6_ADDRSTRLEN] = {};
    if (family == 0 || !inet_ntop(family, bytes.data(), text, sizeof text)) return "?";
    return text;
}

}  // namespace ordevo::node
