// One dimension of the composition table (its species rows or its relevé columns), as the
// table keeps it: which key stands at each position, where each key stands, how many
// positions are used and how many exist. The table owns one for each dimension and keeps
// the content under the keys; nothing here knows what a key owns.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace tavik {

class TableAxis {
public:
    // Position and key 0 belong to the fixed part of the grid and never move. Positions
    // 1..Count() are used, Count() + 1..Capacity() spare; the keys of all of them are a
    // permutation of 0..Capacity().
    int KeyAt(int pos) const { return keyAt_[static_cast<std::size_t>(pos)]; }
    int PosOf(int key) const { return posOf_[static_cast<std::size_t>(key)]; }
    int Count() const { return count_; }
    int Capacity() const { return capacity_; }
    bool IsUsed(int pos) const { return pos >= 1 && pos <= count_; }

    // What the last recount found at each position (index 0 unused): a species row's
    // frequency, a relevé column's number of species. Positional: moving keys leaves it
    // until the next recount. Whole numbers: a species of a large table occurs in far more
    // than 65,535 relevés.
    const std::vector<std::int32_t>& Occurrences() const { return occurrences_; }
    void SetOccurrences(int pos, int n) { occurrences_[static_cast<std::size_t>(pos)] = n; }
    void ClearOccurrences() { std::fill(occurrences_.begin(), occurrences_.end(), 0); }

    // No positions at all (the state before a first Grow).
    void Clear() {
        keyAt_.clear();
        posOf_.clear();
        occurrences_.clear();
        count_ = 0;
        capacity_ = -1;
    }
    // Adds positions up to `capacity`, each new one carrying the key of its own number.
    void Grow(int capacity) {
        const auto size = static_cast<std::size_t>(capacity) + 1;
        keyAt_.resize(size);
        posOf_.resize(size);
        for (int p = capacity_ + 1; p <= capacity; ++p)
            keyAt_[static_cast<std::size_t>(p)] = posOf_[static_cast<std::size_t>(p)] = p;
        occurrences_.resize(size, 0);
        capacity_ = capacity;
    }
    // The capacity that holds position `needed`: the present one, grown in whole steps.
    int CapacityFor(int needed, int step) const {
        int c = capacity_;
        while (c < needed) c += step;
        return c;
    }
    void SetCount(int count) { count_ = count; }

    // Takes the key at used position `pos` out of the used ones: the keys after it close
    // up and it becomes the first spare. Returns it.
    int Remove(int pos) {
        const int key = KeyAt(pos);
        Move(pos, count_);
        --count_;
        return key;
    }
    // Brings the first spare key into use at position `pos` (1..Count() + 1), shifting the
    // keys from there on by one; the caller has grown the axis when none was spare.
    // Returns the key.
    int InsertSpare(int pos) {
        ++count_;
        const int key = KeyAt(count_);
        Move(count_, pos);
        return key;
    }
    // Brings the spare key `key` back into use at position `pos` (1..Count() + 1): the
    // reverse of Remove(pos), which left it as the first spare.
    void Reinsert(int pos, int key) {
        const int from = PosOf(key);
        ++count_;
        Move(from, pos);
    }
    // Gives back growth: drops the positions past `capacity`, whose keys are the keys past
    // it (as growing left them).
    void Shrink(int capacity) {
        const auto size = static_cast<std::size_t>(capacity) + 1;
        keyAt_.resize(size);
        posOf_.resize(size);
        occurrences_.resize(size);
        capacity_ = capacity;
        count_ = std::min(count_, capacity);
    }
    // Moves the key at position `from` to position `to`, shifting the keys between.
    void Move(int from, int to) {
        const auto b = keyAt_.begin();
        if (from < to) std::rotate(b + from, b + from + 1, b + to + 1);
        else if (to < from) std::rotate(b + to, b + from, b + from + 1);
        Renumber(std::min(from, to), std::max(from, to) + 1);
    }
    // Reorders positions first..first + order.size() - 1: order[i] is the position whose
    // key goes to position first + i.
    void Permute(int first, const std::vector<int>& order) {
        std::vector<int> keys(order.size());
        for (std::size_t i = 0; i < order.size(); ++i) keys[i] = KeyAt(order[i]);
        std::copy(keys.begin(), keys.end(), keyAt_.begin() + first);
        Renumber(first, first + static_cast<int>(order.size()));
    }
    // Closes up the used positions without those for which drop(pos) holds, in one pass.
    // The dropped keys follow the kept ones as the first spare positions, in their former
    // order: the same arrangement as removing them one at a time from the last up.
    // Returns the dropped keys.
    template <class Drop>
    std::vector<int> CloseUp(Drop drop) {
        std::vector<int> gone;
        int to = 1;
        for (int p = 1; p <= count_; ++p) {
            if (drop(p)) gone.push_back(KeyAt(p));
            else keyAt_[static_cast<std::size_t>(to++)] = KeyAt(p);
        }
        count_ = to - 1;
        for (int k : gone) keyAt_[static_cast<std::size_t>(to++)] = k;
        Renumber(1, to);
        return gone;
    }

private:
    // Brings posOf_ in line with keyAt_ over positions [from, to).
    void Renumber(int from, int to) {
        for (int p = from; p < to; ++p) posOf_[static_cast<std::size_t>(KeyAt(p))] = p;
    }

    std::vector<int> keyAt_, posOf_;
    std::vector<std::int32_t> occurrences_;
    int count_ = 0;
    int capacity_ = -1;
};

}  // namespace tavik
