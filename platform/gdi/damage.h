#pragma once
// The desktop's damage record: which screen rectangles changed since a display driver last
// looked, so that it copies only those to a real window instead of the whole framebuffer.
//
// A screen or window DC widens its own `drawn` rectangle as it writes (a few compares per
// clipped rectangle, no lock) and hands it here when a drawing call ends. The record is a
// region, so overlapping paints of one window cost one copy. Recording is off until a
// driver turns it on; headless runs pay one atomic load per drawing call. A new
// framebuffer (reset or resize) damages the whole screen, and taking the damage hands back
// the framebuffer it belongs to, so a driver never copies rectangles of one framebuffer
// out of another.
#include <memory>
#include <vector>

#include "platform/base/wintypes.h"

namespace zyn::gdi {

class Dc;
class Surface;

void SetDamageRecording(bool on);
bool DamageRecording();

// Moves a DC's drawn rectangle into the record (when recording, the DC draws on the
// current framebuffer and drew something) and clears it.
void FlushScreenDamage(Dc& dc);
// Adds a rectangle of the framebuffer `target`; ignored for any other surface.
void NoteScreenDamage(const Surface* target, const RECT& r);

struct ScreenDamage {
    std::shared_ptr<Surface> surface; // the framebuffer the rectangles belong to
    std::vector<RECT> rects;          // disjoint, inside the surface, top to bottom
    bool whole = false;               // a new framebuffer: show all of it
};
// Above this many rectangles the damage is handed back as their bounding box: one copy
// of a slightly larger area is cheaper than hundreds of tiny ones.
inline constexpr size_t kMaxDamageRects = 64;
// The damage since the last call, and a clean record.
ScreenDamage TakeScreenDamage();

// The framebuffer was replaced (called by the desktop's reset and resize).
void NoteNewDesktop(const std::shared_ptr<Surface>& surface);

} // namespace zyn::gdi
