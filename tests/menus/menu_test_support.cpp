#include "tests/menus/menu_test_support.h"

#include "platform/afx/afxstate.h"
#include "platform/afx/gdi/dc.h"
#include "platform/afx/window_dc.h"
#include "toolkit/skins/skin_2003.h"
#include "toolkit/skins/skin_classic.h"
#include "toolkit/skins/skin_lookup.h"
#include "toolkit/skins/skin_xp.h"

namespace zyn::test {

namespace {
COXSkin* g_current = nullptr;
COXSkin* CurrentSource() { return g_current; }
} // namespace

const char* SkinName(SkinKind kind)
{
    switch (kind) {
    case SkinKind::Classic: return "classic";
    case SkinKind::XP: return "xp";
    case SkinKind::Office2003: return "2003";
    default: return "none";
    }
}

CurrentSkin::CurrentSkin(SkinKind kind)
{
    switch (kind) {
    case SkinKind::Classic: m_skin = std::make_unique<COXSkinClassic>(); break;
    case SkinKind::XP: m_skin = std::make_unique<COXSkinXP>(); break;
    case SkinKind::Office2003: m_skin = std::make_unique<COXSkin2003>(); break;
    default: break;
    }
    g_current = m_skin.get();
    OXSetSkinSource(m_skin ? &CurrentSource : nullptr);
}

CurrentSkin::~CurrentSkin()
{
    OXSetSkinSource(nullptr);
    g_current = nullptr;
}

BEGIN_MESSAGE_MAP(CMenuOwnerWnd, CWnd)
    ON_WM_PAINT()
    ON_WM_MEASUREITEM()
    ON_WM_INITMENUPOPUP()
END_MESSAGE_MAP()

BOOL CMenuOwnerWnd::CreateOwner(const RECT& rect)
{
    return CreateEx(0, AfxRegisterWndClass(0), L"owner", WS_POPUP | WS_VISIBLE, rect.left, rect.top,
        rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr);
}

void CMenuOwnerWnd::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(&client, m_colour);
}

void CMenuOwnerWnd::OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMeasureItemStruct)
{
    // The menu that owns the item's record, else the one holding the command.
    for (COXBitmapMenu* menu : m_menus) {
        if (menu->GetItemInfo(lpMeasureItemStruct->itemData)) {
            menu->MeasureItem(lpMeasureItemStruct);
            return;
        }
    }
    for (COXBitmapMenu* menu : m_menus) {
        if (::GetMenuState(menu->GetSafeHmenu(), lpMeasureItemStruct->itemID, MF_BYCOMMAND) != static_cast<UINT>(-1)) {
            menu->MeasureItem(lpMeasureItemStruct);
            return;
        }
    }
    CWnd::OnMeasureItem(nIDCtl, lpMeasureItemStruct);
}

void CMenuOwnerWnd::OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu)
{
    if (onInitMenuPopup && pPopupMenu)
        onInitMenuPopup(pPopupMenu->GetSafeHmenu(), nIndex);
    CWnd::OnInitMenuPopup(pPopupMenu, nIndex, bSysMenu);
}

namespace {

// A 16 x 16 picture on a magenta background, added to a list.
template <class Paint>
void AddImage(CImageList& list, Paint paint)
{
    const HDC screen = ::GetDC(nullptr);
    CBitmap bitmap;
    bitmap.Attach(::CreateCompatibleBitmap(screen, 16, 16));
    ::ReleaseDC(nullptr, screen);
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    CBitmap* old = dc.SelectObject(&bitmap);
    dc.FillSolidRect(0, 0, 16, 16, RGB(255, 0, 255));
    paint(dc);
    dc.SelectObject(old);
    list.Add(&bitmap, RGB(255, 0, 255));
}

} // namespace

MenuImages::MenuImages()
{
    images.Create(16, 16, ILC_COLOR24 | ILC_MASK, 0, 4);
    AddImage(images, [](CDC& dc) {
        dc.FillSolidRect(1, 1, 14, 14, RGB(0, 0, 200));
        dc.FillSolidRect(4, 4, 8, 8, RGB(255, 220, 0));
    });
    AddImage(images, [](CDC& dc) { dc.FillSolidRect(1, 1, 14, 14, RGB(0, 160, 0)); });
    AddImage(images, [](CDC& dc) {
        dc.FillSolidRect(2, 2, 12, 12, RGB(200, 0, 0));
        dc.FillSolidRect(4, 4, 8, 8, RGB(255, 0, 255));
    });
    defaults.Create(16, 16, ILC_COLOR24 | ILC_MASK, 0, 2);
    // A check mark: two strokes.
    AddImage(defaults, [](CDC& dc) {
        for (int i = 0; i < 3; ++i)
            dc.FillSolidRect(4 + i, 7 + i, 2, 2, RGB(0, 0, 0));
        for (int i = 0; i < 5; ++i)
            dc.FillSolidRect(7 + i, 8 - i, 2, 2, RGB(0, 0, 0));
    });
    // A bullet.
    AddImage(defaults, [](CDC& dc) { dc.FillSolidRect(6, 6, 4, 4, RGB(0, 0, 0)); });
}

void AppendOwnerDrawn(COXBitmapMenu& menu, UINT flags, UINT_PTR id, COXImageInfo* image, const wchar_t* text)
{
    auto* record = new COXItemInfo(image, text ? CString(text) : CString());
    menu.AddItemInfo(record);
    ::AppendMenuW(menu.GetSafeHmenu(), flags | MF_OWNERDRAW, id, reinterpret_cast<LPCWSTR>(record));
}

SampleMenu::SampleMenu(const MenuImages& images, bool withExpansion)
{
    auto image = [&](const CImageList& list, int index, BOOL isDefault, int hot = -1) {
        imageInfos.push_back(
            std::make_unique<COXImageInfo>(const_cast<CImageList*>(&list), index, isDefault, hot));
        return imageInfos.back().get();
    };
    menu.CreatePopupMenu();
    sub.CreatePopupMenu();
    AppendOwnerDrawn(sub, MF_STRING, ID_FIRST_FILE, image(images.images, 2, FALSE), L"&1 first.txt");
    AppendOwnerDrawn(menu, 0, ID_NEW, image(images.images, 0, FALSE, 1), L"&New\tCtrl+N");
    AppendOwnerDrawn(menu, MF_CHECKED, ID_OPEN, image(images.defaults, 0, TRUE), L"&Open...");
    AppendOwnerDrawn(menu, MF_SEPARATOR, 0, nullptr, L"");
    AppendOwnerDrawn(menu, MF_GRAYED, ID_PRINT, image(images.images, 2, FALSE), L"&Print\tCtrl+P");
    AppendOwnerDrawn(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(sub.GetSafeHmenu()), nullptr, L"Recent &Files");
    AppendOwnerDrawn(menu, MF_CHECKED, ID_BOLD, image(images.images, 0, FALSE), L"&Bold");
    AppendOwnerDrawn(menu, 0, ID_EXIT, image(images.defaults, 1, TRUE), L"E&xit");
    if (withExpansion)
        AppendOwnerDrawn(menu, 0, ID_OX_SHOWALLITEMS, image(images.defaults, 0, TRUE), L"");
    sub.CalcExtents();
    menu.CalcExtents();
}

void MenuTest::SetUp()
{
    user::ResetWindowSystemForTests();
    gdi::ResetDesktop(1280, 1024);
    gdi::ResetSystemColors();
    gdi::ResetSystemMetrics();
    gdi::ResetSystemParameters();
    base::Clock::UseVirtual(10000);
    user::SetScriptedMode(true);
    AfxUnlockTempMaps();
    m_objects = gdi::LiveObjectCount();
    m_dcs = gdi::LiveDcCount();
    m_hooks = user::LiveHookCount();
}

void MenuTest::TearDown()
{
    Pump();
    EXPECT_EQ(user::LiveWindowCount(), 0u) << "windows leaked";
    EXPECT_EQ(user::LiveHookCount(), m_hooks) << "hooks leaked";
    EXPECT_EQ(afx::PermanentWindowCount(), 0u) << "window objects still attached";
    AfxUnlockTempMaps();
    CDC::DeleteTempMap();
    user::ResetWindowSystemForTests();
    EXPECT_EQ(gdi::LiveObjectCount(), m_objects) << "GDI objects leaked";
    EXPECT_EQ(gdi::LiveDcCount(), m_dcs) << "DCs leaked";
}

COLORREF MenuTest::ScreenPixel(int x, int y)
{
    const HDC dc = ::GetDC(nullptr);
    const COLORREF c = ::GetPixel(dc, x, y);
    ::ReleaseDC(nullptr, dc);
    return c;
}

HWND MenuTest::OnlyPopup()
{
    const auto popups = user::OpenPopupMenuWindows();
    return popups.empty() ? nullptr : popups.back();
}

namespace {
LOGFONTW MenuFont(bool bold)
{
    NONCLIENTMETRICSW ncm{};
    ncm.cbSize = sizeof ncm;
    ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0);
    if (bold)
        ncm.lfMenuFont.lfWeight = FW_BOLD;
    return ncm.lfMenuFont;
}
} // namespace

int MenuTextWidth(const std::wstring& s, bool bold)
{
    const LOGFONTW lf = MenuFont(bold);
    const HDC dc = ::CreateCompatibleDC(nullptr);
    const HFONT f = ::CreateFontIndirectW(&lf);
    const HGDIOBJ old = ::SelectObject(dc, f);
    RECT r{0, 0, 0, 0};
    ::DrawTextW(dc, s.c_str(), static_cast<int>(s.size()), &r, DT_CALCRECT | DT_SINGLELINE);
    ::SelectObject(dc, old);
    ::DeleteObject(f);
    ::DeleteDC(dc);
    return r.right - r.left;
}

int MenuTextHeightA()
{
    const LOGFONTW lf = MenuFont(false);
    const HDC dc = ::CreateCompatibleDC(nullptr);
    const HFONT f = ::CreateFontIndirectW(&lf);
    const HGDIOBJ old = ::SelectObject(dc, f);
    SIZE size{};
    ::GetTextExtentPoint32W(dc, L"A", 1, &size);
    ::SelectObject(dc, old);
    ::DeleteObject(f);
    ::DeleteDC(dc);
    return size.cy;
}

} // namespace zyn::test
