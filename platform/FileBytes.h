#pragma once

#include <cstdint>
#include <string>

// Reading and writing byte ranges of an open file, going on after
// interrupted and partial transfers.

// Up to count bytes at the offset; fewer at the end of the file or when the
// file system fails.
std::string readFullyAt(int fd, int64_t offset, int64_t count);

// Writes every byte at the offset; false when the file system refuses.
bool writeFullyAt(int fd, const std::string& bytes, int64_t offset);
