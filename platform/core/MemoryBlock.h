#pragma once

#include <cstdint>
#include <string>

// A byte buffer: the pixel bytes of a preview, three per pixel.
class MemoryBlock {
  public:
    // size bytes of 0; a negative size raises OutOfBoundsException.
    explicit MemoryBlock(int32_t size);
    explicit MemoryBlock(const std::string& bytes);

    // The largest block the program makes.
    static constexpr int64_t MaxSize = 256 * 1024 * 1024;

    const std::string& bytes() const { return bytes_; }

  private:
    std::string bytes_;
};
