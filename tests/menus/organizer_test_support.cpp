#include "tests/menus/organizer_test_support.h"

#include "platform/afx/afxstate.h"

namespace zyn::test {

void PrintTo(const ItemSnap& s, std::ostream* os)
{
    *os << "{depth " << s.depth << " type 0x" << std::hex << s.type << " state 0x" << s.state << " id 0x" << s.id
        << std::dec << " text '" << std::string(s.text.begin(), s.text.end()) << "' sub " << s.sub << " data "
        << s.data << " typeData " << s.typeData << " bitmap " << s.bitmap << "}";
}

std::vector<ItemSnap> SnapMenu(HMENU menu, int depth)
{
    std::vector<ItemSnap> out;
    const int count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOW mii{};
        mii.cbSize = sizeof mii;
        mii.fMask = MIIM_TYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_DATA;
        EXPECT_TRUE(::GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &mii));
        ItemSnap s;
        s.depth = depth;
        s.type = mii.fType;
        s.state = mii.fState;
        s.id = mii.wID;
        s.sub = mii.hSubMenu;
        s.data = mii.dwItemData;
        if (mii.fType & (MFT_BITMAP | MFT_OWNERDRAW))
            s.typeData = reinterpret_cast<ULONG_PTR>(mii.dwTypeData);
        wchar_t text[512] = {};
        ::GetMenuStringW(menu, static_cast<UINT>(i), text, 512, MF_BYPOSITION);
        s.text = text;
        MENUITEMINFOW bmp{};
        bmp.cbSize = sizeof bmp;
        bmp.fMask = MIIM_BITMAP;
        ::GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &bmp);
        s.bitmap = bmp.hbmpItem;
        out.push_back(s);
        if (mii.hSubMenu) {
            const auto sub = SnapMenu(mii.hSubMenu, depth + 1);
            out.insert(out.end(), sub.begin(), sub.end());
        }
    }
    return out;
}

int PositionOf(HMENU menu, UINT id)
{
    const int count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i)
        if (::GetMenuItemID(menu, i) == id)
            return i;
    return -1;
}

std::vector<UINT> IdsOf(HMENU menu)
{
    std::vector<UINT> out;
    const int count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i)
        out.push_back(::GetSubMenu(menu, i) ? static_cast<UINT>(-1) : ::GetMenuItemID(menu, i));
    return out;
}

OrganizerFrame::OrganizerFrame()
{
    m_bAutoMenuEnable = FALSE; // the items keep the states the test gave them
}

BOOL OrganizerFrame::PreCreateWindow(CREATESTRUCT& cs)
{
    picture.CreateCompatibleBitmap(nullptr, 12, 12);
    file = ::CreatePopupMenu();
    recent = ::CreatePopupMenu();
    ::AppendMenuW(recent, MF_STRING, ID_O_FIRST, L"&1 first.txt");
    ::AppendMenuW(file, MF_STRING, ID_O_NEW, L"&New\tCtrl+N");
    ::AppendMenuW(file, MF_STRING | MF_CHECKED, ID_O_OPEN, L"&Open...");
    ::AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuW(file, MF_STRING | MF_GRAYED, ID_O_PRINT, L"&Print");
    ::AppendMenuW(file, MF_POPUP, reinterpret_cast<UINT_PTR>(recent), L"Recent &Files");
    ::AppendMenuW(file, MF_BITMAP, ID_O_PICTURE, reinterpret_cast<LPCWSTR>(static_cast<HBITMAP>(picture)));
    MENUITEMINFOW radio{};
    radio.cbSize = sizeof radio;
    radio.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_STRING;
    radio.fType = MFT_RADIOCHECK;
    radio.fState = MFS_CHECKED;
    radio.wID = ID_O_RADIO;
    radio.dwTypeData = const_cast<LPWSTR>(L"&Radio");
    ::InsertMenuItemW(file, 6, TRUE, &radio);
    ::AppendMenuW(file, MF_OWNERDRAW, ID_O_OWNER, reinterpret_cast<LPCWSTR>(static_cast<UINT_PTR>(0x1234)));
    ::AppendMenuW(file, MF_STRING, ID_O_EXIT, L"E&xit");
    MENUITEMINFOW data{};
    data.cbSize = sizeof data;
    data.fMask = MIIM_DATA;
    data.dwItemData = 77;
    ::SetMenuItemInfoW(file, 8, TRUE, &data);

    deeper = ::CreatePopupMenu();
    ::AppendMenuW(deeper, MF_STRING, ID_O_DEEP, L"D&eep command");
    more = ::CreatePopupMenu();
    ::AppendMenuW(more, MF_POPUP, reinterpret_cast<UINT_PTR>(deeper), L"&Deeper");
    edit = ::CreatePopupMenu();
    ::AppendMenuW(edit, MF_STRING, ID_O_UNDO, L"&Undo");
    ::AppendMenuW(edit, MF_STRING, ID_O_REDO, L"&Redo");
    ::AppendMenuW(edit, MF_POPUP, reinterpret_cast<UINT_PTR>(more), L"&More");
    bar = ::CreateMenu();
    ::AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"&File");
    ::AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(edit), L"&Edit");
    cs.hMenu = bar;
    m_hMenuDefault = bar;
    return CFrameWnd::PreCreateWindow(cs);
}

LRESULT OrganizerFrame::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND && lParam == 0)
        commands.push_back(LOWORD(wParam));
    if (message == WM_OX_RECENTLYUSEDCHANGED)
        ++changedNotes;
    if (message == WM_MEASUREITEM) {
        // The frame's own owner-drawn item.
        auto* mis = reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam);
        if (mis && mis->CtlType == ODT_MENU && mis->itemData == 0x1234) {
            mis->itemWidth = 40;
            mis->itemHeight = 16;
            return TRUE;
        }
    }
    return CFrameWnd::WindowProc(message, wParam, lParam);
}

void OrganizerTest::SetUp()
{
    MenuTest::SetUp();
    m_app = std::make_unique<CWinApp>(L"OrganizerTest");
    m_app->SetRegistryKey(L"ZynMenuTests");
    m_frame = new OrganizerFrame;
    ASSERT_TRUE(m_frame->Create(nullptr, L"Main", WS_OVERLAPPEDWINDOW, CRect(0, 0, 640, 480)));
    m_app->m_pMainWnd = m_frame;
    m_frame->ShowWindow(SW_SHOW);
    Pump();
}

void OrganizerTest::TearDown()
{
    if (m_app->m_pMainWnd && m_app->m_pMainWnd->m_hWnd)
        m_app->m_pMainWnd->DestroyWindow();
    m_app.reset();
    MenuTest::TearDown();
}

void OrganizerTest::OpenBar(wchar_t mnemonic)
{
    ::SendMessageW(m_frame->GetSafeHwnd(), WM_SYSCOMMAND, SC_KEYMENU, mnemonic);
    Pump();
}

} // namespace zyn::test
