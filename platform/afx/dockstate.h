#pragma once
// CDockState: the layout of a frame's control bars as records (one CControlBarInfo per
// bar, dock bars included), taken by CFrameWnd::GetDockState, applied by SetDockState,
// and kept in the application profile by SaveState/LoadState.
//
// The profile layout is our own (documented in docs/architecture.md): a summary section
// "<name>-Summary" with the number of bars ("Bars") and the screen size when it was saved
// ("ScreenCX", "ScreenCY"), and one section per bar "<name>-Bar<n>", n from 0, with one
// integer value per field. A dock bar's list is "Bars" followed by "Bar#<i>" entries:
// 0 ends a row, an ID below 0x10000 is a bar docked there and 0x10000 + ID a placeholder.
//
// LoadState reads the whole state before it keeps any of it: a missing summary or
// section, a count above the caps (kMaxBars records, kMaxBarIDs list entries), a bar ID
// outside 1..0xFFFF, a list entry that is neither a row end, a bar nor a placeholder, a
// rectangle turned inside out or a coordinate beyond kMaxCoord, or a style with bits
// outside CBRS_ALL refuses the state whole: it is left empty and FALSE is returned.
#include "platform/afx/gdi/geometry.h"
#include "platform/base/coll_array.h"
#include "platform/base/object.h"
#include "platform/base/wintypes.h"

class CControlBar;

class CControlBarInfo {
public:
    CControlBarInfo() = default;

    UINT m_nBarID = 0;          // the bar's control ID
    BOOL m_bVisible = FALSE;
    BOOL m_bFloating = FALSE;   // a floating dock bar
    BOOL m_bHorz = FALSE;       // laid out horizontally
    BOOL m_bDockBar = FALSE;    // a dock bar (m_arrBarID is its list)
    CPoint m_pointPos{-1, -1};  // the window's place: dock bar client coordinates, or the screen for a floating frame
    int m_nMRUWidth = 32767;
    BOOL m_bDocking = FALSE;    // the bar has a dock context (the MRU fields below count)
    UINT m_uMRUDockID = 0;
    CRect m_rectMRUDockPos;
    DWORD m_dwMRUFloatStyle = 0;
    CPoint m_ptMRUFloatPos{-1, -1};
    CDWordArray m_arrBarID;     // a dock bar's list: 0 row end, ID, 0x10000 + ID placeholder
    CControlBar* m_pBar = nullptr;   // the bar the record is being applied to (not saved)

    // Writes the record into section lpszSection (through the application profile).
    BOOL SaveState(LPCTSTR lpszSection) const;
    // Reads and checks the record; FALSE when any value is missing or out of range, with
    // *pRefusedEntry (when given) naming the first entry that was.
    BOOL LoadState(LPCTSTR lpszSection, CString* pRefusedEntry = nullptr);
};

class CDockState : public CObject {
    DECLARE_DYNAMIC(CDockState)
public:
    CDockState() = default;
    ~CDockState() override;
    CDockState(const CDockState&) = delete;
    CDockState& operator=(const CDockState&) = delete;

    static constexpr int kMaxBars = 512;
    static constexpr int kMaxBarIDs = 4096;
    static constexpr int kMaxCoord = 0x8000;

    // Writes the records under lpszProfileName; sections of an earlier, longer state are
    // deleted. FALSE when there is no application object or a write failed.
    BOOL SaveState(LPCTSTR lpszProfileName) const;
    // Replaces the records by those under lpszProfileName; see above.
    BOOL LoadState(LPCTSTR lpszProfileName);
    void Clear();
    // The screen size recorded with the state (0 before a load or a save).
    CSize GetScreenSize() const { return m_sizeScreen; }
    // After a refused LoadState: the section and entry that were missing or out of range
    // (empty after a load that took).
    const CString& GetRefusedSection() const { return m_strRefusedSection; }
    const CString& GetRefusedEntry() const { return m_strRefusedEntry; }

    CPtrArray m_arrBarInfo;     // CControlBarInfo*, owned

private:
    mutable CSize m_sizeScreen;
    CString m_strRefusedSection;
    CString m_strRefusedEntry;
};
