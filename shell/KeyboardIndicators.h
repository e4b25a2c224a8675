// Caps Lock, Num Lock and Scroll Lock as the keyboard's lights show them, for the status bar.
// Read from the X server when the program runs on one; elsewhere all three read as off.
#pragma once

class KeyboardIndicators {
public:
    struct State {
        bool capsLock = false;
        bool numLock = false;
        bool scrollLock = false;
    };
    static State Read();
};
