#pragma once
// What a display driver needs of the window system: a part in the message wait of the
// thread that shows the desktop, and a display that changes size.
//
// The driver's thread waits for messages as every thread does, but through the driver's
// pump: before the thread blocks, the pump shows what was painted; while it waits, it
// wakes every few milliseconds to read the real display's events and turn them into
// injected input, which ends the wait like any other input. Whatever another thread paints
// meanwhile reaches the screen at the next slice. The pump must not call window procedures
// (it runs inside GetMessage); work that needs them is posted to a window of its thread.
// On the virtual clock the pump runs once per wait and the wait is the ordinary one.
#include "platform/base/wintypes.h"

namespace zyn::user {

class DisplayPump {
public:
    virtual ~DisplayPump() = default;
    // Shows pending damage and reads the display's events.
    virtual void Pump() = 0;
};

// The longest a pumped wait sleeps between two pumps.
inline constexpr DWORD kDisplayPumpSliceMs = 4;

// Installs the pump for the calling thread (null removes it). One pump per process; a
// second thread's pump replaces the first.
void SetDisplayPump(DisplayPump* pump);

// Whether a display pump is installed: a person may be watching and answering, so
// nothing that would ask them (a message box) answers itself.
bool DisplayAttached();

// The display now has the given size: the framebuffer follows (keeping its pixels where
// both overlap), the desktop window takes the size, every window is invalidated,
// maximised top-level windows of the calling thread are maximised again to the new work
// area, and every top-level window hears WM_DISPLAYCHANGE (32 bits a pixel, MAKELPARAM(cx,
// cy)): sent to the calling thread's windows, notified to other threads'. False, with
// nothing changed, for a size no framebuffer can have.
bool ChangeDisplaySize(int width, int height);

} // namespace zyn::user
