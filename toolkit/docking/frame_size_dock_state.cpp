// The size-dock frames' saved layout: the dock state and the "BarSize_" records.
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "platform/afx/ctrlbar.h"
#include "platform/afx/dockbar.h"
#include "platform/afx/dockcont.h"
#include "platform/afx/dockstate.h"
#include "platform/afx/winapp.h"
#include "platform/gdi/sysmetrics.h"
#include "platform/gdi/wingdi.h"
#include "platform/suite/utility/logger.h"
#include "platform/user/winpos.h"
#include "platform/user/winuser.h"
#include "toolkit/docking/dock_seams.h"
#include "toolkit/docking/frame_size_dock.h"
#include "toolkit/docking/size_control_bar.h"
#include "toolkit/docking/size_dock_bar.h"
#include "toolkit/menus/mfc_toolbar.h"

namespace zyn::sizedock {

namespace {

inline constexpr DWORD kFlatStyle = 0x0800;   // TBSTYLE_FLAT in a toolbar's window style

std::vector<CControlBar*> Bars(const CFrameWnd& frame)
{
    std::vector<CControlBar*> bars;
    for (POSITION pos = frame.m_listControlBars.GetHeadPosition(); pos;)
        bars.push_back(static_cast<CControlBar*>(frame.m_listControlBars.GetNext(pos)));
    return bars;
}

bool IsViewBar(CControlBar* pBar) { return pBar && OXGetDockingSeam().AsSizeViewBar(pBar) != nullptr; }

void PutInt32(BYTE* p, int32_t v)
{
    const auto u = static_cast<uint32_t>(v);
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<BYTE>(u >> (8 * i));
}

int32_t GetInt32(const BYTE* p)
{
    uint32_t u = 0;
    for (int i = 0; i < 4; ++i)
        u |= static_cast<uint32_t>(p[i]) << (8 * i);
    return static_cast<int32_t>(u);
}

void ClearHiddenBars(CFrameWnd& frame)
{
    for (const Side& side : kSides) {
        CControlBar* pBar = frame.GetControlBar(side.nID);
        if (pBar && pBar->IsKindOf(RUNTIME_CLASS(COXSizeDockBar)))
            static_cast<COXSizeDockBar*>(pBar)->m_arrHiddenBars.RemoveAll();
    }
}

// The bar a dock-state record names, as the class library's restore finds it.
bool RecordFindsBar(CFrameWnd& frame, const CControlBarInfo& info)
{
    if (info.m_bDockBar && info.m_bFloating)
        return true;   // a floating frame is made anew for it
    CControlBar* pBar = frame.GetControlBar(info.m_nBarID);
    if (!pBar || pBar->IsDockBar() != (info.m_bDockBar != 0) || IsViewBar(pBar))
        return false;
    // A floating frame's dock bar is never found by ID.
    return !(pBar->IsDockBar() && static_cast<CDockBar*>(pBar)->m_bFloating);
}

// What the section's "Version" entry holds.
enum class VersionEntry { Ours, Other, Damaged };

// An integer (our 2, or another layout's version), nothing, or something else: text that
// is no number, a value of another type. Only the first two are for this loader to
// judge; a damaged entry may sit beside a layout still worth having.
VersionEntry ReadVersion(CWinApp& app, LPCTSTR lpszSection)
{
    constexpr const wchar_t* kNone = L"\x1";   // no profile text is this
    const UINT v = app.GetProfileInt(lpszSection, L"Version", 0);
    if (v == app.GetProfileInt(lpszSection, L"Version", 1)) {
        // An integer. In an INI file it is text: the text must be the number itself.
        const CString text = app.GetProfileString(lpszSection, L"Version", kNone);
        if (text != kNone && text != std::to_wstring(v).c_str())
            return VersionEntry::Damaged;
        return v == 2 ? VersionEntry::Ours : VersionEntry::Other;
    }
    if (app.GetProfileString(lpszSection, L"Version", kNone) != kNone)
        return VersionEntry::Damaged;
    LPBYTE pRaw = nullptr;
    UINT nBytes = 0;
    if (app.GetProfileBinary(lpszSection, L"Version", &pRaw, &nBytes)) {
        delete[] pRaw;
        return VersionEntry::Damaged;
    }
    return VersionEntry::Other;   // none
}

} // namespace

void BarSizeRecord::Encode(BYTE (&out)[kBytes]) const
{
    const int32_t v[7] = {sizeFloat.cx, sizeFloat.cy, sizeHorzDock.cx, sizeHorzDock.cy, sizeVertDock.cx,
        sizeVertDock.cy, bMDIFloat ? 1 : 0};
    for (int i = 0; i < 7; ++i)
        PutInt32(out + 4 * i, v[i]);
}

std::optional<BarSizeRecord> BarSizeRecord::Decode(const BYTE* pData, UINT nBytes)
{
    if (!pData || nBytes != kBytes)
        return std::nullopt;
    int32_t v[7];
    for (int i = 0; i < 7; ++i)
        v[i] = GetInt32(pData + 4 * i);
    for (int i = 0; i < 6; ++i)
        if (v[i] < 0 || v[i] > kMaxSize)
            return std::nullopt;
    if (v[6] != 0 && v[6] != 1)
        return std::nullopt;
    BarSizeRecord r;
    r.sizeFloat = CSize(v[0], v[1]);
    r.sizeHorzDock = CSize(v[2], v[3]);
    r.sizeVertDock = CSize(v[4], v[5]);
    r.bMDIFloat = v[6];
    return r;
}

CString BarSizeKey(UINT nID) { return CString(L"BarSize_") + std::to_wstring(nID).c_str(); }

void GetDockState(const CFrameWnd& frame, CDockState& state)
{
    state.Clear();
    std::vector<UINT> viewIDs;
    for (CControlBar* pBar : Bars(frame))
        if (IsViewBar(pBar))
            viewIDs.push_back(static_cast<UINT>(pBar->GetDlgCtrlID()));
    auto isViewID = [&](DWORD v) {
        const UINT id = v > 0xFFFF ? v - 0x10000 : v;
        return v != 0 && std::find(viewIDs.begin(), viewIDs.end(), id) != viewIDs.end();
    };
    for (CControlBar* pBar : Bars(frame)) {
        if (!pBar || !pBar->m_hWnd || IsViewBar(pBar))
            continue;   // a docked MDI child is no part of the saved layout
        auto pInfo = std::make_unique<CControlBarInfo>();
        pBar->GetBarInfo(pInfo.get());
        pInfo->m_pBar = nullptr;
        if (pInfo->m_nBarID == 0)
            continue;   // a bar without an ID cannot be found again
        // The dock bars' lists leave the view bars out too (rows left empty go with them).
        if (pInfo->m_bDockBar && !viewIDs.empty()) {
            CDWordArray kept;
            for (INT_PTR i = 0; i < pInfo->m_arrBarID.GetSize(); ++i) {
                const DWORD v = pInfo->m_arrBarID[i];
                if (isViewID(v))
                    continue;
                if (v == 0 && kept.GetSize() > 0 && kept[kept.GetSize() - 1] == 0)
                    continue;
                kept.Add(v);
            }
            pInfo->m_arrBarID.RemoveAll();
            pInfo->m_arrBarID.Append(kept);
        }
        state.m_arrBarInfo.Add(pInfo.release());
    }
}

BOOL SetDockState(CFrameWnd& frame, const CDockState& state)
{
    // Every record must find its bar before anything changes: a layout naming a bar the
    // frame lacks is not applied at all (no floating frame is made for it).
    for (INT_PTR i = 0; i < state.m_arrBarInfo.GetSize(); ++i) {
        const auto* pInfo = static_cast<const CControlBarInfo*>(state.m_arrBarInfo[i]);
        if (pInfo && !RecordFindsBar(frame, *pInfo))
            return FALSE;
    }
    frame.CFrameWnd::SetDockState(state);
    return TRUE;
}

void SaveBarSizes(CFrameWnd& frame, LPCTSTR lpszSection, BOOL bSave)
{
    CWinApp* pApp = AfxGetApp();
    if (!pApp || !lpszSection)
        return;
    COXDockingSeam& seam = OXGetDockingSeam();
    std::vector<COXSizeControlBar*> mdiFloat;
    for (CControlBar* pCtl : Bars(frame)) {
        if (!pCtl || !pCtl->IsKindOf(RUNTIME_CLASS(COXSizeControlBar)) || IsViewBar(pCtl))
            continue;
        auto* pBar = static_cast<COXSizeControlBar*>(pCtl);
        const CString key = BarSizeKey(static_cast<UINT>(pBar->GetDlgCtrlID()));
        if (bSave) {
            BarSizeRecord r{pBar->m_sizeFloat, pBar->m_sizeHorzDock, pBar->m_sizeVertDock, FALSE};
            CFrameWnd* pDocking = pBar->m_hWnd ? pBar->GetDockingFrame() : nullptr;
            r.bMDIFloat = pDocking && seam.AsMDIFloatWnd(pDocking) != nullptr;
            BYTE data[BarSizeRecord::kBytes];
            r.Encode(data);
            pApp->WriteProfileBinary(lpszSection, key, data, BarSizeRecord::kBytes);
            continue;
        }
        LPBYTE pRaw = nullptr;
        UINT nBytes = 0;
        if (!pApp->GetProfileBinary(lpszSection, key, &pRaw, &nBytes))
            continue;
        const std::unique_ptr<BYTE[]> data(pRaw);
        const std::optional<BarSizeRecord> r = BarSizeRecord::Decode(data.get(), nBytes);
        if (!r) {
            // Not a record of ours: the bar keeps its sizes.
            CLogger::LogRefusedProfileValue(lpszSection, key, L"not 28 bytes, or a size or flag out of range");
            continue;
        }
        // No bar is wider or taller than the screen.
        const CSize screen(std::max(::GetSystemMetrics(SM_CXVIRTUALSCREEN), ::GetSystemMetrics(SM_CXSCREEN)),
            std::max(::GetSystemMetrics(SM_CYVIRTUALSCREEN), ::GetSystemMetrics(SM_CYSCREEN)));
        const auto fits = [&screen](CSize s) { return s.cx <= screen.cx && s.cy <= screen.cy; };
        if (!fits(r->sizeFloat) || !fits(r->sizeHorzDock) || !fits(r->sizeVertDock)) {
            CLogger::LogRefusedProfileValue(lpszSection, key, L"a size larger than the screen");
            continue;
        }
        pBar->m_sizeFloat = r->sizeFloat;
        pBar->m_sizeHorzDock = r->sizeHorzDock;
        pBar->m_sizeVertDock = r->sizeVertDock;
        if (!pBar->m_hWnd)
            continue;
        const BOOL bHorz = (pBar->m_dwStyle & (CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM)) != 0;
        const CSize size = pBar->CalcFixedLayout(FALSE, bHorz);
        pBar->SetWindowPos(nullptr, 0, 0, size.cx, size.cy,
            SWP_NOMOVE | SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE);
        if (!pBar->IsFloating())
            continue;
        if (r->bMDIFloat) {
            mdiFloat.push_back(pBar);
        } else {
            ClearHiddenBars(frame);
            if (CFrameWnd* pFloat = pBar->GetDockingFrame())
                pFloat->RecalcLayout(TRUE);
        }
    }
    ClearHiddenBars(frame);
    frame.RecalcLayout(TRUE);
    if (bSave)
        return;
    KeepClientRoom(frame);
    // Only an MDI size-dock frame floats bars as MDI children; elsewhere the bar stays
    // where the dock state put it.
    COXMDIFrameWndSizeDock* pMDI = seam.AsMDIFrameWndSizeDock(&frame);
    if (!pMDI)
        return;
    for (COXSizeControlBar* pBar : mdiFloat) {
        if (!pBar->m_hWnd || !::IsWindow(pBar->m_hWnd))
            continue;
        const CPoint pt = pBar->m_pDockContext ? pBar->m_pDockContext->m_ptMRUFloatPos : CPoint(0, 0);
        seam.FloatControlBarInMDIChild(pMDI, pBar, pt, CBRS_ALIGN_TOP, (pBar->GetStyle() & WS_VISIBLE) != 0);
    }
}

void KeepClientRoom(CFrameWnd& frame)
{
    if (!frame.m_hWnd)
        return;
    for (const bool bAcross : {true, false}) {
        // Rounds: a size larger than the frame counts only as the frame, and splitters and
        // borders do not shrink with the bars, so one proportional step may not be enough.
        for (int round = 0; round < 16; ++round) {
            CRect client, room;
            frame.GetClientRect(&client);
            frame.RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, CWnd::reposQuery, &room, nullptr, TRUE);
            const int64_t total = bAcross ? client.Width() : client.Height();
            const int64_t left = std::max<int64_t>(0, bAcross ? room.Width() : room.Height());
            const int64_t want = total - total * kMaxDockedShareNum / kMaxDockedShareDen;
            if (total <= 0 || left >= want)
                break;
            // The room the two sides of this direction take, and their size bars.
            const DWORD sides = bAcross ? (CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT) : (CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM);
            int64_t taken = 0;
            for (const Side& side : kSides) {
                CControlBar* pDock = (side.dwStyle & sides) ? frame.GetControlBar(side.nID) : nullptr;
                if (pDock && pDock->m_hWnd && pDock->IsWindowVisible()) {
                    CRect r;
                    pDock->GetWindowRect(&r);
                    taken += bAcross ? r.Width() : r.Height();
                }
            }
            std::vector<COXSizeControlBar*> docked;
            for (CControlBar* pCtl : Bars(frame)) {
                if (!pCtl || !pCtl->m_hWnd || !pCtl->IsKindOf(RUNTIME_CLASS(COXSizeControlBar)) || IsViewBar(pCtl) ||
                    !pCtl->m_pDockBar || pCtl->m_pDockBar->m_bFloating || !(pCtl->m_pDockBar->m_dwStyle & sides))
                    continue;
                docked.push_back(static_cast<COXSizeControlBar*>(pCtl));
            }
            if (docked.empty() || taken <= 0)
                break;
            const int64_t target = std::max<int64_t>(0, taken - (want - left));
            for (COXSizeControlBar* pBar : docked) {
                LONG& v = bAcross ? pBar->m_sizeVertDock.cx : pBar->m_sizeHorzDock.cy;
                v = static_cast<LONG>(std::max<int64_t>(1, std::min<int64_t>(v, total) * target / taken));
            }
            ClearHiddenBars(frame);
            frame.RecalcLayout(TRUE);
        }
    }
}

void SaveSizeBarState(CFrameWnd& frame, LPCTSTR lpszSection)
{
    CWinApp* pApp = AfxGetApp();
    if (!pApp || !lpszSection)
        return;
    DestroyDynamicBars(frame);
    CDockState state;
    GetDockState(frame, state);
    state.SaveState(lpszSection);
    SaveBarSizes(frame, lpszSection, TRUE);
    pApp->WriteProfileInt(lpszSection, L"Version", 2);
}

BOOL LoadSizeBarState(CFrameWnd& frame, LPCTSTR lpszSection)
{
    CWinApp* pApp = AfxGetApp();
    if (!pApp || !lpszSection || !frame.m_hWnd)
        return FALSE;
    switch (ReadVersion(*pApp, lpszSection)) {
    case VersionEntry::Ours:
        break;
    case VersionEntry::Other:
        // A layout of another version (or none) is not ours to read.
        pApp->WriteProfileString(lpszSection, nullptr, nullptr);
        return FALSE;
    case VersionEntry::Damaged:
        // Refused, but what is stored stays: the frame keeps its default layout.
        CLogger::LogRefusedProfileValue(lpszSection, L"Version", L"the layout's version is not a number");
        return FALSE;
    }
    frame.RecalcLayout(TRUE);
    frame.Invalidate();
    frame.UpdateWindow();
    CDockState state;
    BOOL bApplied = state.LoadState(lpszSection);
    if (!bApplied && !state.GetRefusedSection().IsEmpty())
        CLogger::LogRefusedProfileValue(state.GetRefusedSection(), state.GetRefusedEntry(),
            L"the bar layout is damaged; the bars keep their places");
    if (bApplied) {
        // The restore must not take a flat toolbar's flat style away.
        std::vector<CControlBar*> flat;
        for (INT_PTR i = 0; i < state.m_arrBarInfo.GetSize(); ++i) {
            const auto* pInfo = static_cast<const CControlBarInfo*>(state.m_arrBarInfo[i]);
            CControlBar* pBar = pInfo ? frame.GetControlBar(pInfo->m_nBarID) : nullptr;
            if (pBar && pBar->m_hWnd && pBar->IsKindOf(RUNTIME_CLASS(CMFCToolBar)) && (pBar->GetStyle() & kFlatStyle)) {
                flat.push_back(pBar);
                pBar->ModifyStyle(kFlatStyle, 0);
            }
        }
        bApplied = SetDockState(frame, state);
        if (!bApplied)
            CLogger::LogRefusedProfileValue(CString(lpszSection) + L"-Summary", L"",
                L"the bar layout names a bar the frame no longer has; the bars keep their places");
        for (CControlBar* pBar : flat)
            if (::IsWindow(pBar->m_hWnd))
                pBar->ModifyStyle(0, kFlatStyle);
    }
    SaveBarSizes(frame, lpszSection, FALSE);
    ClearHiddenBars(frame);
    frame.RecalcLayout(TRUE);
    if (frame.IsWindowVisible()) {
        frame.Invalidate();
        frame.UpdateWindow();
    }
    return bApplied;
}

} // namespace zyn::sizedock
