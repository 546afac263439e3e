// Golden pictures of the configuration screen in the three skins: the door view in an edit
// (a sheet of two pages, the door list, the sub-form's edits, check boxes and its drop-down
// list dropped, the view's buttons, the multi-select box), and the close question's message
// box. Every pixel is compared except the text inside the controls, captions and items
// (text is the drawing layer's, compared by extent in its own tests).
#include "platform/comctl/header.h"
#include "platform/comctl/listview.h"
#include "platform/gdi/sysmetrics.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/combobox.h"
#include "platform/user/static.h"
#include "platform/user/driver.h"
#include "platform/user/modal.h"
#include "resources/resource.h"
#include "tests/cfgforms/cfgforms_support.h"
#include "tests/support/golden.h"

namespace zyn::test {
namespace {

struct Skin {
    const wchar_t* name;
    const char* file;
};

class ScreenGolden : public CfgFormsTest, public ::testing::WithParamInterface<Skin> {
public:
    // Text areas inside `origin`'s picture: every labelled control, the list's items and
    // headers, the tabs, the combo box's field and its dropped list.
    std::vector<RECT> TextAreas(const CRect& picture)
    {
        std::vector<RECT> out;
        auto add = [&](CRect r) {
            r.OffsetRect(-picture.left, -picture.top);
            out.push_back(r);
        };
        auto screenRect = [](HWND h) {
            CRect r;
            ::GetWindowRect(h, &r);
            return r;
        };
        // The child frame's caption text, between its icon and its buttons.
        CRect frame = screenRect(m_frame->m_hWnd);
        add(CRect(frame.left + 20, frame.top + 2, frame.right - 60, frame.top + 22));
        std::vector<HWND> all;
        std::function<void(HWND)> walk = [&](HWND h) {
            for (HWND c = ::GetWindow(h, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
                all.push_back(c);
                walk(c);
            }
        };
        walk(m_frame->m_hWnd);
        for (HWND h : all) {
            if (!::IsWindowVisible(h))
                continue;
            wchar_t cls[32] = {};
            ::GetClassNameW(h, cls, 32);
            const std::wstring kind(cls);
            CRect r = screenRect(h);
            const DWORD style = static_cast<DWORD>(::GetWindowLongPtrW(h, GWL_STYLE));
            if (kind == L"Button") {
                const DWORD type = style & 0x0F;
                if (type == BS_AUTOCHECKBOX || type == BS_CHECKBOX)
                    add(CRect(r.left + 15, r.top, r.right, r.bottom)); // the label after the box
                else
                    add(CRect(r.left + 3, r.top + 3, r.right - 3, r.bottom - 3));
            } else if (kind == L"Static") {
                add(r);
            } else if (kind == L"Edit") {
                add(CRect(r.left + 2, r.top + 2, r.right - 2, r.bottom - 2));
            } else if (kind == L"ComboBox") {
                add(CRect(r.left + 3, r.top + 3, r.right - ::GetSystemMetrics(SM_CXVSCROLL) - 2, r.bottom - 3));
            } else if (kind == L"SysTabControl32") {
                const int n = static_cast<int>(::SendMessageW(h, TCM_GETITEMCOUNT, 0, 0));
                for (int i = 0; i < n; ++i) {
                    CRect item;
                    ::SendMessageW(h, TCM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
                    ::MapWindowPoints(h, nullptr, reinterpret_cast<POINT*>(&item), 2);
                    item.DeflateRect(3, 3);
                    add(item);
                }
            } else if (kind == L"SysListView32") {
                const int n = static_cast<int>(::SendMessageW(h, LVM_GETITEMCOUNT, 0, 0));
                for (int i = 0; i < n; ++i) {
                    for (int sub = 0; sub < 2; ++sub) {
                        CRect item(LVIR_LABEL, sub, 0, 0);
                        ::SendMessageW(h, sub ? LVM_GETSUBITEMRECT : LVM_GETITEMRECT, static_cast<WPARAM>(i),
                            reinterpret_cast<LPARAM>(&item));
                        ::MapWindowPoints(h, nullptr, reinterpret_cast<POINT*>(&item), 2);
                        item.DeflateRect(2, 1);
                        add(item);
                    }
                }
            } else if (kind == L"SysHeader32") {
                const int n = static_cast<int>(::SendMessageW(h, HDM_GETITEMCOUNT, 0, 0));
                for (int i = 0; i < n; ++i) {
                    CRect item;
                    ::SendMessageW(h, HDM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
                    ::MapWindowPoints(h, nullptr, reinterpret_cast<POINT*>(&item), 2);
                    item.DeflateRect(3, 2);
                    add(item);
                }
            }
        }
        return out;
    }
};

TEST_P(ScreenGolden, TheDoorScreenInAnEditWithItsListDropped)
{
    ASSERT_TRUE(m_app->SetCurrentSkin(GetParam().name));
    DoorPage::Preset() = {Door{1, L"Front", 10, 1, 0, 0}, Door{2, L"Back", 20, 0, 1, 1}, Door{3, L"Side", 30, 1, 1, 2}};
    ASSERT_NE(OpenDoorView({kPermDoorView, kPermDoorAdd, kPermDoorModify, kPermDoorDelete}), nullptr);
    m_view->AllowMultipleSelect(TRUE);
    CRect frame;
    m_frame->GetWindowRect(&frame);
    m_frame->MoveWindow(10, 10, frame.Width(), frame.Height());
    m_view->SendMessage(WM_COMMAND, IDC_ZYN_CFG_MODIFY);
    Idle();
    auto* page = static_cast<DoorPage*>(m_view->GetSheet()->GetPageByID(kDoorPageID));
    const HWND combo = ::GetDlgItem(page->m_form.m_hWnd, IDC_DOOR_KIND);
    ::SetFocus(combo);
    ::SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
    m_main->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    ::RedrawWindow(nullptr, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    user::PaintPendingWindows();
    CRect dropped;
    ::SendMessageW(combo, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
    ASSERT_TRUE(::SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0));
    m_frame->GetWindowRect(&frame);
    CRect picture;
    picture.UnionRect(&frame, &dropped);
    std::vector<RECT> ignore = TextAreas(picture);
    // The dropped list's items.
    CRect items = dropped;
    items.OffsetRect(-picture.left, -picture.top);
    items.DeflateRect(1, 1);
    ignore.push_back(items);
    EXPECT_TRUE(MatchesGoldenScreen("cfgforms", std::string("config_screen_") + GetParam().file, picture, ignore));
    ::SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);
    m_view->SendMessage(WM_COMMAND, IDCANCEL);
}

INSTANTIATE_TEST_SUITE_P(Skins, ScreenGolden,
    ::testing::Values(Skin{L"Classic", "classic"}, Skin{L"Office XP", "xp"}, Skin{L"Office 2003", "2003"}),
    [](const ::testing::TestParamInfo<Skin>& info) { return std::string(info.param.file == std::string("2003") ? "Office2003" : info.param.file); });

using MessageBoxGolden = CfgFormsTest;

TEST_F(MessageBoxGolden, TheCloseQuestionAsTheOperatorSeesIt)
{
    ASSERT_NE(OpenDoorView({kPermDoorView, kPermDoorAdd}), nullptr);
    m_view->SendMessage(WM_COMMAND, IDC_ZYN_CFG_ADD);
    GoldenPicture shot;
    std::vector<RECT> ignore;
    // The operator looks at the box, then answers No with the keyboard.
    user::QueueIdleAction([&] {
        const HWND box = ::GetActiveWindow();
        CRect r;
        ::GetWindowRect(box, &r);
        ::RedrawWindow(box, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        user::PaintPendingWindows();
        shot = CaptureScreen(r);
        for (HWND c = ::GetWindow(box, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
            wchar_t cls[16] = {};
            ::GetClassNameW(c, cls, 16);
            CRect item;
            ::GetWindowRect(c, &item);
            item.OffsetRect(-r.left, -r.top);
            if (std::wstring(cls) == L"Button")
                item.DeflateRect(3, 3);
            else if (::SendMessageW(c, STM_GETICON, 0, 0))
                continue; // the icon is compared
            ignore.push_back(item);
        }
        ignore.push_back(RECT{4, 2, r.Width() - 30, 22}); // the caption's text
        user::InjectKeyPress('N');
    });
    EXPECT_FALSE(m_view->CanClose());
    ASSERT_GT(shot.width, 0);
    EXPECT_TRUE(MatchesGolden("cfgforms", "close_question_box", shot, ignore));
    m_view->SendMessage(WM_COMMAND, IDCANCEL);
}

} // namespace
} // namespace zyn::test
