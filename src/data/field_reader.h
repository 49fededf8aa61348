// The free-format number reader of the numeric data files: numbers in fixed or exponent
// notation, separated by commas, blanks, tabs or line ends. Works on the file's bytes
// directly (the numbers are ASCII), so a file of thousands of numbers reads fast.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ordevo {

class FieldReader {
public:
    enum class Outcome { Number, End, Bad };

    // `text` must outlive the reader; `firstLineNumber` is the file line `text` starts on.
    explicit FieldReader(std::string_view text, int firstLineNumber = 1);

    // Reads the next field, across line ends. Bad: the field is not a number, or two commas
    // leave an empty field between them; Problem() says which.
    Outcome Next(double& value);

    // The line of the last field read, or of the problem (at the end: of the last field).
    int LineNumber() const { return fieldLine_; }
    // How many numbers have been read so far.
    int NumberCount() const { return count_; }
    // Why the last Next() gave Bad (UTF-8, Japanese), e.g. "「1.2x」は数値ではありません".
    const std::string& Problem() const { return problem_; }

private:
    std::string_view text_;
    std::size_t position_ = 0;
    int line_ = 1;       // where the scan stands
    int fieldLine_ = 1;  // where the last field or problem stood
    int count_ = 0;
    bool fieldRead_ = false;
    std::string problem_;
};

// Reads every number of one line. False with `problem` set when a field is not a number.
bool ReadNumberLine(std::string_view line, std::vector<double>& values, std::string& problem);

}  // namespace ordevo
