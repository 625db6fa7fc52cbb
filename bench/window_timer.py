#!/usr/bin/env python3
"""Presses Return on the X display and times how long until a window of the
given title has appeared and gone again (its unmap), as a user watching the
screen would see it. Prints the seconds; exits 1 after the time-out.

    window_timer.py TITLE [TIMEOUT_SECONDS]

Talks to the X server through libX11 and libXtst, with no other module: the
root window's structure events name every top-level window that is mapped or
unmapped (there is no window manager under Xvfb to reparent them).
"""
import ctypes
import select
import sys
import time

SUBSTRUCTURE_NOTIFY = 1 << 19
DESTROY_NOTIFY, UNMAP_NOTIFY, MAP_NOTIFY = 17, 18, 19
XK_RETURN = 0xFF0D


class TextProperty(ctypes.Structure):
    _fields_ = [("value", ctypes.c_char_p), ("encoding", ctypes.c_ulong),
                ("format", ctypes.c_int), ("nitems", ctypes.c_ulong)]


def load():
    x11 = ctypes.CDLL("libX11.so.6")
    xtst = ctypes.CDLL("libXtst.so.6")
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x11.XDefaultRootWindow.restype = ctypes.c_ulong
    x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
    x11.XSelectInput.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_long]
    x11.XKeysymToKeycode.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
    x11.XKeysymToKeycode.restype = ctypes.c_ubyte
    x11.XGetWMName.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(TextProperty)]
    x11.XPending.argtypes = [ctypes.c_void_p]
    x11.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.c_void_p]
    x11.XConnectionNumber.argtypes = [ctypes.c_void_p]
    x11.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
    x11.XFlush.argtypes = [ctypes.c_void_p]
    xtst.XTestFakeKeyEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int,
                                       ctypes.c_ulong]
    return x11, xtst


def title_of(x11, display, window):
    prop = TextProperty()
    if not x11.XGetWMName(display, window, ctypes.byref(prop)) or not prop.value:
        return ""
    return prop.value.decode("utf-8", "replace")


def main():
    title = sys.argv[1]
    timeout = float(sys.argv[2]) if len(sys.argv) > 2 else 600.0
    x11, xtst = load()
    display = x11.XOpenDisplay(None)
    if not display:
        sys.exit("window_timer: no display")
    x11.XSelectInput(display, x11.XDefaultRootWindow(display), SUBSTRUCTURE_NOTIFY)
    x11.XSync(display, 0)
    key = x11.XKeysymToKeycode(display, XK_RETURN)
    start = time.monotonic()
    xtst.XTestFakeKeyEvent(display, key, 1, 0)
    xtst.XTestFakeKeyEvent(display, key, 0, 0)
    x11.XFlush(display)

    # XEvent is a union of 24 longs; type first, the window at index 5 for
    # map, unmap and destroy events.
    event = (ctypes.c_long * 24)()
    shown = None
    connection = x11.XConnectionNumber(display)
    while time.monotonic() - start < timeout:
        if shown is None and time.monotonic() - start > 30:
            break
        if not x11.XPending(display):
            select.select([connection], [], [], 0.05)
            continue
        x11.XNextEvent(display, event)
        kind, window = event[0] & 0xFFFFFFFF, event[5] & 0xFFFFFFFFFFFFFFFF
        if kind == MAP_NOTIFY and shown is None and title_of(x11, display, window) == title:
            shown = window
        elif kind in (UNMAP_NOTIFY, DESTROY_NOTIFY) and window == shown:
            print(f"{time.monotonic() - start:.4f}")
            return
    sys.exit(f"window_timer: no window {title!r} came and went in time")


if __name__ == "__main__":
    main()
