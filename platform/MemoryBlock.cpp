#include "MemoryBlock.h"

#include "Exceptions.h"

MemoryBlock::MemoryBlock(int32_t size) {
    if (size < 0)
        throw OutOfBoundsException("A memory block cannot have a negative size.");
    bytes_.assign(static_cast<size_t>(size), '\0');
}

MemoryBlock::MemoryBlock(const std::string& bytes) : bytes_(bytes) {}

int32_t MemoryBlock::Size() const {
    return static_cast<int32_t>(bytes_.size());
}

void MemoryBlock::check(int32_t offset, int32_t length) const {
    if (offset < 0 || length < 0 ||
        static_cast<int64_t>(offset) + length > static_cast<int64_t>(bytes_.size()))
        throw OutOfBoundsException("An access lies outside the memory block.");
}

uint8_t MemoryBlock::Byte(int32_t offset) const {
    check(offset, 1);
    return static_cast<uint8_t>(bytes_[static_cast<size_t>(offset)]);
}

void MemoryBlock::setByte(int32_t offset, uint8_t value) {
    check(offset, 1);
    bytes_[static_cast<size_t>(offset)] = static_cast<char>(value);
}

uint32_t MemoryBlock::UInt32Value(int32_t offset) const {
    check(offset, 4);
    uint32_t value = 0;
    for (int i = 0; i < 4; ++i) {
        const int shift = LittleEndian ? 8 * i : 8 * (3 - i);
        value |= static_cast<uint32_t>(Byte(offset + i)) << shift;
    }
    return value;
}

void MemoryBlock::setUInt32Value(int32_t offset, uint32_t value) {
    check(offset, 4);
    for (int i = 0; i < 4; ++i) {
        const int shift = LittleEndian ? 8 * i : 8 * (3 - i);
        setByte(offset + i, static_cast<uint8_t>(value >> shift));
    }
}

Color MemoryBlock::ColorValue(int32_t offset, int bits) const {
    if (bits != 24)
        throw RuntimeException("Colours are stored in 24 bits.");
    check(offset, 3);
    return Color{Byte(offset), Byte(offset + 1), Byte(offset + 2)};
}

void MemoryBlock::setColorValue(int32_t offset, int bits, Color color) {
    if (bits != 24)
        throw RuntimeException("Colours are stored in 24 bits.");
    check(offset, 3);
    setByte(offset, color.red);
    setByte(offset + 1, color.green);
    setByte(offset + 2, color.blue);
}

std::string MemoryBlock::StringValue(int32_t offset, int32_t length) const {
    check(offset, length);
    return bytes_.substr(static_cast<size_t>(offset), static_cast<size_t>(length));
}

Ref<MemoryBlock> NewMemoryBlock(int64_t size) {
    if (size < 0 || size > MemoryBlock::MaxSize)
        return nullptr;
    return makeRef<MemoryBlock>(static_cast<int32_t>(size));
}
