// The form views under the configuration view: the keyboard through the nested control
// parents of a real screen (view → sheet → page → sub-form and back), the Edit menu's
// Copy, Cut and Paste on the focused edit, the frame's title, and moving single controls.
#include "frames/zyn_form_view.h"
#include "platform/afx/afxres.h"
#include "platform/afx/cmdui.h"
#include "platform/base/globalmem.h"
#include "platform/user/clipboard.h"
#include "platform/user/combobox.h"
#include "platform/user/driver.h"

#include <cstring>
#include "resources/resource.h"
#include "tests/cfgforms/cfgforms_support.h"

namespace zyn::test {
namespace {

class FormsTest : public CfgFormsTest {
public:
    // The door screen in an edit: the sub-form's fields are enabled.
    DoorPage* OpenDoorsAdding()
    {
        DoorPage::Preset() = {Door{1, L"Front", 10}};
        if (!OpenDoorView({kPermDoorView, kPermDoorAdd}))
            return nullptr;
        m_view->SendMessage(WM_COMMAND, IDC_ZYN_CFG_ADD);
        Idle();
        return static_cast<DoorPage*>(m_view->GetSheet()->GetPageByID(kDoorPageID));
    }
    // -1: no handler answered; else whether the command is enabled.
    int Update(UINT id)
    {
        struct Probe : CCmdUI {
            int enabled = -1;
            void Enable(BOOL bOn) override { enabled = bOn ? 1 : 0; }
        } probe;
        probe.m_nID = id;
        probe.DoUpdate(m_view, FALSE);
        return probe.enabled;
    }
    static void PutOnClipboard(const wchar_t* text)
    {
        ASSERT_TRUE(OpenClipboard(nullptr));
        EmptyClipboard();
        if (text) {
            const size_t bytes = (wcslen(text) + 1) * sizeof(wchar_t);
            HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, bytes);
            std::memcpy(GlobalLock(mem), text, bytes);
            GlobalUnlock(mem);
            SetClipboardData(CF_UNICODETEXT, mem);
        }
        CloseClipboard();
    }
};

TEST_F(FormsTest, TabRunsFromTheViewThroughTheSheetAndPageIntoTheSubFormAndBack)
{
    DoorPage* page = OpenDoorsAdding();
    ASSERT_NE(page, nullptr);
    auto form = [&](int id) { return ::GetDlgItem(page->m_form.m_hWnd, id); };
    // While adding: OK, Cancel, Clear, Help and Exit of the view; the tab control is locked
    // and the box hidden; then the page's list and the sub-form's five fields.
    const std::vector<HWND> order{Item(IDOK), Item(IDCANCEL), Item(IDC_ZYN_CFG_CLEAR), Item(IDC_ZYN_CFG_HELP),
        Item(IDC_ZYN_CFG_EXIT), page->m_list.m_hWnd, form(IDC_DOOR_NAME), form(IDC_DOOR_NUMBER),
        form(IDC_DOOR_ENABLED), form(IDC_DOOR_ALARM), form(IDC_DOOR_KIND)};
    ASSERT_EQ(::GetFocus(), form(IDC_DOOR_NAME)) << "the page put the operator in the name";
    const size_t start = 6;
    for (size_t k = 1; k <= order.size(); ++k) {
        Press(VK_TAB);
        EXPECT_EQ(::GetFocus(), order[(start + k) % order.size()]) << "Tab " << k;
    }
    for (size_t k = 1; k <= order.size(); ++k) {
        Press(VK_TAB, false, true);
        EXPECT_EQ(::GetFocus(), order[(start + order.size() - k) % order.size()]) << "Shift+Tab " << k;
    }
    // A mnemonic of the sub-form from the view: Alt+A checks Alarm; Enter in a field is OK.
    user::InjectKey(VK_MENU, true);
    user::InjectKeyPress('A');
    user::InjectKey(VK_MENU, false);
    Pump();
    EXPECT_EQ(::GetFocus(), form(IDC_DOOR_ALARM));
    EXPECT_EQ(::SendMessageW(form(IDC_DOOR_ALARM), BM_GETCHECK, 0, 0), BST_CHECKED);
    ::SetFocus(form(IDC_DOOR_NAME));
    Type(L"Side");
    Press(VK_RETURN);
    EXPECT_EQ(m_view->GetState(), AcCfgStateView);
    ASSERT_EQ(page->m_doors.size(), 2u);
    EXPECT_EQ(page->m_doors[1].name, L"Side");
    EXPECT_EQ(page->m_doors[1].alarm, 1);
}

TEST_F(FormsTest, ViewingTabsOverTheTabControlAndSkipsTheDisabledFields)
{
    DoorPage::Preset() = {Door{1, L"Front", 10}};
    ASSERT_NE(OpenDoorView({kPermDoorView, kPermDoorAdd, kPermDoorModify, kPermDoorDelete}), nullptr);
    auto* page = static_cast<DoorPage*>(m_view->GetSheet()->GetPageByID(kDoorPageID));
    const HWND tab = reinterpret_cast<HWND>(m_view->GetSheet()->SendMessage(PSM_GETTABCONTROL));
    // Viewing: Add, Modify, Delete, Help, Exit (the box is not allowed), the list, the tab
    // control.
    const std::vector<HWND> order{Item(IDC_ZYN_CFG_ADD), Item(IDC_ZYN_CFG_MODIFY), Item(IDC_ZYN_CFG_DELETE),
        Item(IDC_ZYN_CFG_HELP), Item(IDC_ZYN_CFG_EXIT), page->m_list.m_hWnd, tab};
    ::SetFocus(order[0]);
    for (size_t k = 1; k <= order.size(); ++k) {
        Press(VK_TAB);
        EXPECT_EQ(::GetFocus(), order[k % order.size()]) << "Tab " << k;
    }
    // On the tab control the arrows change the page; the focus stays on it.
    ::SetFocus(tab);
    Press(VK_RIGHT);
    EXPECT_EQ(m_view->GetSheet()->GetActivePageID(), kZonePageID);
    EXPECT_EQ(::GetFocus(), tab);
}

TEST_F(FormsTest, CopyCutAndPasteFollowTheFocusedEdit)
{
    DoorPage* page = OpenDoorsAdding();
    ASSERT_NE(page, nullptr);
    const HWND name = ::GetDlgItem(page->m_form.m_hWnd, IDC_DOOR_NAME);
    ::SetFocus(name);
    Type(L"Gate");
    ::SendMessageW(name, EM_SETSEL, 0, -1);
    PutOnClipboard(nullptr);
    struct Expect {
        int copy, cut, paste;
    };
    auto expect = [&](Expect e, const char* what) {
        EXPECT_EQ(Update(ID_EDIT_COPY), e.copy) << what;
        EXPECT_EQ(Update(ID_EDIT_CUT), e.cut) << what;
        EXPECT_EQ(Update(ID_EDIT_PASTE), e.paste) << what;
    };
    expect({1, 1, 0}, "a selection, nothing to paste");
    m_view->SendMessage(WM_COMMAND, ID_EDIT_COPY);
    expect({1, 1, 1}, "copied");
    ::SendMessageW(name, EM_SETSEL, 4, 4);
    expect({0, 0, 1}, "no selection");
    m_view->SendMessage(WM_COMMAND, ID_EDIT_PASTE);
    EXPECT_EQ(TextOf(name), L"GateGate");
    ::SendMessageW(name, EM_SETSEL, 0, 4);
    m_view->SendMessage(WM_COMMAND, ID_EDIT_CUT);
    EXPECT_EQ(TextOf(name), L"Gate");
    ::SendMessageW(name, EM_SETREADONLY, TRUE, 0);
    ::SendMessageW(name, EM_SETSEL, 0, 2);
    expect({1, 1, 0}, "read-only: copy yes, paste no");
    ::SetFocus(::GetDlgItem(page->m_form.m_hWnd, IDC_DOOR_ENABLED));
    expect({0, 0, 0}, "a check box has the focus");

    // The edit inside a drop-down combo box counts as an edit; a class only starting so does not.
    const HWND combo = ::CreateWindowExW(0, L"ComboBox", L"", WS_CHILD | WS_VISIBLE | CBS_DROPDOWN, 0, 0, 80, 100,
        page->m_form.m_hWnd, nullptr, nullptr, nullptr);
    const HWND comboEdit = ::GetWindow(combo, GW_CHILD);
    EXPECT_TRUE(Zyn::Cmn::ZynFormView::IsEdit(CWnd::FromHandle(comboEdit)));
    EXPECT_FALSE(Zyn::Cmn::ZynFormView::IsEdit(CWnd::FromHandle(combo)));
    EXPECT_FALSE(Zyn::Cmn::ZynFormView::IsEdit(nullptr));
    WNDCLASSW wc{};
    wc.lpfnWndProc = &DefWindowProcW;
    wc.lpszClassName = L"EDITOR";
    ASSERT_NE(RegisterClassW(&wc), 0);
    const HWND editor = ::CreateWindowExW(0, L"EDITOR", L"", WS_CHILD, 0, 0, 10, 10, page->m_form.m_hWnd, nullptr,
        nullptr, nullptr);
    EXPECT_FALSE(Zyn::Cmn::ZynFormView::IsEdit(CWnd::FromHandle(editor)));
    ::DestroyWindow(editor);
    ::DestroyWindow(combo);
    PutOnClipboard(nullptr);
}

TEST_F(FormsTest, TheTitleGoesOnTheFrameAndControlsMoveOnlyWithAWindow)
{
    ASSERT_NE(OpenDoorView({kPermDoorView}), nullptr);
    EXPECT_EQ(TextOf(m_frame->m_hWnd), L"Door configuration");
    EXPECT_FALSE(m_frame->GetStyle() & FWS_ADDTOTITLE);
    CButton loose;
    m_view->MoveControlY(loose, 40); // no window: nothing
    m_view->MoveControl(loose, 1, 2);
    CWnd* exit = m_view->GetDlgItem(IDC_ZYN_CFG_EXIT);
    CRect before, after;
    exit->GetWindowRect(&before);
    m_view->ScreenToClient(&before);
    m_view->MoveControlY(*exit, before.top + 7);
    m_view->MoveControlX(*exit, before.left - 3);
    exit->GetWindowRect(&after);
    m_view->ScreenToClient(&after);
    EXPECT_EQ(after, CRect(before.left - 3, before.top + 7, before.right - 3, before.bottom + 7));
}

} // namespace
} // namespace zyn::test
