#pragma once

#include <cstdint>
#include <string>

// Writes every byte at the offset of an open file, going on after
// interrupted and partial writes; false when the file system refuses.
bool writeFullyAt(int fd, const std::string& bytes, int64_t offset);
