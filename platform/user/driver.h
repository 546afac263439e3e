#pragma once
// The input driver and the desktop: what a test or a headless host uses to move the
// mouse, press keys, look at the screen and reset the window system.
//
// Injected input enters the system queue in order, stamped with the clock's time, and
// reaches a thread's queue: mouse input the thread of the window under the cursor (or of
// the capture window), keys the thread of the foreground window. Windows then sees it
// through GetMessage/PeekMessage, with hit testing, WM_MOUSEACTIVATE, WM_SETCURSOR, double
// clicks and the WH_MOUSE / WH_KEYBOARD hooks at the moment the message is taken.
#include <string>

#include "platform/base/wintypes.h"

namespace zyn::user {

enum class MouseButton { Left, Right, Middle, X1, X2 };

// Screen coordinates; the position is clamped to the screen and ClipCursor's rectangle.
void InjectMouseMove(int x, int y);
void InjectMouseButton(MouseButton button, bool down);
// Moves, presses and releases.
void InjectClick(int x, int y, MouseButton button = MouseButton::Left);
// WHEEL_DELTA units; horizontal for the tilt wheel.
void InjectMouseWheel(int delta, bool horizontal = false);
// A virtual key going down or up (repeat: down again while down).
void InjectKey(int vk, bool down);
// Down then up.
void InjectKeyPress(int vk);
// A character as typed without a key (WM_CHAR to the focus window).
void InjectChar(wchar_t ch);
// Characters of a string, each as InjectChar.
void InjectText(const std::wstring& text);
// Number of injected input events not yet taken by any thread.
size_t PendingInputCount();

// Writes the screen, or one window's rectangle of it, to a PNG file. A window is painted
// (WM_PRINT) into an offscreen bitmap, so a hidden or covered window can be shot too.
// False with the last error set when the window is not valid or the file cannot be written.
bool SnapshotDesktopPng(const std::string& path);
bool SnapshotWindowPng(HWND hwnd, const std::string& path);

// Paints every window of the calling thread that has something to paint (as the message
// loop would), so the screen is up to date.
void PaintPendingWindows();

// Resets the window system for the next test: destroys every window (without sending
// messages), unregisters non-system classes, clears hooks, timers, queues, focus,
// capture, the foreground, the key state, the cursor, the clipboard, answer scripts and
// scripted mode, and gives a fresh desktop of the given size with the classic system
// colours and metrics. Cheap when the window system was not used.
void ResetWindowSystemForTests(int width = 1280, int height = 1024);

// Live windows (the desktop excluded) and hooks, for leak checks.
size_t LiveWindowCount();
size_t LiveHookCount();

// MessageBeep calls since the process started (no sound is made).
size_t MessageBeepCount();

} // namespace zyn::user
