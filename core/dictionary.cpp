#include "core/dictionary.h"

namespace tavik {

std::string Dictionary::Fold(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return out;
}

void Dictionary::Add(std::string synonym, std::string standard) {
    index_.try_emplace(Fold(synonym), syn_.size());
    syn_.push_back(std::move(synonym));
    std_.push_back(std::move(standard));
}

const std::string* Dictionary::Find(std::string_view name) const {
    if (index_.empty()) return nullptr;
    auto it = index_.find(Fold(name));
    return it == index_.end() ? nullptr : &std_[it->second];
}

std::string Dictionary::SynToCommonName(std::string_view name) const {
    const std::string* s = Find(name);
    return s ? *s : std::string(name);
}

void Dictionary::Clear() {
    syn_.clear();
    std_.clear();
    index_.clear();
}

}  // namespace tavik
