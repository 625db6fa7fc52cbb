#include "FolderItem.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace {

// The one-pass listing must tell of each entry what asking the entry itself
// tells, whatever kind of entry it is.
TEST(FolderEntries, AgreeWithEachItem) {
    TempFolder temp;
    temp.makeFile("f/file");
    temp.makeFile("f/.hidden");
    temp.makeFolder("f/folder");
    temp.makeFolder("elsewhere");
    ASSERT_EQ(::symlink(temp.pathOf("elsewhere").c_str(), temp.pathOf("f/to-folder").c_str()), 0);
    ASSERT_EQ(::symlink("file", temp.pathOf("f/to-file").c_str()), 0);
    ASSERT_EQ(::symlink(temp.pathOf("gone").c_str(), temp.pathOf("f/dangling").c_str()), 0);
    ASSERT_EQ(::mkfifo(temp.pathOf("f/pipe").c_str(), 0600), 0);

    const Ref<FolderItem> folder = temp.item("f");
    const std::vector<FolderItem::Entry> entries = folder->Entries();
    ASSERT_EQ(static_cast<int>(entries.size()), folder->Count());
    for (int i = 1; i <= folder->Count(); ++i) {
        const Ref<FolderItem> item = folder->Item(i);
        const FolderItem::Entry& entry = entries[static_cast<size_t>(i - 1)];
        EXPECT_EQ(entry.name, item->Name());
        EXPECT_EQ(entry.directory, item->Directory()) << entry.name;
        EXPECT_EQ(entry.exists, item->Exists()) << entry.name;
    }
    EXPECT_TRUE(temp.item("f/file")->Entries().empty());
    EXPECT_TRUE(temp.item("missing")->Entries().empty());
}

} // namespace
