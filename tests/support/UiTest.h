#pragma once

// Base fixture for tests that drive the real widgets offscreen:
//
//     class EditorTest : public UiTest {};
//     TEST_F(EditorTest, CancelKeepsItOpen) {
//         dialogs.answerMessageDialog(MessageDialogChoice::Cancel);
//         auto* w = new WindowMXM;           // windows are made with new;
//         ...                                // the framework deletes them
//     }
//
// The dialog script makes the offscreen QApplication (once). TearDown
// discards every window still open (no close question, no Close event) and
// deletes the closed ones, so each test starts with no window. The fixture
// makes no Application object: a test that needs one makes its own.

#include "ScriptedDialogs.h"
#include "Window.h"

#include <gtest/gtest.h>

class UiTest : public ::testing::Test {
  protected:
    void TearDown() override { Window::DiscardAll(); }

    ScriptedDialogs dialogs;
};
