#pragma once
// Driving the message loop from a test as an application's own loop does: messages go
// through the frames' pre-translation (accelerators, dialog keys) before they are
// translated and dispatched, and keys are typed with their modifiers held around them.
namespace zyn::test {

// Dispatches the thread's waiting messages. A WM_QUIT met on the way belongs to the
// caller's loop: it is posted again and the pumping ends. At most 100000 messages, so a
// window that keeps posting cannot hang the test.
void PumpTranslated();

// vk pressed and released, with Ctrl and then Shift held down around it when asked.
// Nothing is dispatched.
void InjectChord(int vk, bool ctrl, bool shift = false);

} // namespace zyn::test
