#pragma once
// Owners of GDI handles their holder made: a memory DC (DeleteDC) and any other GDI object
// (DeleteObject), freed when the owner goes. Null handles (a refused creation) are held and
// freed as nothing, so a caller checks get() once and returns early without clean-up.
#include "platform/base/wintypes.h"
#include "platform/gdi/wingdi.h"

namespace zyn::gdi {

class OwnedDc {
public:
    explicit OwnedDc(HDC dc) : m_dc(dc) {}
    ~OwnedDc()
    {
        if (m_dc)
            ::DeleteDC(m_dc);
    }
    OwnedDc(const OwnedDc&) = delete;
    OwnedDc& operator=(const OwnedDc&) = delete;
    HDC get() const { return m_dc; }

private:
    HDC m_dc;
};

template <class H>
class OwnedObject {
public:
    explicit OwnedObject(H h) : m_h(h) {}
    ~OwnedObject()
    {
        if (m_h)
            ::DeleteObject(m_h);
    }
    OwnedObject(const OwnedObject&) = delete;
    OwnedObject& operator=(const OwnedObject&) = delete;
    H get() const { return m_h; }

private:
    H m_h;
};

} // namespace zyn::gdi
