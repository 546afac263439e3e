// The desktop's damage record (see damage.h).
#include "platform/gdi/damage.h"

#include <atomic>
#include <mutex>

#include "platform/gdi/dc_internal.h"
#include "platform/gdi/region.h"

namespace zyn::gdi {

namespace {

struct Record {
    std::atomic<bool> on{false};
    std::mutex mutex;
    std::weak_ptr<Surface> surface; // the framebuffer the region belongs to
    const Surface* raw = nullptr;   // the same, for a lock-free compare
    Region region;
    bool whole = true;              // nothing was shown yet
};

Record& TheRecord()
{
    static auto* const r = new Record(); // immortal: DCs flush from static destructors
    return *r;
}

} // namespace

void SetDamageRecording(bool on)
{
    Record& r = TheRecord();
    std::lock_guard lock(r.mutex);
    r.on = on;
    r.region.SetEmpty();
    r.whole = true; // a driver that starts looking needs the whole screen first
}

bool DamageRecording() { return TheRecord().on.load(std::memory_order_relaxed); }

void NoteScreenDamage(const Surface* target, const RECT& rect)
{
    Record& r = TheRecord();
    if (!r.on.load(std::memory_order_relaxed) || !target || rect.left >= rect.right || rect.top >= rect.bottom)
        return;
    std::lock_guard lock(r.mutex);
    if (target != r.raw || r.whole)
        return;
    r.region = r.region.Union(Region(rect).Intersect(target->Bounds()));
}

void FlushScreenDamage(Dc& dc)
{
    const RECT drawn = dc.drawn;
    dc.drawn = RECT{0, 0, 0, 0};
    if (dc.OnScreen())
        NoteScreenDamage(dc.surface.get(), drawn);
}

ScreenDamage TakeScreenDamage()
{
    Record& r = TheRecord();
    ScreenDamage out;
    out.surface = DesktopSurface(); // before our lock: the desktop's lock comes first
    std::lock_guard lock(r.mutex);
    if (out.surface.get() != r.raw) {
        // A framebuffer made before recording knew of it, or replaced just now.
        r.raw = out.surface.get();
        r.surface = out.surface;
        r.whole = true;
    }
    out.whole = r.whole;
    if (!out.whole) {
        const auto& rects = r.region.Rects();
        if (rects.size() > kMaxDamageRects)
            out.rects.push_back(r.region.Box());
        else
            out.rects = rects;
    }
    r.whole = false;
    r.region.SetEmpty();
    return out;
}

void NoteNewDesktop(const std::shared_ptr<Surface>& surface)
{
    Record& r = TheRecord();
    std::lock_guard lock(r.mutex);
    r.surface = surface;
    r.raw = surface.get();
    r.region.SetEmpty();
    r.whole = true;
}

} // namespace zyn::gdi
