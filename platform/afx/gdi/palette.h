#pragma once
// CPalette: kept for code that passes palettes around. Every surface here is true
// colour, so palettes have no drawing effect and none can be created yet.
#include "platform/afx/gdi/gdi_object.h"

class CPalette : public CGdiObject {
    DECLARE_DYNAMIC(CPalette)
public:
    static CPalette* FromHandle(HPALETTE hPalette);

    CPalette() = default;
    operator HPALETTE() const { return static_cast<HPALETTE>(m_hObject); }
};
