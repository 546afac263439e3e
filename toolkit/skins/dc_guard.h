#pragma once
// Selections into a CDC that undo themselves: skins select every object back out before
// they return, whatever path the drawing takes.
#include "platform/afx/gdi/dc.h"

template <class TObject>
class COXSelectGuard {
public:
    COXSelectGuard(CDC& dc, TObject* object)
        : m_dc(dc)
        , m_pOld(dc.SelectObject(object))
    {
    }
    ~COXSelectGuard()
    {
        if (m_pOld)
            m_dc.SelectObject(m_pOld);
    }
    COXSelectGuard(const COXSelectGuard&) = delete;
    COXSelectGuard& operator=(const COXSelectGuard&) = delete;

private:
    CDC& m_dc;
    TObject* m_pOld;
};
