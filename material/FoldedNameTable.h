#pragma once

#include "Text.h"

#include <algorithm>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

// A set of names compared as the framework's string equality compares them,
// ignoring the letter case of ASCII letters and of nothing else; the names
// are numbered 0, 1, 2, ... in the order they are added, and a lookup gives
// the number of the first name added that equals the one asked for.
//
// The table holds no names of its own: it asks nameOf(number) for the name
// of a number added before, so the names stay where the folder listings keep
// them. One flat array of eight bytes a slot (the number and the name's
// hash), so a large tree costs no allocation per name, and growing moves
// slots without reading a name again.
class FoldedNameTable {
  public:
    // The number of the first name added that equals name; -1 when none.
    template <class NameOf> int64_t find(std::string_view name, const NameOf& nameOf) const {
        if (slots_.empty())
            return -1;
        const uint32_t hash = hashOf(name);
        for (size_t at = home(hash); slots_[at].used(); at = next(at))
            if (slots_[at].hash == hash && StringEquals(nameOf(slots_[at].number), name))
                return slots_[at].number;
        return -1;
    }

    // Adds the names under the next numbers in turn (0 for the first name
    // ever added; at most UINT32_MAX - 1 names in all).
    template <class NameOf>
    void add(std::span<const std::string_view> names, const NameOf& nameOf) {
        while ((size_ + names.size()) * 4 > slots_.size() * 3)
            grow();
        const auto nameAt = [names](size_t i) { return names[i]; };
        insertAll(added_, names.size(), nameAt, nameOf);
        added_ += static_cast<uint32_t>(names.size());
    }

  private:
    struct Slot {
        uint32_t hash = 0;
        uint32_t number = UINT32_MAX; // UINT32_MAX: unused
        bool used() const { return number != UINT32_MAX; }
    };

    static uint32_t hashOf(std::string_view name);
    // Any table size works: a hash is mapped onto the slots by scaling, so the
    // table can grow by half of itself rather than double.
    size_t home(uint32_t hash) const { return (uint64_t{hash} * slots_.size()) >> 32; }
    size_t next(size_t at) const { return at + 1 == slots_.size() ? 0 : at + 1; }

    // Takes the slot of the first equal name, or a free one.
    template <class NameOf>
    void insert(std::string_view name, uint32_t hash, uint32_t number, const NameOf& nameOf) {
        size_t at = home(hash);
        for (; slots_[at].used(); at = next(at))
            if (slots_[at].hash == hash && StringEquals(nameOf(slots_[at].number), name))
                return;
        slots_[at] = {hash, number};
        ++size_;
    }

    // Inserts the names of the numbers first .. first + count - 1 in turn.
    // A large table lies mostly outside the processor's cache: the slots of
    // a few names are fetched together before any of them is used, so that
    // their waits overlap.
    template <class NameAt, class NameOf>
    void insertAll(uint32_t first, size_t count, const NameAt& nameAt, const NameOf& nameOf) {
        constexpr size_t batch = 16;
        uint32_t hashes[batch];
        for (size_t start = 0; start < count; start += batch) {
            const size_t n = std::min(batch, count - start);
            for (size_t i = 0; i < n; ++i) {
                hashes[i] = hashOf(nameAt(start + i));
                __builtin_prefetch(&slots_[home(hashes[i])]);
            }
            for (size_t i = 0; i < n; ++i)
                insert(nameAt(start + i), hashes[i], static_cast<uint32_t>(first + start + i),
                       nameOf);
        }
    }

    // Half as many slots again, each name moved with its number and hash.
    void grow();

    std::vector<Slot> slots_;
    uint32_t added_ = 0;
    size_t size_ = 0;
};
