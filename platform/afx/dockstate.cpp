// CDockState and CControlBarInfo: bar records in the application profile, read whole
// and checked before any of it is kept.
#include "platform/afx/dockstate.h"

#include <climits>
#include <memory>

#include "platform/afx/ctrlbar.h"
#include "platform/afx/winapp.h"
#include "platform/base/cstring.h"
#include "platform/base/lasterror.h"
#include "platform/gdi/sysmetrics.h"
#include "platform/gdi/wingdi.h"

IMPLEMENT_DYNAMIC(CDockState, CObject)

namespace {

constexpr int kMissing = INT_MIN;   // no value of the profile can stand for it

CString BarSection(LPCTSTR lpszProfileName, int n)
{
    CString s;
    s.Format(L"%s-Bar%d", lpszProfileName, n);
    return s;
}

CString SummarySection(LPCTSTR lpszProfileName)
{
    CString s;
    s.Format(L"%s-Summary", lpszProfileName);
    return s;
}

// Reads one integer value; nullopt-like kMissing when absent.
int ReadInt(CWinApp* pApp, LPCTSTR lpszSection, LPCTSTR lpszEntry)
{
    return static_cast<int>(pApp->GetProfileInt(lpszSection, lpszEntry, kMissing));
}

bool InRange(int v, int lo, int hi) { return v != kMissing && v >= lo && v <= hi; }
bool IsBool(int v) { return v == 0 || v == 1; }
bool IsCoord(int v) { return InRange(v, -CDockState::kMaxCoord, CDockState::kMaxCoord); }
bool IsSideID(int v) { return v >= 0xE81B && v <= 0xE81E; }

// A list entry: 0 ends a row, 1..0xFFFF a bar, 0x10001..0x1FFFF a placeholder.
bool IsListEntry(int v) { return InRange(v, 0, 0xFFFF) || InRange(v, 0x10001, 0x1FFFF); }

} // namespace

// ---- CControlBarInfo ------------------------------------------------------------------------------------------------

BOOL CControlBarInfo::SaveState(LPCTSTR lpszSection) const
{
    CWinApp* pApp = AfxGetApp();
    if (!pApp || !lpszSection) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    pApp->WriteProfileString(lpszSection, nullptr, nullptr);   // a fresh section (none there: nothing to do)
    BOOL ok = TRUE;
    auto put = [&](LPCTSTR entry, int value) { ok = pApp->WriteProfileInt(lpszSection, entry, value) && ok; };
    put(L"BarID", static_cast<int>(m_nBarID));
    put(L"Visible", m_bVisible ? 1 : 0);
    put(L"Horz", m_bHorz ? 1 : 0);
    put(L"Floating", m_bFloating ? 1 : 0);
    put(L"DockBar", m_bDockBar ? 1 : 0);
    put(L"XPos", m_pointPos.x);
    put(L"YPos", m_pointPos.y);
    put(L"MRUWidth", m_nMRUWidth);
    put(L"Docking", m_bDocking ? 1 : 0);
    if (m_bDocking) {
        put(L"MRUDockID", static_cast<int>(m_uMRUDockID));
        put(L"MRUDockLeftPos", m_rectMRUDockPos.left);
        put(L"MRUDockTopPos", m_rectMRUDockPos.top);
        put(L"MRUDockRightPos", m_rectMRUDockPos.right);
        put(L"MRUDockBottomPos", m_rectMRUDockPos.bottom);
        put(L"MRUFloatStyle", static_cast<int>(m_dwMRUFloatStyle));
        put(L"MRUFloatXPos", m_ptMRUFloatPos.x);
        put(L"MRUFloatYPos", m_ptMRUFloatPos.y);
    }
    if (m_bDockBar) {
        put(L"Bars", static_cast<int>(m_arrBarID.GetSize()));
        for (INT_PTR i = 0; i < m_arrBarID.GetSize(); ++i) {
            CString entry;
            entry.Format(L"Bar#%d", static_cast<int>(i));
            put(entry, static_cast<int>(m_arrBarID[i]));
        }
    }
    return ok;
}

BOOL CControlBarInfo::LoadState(LPCTSTR lpszSection, CString* pRefusedEntry)
{
    CWinApp* pApp = AfxGetApp();
    if (!pApp || !lpszSection) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    auto get = [&](LPCTSTR entry) { return ReadInt(pApp, lpszSection, entry); };
    const int nBarID = get(L"BarID");
    const int bVisible = get(L"Visible"), bHorz = get(L"Horz"), bFloating = get(L"Floating");
    const int bDockBar = get(L"DockBar"), bDocking = get(L"Docking");
    const int x = get(L"XPos"), y = get(L"YPos"), nMRUWidth = get(L"MRUWidth");
    // The first entry found wrong is the one named.
    LPCTSTR refused = nullptr;
    auto check = [&refused](bool ok, LPCTSTR entry) {
        if (!ok && !refused)
            refused = entry;
    };
    auto refuse = [&] {
        if (pRefusedEntry)
            *pRefusedEntry = refused ? refused : L"";
        ::SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    };
    check(InRange(nBarID, 1, 0xFFFF), L"BarID");
    check(IsBool(bVisible), L"Visible");
    check(IsBool(bHorz), L"Horz");
    check(IsBool(bFloating), L"Floating");
    check(IsBool(bDockBar), L"DockBar");
    check(IsBool(bDocking), L"Docking");
    check(IsCoord(x), L"XPos");
    check(IsCoord(y), L"YPos");
    check(InRange(nMRUWidth, 0, 32767), L"MRUWidth");
    if (refused)
        return refuse();
    // Only a dock bar floats (it stands for its frame), and dock bars have their IDs.
    check(!(bFloating && (!bDockBar || nBarID != 0xE81F)), L"Floating");
    check(!(bDockBar && !bFloating && !IsSideID(nBarID)), L"BarID");
    if (refused)
        return refuse();
    CRect rectMRU;
    CPoint ptMRUFloat(-1, -1);
    int nMRUDockID = 0, dwMRUFloatStyle = 0;
    if (bDocking) {
        nMRUDockID = get(L"MRUDockID");
        rectMRU = CRect(get(L"MRUDockLeftPos"), get(L"MRUDockTopPos"), get(L"MRUDockRightPos"), get(L"MRUDockBottomPos"));
        dwMRUFloatStyle = get(L"MRUFloatStyle");
        ptMRUFloat = CPoint(get(L"MRUFloatXPos"), get(L"MRUFloatYPos"));
        check(nMRUDockID == 0 || IsSideID(nMRUDockID), L"MRUDockID");
        check(IsCoord(rectMRU.left), L"MRUDockLeftPos");
        check(IsCoord(rectMRU.top), L"MRUDockTopPos");
        check(IsCoord(rectMRU.right) && rectMRU.left <= rectMRU.right, L"MRUDockRightPos");
        check(IsCoord(rectMRU.bottom) && rectMRU.top <= rectMRU.bottom, L"MRUDockBottomPos");
        check(dwMRUFloatStyle != kMissing && (static_cast<DWORD>(dwMRUFloatStyle) & ~CBRS_ALL) == 0,
            L"MRUFloatStyle");
        check(IsCoord(ptMRUFloat.x), L"MRUFloatXPos");
        check(IsCoord(ptMRUFloat.y), L"MRUFloatYPos");
        if (refused)
            return refuse();
    }
    CDWordArray arrBarID;
    if (bDockBar) {
        const int nBars = get(L"Bars");
        check(InRange(nBars, 0, CDockState::kMaxBarIDs), L"Bars");
        if (refused)
            return refuse();
        arrBarID.SetSize(nBars);
        for (int i = 0; i < nBars; ++i) {
            CString entry;
            entry.Format(L"Bar#%d", i);
            const int v = get(entry);
            if (!IsListEntry(v)) {
                if (pRefusedEntry)
                    *pRefusedEntry = entry;
                ::SetLastError(ERROR_INVALID_DATA);
                return FALSE;
            }
            arrBarID[i] = static_cast<DWORD>(v);
        }
    }
    m_nBarID = static_cast<UINT>(nBarID);
    m_bVisible = bVisible;
    m_bHorz = bHorz;
    m_bFloating = bFloating;
    m_bDockBar = bDockBar;
    m_pointPos = CPoint(x, y);
    m_nMRUWidth = nMRUWidth;
    m_bDocking = bDocking;
    m_uMRUDockID = static_cast<UINT>(nMRUDockID);
    m_rectMRUDockPos = rectMRU;
    m_dwMRUFloatStyle = static_cast<DWORD>(dwMRUFloatStyle);
    m_ptMRUFloatPos = ptMRUFloat;
    m_arrBarID.Copy(arrBarID);
    m_pBar = nullptr;
    return TRUE;
}

// ---- CDockState -------------------------------------------------------------------------------------------------------

CDockState::~CDockState() { Clear(); }

void CDockState::Clear()
{
    for (INT_PTR i = 0; i < m_arrBarInfo.GetSize(); ++i)
        delete static_cast<CControlBarInfo*>(m_arrBarInfo[i]);
    m_arrBarInfo.RemoveAll();
}

BOOL CDockState::SaveState(LPCTSTR lpszProfileName) const
{
    CWinApp* pApp = AfxGetApp();
    if (!pApp || !lpszProfileName || !*lpszProfileName) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const CString summary = SummarySection(lpszProfileName);
    const int nOld = ReadInt(pApp, summary, L"Bars");
    const int nBars = static_cast<int>(m_arrBarInfo.GetSize());
    BOOL ok = TRUE;
    for (int i = 0; i < nBars; ++i) {
        const auto* pInfo = static_cast<const CControlBarInfo*>(m_arrBarInfo[i]);
        ok = pInfo->SaveState(BarSection(lpszProfileName, i)) && ok;
    }
    // Sections of an earlier, longer state go.
    if (InRange(nOld, 0, kMaxBars)) {
        for (int i = nBars; i < nOld; ++i)
            pApp->WriteProfileString(BarSection(lpszProfileName, i), nullptr, nullptr);
    }
    m_sizeScreen = CSize(::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
    ok = pApp->WriteProfileInt(summary, L"Bars", nBars) && ok;
    ok = pApp->WriteProfileInt(summary, L"ScreenCX", m_sizeScreen.cx) && ok;
    ok = pApp->WriteProfileInt(summary, L"ScreenCY", m_sizeScreen.cy) && ok;
    return ok;
}

BOOL CDockState::LoadState(LPCTSTR lpszProfileName)
{
    Clear();
    m_sizeScreen = CSize(0, 0);
    m_strRefusedSection.Empty();
    m_strRefusedEntry.Empty();
    CWinApp* pApp = AfxGetApp();
    if (!pApp || !lpszProfileName || !*lpszProfileName) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const CString summary = SummarySection(lpszProfileName);
    const int nBars = ReadInt(pApp, summary, L"Bars");
    const int cx = ReadInt(pApp, summary, L"ScreenCX"), cy = ReadInt(pApp, summary, L"ScreenCY");
    if (!InRange(nBars, 0, kMaxBars) || !InRange(cx, 0, 65535) || !InRange(cy, 0, 65535)) {
        if (nBars != kMissing)   // no summary at all is no saved state, not a damaged one
            m_strRefusedSection = summary;
        if (nBars != kMissing)
            m_strRefusedEntry = !InRange(nBars, 0, kMaxBars) ? L"Bars" : !InRange(cx, 0, 65535) ? L"ScreenCX" : L"ScreenCY";
        ::SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    CPtrArray loaded;
    auto drop = [&] {
        for (INT_PTR i = 0; i < loaded.GetSize(); ++i)
            delete static_cast<CControlBarInfo*>(loaded[i]);
    };
    for (int i = 0; i < nBars; ++i) {
        auto pInfo = std::make_unique<CControlBarInfo>();
        if (!pInfo->LoadState(BarSection(lpszProfileName, i), &m_strRefusedEntry)) {
            m_strRefusedSection = BarSection(lpszProfileName, i);
            drop();
            ::SetLastError(ERROR_INVALID_DATA);
            return FALSE;
        }
        loaded.Add(pInfo.release());
    }
    m_arrBarInfo.Copy(loaded);
    m_sizeScreen = CSize(cx, cy);
    return TRUE;
}
