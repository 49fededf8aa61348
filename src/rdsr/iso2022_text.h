// Japanese text in the ISO 2022 code extensions that Japanese units write (Specific Character
// Set "ISO 2022 IR 87", "ISO 2022 IR 13", with "ISO 2022 IR 6"; DICOM PS3.5 6.1.2.5 and PS3.3
// C.12.1.1.2), decoded to UTF-8 by us where the toolkit's build has no ISO 2022 converter:
//   ESC ( B   ISO-IR 6, ASCII, in G0 (the default, and where every value starts)
//   ESC ( J   ISO-IR 14, JIS X 0201 romaji, in G0 (read as ASCII: 0x5c is the value separator)
//   ESC $ B   ISO-IR 87, JIS X 0208 kanji and kana, two bytes each, in G0
//   ESC ) I   ISO-IR 13, JIS X 0201 half-width katakana, in G1: the bytes 0xa1 to 0xdf
#pragma once

#include <optional>
#include <string>
#include <string_view>

class DcmItem;

namespace ordevo::rdsr {

// `katakanaInG1`: the character set names ISO 2022 IR 13, whose katakana bytes need no escape.
// std::nullopt for what these sets cannot hold (another escape, half a kanji, a byte above
// 0x7f without IR 13).
std::optional<std::string> DecodeIso2022Japanese(std::string_view bytes, bool katakanaInG1);

// Whether the Specific Character Set (its values joined by '\') is one DecodeIso2022Japanese
// reads: ISO 2022 IR 87 or IR 13, with IR 6 or nothing else.
bool IsIso2022Japanese(std::string_view characterSet);

// Every text value of the data set and its sequences decoded in place, the character set then
// ISO_IR 192 (UTF-8); false (nothing changed) when a value cannot be decoded.
bool DecodeIso2022Dataset(DcmItem& dataset, std::string_view characterSet);

}  // namespace ordevo::rdsr
