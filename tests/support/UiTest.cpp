#include "UiTest.h"

#include "Window.h"

void UiTest::SetUp() {
    offscreenApplication();
}

void UiTest::TearDown() {
    Window::DiscardAll();
}
