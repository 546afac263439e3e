// LProgressDlg: caption and status, the bar's range, Cancel by a click, by Escape or by
// the answer script at a position (and never without AllowCancel), the owner disabled
// while a modal one is up, only the dialog's own messages taken, and the record.
#include "platform/comctl/progress.h"
#include "platform/suite/controls/progress_dlg.h"
#include "tests/suitectl/suitectl_test_ids.h"
#include "tests/suitectl/suitectl_test_support.h"

namespace zyn::test {
namespace {

class ProgressTest : public SuiteCtlTest {
protected:
    static std::vector<user::ShownRecord> Records()
    {
        std::vector<user::ShownRecord> out;
        for (const auto& r : user::AnswerScript::Shown())
            if (r.kind == user::AnswerKind::Progress)
                out.push_back(r);
        return out;
    }
    static std::wstring TextOf(HWND h)
    {
        wchar_t buf[256] = {};
        ::GetWindowTextW(h, buf, 256);
        return buf;
    }
};

TEST_F(ProgressTest, CaptionStatusAndBar)
{
    {
        LProgressDlg dlg(0, IDS_TEST_CAPTION);
        dlg.SetStatus(L"before the window");
        dlg.SetRange(10, 20);
        ASSERT_TRUE(dlg.Create(&m_parent));
        EXPECT_EQ(TextOf(dlg.m_hWnd), L"Copying");
        HWND status = ::GetDlgItem(dlg.m_hWnd, kProgressStatusId);
        HWND bar = ::GetDlgItem(dlg.m_hWnd, kProgressBarId);
        ASSERT_TRUE(status && bar);
        EXPECT_EQ(TextOf(status), L"before the window");
        EXPECT_EQ(::SendMessageW(bar, PBM_GETPOS, 0, 0), 10) << "the position starts inside the range";
        struct Case {
            int set, want;
        } cases[] = {{15, 15}, {25, 20}, {-3, 10}, {20, 20}};
        for (const auto& c : cases) {
            dlg.SetPos(c.set);
            EXPECT_EQ(dlg.GetPos(), c.want) << c.set;
            EXPECT_EQ(::SendMessageW(bar, PBM_GETPOS, 0, 0), c.want) << c.set;
        }
        dlg.SetStatus(L"half way");
        EXPECT_EQ(TextOf(status), L"half way");
        EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(dlg.m_hWnd, IDCANCEL))) << "Cancel needs AllowCancel";
        dlg.AllowCancel(TRUE);
        EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(dlg.m_hWnd, IDCANCEL)));
        EXPECT_TRUE(dlg.DestroyWindow());
    }
    LProgressDlg plain;
    ASSERT_TRUE(plain.Create(&m_parent));
    EXPECT_EQ(TextOf(plain.m_hWnd), L"Progress") << "no caption string";
    EXPECT_FALSE(plain.Create(&m_parent)) << "one window at a time";
    plain.DestroyWindow();
    EXPECT_EQ(Records().size(), 2u);
}

TEST_F(ProgressTest, CancelByClickOrEscapeOnlyWhenAllowed)
{
    struct Case {
        const char* name;
        bool allow;
        bool escape; // else a click on the button
        BOOL want;
    } cases[] = {
        {"click", true, false, TRUE},
        {"escape", true, true, TRUE},
        {"click, not allowed", false, false, FALSE},
        {"escape, not allowed", false, true, FALSE},
    };
    for (const auto& c : cases) {
        user::AnswerScript::Clear();
        LProgressDlg dlg;
        dlg.AllowCancel(c.allow);
        ASSERT_TRUE(dlg.Create(&m_parent)) << c.name;
        EXPECT_FALSE(dlg.Canceled()) << c.name;
        if (c.escape) {
            ::SetFocus(::GetDlgItem(dlg.m_hWnd, IDCANCEL));
            user::InjectKeyPress(VK_ESCAPE);
        } else {
            RECT r;
            ::GetWindowRect(::GetDlgItem(dlg.m_hWnd, IDCANCEL), &r);
            user::InjectMouseMove((r.left + r.right) / 2, (r.top + r.bottom) / 2);
            user::InjectMouseButton(user::MouseButton::Left, true);
            user::InjectMouseButton(user::MouseButton::Left, false);
        }
        // Nobody pumps but the dialog itself.
        EXPECT_EQ(dlg.Canceled(), c.want) << c.name;
        EXPECT_EQ(dlg.Canceled(), c.want) << c.name << ": it stays so";
        EXPECT_TRUE(::IsWindow(dlg.m_hWnd)) << c.name << ": the caller ends the dialog";
        dlg.DestroyWindow();
        const auto records = Records();
        ASSERT_EQ(records.size(), 1u) << c.name;
        EXPECT_EQ(records[0].result, c.want ? IDCANCEL : IDOK) << c.name;
        EXPECT_FALSE(records[0].scripted) << c.name;
        Pump();
    }
}

TEST_F(ProgressTest, ScriptedAnswerPressesCancelAtItsPosition)
{
    struct Case {
        const char* name;
        int code;
        int position;
        int firstCanceledAt; // -1: never
    } cases[] = {
        {"cancel at 30", IDCANCEL, 30, 30},
        {"cancel at once", IDCANCEL, 0, 0},
        {"carry on", IDOK, 0, -1},
    };
    for (const auto& c : cases) {
        user::AnswerScript::Clear();
        user::Answer answer;
        answer.code = c.code;
        answer.position = c.position;
        user::AnswerScript::Push(user::AnswerKind::Progress, answer);
        LProgressDlg dlg(0, IDS_TEST_CAPTION);
        dlg.AllowCancel(TRUE);
        ASSERT_TRUE(dlg.Create(&m_parent)) << c.name;
        EXPECT_EQ(user::AnswerScript::Pending(user::AnswerKind::Progress), 0u) << c.name << ": taken at creation";
        dlg.SetRange(0, 100);
        int canceledAt = -1;
        for (int pos = 0; pos <= 100 && canceledAt < 0; pos += 10) {
            dlg.SetPos(pos);
            if (dlg.Canceled())
                canceledAt = pos;
        }
        EXPECT_EQ(canceledAt, c.firstCanceledAt) << c.name;
        dlg.DestroyWindow();
        const auto records = Records();
        ASSERT_EQ(records.size(), 1u) << c.name;
        EXPECT_EQ(records[0].text, L"Copying") << c.name;
        EXPECT_EQ(records[0].result, c.firstCanceledAt >= 0 ? IDCANCEL : IDOK) << c.name;
        EXPECT_TRUE(records[0].scripted) << c.name;
    }
}

TEST_F(ProgressTest, ModalDisablesTheOwnerAndTakesOnlyItsOwnMessages)
{
    HWND owner = m_parent.m_hWnd;
    {
        LProgressDlg dlg;
        dlg.Modal(TRUE);
        ASSERT_TRUE(dlg.Create(&m_parent));
        EXPECT_FALSE(::IsWindowEnabled(owner));
        // A request to the owner waits for the owner's loop.
        ::PostMessageW(owner, WM_USER + 7, 0, 0);
        dlg.Canceled();
        MSG m;
        EXPECT_TRUE(::PeekMessageW(&m, owner, WM_USER + 7, WM_USER + 7, PM_REMOVE));
        dlg.DestroyWindow();
        EXPECT_TRUE(::IsWindowEnabled(owner));
    }
    {
        // An owner disabled before stays disabled.
        ::EnableWindow(owner, FALSE);
        LProgressDlg dlg;
        dlg.Modal(TRUE);
        ASSERT_TRUE(dlg.Create(&m_parent));
        dlg.DestroyWindow();
        EXPECT_FALSE(::IsWindowEnabled(owner));
        ::EnableWindow(owner, TRUE);
    }
    {
        // Going with its owner, it is recorded once all the same.
        user::AnswerScript::Clear();
        LProgressDlg dlg;
        dlg.Modal(TRUE);
        ASSERT_TRUE(dlg.Create(&m_parent));
        m_parent.DestroyWindow();
        EXPECT_EQ(dlg.m_hWnd, nullptr);
        EXPECT_EQ(Records().size(), 1u);
    }
}

} // namespace
} // namespace zyn::test
