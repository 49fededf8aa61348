#include "iso2022_text.h"

#include <dcmtk/dcmdata/dcdeftag.h>
#include <dcmtk/dcmdata/dcelem.h>
#include <dcmtk/dcmdata/dcitem.h>
#include <dcmtk/dcmdata/dcstack.h>
#include <dcmtk/dcmdata/dcvr.h>

#include <QByteArray>
#include <QString>
#include <QStringDecoder>
#include <vector>

namespace ordevo::rdsr {

namespace {

enum class G0 { Ascii, Kanji };

// A JIS X 0208 code (row and cell bytes 0x21..0x7e) as Shift_JIS, which the CP932 decoder
// reads (JIS X 0208 is CP932's double-byte part, rows 1 to 84).
void AppendShiftJis(unsigned char j1, unsigned char j2, QByteArray& out) {
    const int row = j1 - 0x21;  // 0..93
    const int first = row / 2 + (row < 62 ? 0x81 : 0xc1);
    int second = j2;
    if (row % 2 == 0)
        second += j2 < 0x60 ? 0x1f : 0x20;
    else
        second += 0x7e;
    out.append(static_cast<char>(first));
    out.append(static_cast<char>(second));
}

}  // namespace

std::optional<std::string> DecodeIso2022Japanese(std::string_view bytes, bool katakanaInG1) {
    QByteArray shiftJis;  // the whole value in CP932, decoded at the end
    G0 g0 = G0::Ascii;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (c == 0x1b) {
            const std::string_view rest = bytes.substr(i + 1, 2);
            if (rest == "(B" || rest == "(J") {
                g0 = G0::Ascii;
            } else if (rest == "$B") {
                g0 = G0::Kanji;
            } else if (rest == ")I") {
                if (!katakanaInG1) return std::nullopt;
            } else {
                return std::nullopt;
            }
            i += 2;
        } else if (c >= 0x80) {
            if (!katakanaInG1 || c < 0xa1 || c > 0xdf) return std::nullopt;
            shiftJis.append(static_cast<char>(c));  // the same byte in Shift_JIS
        } else if (g0 == G0::Kanji && c >= 0x21 && c <= 0x7e) {
            if (i + 1 >= bytes.size()) return std::nullopt;
            const auto c2 = static_cast<unsigned char>(bytes[i + 1]);
            if (c2 < 0x21 || c2 > 0x7e) return std::nullopt;
            AppendShiftJis(c, c2, shiftJis);
            ++i;
        } else {
            // Controls (CR, LF, TAB), spaces and ASCII; a value's delimiters come in ASCII.
            shiftJis.append(static_cast<char>(c));
        }
    }
    QStringDecoder decoder("CP932");
    const QString text = decoder.decode(shiftJis);
    if (decoder.hasError()) return std::nullopt;
    return text.toStdString();
}

bool IsIso2022Japanese(std::string_view characterSet) {
    bool japanese = false;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = characterSet.find('\\', start);
        std::string_view term = characterSet.substr(start, end - start);
        while (!term.empty() && term.back() == ' ') term.remove_suffix(1);
        while (!term.empty() && term.front() == ' ') term.remove_prefix(1);
        if (term == "ISO 2022 IR 87" || term == "ISO 2022 IR 13")
            japanese = true;
        else if (!term.empty() && term != "ISO 2022 IR 6")
            return false;
        if (end == std::string_view::npos) return japanese;
        start = end + 1;
    }
}

bool DecodeIso2022Dataset(DcmItem& dataset, std::string_view characterSet) {
    const bool katakana = characterSet.find("ISO 2022 IR 13") != std::string_view::npos;
    // Decoded first, all of it, and only then written: nothing changes when one value fails.
    std::vector<std::pair<DcmElement*, std::string>> decoded;
    DcmStack stack;
    while (dataset.nextObject(stack, OFTrue).good()) {
        auto* element = dynamic_cast<DcmElement*>(stack.top());
        if (!element) continue;
        const DcmEVR vr = element->ident();
        // The value representations the character set applies to.
        if (vr != EVR_PN && vr != EVR_LO && vr != EVR_SH && vr != EVR_ST && vr != EVR_LT &&
            vr != EVR_UT && vr != EVR_UC)
            continue;
        char* value = nullptr;
        Uint32 length = 0;
        if (element->getString(value, length).bad() || value == nullptr || length == 0) continue;
        const std::optional<std::string> text =
            DecodeIso2022Japanese(std::string_view(value, length), katakana);
        if (!text) return false;
        decoded.emplace_back(element, *text);
    }
    for (auto& [element, text] : decoded)
        if (element->putString(text.c_str(), static_cast<Uint32>(text.size())).bad()) return false;
    dataset.putAndInsertString(DCM_SpecificCharacterSet, "ISO_IR 192");
    return true;
}

}  // namespace ordevo::rdsr
