// Synonym -> standard name, as loaded from synonym dictionaries.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tavik {

class Dictionary {
public:
    // Appends one entry; an earlier entry with the same synonym keeps winning.
    void Add(std::string synonym, std::string standard);
    // The standard name of `name`, or `name` itself. ASCII letters compare without case;
    // everything else exactly. The result is not looked up again.
    std::string SynToCommonName(std::string_view name) const;
    const std::string* Find(std::string_view name) const;
    std::size_t size() const { return syn_.size(); }
    const std::vector<std::string>& SynNames() const { return syn_; }
    const std::vector<std::string>& StdNames() const { return std_; }
    void Clear();

private:
    static std::string Fold(std::string_view s);
    std::vector<std::string> syn_, std_;
    std::unordered_map<std::string, std::size_t> index_;  // folded synonym -> first entry
};

}  // namespace tavik
