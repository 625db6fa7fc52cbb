#pragma once

// The size of a window's content area, in which its controls are placed.
struct ContentSize {
    int width = 300;
    int height = 200;
};
