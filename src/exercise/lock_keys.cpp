// Pecunette — apprendre à remplir un chèque.
#include "lock_keys.h"

#include <QGuiApplication>

#if defined(PECUNETTE_HAVE_X11)
#include <X11/XKBlib.h>
#endif

LockKeys readLockKeys()
{
    LockKeys keys;
#if defined(PECUNETTE_HAVE_X11)
    if (auto *x11 = qApp ? qApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr) {
        unsigned int state = 0;
        if (Display *display = x11->display();
            display && XkbGetIndicatorState(display, XkbUseCoreKbd, &state) == Success) {
            keys.known = true;
            keys.capsLock = (state & 0x01U) != 0;
            keys.numLock = (state & 0x02U) != 0;
        }
    }
#endif
    return keys;
}
