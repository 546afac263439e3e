// COX3DTabViewContainer: pages, the active page, the page rectangle and the margins.
#include "toolkit/docking/tab_view_container.h"

#include <algorithm>
#include <cwctype>

#include "platform/afx/afxpriv.h"
#include "platform/afx/doc.h"
#include "platform/afx/frame.h"
#include "platform/afx/gdi/font.h"
#include "platform/afx/view.h"
#include "platform/afx/window_dc.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/input.h"
#include "platform/user/messages.h"
#include "platform/user/msgqueue.h"
#include "platform/user/window.h"

IMPLEMENT_DYNAMIC(COX3DTabViewContainer, COXSkinnedTabCtrl)

BEGIN_MESSAGE_MAP(COX3DTabViewContainer, COXSkinnedTabCtrl)
    ON_WM_CREATE()
    ON_NOTIFY_REFLECT_EX(TCN_SELCHANGE, &COX3DTabViewContainer::OnSelChange)
    ON_WM_NCCALCSIZE()
    ON_WM_NCPAINT()
    ON_WM_SIZE()
    ON_WM_ERASEBKGND()
    ON_WM_DESTROY()
    ON_WM_SETFOCUS()
END_MESSAGE_MAP()

namespace {

constexpr DWORD kViewStyle = 0x50008242; // child, visible, focus never, multi-line, hot track, bottom

bool SameClassName(LPCTSTR a, LPCTSTR b)
{
    if (!a || !b)
        return false;
    for (; *a && *b; ++a, ++b)
        if (std::towlower(*a) != std::towlower(*b))
            return false;
    return *a == *b;
}

// Objects that delete themselves when their window goes.
bool DeletesItself(const CObject* object)
{
    return object->IsKindOf(RUNTIME_CLASS(CView)) || object->IsKindOf(RUNTIME_CLASS(CFrameWnd));
}

} // namespace

COX3DTabViewContainer::COX3DTabViewContainer() = default;

COX3DTabViewContainer::~COX3DTabViewContainer()
{
    if (m_hWnd)
        DestroyWindow();
    for (CWnd* page : m_ownedPages)
        delete page;
}

BOOL COX3DTabViewContainer::Create(CWnd* pParentWnd, CRect rect, DWORD dwStyle, UINT nID)
{
    if (!CTabCtrl::Create(dwStyle, rect, pParentWnd, nID))
        return FALSE;
    FinishCreate();
    return TRUE;
}

void COX3DTabViewContainer::FinishCreate()
{
    SetFont(CFont::FromHandle(static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT))));
    // Without OLE on this thread there is no drag over the tabs; the control works otherwise.
    m_dropTarget.Register(this);
}

BOOL COX3DTabViewContainer::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
    CWnd* pParentWnd, UINT nID, CCreateContext* pContext)
{
    if (SameClassName(lpszClassName, WC_TABCONTROLW)) {
        if (!COXSkinnedTabCtrl::Create(lpszClassName, lpszWindowName, dwStyle, rect, pParentWnd, nID, pContext))
            return FALSE;
        FinishCreate();
        return TRUE;
    }
    // Made as a view by a frame: the view style, then the name it was given.
    if (!Create(pParentWnd, CRect(rect), kViewStyle, nID))
        return FALSE;
    SetWindowText(lpszWindowName ? lpszWindowName : L"");
    return TRUE;
}

int COX3DTabViewContainer::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (COXSkinnedTabCtrl::OnCreate(lpCreateStruct) == -1)
        return -1;
    ModifyStyleEx(0, WS_EX_CONTROLPARENT);
    return 0;
}

// ---- pages ----------------------------------------------------------------------------------------------

BOOL COX3DTabViewContainer::AddPage(CRuntimeClass* pClass, CCreateContext* pContext, LPCTSTR lpszTitle, int nImage,
    DWORD dwExStyle, BOOL bActivate)
{
    return InsertPage(GetPageCount(), pClass, pContext, lpszTitle, nImage, dwExStyle, bActivate);
}

BOOL COX3DTabViewContainer::AddPage(CWnd* pWnd, LPCTSTR lpszTitle, int nImage, DWORD dwExStyle, BOOL bActivate)
{
    return InsertPage(GetPageCount(), pWnd, lpszTitle, nImage, dwExStyle, bActivate);
}

BOOL COX3DTabViewContainer::AddPage(CWnd* pWnd, UINT nTitleID, int nImage, DWORD dwExStyle, BOOL bActivate)
{
    CString title;
    if (!title.LoadString(nTitleID))
        return FALSE;
    return AddPage(pWnd, title, nImage, dwExStyle, bActivate);
}

BOOL COX3DTabViewContainer::InsertPage(int nIndex, CWnd* pWnd, LPCTSTR lpszTitle, int nImage, DWORD dwExStyle,
    BOOL bActivate)
{
    if (nIndex < 0 || nIndex > GetPageCount() || !pWnd || !::IsWindow(pWnd->m_hWnd) || !m_hWnd)
        return FALSE;
    pWnd->SetParent(this);
    const LONG inserted = InsertItem(TCIF_TEXT | TCIF_IMAGE | TCIF_PARAM, nIndex, lpszTitle ? lpszTitle : L"",
        nImage, reinterpret_cast<LPARAM>(pWnd->m_hWnd));
    if (inserted != nIndex) {
        if (inserted >= 0)
            DeleteItem(inserted);
        return FALSE;
    }
    if (nIndex <= m_nActivePageIndex)
        ++m_nActivePageIndex;
    if (dwExStyle)
        pWnd->ModifyStyleEx(0, dwExStyle);
    pWnd->ModifyStyle(0, WS_TABSTOP);
    if (bActivate)
        SetActivePageIndex(nIndex);
    else if (nIndex != m_nActivePageIndex)
        pWnd->ShowWindow(SW_HIDE);
    return TRUE;
}

BOOL COX3DTabViewContainer::InsertPage(int nIndex, CRuntimeClass* pClass, CCreateContext* pContext,
    LPCTSTR lpszTitle, int nImage, DWORD dwExStyle, BOOL bActivate)
{
    if (nIndex < 0 || nIndex > GetPageCount() || !pClass || !m_hWnd)
        return FALSE;
    CCreateContext context;
    if (!pContext) {
        if (auto* view = DYNAMIC_DOWNCAST(CView, GetActivePage())) {
            context.m_pCurrentDoc = view->GetDocument();
            if (context.m_pCurrentDoc)
                context.m_pNewDocTemplate = context.m_pCurrentDoc->GetDocTemplate();
            context.m_pLastView = view;
        }
        pContext = &context;
    }
    CObject* object = pClass->CreateObject();
    if (!object)
        return FALSE;
    if (!object->IsKindOf(RUNTIME_CLASS(CWnd))) {
        delete object;
        return FALSE;
    }
    auto* page = static_cast<CWnd*>(object);
    const bool selfDeleting = DeletesItself(page);
    const DWORD id = GetUniqueId();
    if (!page->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), this, id, pContext)) {
        // A failed creation has already run PostNcDestroy: a view is gone, anything else is
        // freed here. Either way the ID is free again.
        if (!selfDeleting)
            delete page;
        ReleaseId(id);
        return FALSE;
    }
    if (!selfDeleting)
        m_ownedPages.push_back(page);
    if (!InsertPage(nIndex, page, lpszTitle, nImage, dwExStyle, bActivate)) {
        ReleaseId(id);
        page->DestroyWindow();
        if (!selfDeleting) {
            m_ownedPages.pop_back();
            delete page;
        }
        return FALSE;
    }
    if (page->IsKindOf(RUNTIME_CLASS(CView)))
        page->SendMessage(WM_INITIALUPDATE);
    return TRUE;
}

BOOL COX3DTabViewContainer::DeletePage(int nIndex, BOOL bDestroy)
{
    const int count = GetPageCount();
    if (nIndex < 0 || nIndex >= count)
        return FALSE;
    int activated = -1;
    if (nIndex == m_nActivePageIndex) {
        activated = count == 1 ? -1 : (nIndex == count - 1 ? 0 : nIndex + 1);
        if (activated >= 0) {
            SetActivePageIndex(activated);
        } else {
            if (CWnd* only = GetPage(nIndex); only && ::IsWindow(only->m_hWnd))
                only->ShowWindow(SW_HIDE);
            m_nActivePageIndex = -1;
        }
    }
    const HWND page = PageHandle(nIndex);
    if (bDestroy && ::IsWindow(page)) {
        ReleaseId(static_cast<DWORD>(::GetDlgCtrlID(page)));
        const auto owned = std::find_if(
            m_ownedPages.begin(), m_ownedPages.end(), [page](const CWnd* p) { return p->m_hWnd == page; });
        if (owned != m_ownedPages.end()) {
            CWnd* object = *owned;
            m_ownedPages.erase(owned);
            object->DestroyWindow();
            delete object;
        } else {
            ::DestroyWindow(page);
        }
    }
    DeleteItem(nIndex);
    if (activated >= 0)
        m_nActivePageIndex = std::max(activated - (activated > nIndex ? 1 : 0), 0);
    else if (nIndex < m_nActivePageIndex)
        --m_nActivePageIndex;
    if (m_nActivePageIndex >= 0 && GetCurSel() != m_nActivePageIndex)
        SetCurSel(m_nActivePageIndex);
    return TRUE;
}

BOOL COX3DTabViewContainer::DeletePage(const CWnd* pWnd, BOOL bDestroy)
{
    int index = -1;
    return FindPage(pWnd, index) && DeletePage(index, bDestroy);
}

HWND COX3DTabViewContainer::PageHandle(int nIndex) const
{
    if (!m_hWnd || nIndex < 0 || nIndex >= GetItemCount())
        return nullptr;
    TCITEM item{};
    item.mask = TCIF_PARAM;
    if (!GetItem(nIndex, &item))
        return nullptr;
    return reinterpret_cast<HWND>(item.lParam);
}

CWnd* COX3DTabViewContainer::GetPage(int nIndex) const
{
    const HWND page = PageHandle(nIndex);
    return ::IsWindow(page) ? CWnd::FromHandle(page) : nullptr;
}

CString COX3DTabViewContainer::GetPageTitle(int nIndex) const
{
    if (!m_hWnd || nIndex < 0 || nIndex >= GetItemCount())
        return CString();
    wchar_t text[1025] = {};
    TCITEM item{};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = 1024;
    return GetItem(nIndex, &item) ? CString(text) : CString();
}

CString COX3DTabViewContainer::GetPageTitle(const CWnd* pWnd) const
{
    int index = -1;
    return FindPage(pWnd, index) ? GetPageTitle(index) : CString();
}

BOOL COX3DTabViewContainer::SetPageTitle(int nIndex, LPCTSTR lpszTitle)
{
    if (!m_hWnd || nIndex < 0 || nIndex >= GetItemCount())
        return FALSE;
    TCITEM item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<LPTSTR>(lpszTitle ? lpszTitle : L"");
    return SetItem(nIndex, &item);
}

BOOL COX3DTabViewContainer::SetPageTitle(const CWnd* pWnd, LPCTSTR lpszTitle)
{
    int index = -1;
    return FindPage(pWnd, index) && SetPageTitle(index, lpszTitle);
}

int COX3DTabViewContainer::GetPageImageIndex(int nIndex) const
{
    if (!m_hWnd || nIndex < 0 || nIndex >= GetItemCount())
        return -1;
    TCITEM item{};
    item.mask = TCIF_IMAGE;
    return GetItem(nIndex, &item) ? item.iImage : -1;
}

int COX3DTabViewContainer::GetPageImageIndex(const CWnd* pWnd) const
{
    int index = -1;
    return FindPage(pWnd, index) ? GetPageImageIndex(index) : -1;
}

BOOL COX3DTabViewContainer::SetPageImageIndex(int nIndex, int nImage)
{
    if (!m_hWnd || nIndex < 0 || nIndex >= GetItemCount())
        return FALSE;
    TCITEM item{};
    item.mask = TCIF_IMAGE;
    item.iImage = nImage;
    return SetItem(nIndex, &item);
}

BOOL COX3DTabViewContainer::SetPageImageIndex(const CWnd* pWnd, int nImage)
{
    int index = -1;
    return FindPage(pWnd, index) && SetPageImageIndex(index, nImage);
}

BOOL COX3DTabViewContainer::FindPage(const CWnd* pWnd, int& nIndex) const
{
    return pWnd && FindPage(pWnd->m_hWnd, nIndex);
}

BOOL COX3DTabViewContainer::FindPage(HWND hWnd, int& nIndex) const
{
    if (!hWnd)
        return FALSE;
    for (int i = 0; i < GetPageCount(); ++i) {
        if (PageHandle(i) == hWnd) {
            nIndex = i;
            return TRUE;
        }
    }
    return FALSE;
}

BOOL COX3DTabViewContainer::IsPage(HWND hWnd) const
{
    int index = -1;
    return FindPage(hWnd, index);
}

BOOL COX3DTabViewContainer::IsPage(const CWnd* pWnd) const { return pWnd && IsPage(pWnd->m_hWnd); }

BOOL COX3DTabViewContainer::IsActivePage(HWND hWnd) const
{
    int index = -1;
    return FindPage(hWnd, index) && index == m_nActivePageIndex;
}

BOOL COX3DTabViewContainer::IsActivePage(const CWnd* pWnd) const { return pWnd && IsActivePage(pWnd->m_hWnd); }

// ---- the active page ------------------------------------------------------------------------------------

BOOL COX3DTabViewContainer::SetActivePageIndex(int nIndex)
{
    if (nIndex == m_nActivePageIndex)
        return TRUE;
    if (nIndex < 0 || nIndex >= GetPageCount())
        return FALSE;
    CWnd* oldPage = GetActivePage();
    if (oldPage && ::IsWindow(oldPage->m_hWnd))
        oldPage->ShowWindow(SW_HIDE);
    m_nActivePageIndex = nIndex;
    SetCurSel(nIndex);
    CWnd* page = GetPage(nIndex);
    if (!page || !::IsWindow(page->m_hWnd))
        return TRUE;
    UpdatePages();
    page->ShowWindow(SW_SHOW);

    const HWND focus = ::GetFocus();
    const bool focusInside = focus && (focus == m_hWnd || ::IsChild(m_hWnd, focus));
    auto* frame = DYNAMIC_DOWNCAST(CFrameWnd, GetParent());
    if (!frame) {
        if (focusInside)
            page->SetFocus();
    } else if (auto* view = DYNAMIC_DOWNCAST(CView, page)) {
        frame->SetActiveView(view);
    } else {
        if (oldPage && oldPage->IsKindOf(RUNTIME_CLASS(CView)))
            frame->SetActiveView(nullptr);
        if (focusInside)
            page->SetFocus();
    }
    page->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    return TRUE;
}

BOOL COX3DTabViewContainer::SetActivePage(const CWnd* pWnd)
{
    int index = -1;
    return FindPage(pWnd, index) && SetActivePageIndex(index);
}

DWORD COX3DTabViewContainer::GetUniqueId()
{
    if (m_arrUniqueIDs.size() > 1) {
        const DWORD id = m_arrUniqueIDs.back();
        m_arrUniqueIDs.pop_back();
        return id;
    }
    return m_arrUniqueIDs.front()++;
}

void COX3DTabViewContainer::ReleaseId(DWORD id)
{
    if (id != 0 && std::find(m_arrUniqueIDs.begin() + 1, m_arrUniqueIDs.end(), id) == m_arrUniqueIDs.end() &&
        id < m_arrUniqueIDs.front())
        m_arrUniqueIDs.push_back(id);
}

// ---- geometry -------------------------------------------------------------------------------------------

void COX3DTabViewContainer::SetOffsetExternal(DWORD dwOffset)
{
    m_dwOffsetExternal = dwOffset;
    if (m_hWnd) {
        SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
        UpdatePages();
    }
}

void COX3DTabViewContainer::SetOffsetInternal(DWORD dwOffset)
{
    m_dwOffsetInternal = dwOffset;
    if (m_hWnd) {
        SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
        UpdatePages();
    }
}

void COX3DTabViewContainer::UpdatePages()
{
    CWnd* page = GetActivePage();
    if (!page || !::IsWindow(page->m_hWnd))
        return;
    RecalcPageRect();
    page->MoveWindow(m_rectPage, TRUE);
}

int COX3DTabViewContainer::RealTabCount() const
{
    return GetItemCount() - (m_bHasPlaceholderTab ? 1 : 0);
}

void COX3DTabViewContainer::RecalcPageRect()
{
    CRect rect;
    GetWindowRect(&rect);
    ScreenToClient(&rect);
    const int offset = static_cast<int>(m_dwOffsetExternal);
    rect.DeflateRect(offset, offset);
    CRect client;
    GetClientRect(&client);
    if (rect.Width() <= 0 || rect.Height() <= 0)
        rect = client;
    auto adjust = [&] {
        AdjustRect(FALSE, &rect);
        const int inner = static_cast<int>(m_dwOffsetInternal);
        rect.DeflateRect(inner, inner);
    };
    if (!rect.IsRectEmpty()) {
        const int count = GetItemCount();
        CRect last;
        if (count > 0)
            GetItemRect(count - 1, &last);
        if (RealTabCount() == 1) {
            CRect first;
            GetItemRect(0, &first);
            if (first.Width() + 50 < rect.Width()) {
                if (m_bHasPlaceholderTab) {
                    m_bHasPlaceholderTab = FALSE;
                    DeleteItem(count - 1);
                }
                adjust();
            } else if (!m_bHasPlaceholderTab) {
                m_bHasPlaceholderTab = TRUE;
                InsertItem(TCIF_TEXT, count, L"", -1, 0);
            } else {
                adjust();
            }
        } else {
            adjust();
        }
    }
    m_rectPage = CRect(rect.left + 1, rect.top + 1, rect.right - 1, rect.bottom - 2);
    GetTabSkin()->AdjustChildItemRect(&m_rectPage, 4, this);
}

// ---- messages -------------------------------------------------------------------------------------------

BOOL COX3DTabViewContainer::OnSelChange(NMHDR* /*pNotifyStruct*/, LRESULT* pResult)
{
    SetActivePageIndex(GetCurSel());
    *pResult = 0;
    return FALSE;
}

void COX3DTabViewContainer::OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp)
{
    COXSkinnedTabCtrl::OnNcCalcSize(bCalcValidRects, lpncsp);
    InsetClientArea(lpncsp, static_cast<int>(m_dwOffsetExternal));
}

void COX3DTabViewContainer::OnNcPaint()
{
    CWindowDC dc(this);
    CRect window, client;
    GetWindowRect(&window);
    GetClientRect(&client);
    ClientToScreen(&client);
    client.OffsetRect(-window.left, -window.top);
    window.OffsetRect(-window.left, -window.top);
    dc.ExcludeClipRect(&client);
    m_bPaintingNonClient = TRUE;
    SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()));
    m_bPaintingNonClient = FALSE;
    if (GetExStyle() & WS_EX_CLIENTEDGE)
        dc.Draw3dRect(&window, ::GetSysColor(COLOR_BTNSHADOW), ::GetSysColor(COLOR_BTNHIGHLIGHT));
}

void COX3DTabViewContainer::OnSize(UINT nType, int cx, int cy)
{
    COXSkinnedTabCtrl::OnSize(nType, cx, cy);
    if (nType != SIZE_MINIMIZED && cx >= 1 && cy >= 1)
        UpdatePages();
}

BOOL COX3DTabViewContainer::OnEraseBkgnd(CDC* pDC)
{
    CRect rect;
    GetWindowRect(&rect);
    ScreenToClient(&rect);
    const int offset = static_cast<int>(m_dwOffsetExternal);
    rect.right += offset;
    rect.bottom += offset;
    const int saved = pDC->SaveDC();
    if (GetItemCount() > 0 && !m_bPaintingNonClient)
        pDC->ExcludeClipRect(&m_rectPage);
    pDC->FillSolidRect(&rect, ::GetSysColor(COLOR_BTNFACE));
    pDC->RestoreDC(saved);
    return TRUE;
}

void COX3DTabViewContainer::OnDestroy()
{
    for (int i = GetPageCount() - 1; i >= 0; --i)
        DeletePage(i, TRUE);
    m_bHasPlaceholderTab = FALSE;
    COXSkinnedTabCtrl::OnDestroy();
}

void COX3DTabViewContainer::OnSetFocus(CWnd* pOldWnd)
{
    COXSkinnedTabCtrl::OnSetFocus(pOldWnd);
    CWnd* page = GetActivePage();
    if (page && ::IsWindow(page->m_hWnd))
        page->SetFocus();
}

// ---- drag over tabs -------------------------------------------------------------------------------------

DROPEFFECT COX3DTabViewDropTarget::OnDragOver(CWnd* pWnd, COleDataObject* /*pDataObject*/, DWORD /*dwKeyState*/,
    CPoint point)
{
    auto* container = DYNAMIC_DOWNCAST(COX3DTabViewContainer, pWnd);
    if (!container || !container->IsAcceptingDraggedObject())
        return DROPEFFECT_NONE;
    TCHITTESTINFO hit{};
    hit.pt = point;
    const int tab = container->HitTest(&hit);
    if (tab >= 0 && tab != m_nLastTab) {
        // A tab without a page (the placeholder) activates nothing.
        if (container->GetPage(tab))
            container->SetActivePageIndex(tab);
        m_nLastTab = tab;
    }
    return DROPEFFECT_NONE;
}

void COX3DTabViewDropTarget::OnDragLeave(CWnd* /*pWnd*/) { m_nLastTab = -1; }
