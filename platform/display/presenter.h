#pragma once
// The presenter: the desktop framebuffer shown in one real window on the user's display,
// with the display's mouse and keyboard driving the window system.
//
// A host that wants a real window calls StartPresenter on the thread that runs its message
// loop; when it fails (no display, or a build without display support) the host goes on
// headless exactly as before. From then on the thread's message waits go through the
// presenter (user/display.h): whenever the thread is about to wait, and every few
// milliseconds while it waits, the presenter copies the screen rectangles that were
// drawn since the last time (gdi/damage.h) into the window and turns the display's
// events into the window system's injected input: mouse moves, buttons and the wheel at
// the same coordinates (the window is exactly the desktop's size; a desktop larger than
// the screen's room is shrunk to it when the window opens), keys through a
// virtual-key map (keymap.h) and typed text as characters. The cursor follows what
// WM_SETCURSOR chose (cursor_shape.h). Resizing the window resizes the desktop
// (WM_DISPLAYCHANGE to the top-level windows); closing it posts WM_CLOSE to the host's
// main window, which asks about unsaved work as its own Close command does, so nothing is
// lost and nothing ends unless the host ends it. The process clock runs in real time.
//
// A display that goes away (the X server ends, the connection is killed from outside, or
// another program destroys the real window) does not end the process: the presenter stops showing and reading, the thread goes on
// headless in scripted mode (nobody is left to answer: questions take their default
// answers, dialogs and menus left waiting end) and the main window is asked to close as
// by its close box, so the host saves what it saves on a close and ends in order.
#include <cstdint>
#include <string>

#include "platform/base/wintypes.h"

namespace zyn::display {

struct PresenterOptions {
    std::wstring title = L"ZynCmn";
    // Where the window goes on the real screen; kCentred lets the display choose.
    static constexpr int kCentred = -1;
    int x = kCentred, y = kCentred;
    // The window that hears WM_CLOSE when the real window is closed; null: the first
    // unowned, visible top-level window of the presenter's thread.
    HWND mainWindow = nullptr;
};

// Opens the real window on the calling thread. False, with the reason in `whyNot`, when
// no display can be opened, the build has no display support or a presenter is running.
bool StartPresenter(const PresenterOptions& options = {}, std::string* whyNot = nullptr);
// Closes the window; the desktop stays as it is, headless. Only the presenter's thread may
// stop it (any other call is ignored).
void StopPresenter();
bool PresenterRunning();
void SetPresenterMainWindow(HWND hwnd);

// Shows what was drawn since the last frame now, rather than when the thread next waits.
void PresentNow();

// What the presenter has done since it started, for tests and benchmarks.
struct PresenterStats {
    uint64_t frames = 0;      // presents that copied anything
    uint64_t rects = 0;       // rectangles copied
    uint64_t pixels = 0;      // pixels copied
    uint64_t wholeFrames = 0; // presents that copied the whole framebuffer
    uint64_t resizes = 0;     // desktop resizes that followed the window
    uint64_t closeRequests = 0;
    uint64_t pumps = 0;       // pumps of the thread's waits: it was idle, all painted
    bool displayLost = false; // the display went away (see above)
};
PresenterStats GetPresenterStats();

} // namespace zyn::display
