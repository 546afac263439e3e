#pragma once
// The size-dock frames: frames that host sizeable bars. COXSizeDockFrameT<TFrame> gives a
// frame class (CFrameWnd, CMDIFrameWnd or CMDIChildWnd) size dock bars on its sides, the
// toolkit's floating frame, a snapping flag the floating frames ask for (WM_OX_QUERYSNAPPING),
// tiling of the docked bars, packing of the floating ones against a corner, and the saved
// layout: the class library's dock state plus one "BarSize_<id>" record of the three sizes
// per size bar (and whether it floated as an MDI child).
//
// The work is done once, on CFrameWnd, by the functions of namespace zyn::sizedock
// (frame_size_dock.cpp, frame_size_dock_state.cpp); the template only puts them on the
// frame class, so the plain, MDI and MDI-child frames share every line of it.
//
// A saved layout is read defensively: a "Version" other than 2 deletes the section and
// keeps the layout; a dock state that cannot be read or names a bar the frame lacks is
// not applied at all (no floating frame is left behind); a size record that is not
// exactly 28 bytes or holds a negative or absurd size is ignored (the bar keeps its sizes).
// View bars (the hosts of docked MDI children) share control ID 1, so they stay out of
// both the dock state and the size records.
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/afx/frame.h"
#include "platform/afx/msgmap.h"
#include "platform/afx/msgmap_wnd.h"
#include "platform/base/coll_array.h"
#include "toolkit/docking/dock_messages.h"

class CDockState;
class COXSizeControlBar;

// One segment of the packing skyline: its length along the packing edge and how far the
// windows already placed reach in from that edge over it.
class CWndSpaceElt : public CObject {
public:
    CWndSpaceElt(uint16_t span = 0, uint16_t depth = 0) : m_nSpan(span), m_nDepth(depth) {}
    // A value: copies carry the two fields (the object base is not copied).
    CWndSpaceElt(const CWndSpaceElt& other) : CObject(), m_nSpan(other.m_nSpan), m_nDepth(other.m_nDepth) {}
    CWndSpaceElt& operator=(const CWndSpaceElt& other)
    {
        m_nSpan = other.m_nSpan;
        m_nDepth = other.m_nDepth;
        return *this;
    }
    uint16_t m_nSpan;
    uint16_t m_nDepth;
};

namespace zyn::sizedock {

// The dock-bar sides in the order they are made and searched: ID and bar style.
struct Side {
    UINT nID;
    DWORD dwStyle;
};
inline constexpr Side kSides[] = {{0xE81B, 0x2800}, {0xE81E, 0x8200}, {0xE81C, 0x1400}, {0xE81D, 0x4100}};

// The saved sizes of one size bar: seven little-endian int32 (28 bytes).
struct BarSizeRecord {
    static constexpr UINT kBytes = 28;
    static constexpr int32_t kMaxSize = 0x7FFF;   // larger sizes are refused on reading
    CSize sizeFloat;
    CSize sizeHorzDock;
    CSize sizeVertDock;
    BOOL bMDIFloat = FALSE;

    void Encode(BYTE (&out)[kBytes]) const;
    // Empty when the value is not 28 bytes, a size is negative or above kMaxSize, or the
    // flag is neither 0 nor 1.
    static std::optional<BarSizeRecord> Decode(const BYTE* pData, UINT nBytes);
};

// The profile key of a bar's record: "BarSize_" + its control ID in decimal.
CString BarSizeKey(UINT nID);

void EnableDocking(CFrameWnd& frame, DWORD dwDockStyle);
void FloatControlBar(CFrameWnd& frame, CControlBar* pBar, CPoint point, DWORD dwStyle);
void TileDockedBars(CFrameWnd& frame, DWORD dwDockStyle);
// The floating frames of the frame's visible floating bars (each once).
void GetFloatingBars(const CFrameWnd& frame, CObArray& arr);
// Packs the windows of arr in pParent's client area (see ArrangeWindowsPlan).
void ArrangeWindows(CWnd& parent, CObArray& arr, DWORD dwOrient);
void DestroyDynamicBars(CFrameWnd& frame);
void GetDockState(const CFrameWnd& frame, CDockState& state);
// Applies a state; FALSE, with nothing changed, when a record's bar is missing.
BOOL SetDockState(CFrameWnd& frame, const CDockState& state);
// Writes or reads the "BarSize_" records; reading ends with KeepClientRoom.
void SaveBarSizes(CFrameWnd& frame, LPCTSTR lpszSection, BOOL bSave);
// The share of the frame's client area, across and down, that docked size bars may take
// after a layout is loaded: what stored sizes would take beyond it is taken back from
// every docked size bar of those sides in proportion, so that the client (the MDI client,
// the view) never comes back empty.
inline constexpr int kMaxDockedShareNum = 3, kMaxDockedShareDen = 4;
void KeepClientRoom(CFrameWnd& frame);
void SaveSizeBarState(CFrameWnd& frame, LPCTSTR lpszSection);
// FALSE when the section held no layout of this version (it is deleted then) or its dock
// state was refused; the sizes are read in the second case all the same.
BOOL LoadSizeBarState(CFrameWnd& frame, LPCTSTR lpszSection);
// Before the frame's own WM_DESTROY handling: a top-level frame tidies its dynamic bars.
void OnDestroyFrame(CFrameWnd& frame);

// The packing: where each window of `sizes` goes in a client area of `client` (width,
// height), in the input's order; an empty entry for a window left where it is.
// Orientation bits: 0x1|0x4 pack from the left (else the right), 0x1|0x2 from the top
// (else the bottom).
struct Placement {
    bool bMove = false;
    CPoint pt;
};
std::vector<Placement> ArrangeWindowsPlan(CSize client, const std::vector<CSize>& sizes, DWORD dwOrient);

} // namespace zyn::sizedock

template <class TFrame>
class COXSizeDockFrameT : public TFrame {
public:
    void EnableDocking(DWORD dwDockStyle) { zyn::sizedock::EnableDocking(*this, dwDockStyle); }
    void EnableSnapping(BOOL bSnapping = TRUE) { m_bSnapping = bSnapping; }
    BOOL IsSnapping() const { return m_bSnapping; }
    void FloatControlBar(CControlBar* pBar, CPoint point, DWORD dwStyle = 0x2000)
    {
        zyn::sizedock::FloatControlBar(*this, pBar, point, dwStyle);
    }
    void ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL bDelay) { CFrameWnd::ShowControlBar(pBar, bShow, bDelay); }
    void TileDockedBars(DWORD dwDockStyle = 0xF000) { zyn::sizedock::TileDockedBars(*this, dwDockStyle); }
    void GetFloatingBars(CObArray& arr) const { zyn::sizedock::GetFloatingBars(*this, arr); }
    void ArrangeFloatingBars(DWORD dwOrient)
    {
        CObArray arr;
        GetFloatingBars(arr);
        ArrangeWindows(arr, dwOrient);
    }
    void ArrangeWindows(CObArray& arr, DWORD dwOrient) { zyn::sizedock::ArrangeWindows(*this, arr, dwOrient); }
    void DestroyDynamicBars() { zyn::sizedock::DestroyDynamicBars(*this); }
    void SaveSizeBarState(LPCTSTR lpszSection) { zyn::sizedock::SaveSizeBarState(*this, lpszSection); }
    BOOL LoadSizeBarState(LPCTSTR lpszSection) { return zyn::sizedock::LoadSizeBarState(*this, lpszSection); }
    BOOL SetDockState(const CDockState& state) { return zyn::sizedock::SetDockState(*this, state); }
    void GetDockState(CDockState& state) const { zyn::sizedock::GetDockState(*this, state); }

    afx_msg LRESULT OnQuerySnapping(WPARAM, LPARAM) { return m_bSnapping; }
    afx_msg void OnDestroy()
    {
        zyn::sizedock::OnDestroyFrame(*this);
        TFrame::OnDestroy();
    }

protected:
    void SaveBarSizes(LPCTSTR lpszSection, BOOL bSave) { zyn::sizedock::SaveBarSizes(*this, lpszSection, bSave); }

    // Whether a caption drag of a floating frame docks live; off until EnableSnapping.
    BOOL m_bSnapping = FALSE;

    DECLARE_MESSAGE_MAP()
};

BEGIN_TEMPLATE_MESSAGE_MAP(COXSizeDockFrameT, TFrame, TFrame)
    ON_WM_DESTROY()
    ON_MESSAGE(WM_OX_QUERYSNAPPING, &ThisClass::OnQuerySnapping)
END_MESSAGE_MAP()

// The plain frame window hosting size bars.
class COXFrameWndSizeDock : public COXSizeDockFrameT<CFrameWnd> {
    DECLARE_DYNCREATE(COXFrameWndSizeDock)
};

