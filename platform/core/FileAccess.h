#pragma once

#include "FolderItem.h"

#include <string>

// Why the file cannot be opened and read as a whole, in words that finish
// the sentence "... could not be opened: " ("it does not exist"); empty for
// a regular file that can be read. Only looks: a named pipe is never opened,
// so asking never waits.
std::string WhyNotReadable(const FolderItem& file);
