#pragma once
// The presenter's watch over its X connection. When the connection breaks (the X server
// ends, or another client kills our connection) Xlib calls its I/O error handler and then
// the display's exit handler, whose default ends the process on the spot: static
// destructors would run under live windows and nothing would be saved. The handlers set
// here only note the loss and return; Xlib then leaves the connection dead (every later
// call on it returns at once) and the presenter, at its next pump, lets the host close in
// order (presenter.h). Kept apart from the presenter because Xlib's headers define names
// (None, Bool, CursorShape...) that clash with the window system's.
struct SDL_Window;

namespace zyn::display {

// Watches the X connection of the window, when it is on X (otherwise nothing is done),
// and clears any earlier loss. The process's I/O error handler is taken over until
// UnwatchXConnection.
void WatchXConnection(SDL_Window* window);
// Gives the I/O error handler back; call once the connection is closed.
void UnwatchXConnection();
// Whether the watched connection broke.
bool XConnectionLost();

} // namespace zyn::display
