#pragma once

// Makes the folder's names (a rename, a new or removed entry) durable: 0,
// or the error. A folder reached for searching alone (O_PATH), or on a
// file system that keeps no folder flush, counts as flushed.
int flushFolder(int folderFd);
