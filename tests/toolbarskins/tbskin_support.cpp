#include "tests/toolbarskins/tbskin_support.h"

#include "tests/toolbarskins/tbskin_bars_ids.h"

#include <cstdio>

#include "platform/afx/afxstate.h"
#include "platform/afx/gdi/bitmap.h"
#include "platform/afx/msgmap_wnd.h"
#include "platform/afx/window_dc.h"
#include "platform/base/clock.h"
#include "platform/gdi/gdi_object.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/driver.h"
#include "platform/user/input.h"
#include "platform/user/modal.h"
#include "platform/user/winuser.h"

namespace tbtest {

COLORREF Lerp(COLORREF from, COLORREF to, int i, int n)
{
    const auto channel = [&](int a, int b) { return a + (b - a) * i / n; };
    return RGB(channel(GetRValue(from), GetRValue(to)), channel(GetGValue(from), GetGValue(to)),
        channel(GetBValue(from), GetBValue(to)));
}

std::string Hex(COLORREF c)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%06X", static_cast<unsigned>(c));
    return buf;
}

// ---- the parent --------------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CParentWnd, CWnd)
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

BOOL CParentWnd::CreateParent(const RECT& screenRect)
{
    const LPCTSTR cls = AfxRegisterWndClass(0);
    return CreateEx(0, cls, L"parent", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, screenRect.left, screenRect.top,
        screenRect.right - screenRect.left, screenRect.bottom - screenRect.top, nullptr, nullptr);
}

BOOL CParentWnd::OnEraseBkgnd(CDC* pDC)
{
    CRect rect;
    GetClientRect(&rect);
    pDC->FillSolidRect(&rect, kTeal);
    return TRUE;
}

// ---- the bar -------------------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CSkinTestBar, COXCoolToolBar)
    ON_NOTIFY_REFLECT_EX(NM_CUSTOMDRAW, &CSkinTestBar::OnSkinCustomDraw)
    ON_WM_ERASEBKGND()
    ON_WM_PAINT()
    ON_WM_NCPAINT()
    ON_WM_NCCALCSIZE()
END_MESSAGE_MAP()

HIMAGELIST MakeImages(int shift)
{
    constexpr COLORREF mask = RGB(255, 0, 255);
    HIMAGELIST list = ImageList_Create(kImageCx, kImageCy, ILC_COLOR24 | ILC_MASK, 4, 0);
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    CBitmap strip;
    strip.CreateCompatibleBitmap(nullptr, 4 * kImageCx, kImageCy);
    {
        CBitmap* old = dc.SelectObject(&strip);
        dc.FillSolidRect(0, 0, 4 * kImageCx, kImageCy, mask);
        for (int i = 0; i < 4; ++i)
            dc.FillSolidRect(i * kImageCx + kSquareLeft, kSquareTop, kSquareCx, kSquareCy, kImageColours[(i + shift) % 4]);
        dc.SelectObject(old);
    }
    ImageList_AddMasked(list, static_cast<HBITMAP>(strip.GetSafeHandle()), mask);
    return list;
}

BOOL CSkinTestBar::Make(CWnd* parent, const CRect& rect, DWORD ctrlStyle, DWORD barStyle, UINT id)
{
    // The class library's creation, not the cool toolbar's: the test decides every style.
    if (!CToolBar::CreateEx(parent, ctrlStyle, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, CRect(0, 0, 0, 0), id))
        return FALSE;
    m_dwStyle = (m_dwStyle & ~CBRS_ALL) | barStyle;
    m_bDelayedButtonLayout = FALSE;
    images = MakeImages();
    Send(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
    Send(TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
    // The control's natural button for a 16 x 15 image: 16 + 7 + 1 by 15 + 6 + 1.
    Send(TB_SETBITMAPSIZE, 0, MAKELPARAM(kImageCx, kImageCy));
    Send(TB_SETBUTTONSIZE, 0, MAKELPARAM(24, 22));
    SetWindowPos(nullptr, rect.left, rect.top, rect.Width(), rect.Height(), SWP_NOZORDER | SWP_FRAMECHANGED);
    return TRUE;
}

void CSkinTestBar::Add(const std::vector<TBBUTTON>& buttons)
{
    Send(TB_ADDBUTTONSW, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
    m_bDelayedButtonLayout = FALSE;
}

TBBUTTON CSkinTestBar::Button(int command, int image, BYTE style, BYTE state)
{
    TBBUTTON b{};
    b.iBitmap = image;
    b.idCommand = command;
    b.fsStyle = style;
    b.fsState = state;
    b.iString = -1;
    return b;
}

TBBUTTON CSkinTestBar::Separator(int width)
{
    TBBUTTON b{};
    b.iBitmap = width;
    b.fsStyle = BTNS_SEP;
    b.fsState = TBSTATE_ENABLED;
    b.iString = -1;
    return b;
}

void CSkinTestBar::SetText(int command, const wchar_t* text)
{
    TBBUTTONINFOW info{};
    info.cbSize = sizeof(info);
    info.dwMask = TBIF_TEXT;
    info.pszText = const_cast<LPWSTR>(text);
    Send(TB_SETBUTTONINFOW, static_cast<WPARAM>(command), reinterpret_cast<LPARAM>(&info));
}

CRect CSkinTestBar::Item(int index) const
{
    CRect r(0, 0, 0, 0);
    ::SendMessageW(m_hWnd, TB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
    return r;
}

CRect CSkinTestBar::ClientInWindow() const
{
    CRect window, client;
    GetWindowRect(&window);
    GetClientRect(&client);
    ClientToScreen(&client);
    client.OffsetRect(-window.left, -window.top);
    return client;
}

void CSkinTestBar::Repaint()
{
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
}

void CSkinTestBar::MarkCustomButton(int position, bool on)
{
    if (on)
        m_mapCustomButtons[position] = OXCUSTOMBUTTONDESCRIPTOR{};
    else
        m_mapCustomButtons.erase(position);
}

void CSkinTestBar::DrawSeparator(CDC& dc, CRect& rect)
{
    if (skin)
        skin->DrawSeparator(&dc, &rect, this);
}

void CSkinTestBar::DrawCustomizedButton(CDC& dc, CRect& rect)
{
    if (skin)
        skin->DrawCustomizedButton(&dc, &rect, this);
}

CSkinTestBar::~CSkinTestBar() { DestroyWindow(); }

BOOL CSkinTestBar::DestroyWindow()
{
    // The test's stand-in custom buttons have no windows to take down.
    m_mapCustomButtons.clear();
    const BOOL done = m_hWnd ? COXCoolToolBar::DestroyWindow() : FALSE;
    for (HIMAGELIST* list : {&images, &hotImages, &disabledImages}) {
        if (*list)
            ImageList_Destroy(*list);
        *list = nullptr;
    }
    return done;
}

BOOL CSkinTestBar::OnSkinCustomDraw(NMHDR* pNMHDR, LRESULT* pResult)
{
    ++customDrawCalls;
    if (skin)
        skin->OnCustomDraw(pNMHDR, pResult, this);
    lastAnswer = *pResult;
    return TRUE;
}

BOOL CSkinTestBar::OnEraseBkgnd(CDC* pDC)
{
    if (skin && !skin->CallOnEraseBkgnd())
        return FALSE;
    return static_cast<BOOL>(Default());
}

void CSkinTestBar::OnPaint() { Default(); }

void CSkinTestBar::OnNcPaint()
{
    if (!skin)
        return;
    CWindowDC dc(this);
    CRect window;
    GetWindowRect(&window);
    window.OffsetRect(-window.left, -window.top);
    const CRect client = ClientInWindow();
    dc.ExcludeClipRect(&client);
    skin->DrawNonClientArea(&dc, &window, this);
    skin->DrawGripper(&dc, &window, this);
}

void CSkinTestBar::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS* lpncsp)
{
    if (!lpncsp)
        return;
    // 10 pixels on the left (room for the gripper), 3 on the other sides.
    RECT& rc = lpncsp->rgrc[0];
    rc.left += 10;
    rc.top += 3;
    rc.right -= 3;
    rc.bottom -= 3;
}

// ---- the dialog bar -----------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CSkinTestDialogBar, CDialogBar)
    ON_WM_ERASEBKGND()
    ON_WM_NCCALCSIZE()
    ON_WM_NCPAINT()
END_MESSAGE_MAP()

BOOL CSkinTestDialogBar::Make(CWnd* parent, const CRect& rect, DWORD barStyle)
{
    if (!Create(parent, IDD_TBSKIN_BAR, WS_CHILD | WS_VISIBLE | barStyle, 200))
        return FALSE;
    m_dwStyle = barStyle;
    SetWindowPos(nullptr, rect.left, rect.top, rect.Width(), rect.Height(), SWP_NOZORDER | SWP_FRAMECHANGED);
    return TRUE;
}

void CSkinTestDialogBar::DoPaint(CDC* pDC)
{
    if (!skin)
        return;
    skin->DrawBackground(pDC, this);
    CRect client;
    GetClientRect(&client);
    skin->DrawGripper(pDC, &client, this);
}

void CSkinTestDialogBar::Repaint()
{
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

CRect CSkinTestDialogBar::ClientInWindow() const
{
    CRect window, client;
    GetWindowRect(&window);
    GetClientRect(&client);
    ClientToScreen(&client);
    client.OffsetRect(-window.left, -window.top);
    return client;
}

BOOL CSkinTestDialogBar::OnEraseBkgnd(CDC* pDC)
{
    if (skin && !skin->CallOnEraseBkgnd())
        return FALSE;
    ++erased;
    return CDialogBar::OnEraseBkgnd(pDC);
}

void CSkinTestDialogBar::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS* lpncsp)
{
    RECT& rc = lpncsp->rgrc[0];
    rc.left += 10;
    rc.top += 3;
    rc.right -= 3;
    rc.bottom -= 3;
}

void CSkinTestDialogBar::OnNcPaint()
{
    if (!skin)
        return;
    CWindowDC dc(this);
    CRect window;
    GetWindowRect(&window);
    window.OffsetRect(-window.left, -window.top);
    const CRect client = ClientInWindow();
    dc.ExcludeClipRect(&client);
    skin->DrawNonClientArea(&dc, &window, this);
}

// ---- drawing surfaces and notifications ---------------------------------------------------------------

Sentinel::Sentinel(int cx, int cy, COLORREF fill)
    : m_cx(cx)
    , m_cy(cy)
    , m_fill(fill)
    , m_bitmap(std::make_unique<CBitmap>())
{
    m_dc.CreateCompatibleDC(nullptr);
    m_bitmap->CreateCompatibleBitmap(nullptr, cx, cy);
    m_old = m_dc.SelectObject(m_bitmap.get());
    m_dc.FillSolidRect(0, 0, cx, cy, fill);
}

Sentinel::~Sentinel() { m_dc.SelectObject(m_old); }

int Sentinel::Untouched() const { return Count(m_fill); }

int Sentinel::Count(COLORREF colour) const
{
    int n = 0;
    for (int y = 0; y < m_cy; ++y)
        for (int x = 0; x < m_cx; ++x)
            n += at(x, y) == colour;
    return n;
}

NMTBCUSTOMDRAW Notification(const CSkinTestBar& bar, HDC hdc, DWORD stage)
{
    NMTBCUSTOMDRAW cd{};
    cd.nmcd.hdr.hwndFrom = bar.m_hWnd;
    cd.nmcd.hdr.idFrom = 100;
    cd.nmcd.hdr.code = NM_CUSTOMDRAW;
    cd.nmcd.dwDrawStage = stage;
    cd.nmcd.hdc = hdc;
    bar.GetClientRect(&cd.nmcd.rc);
    return cd;
}

LRESULT CallCustomDraw(COXToolbarSkin* skin, CSkinTestBar& bar, NMTBCUSTOMDRAW& cd)
{
    LRESULT answer = 0xBAD;
    NMHDR* hdr = &cd.nmcd.hdr;
    LRESULT* slot = &answer;
    skin->OnCustomDraw(hdr, slot, &bar);
    return answer;
}

// ---- the fixture -------------------------------------------------------------------------------------

void TbSkinTest::SetUp()
{
    zyn::user::ResetWindowSystemForTests();
    zyn::base::Clock::UseVirtual(100000);
    zyn::user::SetScriptedMode(true);
    AfxUnlockTempMaps();
    m_objects = zyn::gdi::LiveObjectCount();
    m_dcs = zyn::gdi::LiveDcCount();
    m_lists = zyn::gdi::LiveImageListCount();
    m_version = COXCoolToolBar::m_dwComCtlVersion;
    COXCoolToolBar::m_dwComCtlVersion = 0x60000;
    zyn::user::InjectMouseMove(5, 5);
    Pump();
    ASSERT_TRUE(parent.CreateParent(CRect(kOriginX, kOriginY, kOriginX + 500, kOriginY + 300)));
    parent.SetActiveWindow();
    PaintAll();
}

void TbSkinTest::TearDown()
{
    if (parent.GetSafeHwnd())
        parent.DestroyWindow();
    Pump();
    COXCoolToolBar::m_dwComCtlVersion = m_version;
    EXPECT_EQ(zyn::user::LiveWindowCount(), 0u) << "windows leaked";
    EXPECT_EQ(zyn::afx::PermanentWindowCount(), 0u) << "window objects still attached";
    AfxUnlockTempMaps();
    CDC::DeleteTempMap();
    EXPECT_EQ(zyn::gdi::LiveObjectCount(), m_objects) << "GDI objects leaked";
    EXPECT_EQ(zyn::gdi::LiveDcCount(), m_dcs) << "DCs leaked";
    EXPECT_EQ(zyn::gdi::LiveImageListCount(), m_lists) << "image lists leaked";
    zyn::user::ResetWindowSystemForTests();
}

void TbSkinTest::PaintAll() { zyn::user::PaintPendingWindows(); }

void TbSkinTest::MouseTo(int clientX, int clientY)
{
    zyn::user::InjectMouseMove(kOriginX + clientX, kOriginY + clientY);
    Pump();
}

COLORREF TbSkinTest::ClientPixel(const CWnd& wnd, int x, int y)
{
    CPoint p(x, y);
    wnd.ClientToScreen(&p);
    HDC screen = ::GetDC(nullptr);
    const COLORREF c = ::GetPixel(screen, p.x, p.y);
    ::ReleaseDC(nullptr, screen);
    return c;
}

CRect TbSkinTest::ScreenRect(const CWnd& wnd, bool whole)
{
    CRect r;
    if (whole) {
        wnd.GetWindowRect(&r);
    } else {
        wnd.GetClientRect(&r);
        wnd.ClientToScreen(&r);
    }
    return r;
}

} // namespace tbtest
