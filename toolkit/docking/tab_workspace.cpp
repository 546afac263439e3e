// COXTabWorkspace: the tabs of the MDI children, their refresh, clicks and drags.
#include "toolkit/docking/tab_client.h"

#include <algorithm>
#include <cstdint>
#include <cwchar>
#include <span>
#include <string_view>
#include <typeinfo>
#include <utility>
#include <vector>

#include "platform/afx/gdi/font.h"
#include "platform/afx/window_dc.h"
#include "platform/gdi/sysmetrics.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/messages.h"
#include "platform/user/msgqueue.h"
#include "platform/user/window.h"

IMPLEMENT_DYNAMIC(COXTabWorkspace, COXSkinnedTabCtrl)

BEGIN_MESSAGE_MAP(COXTabWorkspace, COXSkinnedTabCtrl)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_TIMER()
    ON_NOTIFY_REFLECT_EX(TCN_SELCHANGE, &COXTabWorkspace::OnSelChange)
    ON_WM_LBUTTONDBLCLK()
    ON_WM_NCCALCSIZE()
    ON_WM_NCPAINT()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

namespace {

// The text the tab control is given: every "&" doubled, so the title shows literally.
CString Literal(std::wstring_view title)
{
    CString out;
    for (const wchar_t c : title) {
        out += c;
        if (c == L'&')
            out += L'&';
    }
    return out;
}

std::wstring_view View(const CString& s) { return {s.GetString(), static_cast<size_t>(s.GetLength())}; }

// What COXTabWorkspace::GetTextForTabItem gives for `child` (`object`: its permanent window
// object on this thread, or null), without a copy on the heap where it can be helped: the
// object's own answer where it is, or a window text that fits `buf` where it was read into
// it; only a text that may have been cut is read whole, into `spill`. Valid until the
// child is next sent a message.
std::wstring_view ReadTabText(const CWnd* child, CWnd* object, std::span<wchar_t> buf, CString& spill)
{
    // Only a window object of this thread can answer with a pointer that is meaningful
    // here; the answer is used before anything else can free it.
    if (object) {
        const auto answer = reinterpret_cast<LPCTSTR>(object->SendMessage(COXTabWorkspace::kGetTabText, 0, 0));
        if (answer && *answer)
            return answer;
    }
    // Titles are short: one WM_GETTEXT into a buffer on the stack reads almost every one,
    // and only a text that may have been cut is read again at its full length.
    const int got = ::GetWindowTextW(child->m_hWnd, buf.data(), static_cast<int>(buf.size()));
    if (got >= 0 && got < static_cast<int>(buf.size()) - 1)
        return {buf.data(), static_cast<size_t>(got)};
    child->GetWindowText(spill);
    return View(spill);
}

CString ClassNameOf(HWND hWnd)
{
    // Read for every child at every refresh: the buffer is left unfilled, only the length
    // the call reports is taken.
    wchar_t name[513];
    const int got = ::GetClassNameW(hWnd, name, 512);
    return got > 0 ? CString(name, std::min(got, 512)) : CString();
}

// Whether `hWnd`'s class name (read as ClassNameOf reads it) is `name`. Asked for every
// child at every refresh: the name is compared where it was read, without a copy on the
// heap, and a differing length settles it without comparing the characters.
bool HasClassName(HWND hWnd, const CString& name)
{
    wchar_t read[513];
    const int got = std::min(::GetClassNameW(hWnd, read, 512), 512);
    if (got <= 0)
        return name.IsEmpty();
    return name.GetLength() == got && std::wmemcmp(static_cast<LPCWSTR>(name), read, static_cast<size_t>(got)) == 0;
}

} // namespace

COXTabWorkspace::COXTabWorkspace() = default;

COXTabWorkspace::~COXTabWorkspace()
{
    if (m_hWnd)
        DestroyWindow();
}

CMDIFrameWnd* COXTabWorkspace::Frame() const
{
    return m_pTabClientWnd ? m_pTabClientWnd->GetParentFrame() : nullptr;
}

void COXTabWorkspace::RecalcFrame() const
{
    CMDIFrameWnd* frame = Frame();
    if (frame && ::IsWindow(frame->m_hWnd))
        frame->RecalcLayout(TRUE);
}

int COXTabWorkspace::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (COXSkinnedTabCtrl::OnCreate(lpCreateStruct) == -1)
        return -1;
    if (!SetTimer(kRefreshTimer, kRefreshPeriod))
        return -1;
    if (!m_imageList.Create(::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON),
            ILC_MASK | ILC_COLOR8, 4, 4)) {
        KillTimer(kRefreshTimer);
        return -1;
    }
    SetFont(CFont::FromHandle(static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT))));
    SetImageList(&m_imageList);
    m_dropTarget.Register(this);
    return 0;
}

void COXTabWorkspace::OnDestroy()
{
    COXSkinnedTabCtrl::OnDestroy();
    m_imageList.DeleteImageList();
    KillTimer(kRefreshTimer);
    m_arrImage.clear();
    m_arrTab.clear();
}

void COXTabWorkspace::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent == kRefreshTimer)
        UpdateContents(TRUE, FALSE);
    else
        COXSkinnedTabCtrl::OnTimer(nIDEvent);
}

CString COXTabWorkspace::GetTextForTabItem(const CWnd* pChildWnd) const
{
    wchar_t buf[256];
    CString spill;
    const std::wstring_view text = ReadTabText(pChildWnd, CWnd::FromHandlePermanent(pChildWnd->m_hWnd), buf, spill);
    return text.data() == spill.GetString() ? spill : CString(text);
}

void COXTabWorkspace::UpdateContents(BOOL bAddNewWindows, BOOL bUpdateWindowsInfo)
{
    CMDIFrameWnd* frame = Frame();
    if (!frame || !m_hWnd)
        return;
    // The active child by handle: a child without a window object of the class library
    // still gets its tab.
    const auto active = reinterpret_cast<HWND>(::SendMessageW(frame->m_hWndMDIClient, WM_MDIGETACTIVE, 0, 0));
    int position = GetTabItemCount();
    int select = -1;
    // The tabs by handle, made once a refresh rather than scanning the list for every
    // child. A child answering the text question may change the tabs meanwhile, so the map
    // is made again when the list's length changed, a hit is checked against the list, and
    // a miss (rare: most children have their tab) is settled by the full search.
    // The map is an open-addressed table (one allocation, at most half full) of (handle,
    // item), placed by a multiplicative hash of the handle, so a look-up is about one
    // probe; the first item of a handle is entered first and wins.
    struct Mapped {
        HWND handle = nullptr;
        int item = -1;
    };
    std::vector<Mapped> byHandle;
    size_t mappedCount = SIZE_MAX;
    int shift = 60; // set with the table, before any look-up
    const auto home = [&shift](HWND h) {
        return static_cast<size_t>((static_cast<uint64_t>(reinterpret_cast<uintptr_t>(h)) * 0x9E3779B97F4A7C15ull) >> shift);
    };
    const auto lookUp = [&](HWND child) {
        if (mappedCount != m_arrTab.size()) {
            int bits = 4;
            while ((size_t{1} << bits) < 2 * m_arrTab.size())
                ++bits;
            shift = 64 - bits;
            const size_t mask = (size_t{1} << bits) - 1;
            byHandle.assign(mask + 1, Mapped{});
            for (size_t i = 0; i < m_arrTab.size(); ++i) {
                const HWND h = m_arrTab[i].hWnd;
                if (!h)
                    continue;
                size_t at = home(h);
                while (byHandle[at].handle && byHandle[at].handle != h)
                    at = (at + 1) & mask;
                if (!byHandle[at].handle)
                    byHandle[at] = Mapped{h, static_cast<int>(i)};
            }
            mappedCount = m_arrTab.size();
        }
        const size_t mask = byHandle.size() - 1;
        for (size_t at = home(child); byHandle[at].handle; at = (at + 1) & mask) {
            if (byHandle[at].handle != child)
                continue;
            const int item = byHandle[at].item;
            if (static_cast<size_t>(item) < m_arrTab.size()) {
                const TAB_ITEM_ENTRY& entry = m_arrTab[static_cast<size_t>(item)];
                if (entry.hWnd == child && HasClassName(child, entry.csClassName))
                    return item;
            }
            break;
        }
        return FindTabItem(child);
    };
    // The workspace's own tab text is read without building a string for each child: a
    // title that did not change is compared where it was read. A derived class's
    // GetTextForTabItem is asked as it is.
    const bool ownText = typeid(*this) == typeid(COXTabWorkspace);
    CString spill; // a text too long for the stack buffer, or a derived class's answer
    // Each change to the tabs would paint them at once (a new child's tab is inserted and
    // then selected): they are painted once, when the refresh is done.
    const bool batch = IsWindowVisible();
    bool changed = false;
    if (batch)
        SetRedraw(FALSE);
    const HWND first = active ? ::GetWindow(active, GW_HWNDFIRST) : nullptr;
    for (HWND child = first; child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        // Nearly every child has a window object: one look-up finds it, and only a child
        // without one gets a temporary object.
        CWnd* object = CWnd::FromHandlePermanent(child);
        CWnd* wnd = object ? object : CWnd::FromHandle(child);
        wchar_t buf[256];
        std::wstring_view text;
        if (ownText) {
            text = ReadTabText(wnd, object, buf, spill);
        } else {
            spill = GetTextForTabItem(wnd);
            text = View(spill);
        }
        const int tab = lookUp(child);
        if (tab >= 0 && (::GetWindowLongW(child, GWL_STYLE) & WS_VISIBLE)) {
            if (child == active)
                select = tab;
            TAB_ITEM_ENTRY& entry = m_arrTab[static_cast<size_t>(tab)];
            if (text != View(entry.csTitle)) {
                entry.csTitle = CString(text);
                CString shown = Literal(text);
                TCITEM item{};
                item.mask = TCIF_TEXT;
                item.pszText = shown.GetBuffer();
                SetItem(tab, &item);
                shown.ReleaseBuffer();
                changed = true;
            }
            if (bUpdateWindowsInfo) {
                const HICON icon = GetWindowIcon(child);
                const int image = icon ? AddTabItemIcon(icon) : -1;
                TCITEM item{};
                item.mask = TCIF_IMAGE;
                if (GetItem(tab, &item) && item.iImage != image) {
                    item.iImage = image;
                    SetItem(tab, &item);
                    changed = true;
                }
            }
        } else if (tab >= 0) {
            DeleteItem(tab);
            m_arrTab.erase(m_arrTab.begin() + tab);
            --position;
            if (select > tab)
                --select;
            changed = true;
        } else if (bAddNewWindows) {
            const int before = select;
            if (select >= position)
                ++select;
            // A child that gets no tab (hidden, or no MDI child) changes nothing, so a
            // refresh with a hidden child lays nothing out.
            if (InsertTabItem(position, wnd, FALSE, TRUE)) {
                if (child == active)
                    select = position;
                changed = true;
            } else {
                select = before;
            }
        }
    }
    if (select >= 0 && select != GetCurSel()) {
        SetCurSel(select);
        changed = true;
    }
    if (batch) {
        SetRedraw(TRUE);
        if (changed)
            RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    }
    // The frame is laid out again only when that would place the MDI client elsewhere:
    // a tab more or less in the same rows, or another tab selected, moves nothing.
    if (m_pTabClientWnd->m_bForceToRecalc || (changed && m_pTabClientWnd->LayoutInputsChanged()))
        RecalcFrame();
    m_pTabClientWnd->m_bForceToRecalc = FALSE;
}

void COXTabWorkspace::SetOffset(DWORD dwOffset, BOOL bRecalc)
{
    m_dwOffset = dwOffset;
    if (!m_hWnd)
        return;
    SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    if (bRecalc)
        RecalcFrame();
}

int COXTabWorkspace::FindTabItem(HWND hWnd) const
{
    if (!hWnd)
        return -1;
    // The class is read only for an item with the same handle: a refresh looks up every
    // child, and most lookups of a long list are misses.
    for (size_t i = 0; i < m_arrTab.size(); ++i) {
        if (m_arrTab[i].hWnd == hWnd && HasClassName(hWnd, m_arrTab[i].csClassName))
            return static_cast<int>(i);
    }
    return -1;
}

CWnd* COXTabWorkspace::GetTabChild(int nIndex) const
{
    if (nIndex < 0 || nIndex >= GetTabItemCount())
        return nullptr;
    const HWND child = m_arrTab[static_cast<size_t>(nIndex)].hWnd;
    return ::IsWindow(child) ? CWnd::FromHandle(child) : nullptr;
}

BOOL COXTabWorkspace::AddTabItem(const CWnd* pChildWnd, BOOL bRedraw, BOOL bOnlyVisible)
{
    return InsertTabItem(GetTabItemCount(), pChildWnd, bRedraw, bOnlyVisible);
}

BOOL COXTabWorkspace::InsertTabItem(int nIndex, const CWnd* pChildWnd, BOOL bRedraw, BOOL bOnlyVisible)
{
    if (!m_hWnd || !pChildWnd || !::IsWindow(pChildWnd->m_hWnd) || nIndex < 0 || nIndex > GetTabItemCount())
        return FALSE;
    const HWND child = pChildWnd->m_hWnd;
    if (!(::GetWindowLongW(child, GWL_EXSTYLE) & WS_EX_MDICHILD))
        return FALSE;
    if (bOnlyVisible && !(::GetWindowLongW(child, GWL_STYLE) & WS_VISIBLE))
        return FALSE;
    const CString className = ClassNameOf(child);
    const HICON icon = GetWindowIcon(child);
    const int image = icon ? AddTabItemIcon(icon) : -1;
    const CString title = GetTextForTabItem(pChildWnd);
    if (InsertItem(TCIF_TEXT | TCIF_IMAGE, nIndex, Literal(View(title)), image, 0) != nIndex)
        return FALSE;
    if (m_arrTab.empty() && bRedraw)
        Invalidate();
    TAB_ITEM_ENTRY entry;
    entry.csTitle = title;
    entry.csClassName = className;
    entry.hWnd = child;
    m_arrTab.insert(m_arrTab.begin() + nIndex, entry);
    if (bRedraw && m_pTabClientWnd && m_pTabClientWnd->LayoutInputsChanged())
        RecalcFrame();
    return TRUE;
}

BOOL COXTabWorkspace::RemoveTabItem(const CWnd* pChildWnd, BOOL bRedraw)
{
    const int tab = FindTabItem(pChildWnd);
    if (tab < 0)
        return FALSE;
    DeleteItem(tab);
    m_arrTab.erase(m_arrTab.begin() + tab);
    if (bRedraw && m_pTabClientWnd && m_pTabClientWnd->LayoutInputsChanged())
        RecalcFrame();
    return TRUE;
}

HICON COXTabWorkspace::GetWindowIcon(HWND hWnd)
{
    if (auto icon = reinterpret_cast<HICON>(::SendMessageW(hWnd, WM_GETICON, ICON_SMALL, 0)))
        return icon;
    if (auto icon = reinterpret_cast<HICON>(::GetClassLongPtrW(hWnd, GCLP_HICONSM)))
        return icon;
    if (auto icon = reinterpret_cast<HICON>(::SendMessageW(hWnd, WM_GETICON, ICON_BIG, 0)))
        return icon;
    return reinterpret_cast<HICON>(::GetClassLongPtrW(hWnd, GCLP_HICON));
}

int COXTabWorkspace::AddTabItemIcon(HICON hIcon)
{
    const auto found = std::find(m_arrImage.begin(), m_arrImage.end(), hIcon);
    if (found != m_arrImage.end())
        return static_cast<int>(found - m_arrImage.begin());
    if (m_imageList.Add(hIcon) < 0)
        return -1;
    m_arrImage.push_back(hIcon);
    return static_cast<int>(m_arrImage.size()) - 1;
}

void COXTabWorkspace::ActivateTabChild(int nIndex)
{
    CWnd* child = GetTabChild(nIndex);
    CMDIFrameWnd* frame = Frame();
    if (!child || !frame || !::IsWindow(child->m_hWnd))
        return;
    ::SendMessageW(frame->m_hWndMDIClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(child->m_hWnd), 0);
}

BOOL COXTabWorkspace::OnSelChange(NMHDR* /*pNotifyStruct*/, LRESULT* pResult)
{
    const int tab = GetCurSel();
    if (GetTabChild(tab)) {
        ActivateTabChild(tab);
        if (m_pTabClientWnd->LayoutInputsChanged())
            RecalcFrame();
    }
    *pResult = 0;
    return FALSE;
}

void COXTabWorkspace::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    COXSkinnedTabCtrl::OnLButtonDblClk(nFlags, point);
    CWnd* child = GetTabChild(GetCurSel());
    CMDIFrameWnd* frame = Frame();
    if (!child || !frame || !::IsWindow(child->m_hWnd))
        return;
    BOOL maximized = FALSE;
    CMDIChildWnd* active = frame->MDIGetActive(&maximized);
    const bool restore = active && active->m_hWnd == child->m_hWnd && maximized;
    ::SendMessageW(frame->m_hWndMDIClient, restore ? WM_MDIRESTORE : WM_MDIMAXIMIZE,
        reinterpret_cast<WPARAM>(child->m_hWnd), 0);
}

void COXTabWorkspace::OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp)
{
    COXSkinnedTabCtrl::OnNcCalcSize(bCalcValidRects, lpncsp);
    InsetClientArea(lpncsp, static_cast<int>(m_dwOffset));
}

void COXTabWorkspace::OnNcPaint()
{
    CWindowDC dc(this);
    CRect window, client;
    GetWindowRect(&window);
    GetClientRect(&client);
    ClientToScreen(&client);
    client.OffsetRect(-window.left, -window.top);
    window.OffsetRect(-window.left, -window.top);
    dc.ExcludeClipRect(&client);
    SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()));
    GetTabSkin()->DrawMDITabBorder(&dc, &window, this);
}

BOOL COXTabWorkspace::OnEraseBkgnd(CDC* pDC)
{
    CRect rect;
    GetWindowRect(&rect);
    ScreenToClient(&rect);
    const int offset = static_cast<int>(m_dwOffset);
    rect.right += offset;
    rect.bottom += offset;
    pDC->FillSolidRect(&rect, ::GetSysColor(COLOR_BTNFACE));
    return TRUE;
}

// ---- drag over tabs -------------------------------------------------------------------------------------

DROPEFFECT COXTabWorkspaceDropTarget::OnDragOver(CWnd* pWnd, COleDataObject* /*pDataObject*/, DWORD /*dwKeyState*/,
    CPoint point)
{
    auto* workspace = DYNAMIC_DOWNCAST(COXTabWorkspace, pWnd);
    if (!workspace || !workspace->IsAcceptingDraggedObject())
        return DROPEFFECT_NONE;
    TCHITTESTINFO hit{};
    hit.pt = point;
    const int tab = workspace->HitTest(&hit);
    if (tab >= 0 && tab != m_nLastTab) {
        workspace->ActivateTabChild(tab);
        m_nLastTab = tab;
    }
    return DROPEFFECT_NONE;
}

void COXTabWorkspaceDropTarget::OnDragLeave(CWnd* /*pWnd*/) { m_nLastTab = -1; }
