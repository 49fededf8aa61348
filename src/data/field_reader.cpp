#include "field_reader.h"

#include "number_format.h"

namespace ordevo {

namespace {

bool IsSeparator(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == ','; }

// The field for a message: at most 20 characters, anything outside printable ASCII as '?'
// (the message must stay valid UTF-8 whatever the file holds).
std::string Quoted(std::string_view field) {
    std::string out = "「";
    for (std::size_t i = 0; i < field.size() && i < 20; ++i) {
        const char c = field[i];
        out += (c >= 0x20 && c < 0x7f) ? c : '?';
    }
    if (field.size() > 20) out += "...";
    return out + "」";
}

}  // namespace

FieldReader::FieldReader(std::string_view text, int firstLineNumber)
    : text_(text), line_(firstLineNumber), fieldLine_(firstLineNumber) {}

FieldReader::Outcome FieldReader::Next(double& value) {
    bool comma = false;
    while (position_ < text_.size()) {
        const char c = text_[position_];
        if (c == '\n') {
            ++line_;
        } else if (c == ',') {
            if (comma || !fieldRead_) {
                fieldLine_ = line_;
                problem_ = "カンマとカンマの間に数値がありません";
                return Outcome::Bad;
            }
            comma = true;
        } else if (c != ' ' && c != '\t' && c != '\r') {
            break;
        }
        ++position_;
    }
    if (position_ >= text_.size()) return Outcome::End;

    const std::size_t start = position_;
    while (position_ < text_.size() && !IsSeparator(text_[position_])) ++position_;
    const std::string_view field = text_.substr(start, position_ - start);
    fieldRead_ = true;
    fieldLine_ = line_;
    if (DecimalNumberLength(field) != field.size()) {
        problem_ = Quoted(field) + "は数値ではありません";
        return Outcome::Bad;
    }
    bool inRange = true;
    value = DecimalNumberValue(field, inRange);
    if (!inRange) {
        problem_ = Quoted(field) + "は扱える範囲を外れた数値です";
        return Outcome::Bad;
    }
    ++count_;
    return Outcome::Number;
}

bool ReadNumberLine(std::string_view line, std::vector<double>& values, std::string& problem) {
    values.clear();
    FieldReader reader(line);
    double value = 0;
    for (;;) {
        switch (reader.Next(value)) {
        case FieldReader::Outcome::Number: values.push_back(value); break;
        case FieldReader::Outcome::End: return true;
        case FieldReader::Outcome::Bad: problem = reader.Problem(); return false;
        }
    }
}

}  // namespace ordevo
