// The parts of CDC that need the window system. Until it exists no DC belongs to a
// window object.
#include "platform/afx/gdi/dc.h"

CWnd* CDC::GetWindow() const { return nullptr; }
