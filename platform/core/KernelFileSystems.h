#pragma once

// The kernel's pseudo file systems (proc, sysfs, devtmpfs, cgroup and the
// like) hold no user files, and walking them can take minutes or never end
// (/proc alone lists every process's whole state). Folder listings treat a
// folder on one of them as empty. The decision is by file system type, never
// by path, so a link to /proc or /sys from anywhere is caught as well.
namespace KernelFileSystems {

// Whether the open folder lies on one of those file systems. An ordinary
// tmpfs (/tmp may be one) is no such file system; devtmpfs, which reports
// the same type number, is told apart by the mount table.
bool holds(int folderFd);

} // namespace KernelFileSystems
