#pragma once

#include <string>

// Renames from to to, never replacing what is there, in one step: 0, or
// the error (EEXIST when to is taken). Where the file system has no such
// rename, the file gets the new name as a second one and then loses the
// old one (renameByLinking), which a folder cannot do.
int renameWithoutReplacing(const std::string& from, const std::string& to);
int renameByLinking(const std::string& from, const std::string& to);
