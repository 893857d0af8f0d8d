#include "lock_keys.h"

#include <QGuiApplication>

#if defined(TOVREN_HAVE_X11)
#include <X11/XKBlib.h>
#endif

namespace tovren {

std::optional<LockKeys> readLockKeys()
{
#if defined(TOVREN_HAVE_X11)
    if (auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()) {
        unsigned int state = 0;
        if (x11->display()
            && XkbGetIndicatorState(x11->display(), XkbUseCoreKbd, &state) == Success)
            return LockKeys{(state & 0x1) != 0, (state & 0x2) != 0};
    }
#endif
    return std::nullopt;
}

} // namespace tovren
