#include "Clipboard.h"
#include "Text.h"
#include "UiTest.h"

#include <QClipboard>
#include <QGuiApplication>

#include <chrono>
#include <cstdint>

using ClipboardTest = UiTest;

// The batch adds each file's entry to its log on the clipboard, so each
// addition must cost about the same however long the log has grown: here
// 20,000 entries, a log of 1.2 MB. Another text put there meanwhile, by
// another program or by this one, is replaced by the whole log.
TEST_F(ClipboardTest, AddingToALongTextCostsLittleAndReadsBackWhole) {
    const std::string entry =
        "oak_0412.mxm  ::   Caf\xC3\xA9 \xE9: [ /tex/a.jpg- o.k. ] \rStatus 0 ***";
    std::string log;
    std::uint64_t token = 0;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < 20000; ++i) {
        log += entry;
        token = Clipboard::appendText(token, entry, log);
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(250));
    EXPECT_EQ(Clipboard::Text(), ToDisplayText(log));

    for (const bool ours : {false, true}) {
        ours ? void(Clipboard::setText("ours")) : QGuiApplication::clipboard()->setText("theirs");
        EXPECT_EQ(Clipboard::Text(), ours ? "ours" : "theirs");
        token = Clipboard::appendText(token, "log 2", "log 1, log 2");
        EXPECT_EQ(Clipboard::Text(), "log 1, log 2");
    }
}
