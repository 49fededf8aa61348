// The one error a computation raises when its inputs leave the tables or the arithmetic.
#pragma once

#include <stdexcept>
#include <string>

namespace ordevo {

// Thrown wherever a computation cannot go on (an index past a table, a division by zero,
// the square root of a negative number). The message says which index or value and why;
// the user sees the fixed message of the step that caught it.
class CalculationError : public std::runtime_error {
public:
    explicit CalculationError(const std::string& what) : std::runtime_error(what) {}
};

}  // namespace ordevo
