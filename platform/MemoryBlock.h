#pragma once

#include "Color.h"
#include "Ref.h"

#include <cstdint>
#include <string>

// A byte buffer of fixed size. Accesses outside the block raise
// OutOfBoundsException.
class MemoryBlock {
  public:
    explicit MemoryBlock(int32_t size);
    explicit MemoryBlock(const std::string& bytes);

    // The largest block NewMemoryBlock makes.
    static constexpr int64_t MaxSize = 256 * 1024 * 1024;

    bool LittleEndian = true;

    int32_t Size() const;
    uint8_t Byte(int32_t offset) const;
    void setByte(int32_t offset, uint8_t value);
    uint32_t UInt32Value(int32_t offset) const;
    void setUInt32Value(int32_t offset, uint32_t value);
    // Red, green and blue at offset, offset + 1, offset + 2 (bits must be 24).
    Color ColorValue(int32_t offset, int bits) const;
    void setColorValue(int32_t offset, int bits, Color color);
    std::string StringValue(int32_t offset, int32_t length) const;

    const std::string& bytes() const { return bytes_; }

  private:
    void check(int32_t offset, int32_t length) const;
    std::string bytes_;
};

// nil when the size is negative or larger than MemoryBlock::MaxSize.
Ref<MemoryBlock> NewMemoryBlock(int64_t size);
