#pragma once
// What the console's scripted tour does with the mouse and keyboard: the window system's
// injected input (platform/user/driver.h) aimed at the screen rectangles the library
// reports for its windows, menus and bars, on the virtual clock. Input meant for a modal
// loop that a click opens (a popup menu, a message box, a dialog) is queued as the loop's
// idle action, so it is typed when that loop runs, as a person types into what has
// appeared.
//
// Between two clicks the clock moves past the double-click time, so each click is a
// single one unless the tour asks for a double click.
#include <functional>
#include <vector>

#include "platform/afx/gdi/geometry.h"
#include "platform/base/wintypes.h"

class CWinApp;
class COXMenuBar;

namespace tour {

// Handles what is queued and gives the idle passes, until nothing is left to do.
void Settle(CWinApp& app);
// The clock moves past the double-click time.
void Pause();

CPoint CentreOf(HWND hwnd);
// A left click at a screen point, then a pause.
void ClickAt(CPoint screen);
// A click at the centre of a window; false for a window that is not there or not shown.
bool ClickWindow(HWND hwnd);
// Presses at `from`, moves in two steps (a start beyond the drag threshold, then to
// `to`) and releases there. All of it is queued at once, for a drag that runs a loop of
// its own from the press (the docking outline drag, a window's move).
void DragFromTo(CPoint from, CPoint to);
// The same drag for what follows the mouse on the capture rather than in a loop of its
// own (a live drag, a tab dragged out of its strip): each step is handled before the
// next, since moves waiting together are merged into one.
void DragStepwise(CPoint from, CPoint to);
// A screen point of the window where WM_NCHITTEST answers `code` (HTCAPTION,
// HTMAXBUTTON...), the middle of the first run of such points found scanning the window
// rows from the top and right to left; nothing when there is none.
bool FindHitPoint(HWND hwnd, int code, CPoint& at);

// Clicks the menu bar's top-level item at `index`, then, in the popup that opens, the
// item with the command ID (through the submenus on the way to it, each opened by a
// click). `found` says whether the popup showed the item (the click on
// it was made).
void ChooseMenuCommand(COXMenuBar& bar, int index, UINT command, bool* found);

// The same through a window's own menu bar (a dialog's menu): true when the item was
// clicked.
bool ChooseWindowMenuCommand(HWND hwnd, UINT command);

// Queues an action for the next idle turn of whatever modal loop runs then (a dialog, a
// message box, a popup menu).
void WhenIdle(std::function<void()> action);
// Types characters into the focus window; keys (Tab, Enter, End...) as key presses.
void Type(const wchar_t* text);
void Press(int vk);
// vk with Shift held.
void PressShifted(int vk);

} // namespace tour
