#!/usr/bin/env python3
"""The batch's work as a plain sequential script, to measure the program
against: walks a folder of materials, checks and rewrites the stored paths
and the ".ior"/".r2" references the way the program does, and writes each
material back with the same durability (temporary file, fsync, rename, fsync
of the folder). Its files and its log come out byte for byte as the
program's for materials of the benchmark corpus (a 200 x 200 preview, names
and paths in ASCII, the startup volume only); it is no general tool.

    batch_script.py FOLDER LOG DEFAULT_LOCATION...
"""
import os
import stat
import sys

LONG_PREFIX = 0x40


def read_string(data, pos):
    first = data[pos]
    if first < LONG_PREFIX:
        return data[pos + 1:pos + 1 + first], pos + 1 + first
    length = (first - LONG_PREFIX) * 256 + data[pos + 1]
    return data[pos + 2:pos + 2 + length], pos + 2 + length


def stored_string(value, force_long=False):
    n = len(value)
    if n < LONG_PREFIX and not force_long:
        return bytes([n]) + value
    return bytes([n // 256 + LONG_PREFIX, n % 256]) + value


def file_name_of(path):
    slash, backslash = path.split(b"/"), path.split(b"\\")
    return slash[-1] if len(backslash) < len(slash) else backslash[-1]


def listing(folder):
    """Files and folders (links followed) of a folder, each sorted bytewise."""
    files, folders = [], []
    try:
        entries = os.scandir(folder)
    except OSError:
        return files, folders
    with entries:
        for entry in entries:
            try:
                (folders if entry.is_dir() else files).append(entry.name)
            except OSError:
                pass
    return sorted(files), sorted(folders)


class Search:
    """The first file of a name in a root's tree, in walk order: a folder's
    own files, then its subfolders depth first; each tree indexed once."""

    def __init__(self):
        self.indexes = {}

    def find(self, name, root):
        index = self.indexes.get(root)
        if index is None:
            index = self.indexes[root] = {}
            self.index(root, index, set())
        return index.get(name.lower())

    def index(self, folder, index, entered):
        try:
            identity = os.stat(folder)
        except OSError:
            return
        if (identity.st_dev, identity.st_ino) in entered:
            return
        entered.add((identity.st_dev, identity.st_ino))
        files, folders = listing(folder)
        for name in files:
            index.setdefault(name.lower(), os.path.join(folder, name))
        for name in folders:
            self.index(os.path.join(folder, name), index, entered)


class Material:
    def __init__(self, data):
        self.marker = data[:7]
        self.name, pos = read_string(data, 7)
        width = int.from_bytes(data[pos:pos + 4], "little")
        height = int.from_bytes(data[pos + 4:pos + 8], "little")
        if (width, height) != (200, 200):
            raise ValueError("only 200 x 200 previews are kept as they are")
        self.preview = data[pos:pos + 8 + width * height * 3]
        pos += 8 + width * height * 3
        self.middle = data[pos:pos + 25]
        records = data[pos + 25:]
        self.paths, self.blocks = [], []
        pos = 0
        while pos < len(records):
            path, pos = read_string(records, pos)
            keyword = records.find(b"bitmap", pos)
            end = len(records) if keyword < 0 else keyword + 6
            self.paths.append(path)
            self.blocks.append(records[pos:end])
            pos = end

    def bytes(self, stem):
        parts = [self.marker, stored_string(stem), self.preview, self.middle]
        for path, block in zip(self.paths, self.blocks):
            parts += [stored_string(path), block]
        return b"".join(parts)


def is_control(byte):
    return byte < 0x20 or byte == 0x7F


def plausible(block, start):
    if any(is_control(b) for b in block[start:]):
        return False
    path = block[start:]
    drive = (len(path) >= 3 and chr(path[0]).isascii() and chr(path[0]).isalpha()
             and path[1:2] == b":" and path[2:3] in (b"\\", b"/"))
    return path.startswith(b"/") or path.startswith(b"\\\\") or drive


def find_reference(block):
    """(prefix start, path start) of the string that ends the block."""
    if len(block) < 4:
        return None
    stop = len(block) - 4
    while stop > 0 and block[stop] != 0:
        stop -= 1
    fits = []
    for candidate in range(stop + 1, len(block)):
        first, pos = block[candidate], candidate + 1
        length = first
        if first >= LONG_PREFIX:
            if pos == len(block):
                continue
            length = (first - LONG_PREFIX) * 256 + block[pos]
            pos += 1
        if pos + length == len(block):
            fits.append((candidate, pos))
    if not fits:
        return None
    for fit in reversed(fits):
        if plausible(block, fit[1]):
            return next(f for f in fits if f[1] == fit[1])
    if block[stop] == 0 and fits[0][0] == stop + 1:
        return fits[0]
    return None


class Batch:
    def __init__(self, folder, locations):
        self.folder = os.path.realpath(folder)
        self.locations = locations
        self.search = Search()
        self.log = []

    def find(self, name, parent):
        for root in [parent] + self.locations:
            found = self.search.find(os.fsdecode(name), root)
            if found:
                return found
        return None

    @staticmethod
    def exists(path):
        if path.startswith(b"/Volumes/"):
            return False
        return os.path.exists(path)

    def new_path(self, name, parent):
        found = self.find(name, parent)
        if not found:
            return None, False
        path = os.fsencode(found)
        try:
            leads = os.stat(path) == os.stat(found)
        except OSError:
            leads = False
        return (path if leads else None), True

    def check_path(self, material, index, parent, status):
        path = material.paths[index]
        if len(path) < 4:
            return b"", status
        name = file_name_of(path)
        if self.exists(path):
            return b"[ " + path + b"- o.k. ] \r", status
        path, found = self.new_path(name, parent)
        if found:
            status = max(status, 1)
            if path:
                material.paths[index] = path
                return b"[ " + name + b" - Path changed, o.k. ] \r", status
        if index == 0:
            return b"[ " + name + b" - not found, o.k.? ] \r", max(status, 2)
        return b"[ " + name + b" - not found, critical ] \r", max(status, 3)

    def relocate(self, material, index, extension, force_long, parent):
        block = material.blocks[index]
        at = block.find(extension)
        if at < 0:
            return b""
        head, tail = block[:at + len(extension)], block[at + len(extension):]
        reference = find_reference(head)
        if not reference:
            return b"Critical error - found no path!\r"
        name = file_name_of(head[reference[1]:])
        if self.exists(head[reference[1]:]):
            return name + b" was at the given location\r"
        path, _ = self.new_path(name, parent)
        if not path:
            return b"Critical error - file " + name + b" could not be found!\r"
        material.blocks[index] = head[:reference[0]] + stored_string(path, force_long) + tail
        return name + b" was found at another location, and the path was changed\r"

    def check(self, material, parent):
        if len(material.paths) == 1:
            return b"[ Material contains no file paths ]", 0
        report, status = b"", 0
        for index in range(len(material.paths)):
            line, status = self.check_path(material, index, parent, status)
            report += line
        for index in range(len(material.blocks)):
            report += self.relocate(material, index, b".ior", False, parent)
            report += self.relocate(material, index, b".r2", True, parent)
        return report, status

    def fix(self, path):
        with open(path, "rb") as source:
            data = source.read()
        if not data:
            return
        name = os.fsencode(os.path.basename(path))
        if data[:3] != b"MXM":
            self.log.append(name + b"  ::   Does not seem to be an MXM")
            return
        material = Material(data)
        report, status = self.check(material, os.path.dirname(path))
        self.log.append(name + b"  ::   " + material.name + b": " + report + b"Status " +
                        str(status).encode() + b" ***")
        write_durably(path, material.bytes(name.split(b".")[0]))

    def walk(self, folder, entered):
        identity = os.stat(folder)
        if (identity.st_dev, identity.st_ino) in entered:
            return
        entered.add((identity.st_dev, identity.st_ino))
        files, folders = listing(folder)
        for name in files:
            if not name.startswith(".") and name.lower().endswith(".mxm"):
                self.fix(os.path.join(folder, name))
        for name in folders:
            self.walk(os.path.join(folder, name), entered)


def write_durably(path, data):
    folder = os.path.dirname(path)
    temporary = os.path.join(folder, "." + os.path.basename(path) + ".script-tmp")
    fd = os.open(temporary, os.O_WRONLY | os.O_CREAT | os.O_TRUNC, 0o666)
    try:
        os.write(fd, data)
        os.fchmod(fd, stat.S_IMODE(os.stat(path).st_mode))
        os.fsync(fd)
    finally:
        os.close(fd)
    os.rename(temporary, path)
    folder_fd = os.open(folder, os.O_RDONLY | os.O_DIRECTORY)
    try:
        os.fsync(folder_fd)
    finally:
        os.close(folder_fd)


def main():
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    batch = Batch(sys.argv[1], [os.path.realpath(p) for p in sys.argv[3:]])
    batch.walk(batch.folder, set())
    with open(sys.argv[2], "wb") as log:
        log.write(b"".join(batch.log))


if __name__ == "__main__":
    main()
