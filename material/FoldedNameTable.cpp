#include "FoldedNameTable.h"

#include <cstring>
#include <utility>

namespace {

constexpr uint64_t ones = 0x0101010101010101ULL;

// The eight bytes with the ASCII capitals among them made small, all at
// once: a byte's top bit is set by the additions exactly when it lies in
// 'A' .. 'Z', and that bit moved down to 0x20 is the case bit.
uint64_t foldedWord(uint64_t bytes) {
    const uint64_t low7 = bytes & (ones * 0x7F);
    const uint64_t atLeastA = low7 + ones * (0x80 - 'A');
    const uint64_t aboveZ = low7 + ones * (0x80 - 'Z' - 1);
    const uint64_t capital = atLeastA & ~aboveZ & ~bytes & (ones * 0x80);
    return bytes | (capital >> 2);
}

uint64_t mixed(uint64_t hash, uint64_t word) {
    hash = (hash ^ word) * 0x9E3779B97F4A7C15ULL;
    return hash ^ (hash >> 32);
}

} // namespace

uint32_t FoldedNameTable::hashOf(std::string_view name) {
    uint64_t hash = name.size();
    size_t at = 0;
    for (; at + 8 <= name.size(); at += 8) {
        uint64_t word;
        std::memcpy(&word, name.data() + at, 8);
        hash = mixed(hash, foldedWord(word));
    }
    uint64_t tail = 0;
    std::memcpy(&tail, name.data() + at, name.size() - at);
    hash = mixed(hash, foldedWord(tail));
    return static_cast<uint32_t>(mixed(hash, 0));
}

void FoldedNameTable::grow() {
    const size_t size = slots_.empty() ? 64 : slots_.size() + slots_.size() / 2;
    const std::vector<Slot> previous = std::exchange(slots_, std::vector<Slot>(size));
    for (const Slot& slot : previous)
        if (slot.used()) {
            size_t at = home(slot.hash);
            while (slots_[at].used())
                at = next(at);
            slots_[at] = slot;
        }
}
