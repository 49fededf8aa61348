#include "cli_arguments.h"

#include <algorithm>

#include "json_writer.h"

namespace ordevo::cli {

Arguments::Arguments(const std::vector<std::string>& words,
                     const std::vector<std::string>& allowed) {
    for (const std::string& word : words) {
        if (!IsValidUtf8(word)) throw UsageError("an argument is not valid UTF-8 text");
    }
    for (std::size_t i = 0; i < words.size(); i += 2) {
        const std::string& word = words[i];
        if (word.rfind("--", 0) != 0) throw UsageError("unexpected argument: " + word);
        const std::string name = word.substr(2);
        if (std::find(allowed.begin(), allowed.end(), name) == allowed.end())
            throw UsageError("unknown option: " + word);
        if (i + 1 >= words.size()) throw UsageError("option without a value: " + word);
        if (!values_.emplace(name, words[i + 1]).second)
            throw UsageError("repeated option: " + word);
    }
}

Arguments::Arguments(const std::vector<std::string>& words, const std::vector<std::string>& allowed,
                     const std::vector<std::string>& flags) {
    bool onlyPositionals = false;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (onlyPositionals || word.rfind("--", 0) != 0) {
            positionals_.push_back(word);
            continue;
        }
        if (word == "--") {
            onlyPositionals = true;
            continue;
        }
        const std::string name = word.substr(2);
        if (std::find(flags.begin(), flags.end(), name) != flags.end()) {
            if (!flags_.emplace(name, true).second) throw UsageError("repeated option: " + word);
            continue;
        }
        if (std::find(allowed.begin(), allowed.end(), name) == allowed.end())
            throw UsageError("unknown option: " + word);
        if (i + 1 >= words.size()) throw UsageError("option without a value: " + word);
        if (!values_.emplace(name, words[++i]).second) throw UsageError("repeated option: " + word);
    }
}

std::optional<std::string> Arguments::Get(const std::string& name) const {
    const auto it = values_.find(name);
    if (it == values_.end()) return std::nullopt;
    return it->second;
}

std::string Arguments::Require(const std::string& name) const {
    const auto value = Get(name);
    if (!value) throw UsageError("missing option: --" + name);
    return *value;
}

}  // namespace ordevo::cli
