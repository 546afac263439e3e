// The toolbar's saved state (TB_SAVERESTORE in our own format: a round trip, and damaged
// values refused whole) and the customise dialog driven by posted commands, with the
// parent's TBN_ answers honoured.
#include "platform/base/lasterror.h"
#include "platform/base/registry.h"
#include "platform/base/threads.h"
#include "platform/comctl/toolbar_state.h"
#include "platform/user/driver.h"
#include "tests/comctl/toolbar_test_support.h"

namespace zyn::test {
namespace {

using ToolbarState = ToolbarTest;

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

BOOL SaveRestore(HWND tb, bool save, const wchar_t* value = L"Bar")
{
    TBSAVEPARAMSW p{HKEY_CURRENT_USER, L"Software\\ZynTests\\Toolbar", value};
    return static_cast<BOOL>(SendMessageW(tb, TB_SAVERESTOREW, save, reinterpret_cast<LPARAM>(&p)));
}

void WriteValue(const std::vector<uint8_t>& bytes, DWORD type = REG_BINARY)
{
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\ZynTests\\Toolbar", 0, nullptr, 0, KEY_WRITE, nullptr,
                  &key, nullptr),
        ERROR_SUCCESS);
    RegSetValueExW(key, L"Bar", 0, type, bytes.data(), static_cast<DWORD>(bytes.size()));
    RegCloseKey(key);
}

// The value of the format worked out byte by byte: magic, version 1, reserved, count, then
// per item the command, the bitmap, the state, the style and two zero bytes.
std::vector<uint8_t> Value(std::vector<std::array<int, 4>> items)
{
    std::vector<uint8_t> v{'Z', 'T', 'B', 'S', 1, 0, 0, 0};
    auto put = [&](uint32_t x) {
        for (int k = 0; k < 4; ++k)
            v.push_back(static_cast<uint8_t>(x >> (8 * k)));
    };
    put(static_cast<uint32_t>(items.size()));
    for (const auto& it : items) {
        put(static_cast<uint32_t>(it[0]));
        put(static_cast<uint32_t>(it[1]));
        v.push_back(static_cast<uint8_t>(it[2]));
        v.push_back(static_cast<uint8_t>(it[3]));
        v.push_back(0);
        v.push_back(0);
    }
    return v;
}

TEST_F(ToolbarState, SaveAndRestoreRoundTrip)
{
    HWND tb = MakeToolbar(MakeParent(), 0);
    TBBUTTON texted = Btn(3, 7, BTNS_CHECK, TBSTATE_ENABLED | TBSTATE_CHECKED);
    texted.iString = reinterpret_cast<INT_PTR>(L"Third");
    Add(tb, {Btn(1, 4), Sep(12), Btn(2, 5, BTNS_DROPDOWN), texted});
    ASSERT_TRUE(SaveRestore(tb, true));
    // The saved bytes are the documented layout.
    const std::vector<uint8_t> want = Value({{1, 4, TBSTATE_ENABLED, BTNS_BUTTON}, {0, 12, 0, BTNS_SEP},
        {2, 5, TBSTATE_ENABLED, BTNS_DROPDOWN}, {3, 7, TBSTATE_ENABLED | TBSTATE_CHECKED, BTNS_CHECK}});
    std::vector<uint8_t> got(want.size() + 8);
    DWORD size = static_cast<DWORD>(got.size()), type = 0;
    ASSERT_EQ(RegGetValueW(HKEY_CURRENT_USER, L"Software\\ZynTests\\Toolbar", L"Bar", RRF_RT_ANY, &type, got.data(),
                  &size),
        ERROR_SUCCESS);
    got.resize(size);
    EXPECT_EQ(type, REG_BINARY);
    EXPECT_EQ(got, want);

    // Rearranged, then restored: order, states and texts come back; the data of each
    // button comes from the button of its command.
    Send(tb, TB_MOVEBUTTON, 3, 0);
    Send(tb, TB_DELETEBUTTON, 2); // the separator
    Send(tb, TB_CHECKBUTTON, 3, FALSE);
    ASSERT_TRUE(SaveRestore(tb, false));
    EXPECT_EQ(CommandsOf(tb), (std::vector<int>{1, 0, 2, 3}));
    EXPECT_TRUE(Send(tb, TB_ISBUTTONCHECKED, 3));
    EXPECT_EQ(ItemRect(tb, 1).right - ItemRect(tb, 1).left, 12);
    wchar_t buf[16] = {};
    Send(tb, TB_GETBUTTONTEXTW, 3, reinterpret_cast<LPARAM>(buf));
    EXPECT_STREQ(buf, L"Third");
    TBBUTTON b{};
    Send(tb, TB_GETBUTTON, 2, reinterpret_cast<LPARAM>(&b));
    EXPECT_EQ(b.dwData, 20u);
}

TEST_F(ToolbarState, RestoreTakesMissingButtonsFromTheParentAndDropsUnknownOnes)
{
    HWND tb = MakeToolbar(MakeParent(), 0);
    Add(tb, {Btn(1)});
    WriteValue(Value({{9, 2, TBSTATE_ENABLED, 0}, {1, 0, TBSTATE_ENABLED, 0}, {77, 0, TBSTATE_ENABLED, 0}}));
    Answer() = [](NMHDR* h) -> LRESULT {
        if (h->code != TBN_GETBUTTONINFOW)
            return 0;
        auto* nm = reinterpret_cast<NMTOOLBARW*>(h);
        if (nm->iItem > 0)
            return FALSE;
        nm->tbButton = ToolbarTest::Btn(9, 0);
        wcscpy(nm->pszText, L"Offered");
        return TRUE;
    };
    ASSERT_TRUE(SaveRestore(tb, false));
    EXPECT_EQ(CommandsOf(tb), (std::vector<int>{9, 1})) << "77 is known to nobody";
    wchar_t buf[16] = {};
    Send(tb, TB_GETBUTTONTEXTW, 9, reinterpret_cast<LPARAM>(buf));
    EXPECT_STREQ(buf, L"Offered");
    EXPECT_EQ(Send(tb, TB_GETBITMAP, 9), 2) << "the saved image wins";
}

TEST_F(ToolbarState, DamagedValuesAreRefusedWhole)
{
    const std::vector<uint8_t> good = Value({{1, 0, TBSTATE_ENABLED, 0}, {2, 0, TBSTATE_ENABLED, 0}});
    auto with = [&](size_t at, uint8_t byte) {
        std::vector<uint8_t> v = good;
        v[at] = byte;
        return v;
    };
    std::vector<uint8_t> cut = good;
    cut.pop_back();
    std::vector<uint8_t> longer = good;
    longer.push_back(0);
    struct Row {
        const char* name;
        std::vector<uint8_t> bytes;
        DWORD type;
    };
    const Row rows[] = {
        {"empty", {}, REG_BINARY},
        {"another magic", with(0, 'X'), REG_BINARY},
        {"another version", with(4, 2), REG_BINARY},
        {"reserved header bytes", with(6, 1), REG_BINARY},
        {"count larger than the records", with(8, 3), REG_BINARY},
        {"count of a huge table", with(11, 0x7F), REG_BINARY},
        {"cut short", cut, REG_BINARY},
        {"a byte too many", longer, REG_BINARY},
        {"reserved record bytes", with(12 + 10, 1), REG_BINARY},
        {"a separator that checks", Value({{0, 8, 0, BTNS_SEP | BTNS_CHECK}}), REG_BINARY},
        {"not binary", good, REG_SZ},
        {"4,096 copies of one button",
            Value(std::vector<std::array<int, 4>>(4096, std::array<int, 4>{1, 0, TBSTATE_ENABLED, 0})), REG_BINARY},
        {"a button twice", Value({{1, 0, TBSTATE_ENABLED, 0}, {2, 0, TBSTATE_ENABLED, 0}, {1, 0, TBSTATE_ENABLED, 0}}),
            REG_BINARY},
        {"more separators than beside every button",
            Value({{0, 8, 0, BTNS_SEP}, {1, 0, TBSTATE_ENABLED, 0}, {0, 8, 0, BTNS_SEP}, {0, 8, 0, BTNS_SEP}}),
            REG_BINARY},
    };
    for (const Row& r : rows) {
        HWND parent = MakeParent();
        HWND tb = MakeToolbar(parent, 0);
        Add(tb, {Btn(2), Btn(1), Btn(3)});
        WriteValue(r.bytes, r.type);
        EXPECT_FALSE(SaveRestore(tb, false)) << r.name;
        EXPECT_EQ(CommandsOf(tb), (std::vector<int>{2, 1, 3})) << r.name << ": the toolbar is untouched";
        DestroyWindow(parent);
    }
    HWND tb = MakeToolbar(MakeParent(), 0);
    EXPECT_FALSE(SaveRestore(tb, false, L"NoSuchValue"));
    EXPECT_FALSE(Send(tb, TB_SAVERESTOREW, FALSE, 0)) << "no parameters";
    WriteValue(good);
    EXPECT_TRUE(SaveRestore(tb, false)) << "nothing on the toolbar and no offers: every command unknown";
    EXPECT_EQ(Send(tb, TB_BUTTONCOUNT), 0);
}

// ---- the customise dialog --------------------------------------------------------------------------------
HWND g_dialog = nullptr;
std::vector<std::pair<int, int>> g_script; // (control, LB_SETCURSEL index or -1 for a click)

LRESULT DialogHook(int code, WPARAM wp, LPARAM lp)
{
    if (code == HCBT_ACTIVATE && !g_dialog) {
        wchar_t cls[16] = {};
        GetClassNameW(reinterpret_cast<HWND>(wp), cls, 16);
        if (std::wstring(cls) == L"#32770") {
            g_dialog = reinterpret_cast<HWND>(wp);
            for (const auto& [id, sel] : g_script) {
                if (sel >= 0)
                    PostMessageW(GetDlgItem(g_dialog, id), LB_SETCURSEL, static_cast<WPARAM>(sel), 0);
                else
                    PostMessageW(g_dialog, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), BN_CLICKED), 0);
            }
        }
    }
    return CallNextHookEx(nullptr, code, wp, lp);
}

TEST_F(ToolbarState, TheCustomiseDialogAddsRemovesAndAsksFirst)
{
    namespace t = comctl::tb;
    HWND tb = MakeToolbar(MakeParent(), CCS_ADJUSTABLE);
    Add(tb, {Btn(1), Btn(2)});
    LRESULT allowDelete = TRUE;
    Answer() = [&](NMHDR* h) -> LRESULT {
        if (h->code == TBN_GETBUTTONINFOW) {
            auto* nm = reinterpret_cast<NMTOOLBARW*>(h);
            if (nm->iItem > 2)
                return FALSE;
            nm->tbButton = ToolbarTest::Btn(nm->iItem + 1); // offers 1, 2, 3
            return TRUE;
        }
        if (h->code == TBN_QUERYINSERT)
            return TRUE;
        if (h->code == TBN_QUERYDELETE)
            return allowDelete;
        return 0;
    };
    // The left list holds the separator and 3 (1 and 2 are on the toolbar already): add 3
    // before the toolbar's second button, then remove the first one, then close.
    g_dialog = nullptr;
    g_script = {{t::kCustomizeAvailable, 1}, {t::kCustomizeCurrent, 1}, {t::kCustomizeAdd, -1},
        {t::kCustomizeCurrent, 0}, {t::kCustomizeRemove, -1}, {IDCANCEL, -1}};
    HHOOK hook = SetWindowsHookExW(WH_CBT, &DialogHook, nullptr, GetCurrentThreadId());
    Send(tb, TB_CUSTOMIZE);
    UnhookWindowsHookEx(hook);
    ASSERT_NE(g_dialog, nullptr);
    EXPECT_FALSE(IsWindow(g_dialog));
    EXPECT_EQ(CommandsOf(tb), (std::vector<int>{3, 2}));
    const std::vector<UINT> codes = Codes();
    std::vector<UINT> adjust;
    for (UINT c : codes)
        if (c != TBN_GETBUTTONINFOW && c != NM_CUSTOMDRAW && c != TBN_DELETINGBUTTON)
            adjust.push_back(c);
    const std::vector<UINT> want{TBN_BEGINADJUST, TBN_INITCUSTOMIZE, TBN_QUERYINSERT, TBN_TOOLBARCHANGE,
        TBN_QUERYDELETE, TBN_TOOLBARCHANGE, TBN_ENDADJUST};
    EXPECT_EQ(adjust, want);
    EXPECT_EQ(Only(TBN_QUERYINSERT)[0].item, 1);
    EXPECT_EQ(Only(TBN_GETBUTTONINFOW).size(), 4u) << "asked until the answer was FALSE";

    // A refused removal changes nothing.
    allowDelete = FALSE;
    Events().clear();
    g_dialog = nullptr;
    g_script = {{t::kCustomizeCurrent, 0}, {t::kCustomizeRemove, -1}, {IDCANCEL, -1}};
    hook = SetWindowsHookExW(WH_CBT, &DialogHook, nullptr, GetCurrentThreadId());
    Send(tb, TB_CUSTOMIZE);
    UnhookWindowsHookEx(hook);
    EXPECT_EQ(CommandsOf(tb), (std::vector<int>{3, 2}));
    EXPECT_TRUE(Only(TBN_TOOLBARCHANGE).empty());
    EXPECT_EQ(Only(TBN_QUERYDELETE).size(), 1u);
}

} // namespace
} // namespace zyn::test
