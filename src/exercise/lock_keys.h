// Pecunette — apprendre à remplir un chèque.
#pragma once

struct LockKeys {
    bool known = false;  // the platform told us
    bool numLock = false;
    bool capsLock = false;
};

// Num Lock and Caps Lock as the windowing system reports them; unknown on
// platforms that do not say (offscreen, Wayland).
LockKeys readLockKeys();
