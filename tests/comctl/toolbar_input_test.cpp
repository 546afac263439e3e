// Toolbar mouse input on the virtual clock: a click from press to WM_COMMAND, presses
// that leave the button, check and check-group buttons, drop-down buttons and the three
// TBN_DROPDOWN answers, hot tracking with its veto and anchor, and Shift-drag
// customisation with TBN_QUERYINSERT / TBN_QUERYDELETE honoured, the styles and keys that
// allow it, and a drag cancelled midway.
#include <string>

#include "platform/user/driver.h"
#include "tests/comctl/toolbar_test_support.h"

namespace zyn::test {
namespace {

using ToolbarInput = ToolbarTest;

std::vector<int> CommandsOf(HWND tb)
{
    std::vector<int> out;
    for (int i = 0; i < static_cast<int>(SendMessageW(tb, TB_BUTTONCOUNT, 0, 0)); ++i) {
        TBBUTTON b{};
        SendMessageW(tb, TB_GETBUTTON, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&b));
        out.push_back(b.idCommand);
    }
    return out;
}

std::vector<int> Commands()
{
    std::vector<int> out;
    for (const TbEvent& e : ToolbarTest::Events())
        if (e.msg == WM_COMMAND)
            out.push_back(e.item);
    return out;
}

// What the notify window hears, in order: notification names with their item, commands.
std::vector<std::string> Heard()
{
    std::vector<std::string> out;
    for (const TbEvent& e : ToolbarTest::Events()) {
        if (e.msg == WM_COMMAND) {
            out.push_back("WM_COMMAND " + std::to_string(e.item));
            continue;
        }
        switch (e.code) {
        case NM_LDOWN: out.push_back("NM_LDOWN " + std::to_string(e.item)); break;
        case NM_CLICK: out.push_back("NM_CLICK " + std::to_string(e.item)); break;
        case NM_RELEASEDCAPTURE: out.push_back("NM_RELEASEDCAPTURE"); break;
        case TBN_BEGINDRAG: out.push_back("TBN_BEGINDRAG " + std::to_string(e.item)); break;
        case TBN_ENDDRAG: out.push_back("TBN_ENDDRAG " + std::to_string(e.item)); break;
        case TBN_HOTITEMCHANGE:
            out.push_back("TBN_HOTITEMCHANGE " + std::to_string(e.hot.idNew) + " flags " + std::to_string(e.hot.dwFlags));
            break;
        default: break; // custom draw and the rest
        }
    }
    return out;
}

// A click as Windows reports it: NM_LDOWN, the hot item on flat toolbars, the press as the
// start of a drag (TBN_BEGINDRAG whatever the customisation styles), and at the release
// TBN_ENDDRAG, NM_RELEASEDCAPTURE for the capture given back, WM_COMMAND, and NM_CLICK last.
TEST_F(ToolbarInput, AClickSendsTheDocumentedSequence)
{
    const std::string enter = std::to_string(HICF_MOUSE | HICF_ENTERING);
    const std::string lmouse = std::to_string(HICF_LMOUSE | HICF_ENTERING);
    const struct {
        const char* name;
        DWORD style;
        bool vetoHot;   // TBN_HOTITEMCHANGE answered non-zero
        int releaseX;   // x of the release (the press is at 30, on button 102)
        std::vector<std::string> heard;
    } rows[] = {
        {"3-D toolbar", 0, false, 30,
            {"NM_LDOWN 102", "TBN_BEGINDRAG 102", "TBN_ENDDRAG 102", "NM_RELEASEDCAPTURE", "WM_COMMAND 102",
                "NM_CLICK 102"}},
        {"flat toolbar: the mouse makes the button hot first", TBSTYLE_FLAT, false, 30,
            {"TBN_HOTITEMCHANGE 102 flags " + enter, "NM_LDOWN 102", "TBN_BEGINDRAG 102", "TBN_ENDDRAG 102",
                "NM_RELEASEDCAPTURE", "WM_COMMAND 102", "NM_CLICK 102"}},
        {"flat toolbar, the move's hot item refused: the press asks again", TBSTYLE_FLAT, true, 30,
            {"TBN_HOTITEMCHANGE 102 flags " + enter, "NM_LDOWN 102", "TBN_HOTITEMCHANGE 102 flags " + lmouse,
                "TBN_BEGINDRAG 102", "TBN_ENDDRAG 102", "NM_RELEASEDCAPTURE", "WM_COMMAND 102", "NM_CLICK 102"}},
        {"released off the button: no click", 0, false, 150,
            {"NM_LDOWN 102", "TBN_BEGINDRAG 102", "TBN_ENDDRAG 102", "NM_RELEASEDCAPTURE"}},
    };
    for (const auto& row : rows) {
        HWND parent = MakeParent();
        HWND tb = MakeToolbar(parent, row.style);
        Add(tb, {Btn(101), Btn(102)});
        Events().clear();
        Answer() = [&](NMHDR* h) -> LRESULT { return row.vetoHot && h->code == TBN_HOTITEMCHANGE ? 1 : 0; };
        Press(tb, 30, 10);
        EXPECT_TRUE(Send(tb, TB_ISBUTTONPRESSED, 102)) << row.name << ": pressed while the button is held";
        EXPECT_EQ(GetCapture(), tb) << row.name;
        Release(tb, row.releaseX, 10);
        EXPECT_FALSE(Send(tb, TB_ISBUTTONPRESSED, 102)) << row.name;
        EXPECT_EQ(GetCapture(), nullptr) << row.name;
        EXPECT_EQ(Heard(), row.heard) << row.name;
        const auto clicks = Only(NM_CLICK);
        if (!clicks.empty()) {
            // NMMOUSE: the point of the release in client coordinates, hit in the client area.
            EXPECT_EQ(clicks[0].pt.x, row.releaseX) << row.name;
            EXPECT_EQ(clicks[0].pt.y, 10) << row.name;
            EXPECT_EQ(clicks[0].hitInfo, static_cast<DWORD_PTR>(HTCLIENT)) << row.name;
        }
        Answer() = nullptr;
        DestroyWindow(parent);
    }
}

TEST_F(ToolbarInput, APressLeftAndReleasedOutsideSendsNoCommand)
{
    HWND tb = MakeToolbar(MakeParent(), 0);
    Add(tb, {Btn(1), Btn(2, 0, BTNS_BUTTON, 0)});
    Press(tb, 10, 10);
    MouseTo(tb, 10, 40);
    EXPECT_FALSE(Send(tb, TB_ISBUTTONPRESSED, 1)) << "shown released while the mouse is off it";
    MouseTo(tb, 12, 12);
    EXPECT_TRUE(Send(tb, TB_ISBUTTONPRESSED, 1)) << "and pressed again on it";
    Release(tb, 10, 40);
    EXPECT_TRUE(Commands().empty());
    Click(tb, 30, 10);
    EXPECT_TRUE(Commands().empty()) << "a disabled button does nothing";
    Answer() = [](NMHDR* h) -> LRESULT { return h->code == NM_LDOWN ? 1 : 0; };
    Click(tb, 10, 10);
    EXPECT_TRUE(Commands().empty()) << "NM_LDOWN answered non-zero stops the press";
    // The notify window can be changed.
    Answer() = nullptr;
    HWND other = MakeParent();
    ShowWindow(other, SW_HIDE); // not in front of the toolbar
    EXPECT_EQ(reinterpret_cast<HWND>(Send(tb, TB_SETPARENT, reinterpret_cast<WPARAM>(other))), GetParent(tb));
    Events().clear();
    Click(tb, 10, 10);
    EXPECT_EQ(Commands(), (std::vector<int>{1}));
}

TEST_F(ToolbarInput, CheckButtonsToggleAndGroupsKeepOneChecked)
{
    HWND tb = MakeToolbar(MakeParent(), 0);
    Add(tb, {Btn(1, 0, BTNS_CHECK), Btn(2, 0, BTNS_CHECKGROUP), Btn(3, 0, BTNS_CHECKGROUP)});
    struct Step {
        int x;
        bool c1, c2, c3;
    };
    const Step steps[] = {
        {10, true, false, false}, {10, false, false, false}, {30, false, true, false},
        {60, false, false, true}, {60, false, false, true}, // a checked group button stays checked
    };
    int n = 0;
    for (const Step& s : steps) {
        Click(tb, s.x, 10);
        EXPECT_EQ(Send(tb, TB_ISBUTTONCHECKED, 1) != 0, s.c1) << "step " << n;
        EXPECT_EQ(Send(tb, TB_ISBUTTONCHECKED, 2) != 0, s.c2) << "step " << n;
        EXPECT_EQ(Send(tb, TB_ISBUTTONCHECKED, 3) != 0, s.c3) << "step " << n;
        ++n;
    }
    EXPECT_EQ(Commands().size(), 5u) << "every click on a check button is a command too";
}

TEST_F(ToolbarInput, DropDownAnswersDecideWhatThePressDoes)
{
    struct Row {
        const char* name;
        BYTE style;
        bool arrows;
        int x;            // where the press is
        LRESULT answer;
        bool dropDown;    // TBN_DROPDOWN sent
        bool command;     // WM_COMMAND after the release
    };
    // With arrows the first button is 24 + arrow wide; its arrow part is the right end.
    const Row rows[] = {
        {"split, body", BTNS_DROPDOWN, true, 5, TBDDRET_DEFAULT, false, true},
        {"split, arrow, default", BTNS_DROPDOWN, true, -2, TBDDRET_DEFAULT, true, false},
        {"split, arrow, no default", BTNS_DROPDOWN, true, -2, TBDDRET_NODEFAULT, true, false},
        {"split, arrow, treat pressed", BTNS_DROPDOWN, true, -2, TBDDRET_TREATPRESSED, true, true},
        {"plain drop-down, default", BTNS_DROPDOWN, false, 5, TBDDRET_DEFAULT, true, false},
        {"plain drop-down, no default", BTNS_DROPDOWN, false, 5, TBDDRET_NODEFAULT, true, true},
        {"whole drop-down, default", BTNS_WHOLEDROPDOWN, true, 5, TBDDRET_DEFAULT, true, false},
        {"whole drop-down, no default", BTNS_WHOLEDROPDOWN, true, 5, TBDDRET_NODEFAULT, true, false},
        {"whole drop-down, treat pressed", BTNS_WHOLEDROPDOWN, false, 5, TBDDRET_TREATPRESSED, true, true},
    };
    for (const Row& r : rows) {
        HWND parent = MakeParent();
        HWND tb = MakeToolbar(parent, TBSTYLE_FLAT);
        if (r.arrows)
            Send(tb, TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_DRAWDDARROWS);
        Add(tb, {Btn(50, 0, r.style), Btn(51)});
        Events().clear();
        bool pressedDuring = false;
        Answer() = [&](NMHDR* h) -> LRESULT {
            if (h->code != TBN_DROPDOWN)
                return 0;
            auto* nm = reinterpret_cast<NMTOOLBARW*>(h);
            EXPECT_EQ(nm->rcButton.left, 0) << r.name;
            pressedDuring = SendMessageW(h->hwndFrom, TB_ISBUTTONPRESSED, 50, 0) != 0;
            return r.answer;
        };
        const RECT item = ItemRect(tb, 0);
        const int x = r.x < 0 ? item.right + r.x : r.x;
        Click(tb, x, 10);
        EXPECT_EQ(Only(TBN_DROPDOWN).size(), r.dropDown ? 1u : 0u) << r.name;
        if (r.dropDown) {
            EXPECT_EQ(Only(TBN_DROPDOWN)[0].item, 50) << r.name;
            EXPECT_EQ(pressedDuring, !(r.style == BTNS_DROPDOWN && r.arrows))
                << r.name << ": the body shows pressed unless only the arrow part is";
        }
        EXPECT_EQ(Commands() == std::vector<int>{50}, r.command) << r.name;
        EXPECT_FALSE(Send(tb, TB_ISBUTTONPRESSED, 50)) << r.name;
        Answer() = nullptr;
        DestroyWindow(parent);
    }
}

TEST_F(ToolbarInput, HotTrackingAsksAndHonoursTheVeto)
{
    HWND tb = MakeToolbar(MakeParent(), TBSTYLE_FLAT);
    Add(tb, {Btn(1), Btn(2), Btn(3, 0, BTNS_BUTTON, 0)});
    MouseTo(tb, 10, 10);
    EXPECT_EQ(Send(tb, TB_GETHOTITEM), 0);
    MouseTo(tb, 30, 10);
    EXPECT_EQ(Send(tb, TB_GETHOTITEM), 1);
    const auto hot = Only(TBN_HOTITEMCHANGE);
    ASSERT_EQ(hot.size(), 2u);
    EXPECT_EQ(hot[0].hot.idOld, 0);
    EXPECT_EQ(hot[0].hot.idNew, 1);
    EXPECT_EQ(hot[0].hot.dwFlags, HICF_MOUSE | HICF_ENTERING);
    EXPECT_EQ(hot[1].hot.dwFlags, HICF_MOUSE);
    EXPECT_EQ(hot[1].hot.idOld, 1);
    EXPECT_EQ(hot[1].hot.idNew, 2);

    Answer() = [](NMHDR* h) -> LRESULT { return h->code == TBN_HOTITEMCHANGE ? 1 : 0; };
    MouseTo(tb, 10, 10);
    EXPECT_EQ(Send(tb, TB_GETHOTITEM), 1) << "the veto keeps the old hot item";
    EXPECT_EQ(Send(tb, TB_SETHOTITEM, 0), 1);
    EXPECT_EQ(Send(tb, TB_GETHOTITEM), 1) << "TB_SETHOTITEM is asked too";
    Answer() = nullptr;
    MouseTo(tb, 60, 10);
    EXPECT_EQ(Send(tb, TB_GETHOTITEM), -1) << "a disabled button is never hot";
    EXPECT_EQ(Only(TBN_HOTITEMCHANGE).back().hot.dwFlags, HICF_MOUSE | HICF_LEAVING);

    // Leaving the control: the hot item goes, unless anchored.
    MouseTo(tb, 10, 10);
    MouseTo(tb, 10, 300);
    EXPECT_EQ(Send(tb, TB_GETHOTITEM), -1);
    EXPECT_FALSE(Send(tb, TB_SETANCHORHIGHLIGHT, TRUE));
    MouseTo(tb, 10, 10);
    MouseTo(tb, 300, 10); // empty toolbar space
    EXPECT_EQ(Send(tb, TB_GETHOTITEM), 0);
    MouseTo(tb, 10, 300);
    EXPECT_EQ(Send(tb, TB_GETHOTITEM), 0) << "anchored";
    EXPECT_TRUE(Send(tb, TB_GETANCHORHIGHLIGHT));

    HWND plain = MakeToolbar(GetParent(tb), 0, 200, 30, false, 8);
    Add(plain, {Btn(1)});
    EXPECT_EQ(Send(plain, TB_SETHOTITEM, 0), -1);
    EXPECT_EQ(Send(plain, TB_GETHOTITEM), -1) << "3-D toolbars have no hot item";
}

TEST_F(ToolbarInput, ShiftDragMovesOrRemovesWhenAllowed)
{
    struct Row {
        const char* name;
        int from;           // x of the press
        POINT to;           // release point (client)
        LRESULT allowInsert, allowDelete;
        std::vector<int> after;
        UINT query;         // the query sent (0: none)
        int queryItem;
    };
    const Row rows[] = {
        {"move 0 before 3", 5, {76, 10}, TRUE, TRUE, {2, 3, 1, 4}, TBN_QUERYINSERT, 3},
        {"move 3 to the front", 80, {2, 10}, TRUE, TRUE, {4, 1, 2, 3}, TBN_QUERYINSERT, 0},
        {"insert refused", 5, {76, 10}, FALSE, TRUE, {1, 2, 3, 4}, TBN_QUERYINSERT, 3},
        {"dropped where it was", 5, {20, 10}, TRUE, TRUE, {1, 2, 3, 4}, 0, 0},
        {"dragged off: removed", 30, {30, 150}, TRUE, TRUE, {1, 3, 4}, TBN_QUERYDELETE, 1},
        {"delete refused", 30, {30, 150}, TRUE, FALSE, {1, 2, 3, 4}, TBN_QUERYDELETE, 1},
    };
    for (const Row& r : rows) {
        HWND parent = MakeParent();
        HWND tb = MakeToolbar(parent, CCS_ADJUSTABLE, 200, 40);
        Add(tb, {Btn(1), Btn(2), Btn(3), Btn(4)});
        Events().clear();
        Answer() = [&](NMHDR* h) -> LRESULT {
            if (h->code == TBN_QUERYINSERT)
                return r.allowInsert;
            if (h->code == TBN_QUERYDELETE)
                return r.allowDelete;
            return 0;
        };
        user::InjectKey(VK_SHIFT, true);
        Press(tb, r.from, 10);
        user::InjectKey(VK_SHIFT, false);
        MouseTo(tb, r.to.x, r.to.y);
        Release(tb, r.to.x, r.to.y);
        EXPECT_EQ(CommandsOf(tb), r.after) << r.name;
        const std::vector<UINT> codes = Codes();
        ASSERT_FALSE(codes.empty()) << r.name;
        EXPECT_EQ(codes.front(), TBN_BEGINDRAG) << r.name;
        EXPECT_EQ(codes.back(), TBN_ENDDRAG) << r.name;
        if (r.query) {
            ASSERT_EQ(Only(r.query).size(), 1u) << r.name;
            EXPECT_EQ(Only(r.query)[0].item, r.queryItem) << r.name;
        }
        const bool changed = r.after != std::vector<int>{1, 2, 3, 4};
        EXPECT_EQ(Only(TBN_TOOLBARCHANGE).size(), changed ? 1u : 0u) << r.name;
        EXPECT_TRUE(Commands().empty()) << r.name << ": a drag is no click";
        TBINSERTMARK mark{};
        Send(tb, TB_GETINSERTMARK, 0, reinterpret_cast<LPARAM>(&mark));
        EXPECT_EQ(mark.iButton, -1) << r.name << ": the mark goes with the drag";
        Answer() = nullptr;
        DestroyWindow(parent);
    }
}

// Who may start a drag and what ends one without a change, by the documented rules: a drag
// needs CCS_ADJUSTABLE, and Alt takes Shift's place only with TBSTYLE_ALTDRAG; a press
// that starts none is an ordinary press (a click on a button, nothing on empty space); a
// drag whose capture is taken away changes nothing and asks nothing, but still ends with
// TBN_ENDDRAG.
TEST_F(ToolbarInput, ADragNeedsItsStyleAndKeyAndEndsUnchangedWhenCancelled)
{
    const struct {
        const char* name;
        DWORD style;
        WORD key;
        int from, to;        // x of the press and of the release (y 10)
        bool cancel;         // WM_CANCELMODE before the release
        std::vector<int> after;
        bool dragged;        // TBN_BEGINDRAG ... TBN_ENDDRAG seen (a plain press sends them too)
        std::vector<int> commands;
    } rows[] = {
        {"Shift without CCS_ADJUSTABLE: a click", 0, VK_SHIFT, 5, 5, false, {1, 2, 3, 4}, true, {1}},
        {"Alt without TBSTYLE_ALTDRAG: a click", CCS_ADJUSTABLE, VK_MENU, 5, 5, false, {1, 2, 3, 4}, true, {1}},
        {"Alt with TBSTYLE_ALTDRAG: a move", CCS_ADJUSTABLE | TBSTYLE_ALTDRAG, VK_MENU, 5, 76, false, {2, 3, 1, 4},
            true, {}},
        {"Shift on empty space: nothing", CCS_ADJUSTABLE, VK_SHIFT, 150, 76, false, {1, 2, 3, 4}, false, {}},
        {"capture taken mid-drag: nothing", CCS_ADJUSTABLE, VK_SHIFT, 5, 76, true, {1, 2, 3, 4}, true, {}},
    };
    for (const auto& r : rows) {
        HWND parent = MakeParent();
        HWND tb = MakeToolbar(parent, r.style, 200, 40);
        Add(tb, {Btn(1), Btn(2), Btn(3), Btn(4)});
        Events().clear();
        Answer() = [](NMHDR* h) -> LRESULT { return h->code == TBN_QUERYINSERT || h->code == TBN_QUERYDELETE; };
        user::InjectKey(r.key, true);
        Press(tb, r.from, 10);
        user::InjectKey(r.key, false);
        MouseTo(tb, r.to, 10);
        if (r.cancel) {
            Send(tb, WM_CANCELMODE);
            EXPECT_NE(GetCapture(), tb) << r.name << ": the capture stays after the cancel";
        }
        Release(tb, r.to, 10);
        EXPECT_EQ(CommandsOf(tb), r.after) << r.name;
        EXPECT_EQ(Commands(), r.commands) << r.name;
        EXPECT_EQ(Only(TBN_BEGINDRAG).size(), r.dragged ? 1u : 0u) << r.name;
        EXPECT_EQ(Only(TBN_ENDDRAG).size(), r.dragged ? 1u : 0u) << r.name;
        const bool moved = r.after != std::vector<int>{1, 2, 3, 4};
        EXPECT_EQ(Only(TBN_QUERYINSERT).size(), moved ? 1u : 0u) << r.name;
        EXPECT_EQ(Only(TBN_TOOLBARCHANGE).size(), moved ? 1u : 0u) << r.name;
        EXPECT_EQ(GetCapture(), nullptr) << r.name;
        Answer() = nullptr;
        DestroyWindow(parent);
    }
}

} // namespace
} // namespace zyn::test
