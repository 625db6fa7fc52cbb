#include "Clipboard.h"
#include "Text.h"
#include "UiTest.h"

#include <QClipboard>
#include <QGuiApplication>

#include <chrono>

using ClipboardTest = UiTest;

// The batch puts its whole log on the clipboard after every file, so each
// update must cost about the same however long the log has grown: here the
// last 1,000 updates of a 300 KB log, as after 1,000 materials.
TEST_F(ClipboardTest, UpdatingALongTextCostsLittleAndReadsBackWhole) {
    const std::string entry =
        "oak_0412.mxm  ::   Caf\xC3\xA9 \xE9: [ /tex/a.jpg- o.k. ] \rStatus 0 ***";
    std::string log;
    while (log.size() < 300000)
        log += entry;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < 1000; ++i) {
        log += std::to_string(i);
        Clipboard::setText(log);
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(250));
    EXPECT_EQ(Clipboard::Text(), ToDisplayText(log));
}

// Once someone else has put text there, the next update puts the text back
// rather than changing text the clipboard no longer holds.
TEST_F(ClipboardTest, TakesTheClipboardBackFromOthers) {
    Clipboard::setText("log 1");
    QGuiApplication::clipboard()->setText("someone else's");
    EXPECT_EQ(Clipboard::Text(), "someone else's");
    Clipboard::setText("log 1, log 2");
    EXPECT_EQ(Clipboard::Text(), "log 1, log 2");
}
