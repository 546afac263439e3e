#pragma once
// The presenter's watch over its X connection and window. Xlib's default handlers end the
// process on the spot: on an I/O error (the X server ends, or another client kills our
// connection: the I/O error handler, then the display's exit handler, exit) and on any
// protocol error (our window destroyed from outside, and SDL's next request naming it).
// Static destructors would then run under live windows and nothing would be saved. The
// handlers set here only note what happened and return: Xlib leaves a broken connection
// dead (every later call on it returns at once), and an error naming our window marks the
// window gone; other protocol errors are reported on standard error and otherwise
// ignored. The presenter, at its next pump, lets the host close in order (presenter.h).
// Kept apart from the presenter because Xlib's headers define names (None, Bool,
// CursorShape...) that clash with the window system's.
struct SDL_Window;

namespace zyn::display {

// Watches the X connection and the X window of `window`, when it is on X (otherwise
// nothing is done), and clears what an earlier watch noted. The process's I/O and
// protocol error handlers are taken over until UnwatchXConnection.
void WatchXConnection(SDL_Window* window);
// Waits until the X server has handled every request sent so far, so that the errors
// they cause reach the handlers set here (SDL, closing its video, puts back the handler
// it found, which ends the process). Nothing when the connection broke or is not watched.
void SyncXConnection();
// Gives the error handlers back; call once the connection is closed.
void UnwatchXConnection();
// Whether the watched connection broke.
bool XConnectionLost();
// Whether the watched window was destroyed by someone else (the connection still works).
bool XWindowGone();

} // namespace zyn::display
