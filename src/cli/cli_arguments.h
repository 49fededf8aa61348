// Command-line options of ordevo-cli: "--name value" pairs after the command word.
#pragma once

#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace ordevo::cli {

// Bad arguments: the program prints the usage line and exits 2.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class Arguments {
public:
    // Throws UsageError for a word that is not UTF-8, a stray word, an option without a value,
    // a repeated option or an option not in `allowed`.
    Arguments(const std::vector<std::string>& words, const std::vector<std::string>& allowed);

    bool Has(const std::string& name) const { return values_.count(name) != 0; }
    std::optional<std::string> Get(const std::string& name) const;
    std::string Require(const std::string& name) const;  // throws UsageError when absent

private:
    std::map<std::string, std::string> values_;
};

}  // namespace ordevo::cli
