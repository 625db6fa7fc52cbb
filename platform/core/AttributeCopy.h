#pragma once

#include <string>

// Copies every extended attribute of the file of that name in the folder
// that this process may read (user.*, security.*, the access and default
// ACLs in system.*, trusted.* for root) to the open file; nothing when the
// name names no file. false when one could not be read or set: the new file
// would not carry what the old one did.
bool copyExtendedAttributes(int folderFd, const std::string& name, int toFd);
