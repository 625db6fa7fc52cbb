#include "MemoryBlock.h"

#include "Exceptions.h"

MemoryBlock::MemoryBlock(int32_t size) {
    if (size < 0)
        throw OutOfBoundsException("A memory block cannot have a negative size.");
    bytes_.assign(static_cast<size_t>(size), '\0');
}

MemoryBlock::MemoryBlock(const std::string& bytes) : bytes_(bytes) {}
