#include "structure_scan.h"

#include <dcmtk/config/osconfig.h>
#include <dcmtk/dcmdata/dctag.h>

#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

namespace ordevo::rdsr {
namespace {

constexpr std::uint32_t kUndefinedLength = 0xFFFFFFFF;
constexpr std::string_view kExplicitBigEndian = "1.2.840.10008.1.2.2";
constexpr std::string_view kImplicitLittleEndian = "1.2.840.10008.1.2";
constexpr std::string_view kDeflatedLittleEndian = "1.2.840.10008.1.2.1.99";

struct Encoding {
    bool Implicit = false;
    bool BigEndian = false;
};

// A sequence or an item still open; `End` is where a defined length ends it.
struct Open {
    bool IsItem = false;
    std::size_t End = SIZE_MAX;
    Encoding Inside;
};

class Cursor {
public:
    Cursor(const unsigned char* data, std::size_t size) : data_(data), size_(size) {}
    bool Has(std::size_t n) const { return n <= size_ - at_; }
    std::uint16_t U16(bool bigEndian) {
        const unsigned a = data_[at_], b = data_[at_ + 1];
        at_ += 2;
        return static_cast<std::uint16_t>(bigEndian ? (a << 8 | b) : (b << 8 | a));
    }
    std::uint32_t U32(bool bigEndian) {
        const std::uint32_t first = U16(bigEndian), second = U16(bigEndian);
        return bigEndian ? (first << 16 | second) : (second << 16 | first);
    }
    std::string_view Text(std::size_t n) {
        const std::string_view text(reinterpret_cast<const char*>(data_ + at_), n);
        at_ += n;
        return text;
    }
    void Skip(std::size_t n) { at_ += n; }
    std::size_t At() const { return at_; }
    void MoveTo(std::size_t at) { at_ = at; }

private:
    const unsigned char* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

// Whether a VR's length takes four bytes after two reserved ones in explicit VR: every VR but
// those with a two-byte length, as the toolkit reads an unknown VR ("EX") with a four-byte one.
bool HasLongLength(std::string_view vr) {
    for (const char* shortVr : {"AE", "AS", "AT", "CS", "DA", "DS", "DT", "FL", "FD", "IS", "LO",
                                "LT", "PN", "SH", "SL", "SS", "ST", "TM", "UI", "UL", "US"})
        if (vr == shortVr) return false;
    return true;
}

bool LooksLikeVr(std::string_view vr) {
    return vr.size() == 2 && vr[0] >= 'A' && vr[0] <= 'Z' && vr[1] >= 'A' && vr[1] <= 'Z';
}

std::string_view WithoutPadding(std::string_view text) {
    while (!text.empty() && (text.back() == '\0' || text.back() == ' ')) text.remove_suffix(1);
    return text;
}

// Reads the meta header (group 2, always explicit VR little endian) and returns the data set's
// encoding; `deflated` when the data set is compressed.
Encoding ReadMetaHeader(Cursor& c, bool& deflated, bool& overlong) {
    Encoding encoding;
    while (c.Has(8)) {
        const std::size_t start = c.At();
        const std::uint16_t group = c.U16(false);
        const std::uint16_t element = c.U16(false);
        if (group != 0x0002) {
            c.MoveTo(start);
            break;
        }
        const std::string_view vr = c.Text(2);
        std::uint32_t length = 0;
        if (HasLongLength(vr)) {
            if (!c.Has(6)) break;
            c.Skip(2);
            length = c.U32(false);
        } else {
            length = c.U16(false);
        }
        if (!c.Has(length)) {
            overlong = true;
            break;
        }
        const std::string_view value = c.Text(length);
        if (element == 0x0010) {
            const std::string_view syntax = WithoutPadding(value);
            encoding.Implicit = syntax == kImplicitLittleEndian;
            encoding.BigEndian = syntax == kExplicitBigEndian;
            deflated = syntax == kDeflatedLittleEndian;
        }
    }
    return encoding;
}

std::string Overlong(std::size_t at, std::size_t size) {
    return std::to_string(at) + " バイト目の値が残りの " + std::to_string(size - at) +
           " バイトより長いと記されています (ファイルが途中で切れているか壊れています)";
}

}  // namespace

std::string ScanStructure(const unsigned char* data, std::size_t size, int maxDepth) {
    Cursor c(data, size);
    Encoding encoding;
    if (size >= 132 && std::memcmp(data + 128, "DICM", 4) == 0) {
        c.Skip(132);
        bool deflated = false, overlong = false;
        encoding = ReadMetaHeader(c, deflated, overlong);
        if (deflated) return "圧縮 (deflate) されたデータセットは読めません";
        if (overlong) return Overlong(c.At(), size);
    } else if (size >= 6) {
        // A bare data set: explicit VR when its first element carries one.
        encoding.Implicit =
            !LooksLikeVr(std::string_view(reinterpret_cast<const char*>(data + 4), 2));
    }

    std::vector<Open> open;
    int items = 0;
    while (true) {
        // Close what a defined length ends here.
        while (!open.empty() && c.At() >= open.back().End) {
            items -= open.back().IsItem ? 1 : 0;
            open.pop_back();
        }
        const Encoding now = open.empty() ? encoding : open.back().Inside;
        if (!c.Has(8)) break;
        const std::uint16_t group = c.U16(now.BigEndian);
        const std::uint16_t element = c.U16(now.BigEndian);
        // Items and delimiters carry no VR; any other element of group FFFE is read as usual.
        if (group == 0xFFFE && (element == 0xE000 || element == 0xE00D || element == 0xE0DD)) {
            const std::uint32_t length = c.U32(now.BigEndian);
            if (element == 0xE000) {
                if (++items > maxDepth)
                    return "入れ子が " + std::to_string(maxDepth) +
                           " 段を超えています (線量レポートにはない深さです)";
                open.push_back(
                    {true, length == kUndefinedLength ? SIZE_MAX : c.At() + length, now});
            } else if (!open.empty()) {
                items -= open.back().IsItem ? 1 : 0;
                open.pop_back();
            }
            continue;
        }
        std::uint32_t length = 0;
        bool sequence = false;
        Encoding inside = now;
        if (now.Implicit) {
            length = c.U32(now.BigEndian);
            sequence = DcmTag(group, element).getEVR() == EVR_SQ;
        } else {
            const std::string_view vr = c.Text(2);
            if (HasLongLength(vr)) {
                if (!c.Has(6)) break;
                c.Skip(2);
                length = c.U32(now.BigEndian);
            } else {
                length = c.U16(now.BigEndian);
            }
            sequence = vr == "SQ";
            // An unknown element of undefined length holds an implicit-VR sequence.
            if (vr == "UN" && length == kUndefinedLength) inside = {true, false};
        }
        if (sequence || length == kUndefinedLength) {
            open.push_back(
                {false, length == kUndefinedLength ? SIZE_MAX : c.At() + length, inside});
            continue;
        }
        if (!c.Has(length)) return Overlong(c.At(), size);
        c.Skip(length);
    }
    return {};
}

}  // namespace ordevo::rdsr
