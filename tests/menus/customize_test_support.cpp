#include "tests/menus/customize_test_support.h"

#include <cstdio>

#include "platform/com/unknown.h"
#include "platform/user/messages.h"
#include "toolkit/menus/menu_customize_notify.h"

namespace zyn::test {

std::vector<std::string>& DragTrace::Lines()
{
    static std::vector<std::string> lines;
    return lines;
}

LRESULT CTracingPopup::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message >= 0x80AD && message <= 0x80B5) {
        char buf[32];
        std::snprintf(buf, sizeof buf, "%s %X", m_name.c_str(), message);
        DragTrace::Lines().push_back(buf);
    } else if (message == WM_VSCROLL) {
        DragTrace::Lines().push_back(m_name + " V" + std::to_string(LOWORD(wParam)));
    }
    return COXBitmapMenuPopupWnd::WindowProc(message, wParam, lParam);
}

std::vector<UINT> CCustomizeWnd::Codes() const
{
    std::vector<UINT> codes;
    for (const Event& e : events)
        codes.push_back(e.event);
    return codes;
}

LRESULT CCustomizeWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NOTIFY) {
        const auto* nm = reinterpret_cast<const NMBMCUSTOMIZE*>(lParam);
        if (nm && nm->nmhdr.code == OXBMN_CUSTOMIZE) {
            events.push_back(Event{nm->nCustomizeEventID, nm->nmhdr.hwndFrom, nm->nmhdr.idFrom, wParam});
            return veto.count(nm->nCustomizeEventID) ? 1 : 0;
        }
    }
    return CMenuOwnerWnd::WindowProc(message, wParam, lParam);
}

BOOL CustomizeOrganizer::SetRecentlyUsed(CMenu* menu, int pos, BOOL used)
{
    const UINT id = menu->GetMenuItemID(pos);
    if (used)
        notRecentlyUsed.erase(id);
    else
        notRecentlyUsed.insert(id);
    return TRUE;
}

void FillTextMenu(COXBitmapMenu& menu, const std::vector<TextItem>& items)
{
    if (!menu.GetSafeHmenu())
        menu.CreatePopupMenu();
    for (const TextItem& item : items)
        AppendOwnerDrawn(menu, item.id == 0 ? MF_SEPARATOR : MF_STRING, item.id, nullptr, item.text);
    menu.CalcExtents();
}

std::vector<std::wstring> Describe(HMENU hMenu, int indent)
{
    std::vector<std::wstring> lines;
    const int count = ::GetMenuItemCount(hMenu);
    auto* bitmapMenu = DYNAMIC_DOWNCAST(COXBitmapMenu, CMenu::FromHandlePermanent(hMenu));
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOW mii{};
        mii.cbSize = sizeof mii;
        mii.fMask = MIIM_FTYPE | MIIM_ID | MIIM_SUBMENU | MIIM_DATA;
        ::GetMenuItemInfoW(hMenu, static_cast<UINT>(i), TRUE, &mii);
        std::wstring text;
        if (const COXItemInfo* info = bitmapMenu ? bitmapMenu->GetItemInfo(mii.dwItemData) : nullptr) {
            text = info->GetText().GetString();
        } else {
            wchar_t buf[256] = {};
            ::GetMenuStringW(hMenu, static_cast<UINT>(i), buf, 256, MF_BYPOSITION);
            text = buf;
        }
        const std::wstring pad(static_cast<size_t>(indent), L' ');
        if (mii.hSubMenu) {
            lines.push_back(pad + L"> " + text);
            for (const std::wstring& sub : Describe(mii.hSubMenu, indent + 2))
                lines.push_back(sub);
        } else if (mii.fType & MFT_SEPARATOR) {
            lines.push_back(pad + L"-");
        } else {
            wchar_t id[16];
            std::swprintf(id, 16, L"%X", mii.wID);
            lines.push_back(pad + id + L" " + text);
        }
    }
    return lines;
}

void CustomizeTest::SetUp()
{
    MenuTest::SetUp();
    ASSERT_EQ(OleInitialize(nullptr), S_OK);
    m_com = com::LiveObjectCount();
    DragTrace::Clear();
}

void CustomizeTest::TearDown()
{
    EXPECT_EQ(ole::RegisteredDropTargetCount(), 0u) << "drop targets left registered";
    EXPECT_EQ(com::LiveObjectCount(), m_com) << "COM objects left";
    OleUninitialize();
    OXSetMenuOrganizerFinder(nullptr);
    CustomizeOrganizer::current = nullptr;
    DragTrace::Clear();
    MenuTest::TearDown();
}

CPoint CustomizeTest::ItemCentre(const COXBitmapMenuPopupWnd& popup, int item)
{
    CRect r = popup.GetItemRect(item);
    CPoint centre(r.CenterPoint().x, r.CenterPoint().y - popup.GetScrollOffset());
    ::ClientToScreen(popup.GetSafeHwnd(), &centre);
    return centre;
}

} // namespace zyn::test
