// The frame's message line (the idle prompt, menu prompts from WM_MENUSELECT, system and
// window-list commands, a prompt from a real menu highlight) and context help: Shift+F1 to
// help mode, a click asking WinHelp for the help ID of what lies under it, commands chosen
// in help mode, Escape, WM_EXITHELPMODE and a dry script leaving it.
#include <functional>
#include <memory>

#include "platform/afx/menu.h"
#include "platform/user/menu.h"
#include "platform/user/modal.h"
#include "platform/user/vkeys.h"
#include "tests/afx/bars_test_support.h"

namespace zyn::test {
namespace {

using user::InjectKey;
using user::InjectKeyPress;
using user::InjectMouseButton;
using user::InjectMouseMove;
using user::MouseButton;

class CHelpFrame : public CFrameWnd {
public:
    int opened = 0, defaultHelp = 0;
    void OnOpen() { ++opened; }
    void OnDefaultHelp() { ++defaultHelp; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CHelpFrame, CFrameWnd)
    ON_COMMAND(ID_BAR_OPEN, &CHelpFrame::OnOpen)
    ON_COMMAND(ID_DEFAULT_HELP, &CHelpFrame::OnDefaultHelp)
END_MESSAGE_MAP()

class HelpTest : public BarsTest {
protected:
    void SetUp() override
    {
        BarsTest::SetUp();
        f = new CHelpFrame;
        ASSERT_TRUE(f->Create(nullptr, L"Main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(100, 100, 700, 500)));
        frame = f;
        view = MakePlain(WS_CHILD | WS_VISIBLE, frame->m_hWnd, AFX_IDW_PANE_FIRST);
        app.m_pMainWnd = frame;
        frame->SetActiveWindow();
        frame->SetFocus();
        ASSERT_TRUE(tool->Create(frame));
        ASSERT_TRUE(tool->LoadToolBar(IDR_TESTBAR));
        ASSERT_TRUE(status->Create(frame));
        const UINT panes[] = {ID_SEPARATOR, ID_INDICATOR_CAPS};
        ASSERT_TRUE(status->SetIndicators(panes, 2));
        frame->RecalcLayout();
        // The mouse rests on the view, so help mode starts over the frame.
        CRect r;
        GetWindowRect(view, &r);
        InjectMouseMove(r.CenterPoint().x, r.CenterPoint().y);
        Idle(app);
        PumpTranslated();
    }
    void TearDown() override
    {
        if (frame && IsWindow(frame->m_hWnd)) {
            frame->DestroyWindow();
            frame = nullptr;
        }
        // The toolbar's image well goes with its object, before the count of GDI objects.
        tool.reset();
        status.reset();
        BarsTest::TearDown();
    }

    // What help mode looked like while it ran.
    struct During {
        bool ran = false;
        int frameMode = -1;
        BOOL appMode = FALSE;
        HWND capture = nullptr;
        std::wstring prompt;
        HCURSOR cursor = nullptr;
    };
    // Shift+F1, then, once help mode waits for input, `act` (which scripts the input).
    During RunHelp(const std::function<void()>& act)
    {
        During d;
        user::QueueIdleAction([&, act] {
            d.ran = true;
            d.frameMode = f->m_bHelpMode;
            d.appMode = app.m_bHelpMode;
            d.capture = GetCapture();
            d.prompt = Shown(*status, 0);
            d.cursor = GetCursor();
            act();
        });
        InjectKey(VK_SHIFT, true);
        InjectKeyPress(VK_F1);
        InjectKey(VK_SHIFT, false);
        PumpTranslated();
        return d;
    }
    static void ClickAt(CPoint p)
    {
        InjectMouseMove(p.x, p.y);
        InjectMouseButton(MouseButton::Left, true);
        InjectMouseButton(MouseButton::Left, false);
    }
    void ExpectLeft(const char* what)
    {
        EXPECT_EQ(f->m_bHelpMode, CFrameWnd::HELP_INACTIVE) << what;
        EXPECT_FALSE(app.m_bHelpMode) << what;
        EXPECT_EQ(GetCapture(), nullptr) << what;
        EXPECT_EQ(Shown(*status, 0), L"Ready") << what;
    }

    CHelpFrame* f = nullptr;
    std::unique_ptr<CToolBar> tool = std::make_unique<CToolBar>();
    std::unique_ptr<CStatusBar> status = std::make_unique<CStatusBar>();
};

TEST_F(HelpTest, AClickInHelpModeAsksForTheHelpOfWhatLiesUnderIt)
{
    f->m_nIDHelp = 0x80;
    CRect bell, sep, cap, win;
    tool->GetItemRect(3, &bell);
    tool->GetItemRect(2, &sep);
    status->GetItemRect(1, &cap);
    frame->GetWindowRect(&win);
    CRect viewRect;
    GetWindowRect(view, &viewRect);
    struct Row {
        const char* what;
        CPoint at;
        DWORD context;
    };
    const Row rows[] = {
        {"a toolbar button: its command", Centre(*tool, bell), HID_BASE_COMMAND + ID_BAR_BELL},
        {"a toolbar separator: the bar", Centre(*tool, sep), HID_BASE_CONTROL + AFX_IDW_TOOLBAR},
        {"a status pane: the bar", Centre(*status, cap), HID_BASE_CONTROL + AFX_IDW_STATUS_BAR},
        {"the view, which answers nothing: the frame's resource", viewRect.CenterPoint(), HID_BASE_RESOURCE + 0x80},
        {"the caption: a non-client area", CPoint(win.CenterPoint().x, win.top + 8), HID_BASE_NCAREAS + HTCAPTION},
    };
    for (const Row& row : rows) {
        afx::ClearWinHelpCalls();
        const During d = RunHelp([&] { ClickAt(row.at); });
        ASSERT_TRUE(d.ran) << row.what;
        EXPECT_EQ(d.frameMode, CFrameWnd::HELP_ACTIVE) << row.what;
        EXPECT_TRUE(d.appMode) << row.what;
        EXPECT_EQ(d.capture, frame->m_hWnd) << row.what << ": the frame holds the mouse";
        EXPECT_EQ(d.prompt, L"Click the item you want help on") << row.what;
        EXPECT_EQ(d.cursor, LoadCursorW(nullptr, IDC_HELP)) << row.what;
        ASSERT_EQ(afx::WinHelpCalls().size(), 1u) << row.what;
        EXPECT_EQ(afx::WinHelpCalls()[0].dwData, row.context) << row.what;
        EXPECT_EQ(afx::WinHelpCalls()[0].nCmd, HELP_CONTEXT) << row.what;
        ExpectLeft(row.what);
    }
    EXPECT_EQ(f->opened, 0);
}

TEST_F(HelpTest, EscapeExitMessagesCommandsAndADryScriptEndHelpMode)
{
    struct Row {
        const char* what;
        std::function<void()> act;
        size_t calls;
        DWORD context;
        int defaultHelp;
    };
    const Row rows[] = {
        {"Escape", [] { InjectKeyPress(VK_ESCAPE); }, 0, 0, 0},
        {"WM_EXITHELPMODE", [this] { frame->PostMessage(WM_EXITHELPMODE); }, 0, 0, 0},
        {"the script runs dry", [] {}, 0, 0, 0},
        // A command chosen in help mode (a menu item, an accelerator) asks for its help
        // instead of running.
        {"a command", [this] { frame->PostMessage(WM_COMMAND, ID_BAR_OPEN); }, 1, HID_BASE_COMMAND + ID_BAR_OPEN, 0},
        // Without a help ID of its own, the frame's area has the general help.
        {"a click on the view of a frame without help", [this] {
             CRect r;
             GetWindowRect(view, &r);
             ClickAt(r.CenterPoint());
         },
            0, 0, 1},
    };
    for (const Row& row : rows) {
        afx::ClearWinHelpCalls();
        f->defaultHelp = 0;
        const During d = RunHelp(row.act);
        ASSERT_TRUE(d.ran) << row.what;
        EXPECT_EQ(d.frameMode, CFrameWnd::HELP_ACTIVE) << row.what;
        ASSERT_EQ(afx::WinHelpCalls().size(), row.calls) << row.what;
        if (row.calls) {
            EXPECT_EQ(afx::WinHelpCalls()[0].dwData, row.context) << row.what;
        }
        EXPECT_EQ(f->defaultHelp, row.defaultHelp) << row.what;
        ExpectLeft(row.what);
        MSG m;
        EXPECT_FALSE(PeekMessageW(&m, frame->m_hWnd, WM_EXITHELPMODE, WM_EXITHELPMODE, PM_NOREMOVE))
            << row.what << ": nothing left to stop the next help mode";
    }
    EXPECT_EQ(f->opened, 0) << "the command did not run";
    // Outside help mode the same command runs.
    frame->SendMessage(WM_COMMAND, ID_BAR_OPEN);
    EXPECT_EQ(f->opened, 1);
    // A second Shift+F1 while help mode runs does not start another.
    afx::ClearWinHelpCalls();
    const During d = RunHelp([this] {
        frame->SendMessage(WM_COMMAND, ID_CONTEXT_HELP);
        EXPECT_EQ(f->m_bHelpMode, CFrameWnd::HELP_ACTIVE);
        InjectKeyPress(VK_ESCAPE);
    });
    EXPECT_TRUE(d.ran);
    ExpectLeft("again");
}

TEST_F(HelpTest, TheMessageLineShowsMenuPromptsAndTheIdlePromptAfterwards)
{
    EXPECT_EQ(Shown(*status, 0), L"Ready") << "the first idle pass";
    CMenu bar, popup;
    ASSERT_TRUE(bar.CreateMenu());
    ASSERT_TRUE(popup.CreatePopupMenu());
    popup.AppendMenu(MF_STRING, ID_BAR_OPEN, L"&Open");
    popup.AppendMenu(MF_SEPARATOR, 0, static_cast<LPCTSTR>(nullptr));
    popup.AppendMenu(MF_STRING, ID_BAR_LOCK, L"&Lock");
    bar.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(popup.m_hMenu), L"&Door");
    const HMENU hPopup = popup.Detach();
    frame->SetMenu(&bar);
    struct Row {
        const char* what;
        UINT item;
        UINT flags;
        HMENU menu;
        const wchar_t* line;
    };
    const Row rows[] = {
        {"a command: the first line of its string", ID_BAR_OPEN, MF_HILITE, hPopup, L"Opens the door"},
        {"a separator: nothing", 0, MF_SEPARATOR | MF_HILITE, hPopup, L""},
        {"a popup: nothing", 0, MF_POPUP | MF_HILITE, bar.m_hMenu, L""},
        {"a command without a tip line", ID_BAR_QUIET, MF_HILITE, hPopup, L"Prompt without a tip"},
        {"a command without a string", 0x9999, MF_HILITE, hPopup, L""},
        {"a system command", SC_CLOSE, MF_HILITE | MF_SYSMENU, hPopup, L"Closes the window, asking to save its documents"},
        {"moving the window", SC_MOVE, MF_HILITE | MF_SYSMENU, hPopup, L"Moves the window"},
        {"a window of the window list", AFX_IDM_FIRST_MDICHILD + 1, MF_HILITE, hPopup, L"Brings this window to the front"},
        {"the menu closed", 0, 0xFFFF, nullptr, L"Ready"},
    };
    for (const Row& row : rows) {
        frame->SendMessage(WM_MENUSELECT, MAKEWPARAM(static_cast<WORD>(row.item), static_cast<WORD>(row.flags)),
            reinterpret_cast<LPARAM>(row.menu));
        EXPECT_EQ(Shown(*status, 0), row.line) << row.what;
        EXPECT_EQ(std::wstring(frame->GetMessageLine().GetString()), row.line) << row.what;
    }

    // A real highlight: Alt opens the menu bar, Down its popup with Open highlighted.
    std::wstring seen;
    user::QueueIdleAction([&] { seen = Shown(*status, 0); });
    InjectKeyPress(VK_MENU);
    InjectKeyPress(VK_DOWN);
    PumpTranslated();
    EXPECT_EQ(seen, L"Opens the door") << "shown while the item was highlighted";
    EXPECT_EQ(Shown(*status, 0), L"Ready") << "and the idle prompt once the menu closed";
    frame->SetMenu(nullptr);
    bar.DestroyMenu();
}

} // namespace
} // namespace zyn::test
