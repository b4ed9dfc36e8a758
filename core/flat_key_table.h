// Fixed-width byte keys (the name field of a species entry as it stands in the file) to
// numbers, in one flat array of slots probed linearly. Key and number share a slot, so a
// look-up hashes the key once and compares it in place: usually one cache line.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

namespace tavik {

template <std::size_t Width>
class FlatKeyTable {
public:
    static constexpr std::uint32_t kAbsent = 0xFFFFFFFFu;

    FlatKeyTable() { Rehash(16); }

    std::size_t size() const { return size_; }

    // The number stored for `key` (Width bytes), or kAbsent.
    std::uint32_t Find(const char* key) const {
        for (std::size_t i = Hash(key) & mask_;; i = (i + 1) & mask_) {
            const Slot& s = slots_[i];
            if (s.value == kAbsent) return kAbsent;
            if (std::memcmp(s.key, key, Width) == 0) return s.value;
        }
    }

    // Stores `value` for `key` unless the key is there already. Returns the number stored
    // for the key and whether it was new. `value` must not be kAbsent.
    std::pair<std::uint32_t, bool> Insert(const char* key, std::uint32_t value) {
        if ((size_ + 1) * 2 > slots_.size()) Rehash(slots_.size() * 2);
        std::size_t i = Hash(key) & mask_;
        for (;; i = (i + 1) & mask_) {
            Slot& s = slots_[i];
            if (s.value == kAbsent) break;
            if (std::memcmp(s.key, key, Width) == 0) return {s.value, false};
        }
        std::memcpy(slots_[i].key, key, Width);
        slots_[i].value = value;
        ++size_;
        return {value, true};
    }

    void Clear() {
        slots_.clear();
        size_ = 0;
        Rehash(16);
    }

private:
    struct Slot {
        char key[Width];
        std::uint32_t value;
    };

    static std::uint64_t Word(const char* p, std::size_t n) {
        std::uint64_t w = 0;
        std::memcpy(&w, p, n);
        return w;
    }

    static std::size_t Hash(const char* key) {
        std::uint64_t h = 0x243F6A8885A308D3ull;
        std::size_t at = 0;
        for (; at + 8 <= Width; at += 8) {
            h = (h ^ Word(key + at, 8)) * 0x9E3779B97F4A7C15ull;
            h ^= h >> 29;
        }
        if constexpr (Width % 8 != 0) {
            h = (h ^ Word(key + at, Width % 8)) * 0x9E3779B97F4A7C15ull;
            h ^= h >> 29;
        }
        h *= 0xBF58476D1CE4E5B9ull;
        return static_cast<std::size_t>(h ^ (h >> 32));
    }

    void Rehash(std::size_t count) {  // (not "slots": Qt defines that word)
        std::vector<Slot> old = std::move(slots_);
        slots_.assign(count, Slot{});
        for (Slot& s : slots_) s.value = kAbsent;
        mask_ = count - 1;
        for (const Slot& s : old) {
            if (s.value == kAbsent) continue;
            std::size_t i = Hash(s.key) & mask_;
            while (slots_[i].value != kAbsent) i = (i + 1) & mask_;
            slots_[i] = s;
        }
    }

    std::vector<Slot> slots_;
    std::size_t mask_ = 0;
    std::size_t size_ = 0;
};

}  // namespace tavik
