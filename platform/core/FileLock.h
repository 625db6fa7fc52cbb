#pragma once

// Saves of one file take turns, and readers of this program wait for a save
// in progress, through flock on the file. Another save ends long before the
// patience does, and one that hangs must not hang this one too.
constexpr int LockPatienceMs = 5000;

// 0 once the lock (LOCK_EX or LOCK_SH) is held, or where the file system
// has no such locks; otherwise the error, EWOULDBLOCK when the patience ran
// out.
int lockWithPatience(int fd, int operation);
