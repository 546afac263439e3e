#pragma once
// Driving the message loop from a test as an application's own loop does: messages go
// through the frames' pre-translation (accelerators, dialog keys) before they are
// translated and dispatched, keys are typed with their modifiers held around them, and
// once the queue is empty the idle pass runs, which frees the thread's temporary window,
// menu and GDI wrappers. A wrapper kept past the message that made it then fails under
// the sanitizer in a test as it would in the application.
#include <functional>

#include "platform/user/winuser.h"

namespace zyn::test {

// Dispatches the thread's waiting messages, then runs the idle pass. A WM_QUIT met on
// the way belongs to the caller's loop: it is posted again and the pumping ends. At most
// 100000 messages, so a window that keeps posting cannot hang the test.
void PumpTranslated();

// The plain loop of the areas' fixtures: dispatches the thread's waiting messages, each
// translated unless `filter` takes it first (a sheet's keys, a tooltip's relay), then runs
// the idle pass. A WM_QUIT met on the way is dropped and ends the pumping. At most 100000
// messages.
void PumpMessages(const std::function<bool(MSG&)>& filter = nullptr);

// The idle pass of the application's loop: the thread object's OnIdle (the application's,
// when there is one) with a growing count for as long as it asks for more. Without a
// thread object, the part every thread's idle pass does: the temporary wrappers are freed
// unless the temporary maps are locked.
void RunIdle();

// vk pressed and released, with Ctrl and then Shift held down around it when asked.
// Nothing is dispatched.
void InjectChord(int vk, bool ctrl, bool shift = false);

} // namespace zyn::test
