// Fuzz target: a saved dock state as the application profile holds it (the input is the
// profile's INI file, every value arbitrary). CDockState::LoadState either refuses the
// state, keeping no record, or keeps records that all lie within the documented limits
// (IDs, flags, coordinates, list entries and counts), and such a state saves and loads
// back record for record.
#include <cstddef>
#include <cstdint>

#include "fuzz/fuzz_profile.h"
#include "platform/afx/ctrlbar.h"
#include "platform/afx/dockstate.h"

namespace {

using zyn::fuzz::Check;

bool Coord(int v) { return v >= -CDockState::kMaxCoord && v <= CDockState::kMaxCoord; }
bool Flag(BOOL v) { return v == 0 || v == 1; }

void CheckRecord(const CControlBarInfo& r)
{
    Check(r.m_nBarID >= 1 && r.m_nBarID <= 0xFFFF);
    Check(Flag(r.m_bVisible) && Flag(r.m_bHorz) && Flag(r.m_bFloating) && Flag(r.m_bDockBar) && Flag(r.m_bDocking));
    Check(Coord(r.m_pointPos.x) && Coord(r.m_pointPos.y));
    Check(r.m_nMRUWidth >= 0 && r.m_nMRUWidth <= 32767);
    Check(!r.m_bFloating || (r.m_bDockBar && r.m_nBarID == 0xE81F));
    Check(r.m_rectMRUDockPos.left <= r.m_rectMRUDockPos.right && r.m_rectMRUDockPos.top <= r.m_rectMRUDockPos.bottom);
    Check((r.m_dwMRUFloatStyle & ~CBRS_ALL) == 0);
    Check(r.m_arrBarID.GetSize() <= CDockState::kMaxBarIDs);
    Check(r.m_bDockBar || r.m_arrBarID.GetSize() == 0);
    for (INT_PTR i = 0; i < r.m_arrBarID.GetSize(); ++i) {
        const DWORD v = r.m_arrBarID[i];
        Check(v <= 0xFFFF || (v >= 0x10001 && v <= 0x1FFFF));
    }
}

bool Same(const CControlBarInfo& a, const CControlBarInfo& b)
{
    if (a.m_arrBarID.GetSize() != b.m_arrBarID.GetSize())
        return false;
    for (INT_PTR i = 0; i < a.m_arrBarID.GetSize(); ++i)
        if (a.m_arrBarID[i] != b.m_arrBarID[i])
            return false;
    return a.m_nBarID == b.m_nBarID && a.m_bVisible == b.m_bVisible && a.m_bFloating == b.m_bFloating &&
           a.m_bHorz == b.m_bHorz && a.m_bDockBar == b.m_bDockBar && a.m_pointPos == b.m_pointPos &&
           a.m_nMRUWidth == b.m_nMRUWidth && a.m_bDocking == b.m_bDocking &&
           (!a.m_bDocking || (a.m_uMRUDockID == b.m_uMRUDockID && a.m_rectMRUDockPos == b.m_rectMRUDockPos &&
                                 a.m_dwMRUFloatStyle == b.m_dwMRUFloatStyle && a.m_ptMRUFloatPos == b.m_ptMRUFloatPos));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const zyn::fuzz::ProfileInput in(L"DockFuzz", data, size);

    CDockState state;
    if (!state.LoadState(L"Layout")) {
        Check(state.m_arrBarInfo.GetSize() == 0);
    } else {
        Check(state.m_arrBarInfo.GetSize() <= CDockState::kMaxBars);
        for (INT_PTR i = 0; i < state.m_arrBarInfo.GetSize(); ++i)
            CheckRecord(*static_cast<const CControlBarInfo*>(state.m_arrBarInfo[i]));
        Check(state.SaveState(L"Again"));
        CDockState again;
        Check(again.LoadState(L"Again"));
        Check(again.m_arrBarInfo.GetSize() == state.m_arrBarInfo.GetSize());
        for (INT_PTR i = 0; i < state.m_arrBarInfo.GetSize(); ++i)
            Check(Same(*static_cast<const CControlBarInfo*>(state.m_arrBarInfo[i]),
                *static_cast<const CControlBarInfo*>(again.m_arrBarInfo[i])));
    }
    return 0;
}
