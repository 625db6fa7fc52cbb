#include "KernelFileSystems.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/sysmacros.h>

namespace KernelFileSystems {
namespace {

// The type numbers (statfs f_type) of the pseudo file systems.
constexpr std::array<uint64_t, 25> pseudoTypes{
    0x9fa0,     // proc
    0x62656572, // sysfs
    0x1cd1,     // devpts
    0x27e0eb,   // cgroup
    0x63677270, // cgroup2
    0x64626720, // debugfs
    0x74726163, // tracefs
    0x73636673, // securityfs
    0x6165676c, // pstore
    0xcafe4a11, // bpf
    0x62656570, // configfs
    0x19800202, // mqueue
    0x958458f6, // hugetlbfs
    0x65735543, // fusectl
    0x42494e4d, // binfmt_misc
    0xde5e81e4, // efivarfs
    0x0187,     // autofs
    0x6e736673, // nsfs
    0x67596969, // rpc_pipefs
    0xf97cff8c, // selinuxfs
    0x43415d53, // smackfs
    0x5a3c69f0, // apparmorfs
    0x7655821,  // resctrl
    0x9fa2,     // usbdevfs
    0xabba1974, // xenfs
};
constexpr uint64_t tmpfsType = 0x01021994;

// The file system type named in each line of the mount table, by device.
std::map<dev_t, std::string> readMountTable() {
    std::map<dev_t, std::string> types;
    std::ifstream table("/proc/self/mountinfo");
    std::string line;
    while (std::getline(table, line)) {
        // "id parent major:minor root mountpoint options [tags] - type source options"
        std::istringstream fields(line);
        std::string id, parent, device;
        fields >> id >> parent >> device;
        const size_t separator = line.find(" - ");
        unsigned major = 0, minor = 0;
        if (separator == std::string::npos ||
            std::sscanf(device.c_str(), "%u:%u", &major, &minor) != 2)
            continue;
        std::istringstream rest(line.substr(separator + 3));
        rest >> types[makedev(major, minor)];
    }
    return types;
}

// Read once; read again for a device the table did not hold, as after a
// mount made since. A device still missing then is taken as ordinary and
// kept, so that it costs no further reading.
bool isDevtmpfs(dev_t device) {
    static std::map<dev_t, std::string> types = readMountTable();
    auto at = types.find(device);
    if (at == types.end()) {
        types = readMountTable();
        at = types.try_emplace(device).first;
    }
    return at->second == "devtmpfs";
}

} // namespace

bool holds(int folderFd) {
    struct statfs fileSystem {};
    if (::fstatfs(folderFd, &fileSystem) != 0)
        return false;
    const auto type = static_cast<uint64_t>(fileSystem.f_type) & 0xffffffffu;
    if (std::ranges::find(pseudoTypes, type) != pseudoTypes.end())
        return true;
    struct stat folder {};
    return type == tmpfsType && ::fstat(folderFd, &folder) == 0 && isDevtmpfs(folder.st_dev);
}

} // namespace KernelFileSystems
