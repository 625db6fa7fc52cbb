#pragma once

#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

// A set of names compared as the framework's string equality compares them,
// ignoring the letter case of ASCII letters and of nothing else; each name
// stands for a number (where to find it). The table holds no names of its
// own: it asks nameOf(number) for the name a number stands for, so the names
// stay where the folder listings keep them. Open addressing in one flat
// array, so a large tree costs no allocation per name.
class FoldedNameTable {
  public:
    // The number of the name, or -1 when the table has none.
    template <class NameOf> int64_t find(std::string_view name, const NameOf& nameOf) const {
        if (slots_.empty())
            return -1;
        const uint32_t hash = hashOf(name);
        for (size_t at = hash & mask(); slots_[at].used(); at = (at + 1) & mask())
            if (slots_[at].hash == hash && equalFolded(nameOf(slots_[at].number), name))
                return slots_[at].number;
        return -1;
    }

    // Adds the name with its number (below UINT32_MAX) unless an equal name
    // is in already: the first one added keeps its number.
    template <class NameOf> void add(std::string_view name, uint32_t number, const NameOf& nameOf) {
        if ((size_ + 1) * 4 > slots_.size() * 3)
            grow();
        const uint32_t hash = hashOf(name);
        size_t at = hash & mask();
        for (; slots_[at].used(); at = (at + 1) & mask())
            if (slots_[at].hash == hash && equalFolded(nameOf(slots_[at].number), name))
                return;
        slots_[at] = {hash, number};
        ++size_;
    }

  private:
    struct Slot {
        uint32_t hash;
        uint32_t number;
        bool used() const { return number != unused; }
    };
    static constexpr uint32_t unused = UINT32_MAX;

    static uint32_t hashOf(std::string_view name);
    static bool equalFolded(std::string_view a, std::string_view b);
    size_t mask() const { return slots_.size() - 1; }
    void grow();

    std::vector<Slot> slots_;
    size_t size_ = 0;
};
