// What a number box holds, read the same way by every window, the command-line evaluator and
// the dose-report window: full-width digits and signs (as Japanese input methods type them)
// are taken as ASCII, then the text is one number, nothing, or something else.
#pragma once

#include <QString>

#include <optional>
#include <string>

namespace ordevo {

struct NumberBoxText {
    QString Text;                 // as typed, full-width forms made ASCII: what the box shows
    std::optional<double> Value;  // the number, when the text is one plain number
    bool Blank = false;           // nothing but blanks was typed

    // One number, or nothing typed: what a box that may stay empty accepts.
    bool NumberOrBlank() const { return Value.has_value() || Blank; }
};

// "１２．５" → 12.5; " 1 2 " → 12 (blanks are dropped wherever they stand, as the boxes'
// handlers drop them); "1O0", "12mGy", "1.2.3" → no value.
NumberBoxText ReadNumberBox(const QString& typed);
NumberBoxText ReadNumberBox(const std::string& typedUtf8);

}  // namespace ordevo
