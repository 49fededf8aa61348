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
    // Also accepts the options in `flags` without a value, and words that are not options as
    // positional arguments (a word after "--" always is one).
    Arguments(const std::vector<std::string>& words, const std::vector<std::string>& allowed,
              const std::vector<std::string>& flags);

    bool Has(const std::string& name) const { return values_.count(name) != 0; }
    std::optional<std::string> Get(const std::string& name) const;
    std::string Require(const std::string& name) const;  // throws UsageError when absent
    bool HasFlag(const std::string& name) const { return flags_.count(name) != 0; }
    const std::vector<std::string>& Positionals() const { return positionals_; }

private:
    std::map<std::string, std::string> values_;
    std::map<std::string, bool> flags_;
    std::vector<std::string> positionals_;
};

}  // namespace ordevo::cli
