// The saved state: the records' bytes worked out by hand from the written layout, a round
// trip onto a fresh bar byte for byte, damaged or truncated state refused whole with the
// bar, the registry and the templates as they were, and the profile rules.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "platform/base/registry.h"
#include "tests/support/testenv.h"
#include "tests/cooltoolbar/cool_test_support.h"
#include "toolkit/menus/cool_toolbar_state.h"

namespace zyn::test {
namespace {

using Bytes = std::vector<uint8_t>;

UINT g_ids[] = {ID_COOL_NEW, ID_COOL_OPEN, ID_COOL_SAVE, ID_COOL_PRINT};

class SavedStateTest : public CoolBarTest {
public:
    // NEW "New" | OPEN image-only (recent "Open") | separator | custom 500 (40 wide) | SAVE,
    // cool, indent 4, hot text colour red; the sample's number 7.
    CTestCoolBar& MakeSaved()
    {
        templates.push_back(std::make_unique<CSampleCustomButton>());
        templates.back()->value = 7;
        m_custom = COXCoolToolBar::AddCustomButton(templates.back().get(), 500, 40);
        CTestCoolBar& bar = MakeBar({ID_COOL_NEW, ID_COOL_OPEN, ID_SEPARATOR, ID_COOL_SAVE}, AFX_IDW_TOOLBAR + 1);
        bar.SetBitmapIds(g_ids, 4);
        bar.SetButtonText(0, L"New");
        bar.SetButtonText(1, L"Open");
        bar.SetCustomizedButton(1);
        bar.SendMessage(WM_COMMAND, ID_OXCUSTTB_IMAGEONLY, 0);
        bar.SetCustomizedButton(-1);
        EXPECT_TRUE(bar.InsertCustomButton(3, m_custom));
        bar.SetCool(TRUE);
        EXPECT_TRUE(bar.SetIndent(4));
        bar.SetHotTextColor(RGB(255, 0, 0));
        return bar;
    }
    // The same buttons without texts, custom button or looks.
    CTestCoolBar& MakeFresh()
    {
        CTestCoolBar& bar = MakeBar({ID_COOL_NEW, ID_COOL_OPEN, ID_SEPARATOR, ID_COOL_SAVE}, AFX_IDW_TOOLBAR + 2);
        bar.SetBitmapIds(g_ids, 4);
        return bar;
    }
    Bytes Binary(const wchar_t* entry)
    {
        LPBYTE p = nullptr;
        UINT n = 0;
        if (!app.GetProfileBinary(L"Bars", entry, &p, &n))
            return {};
        std::unique_ptr<BYTE[]> owned(p);
        return Bytes(p, p + n);
    }
    void PutBinary(const wchar_t* entry, Bytes bytes, int size = -2)
    {
        app.WriteProfileBinary(L"Bars", entry, bytes.data(), static_cast<UINT>(bytes.size()));
        app.WriteProfileInt(L"Bars", (CString(entry) + L"_Size"), size == -2 ? static_cast<int>(bytes.size()) : size);
    }
    Bytes Order(const wchar_t* value)
    {
        HKEY key = app.GetAppRegistryKey();
        HKEY sub = nullptr;
        Bytes bytes;
        if (RegOpenKeyExW(key, L"Bars", 0, KEY_READ, &sub) == ERROR_SUCCESS) {
            DWORD type = 0, size = 0;
            if (RegQueryValueExW(sub, value, nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
                bytes.resize(size);
                RegQueryValueExW(sub, value, nullptr, &type, bytes.data(), &size);
            }
            RegCloseKey(sub);
        }
        RegCloseKey(key);
        return bytes;
    }
    void PutOrder(const wchar_t* value, const Bytes& bytes)
    {
        HKEY key = app.GetAppRegistryKey();
        HKEY sub = nullptr;
        RegCreateKeyExW(key, L"Bars", 0, nullptr, 0, KEY_WRITE, nullptr, &sub, nullptr);
        RegSetValueExW(sub, value, 0, REG_BINARY, bytes.data(), static_cast<DWORD>(bytes.size()));
        RegCloseKey(sub);
        RegCloseKey(key);
    }
    int m_custom = -1;
};

// Everything a load may change, for "nothing changed" comparisons.
struct BarSnapshot {
    std::vector<std::tuple<int, int, int, int, std::wstring>> buttons;   // command, image, state, style, text
    std::vector<int> custom;
    std::vector<int> registered;   // width, height, flags, image of each registration
    std::vector<LONG> values;      // the templates' numbers
    BOOL cool;
    int indent;
    COLORREF hotText;
    bool operator==(const BarSnapshot&) const = default;
};

BarSnapshot Snap(const COXCoolToolBar& bar, const std::vector<std::unique_ptr<CSampleCustomButton>>& templates)
{
    BarSnapshot s{};
    const int n = static_cast<int>(SendMessageW(bar.m_hWnd, TB_BUTTONCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) {
        TBBUTTON b{};
        SendMessageW(bar.m_hWnd, TB_GETBUTTON, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&b));
        s.buttons.emplace_back(b.idCommand, b.iBitmap, b.fsState, b.fsStyle,
            std::wstring(static_cast<LPCWSTR>(bar.GetButtonText(i))));
        if (bar.IsCustomButton(i))
            s.custom.push_back(i);
    }
    for (int i = 0; i < COXCoolToolBar::GetCustomButtonCount(); ++i) {
        OXCUSTOMBUTTONDESCRIPTOR d;
        COXCoolToolBar::GetRegisteredCustomButton(i, d);
        s.registered.insert(s.registered.end(), {d.m_nWidth, d.m_nHeight, d.m_nFlags, d.m_nImageIndex});
    }
    for (const auto& t : templates)
        s.values.push_back(t->value);
    s.cool = bar.IsCool();
    s.indent = bar.GetIndent();
    s.hotText = bar.GetHotTextColor();
    return s;
}

TEST_F(SavedStateTest, RecordsAreTheWrittenLayoutByteForByte)
{
    CTestCoolBar& bar = MakeSaved();
    ASSERT_TRUE(bar.SaveBarState(L"Bars", L"Main", TRUE));
    // count 5; per button: command, image, style byte, has-text, text (FF FE FF length UTF-16).
    const Bytes buttons = {
        0x05, 0, 0, 0,
        0x01, 0x84, 0, 0, 0, 0, 0, 0, 0x00, 1, 0, 0, 0, 0xFF, 0xFE, 0xFF, 3, 'N', 0, 'e', 0, 'w', 0,
        0x02, 0x84, 0, 0, 1, 0, 0, 0, 0x00, 0, 0, 0, 0, 0xFF, 0xFE, 0xFF, 4, 'O', 0, 'p', 0, 'e', 0, 'n', 0,
        0, 0, 0, 0, 6, 0, 0, 0, 0x01, 0, 0, 0, 0, 0xFF, 0xFE, 0xFF, 0,
        0xF4, 0x01, 0, 0, 40, 0, 0, 0, 0x01, 0, 0, 0, 0, 0xFF, 0xFE, 0xFF, 0,
        0x03, 0x84, 0, 0, 2, 0, 0, 0, 0x00, 0, 0, 0, 0, 0xFF, 0xFE, 0xFF, 0,
    };
    EXPECT_EQ(Binary(L"Main_ButtonsSettings"), buttons);
    EXPECT_EQ(static_cast<int>(app.GetProfileInt(L"Bars", L"Main_ButtonsSettings_Size", -1)),
        static_cast<int>(buttons.size()));
    EXPECT_EQ(Binary(L"Main_CustomButtonsPositions"), (Bytes{1, 0, 0, 0, 3, 0, 0, 0, 0xF4, 0x01, 0, 0}));
    // count 1; ID 500, width 40, height -1, flags 7, image -1; then the sample's number 7.
    EXPECT_EQ(Binary(L"Toolbars_CustomButtonsSettings"),
        (Bytes{1, 0, 0, 0, 0xF4, 0x01, 0, 0, 40, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 7, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF,
            7, 0, 0, 0}));
    EXPECT_EQ(static_cast<int>(app.GetProfileInt(L"Bars_Main", L"Cool", -1)), 1);
    EXPECT_EQ(static_cast<int>(app.GetProfileInt(L"Bars_Main", L"Indent", -1)), 4);
    EXPECT_EQ(app.GetProfileInt(L"Bars_Main", L"HotTextColor", -1), 0x000000FFu);
    EXPECT_EQ(app.GetProfileInt(L"Bars_Main", L"DefaultTextColor", -1), 0xFF000000u) << "never set";
    EXPECT_EQ(static_cast<int>(app.GetProfileInt(L"Bars_Main", L"Customizable", -1)), 1);
    // The control's order value holds the five items.
    const auto order = zyn::menus::DecodeCoolBarOrder(Order(L"Main"));
    ASSERT_TRUE(order);
    EXPECT_EQ(order->size(), 5u);
}

TEST_F(SavedStateTest, RoundTripOntoAFreshBarSavesTheSameBytes)
{
    CTestCoolBar& saved = MakeSaved();
    ASSERT_TRUE(saved.SaveBarState(L"Bars", L"Main", TRUE));
    CTestCoolBar& fresh = MakeFresh();
    ASSERT_TRUE(fresh.LoadBarState(L"Bars", L"Main", TRUE));
    EXPECT_TRUE(fresh.IsCool());
    EXPECT_EQ(fresh.GetIndent(), 4);
    EXPECT_EQ(fresh.GetHotTextColor(), RGB(255, 0, 0));
    EXPECT_EQ(CString(fresh.GetButtonText(0)), CString(L"New"));
    EXPECT_TRUE(fresh.GetButtonText(1).IsEmpty());
    EXPECT_EQ(fresh.GetRecentButtonText(ID_COOL_OPEN), CString(L"Open"));
    EXPECT_TRUE(fresh.IsCustomButton(3));
    EXPECT_EQ(CSampleCustomButton::liveCopies, 1) << "the second bar shows a copy";
    ASSERT_TRUE(fresh.SaveBarState(L"Bars", L"Copy", TRUE));
    EXPECT_EQ(Binary(L"Copy_ButtonsSettings"), Binary(L"Main_ButtonsSettings"));
    EXPECT_EQ(Binary(L"Copy_CustomButtonsPositions"), Binary(L"Main_CustomButtonsPositions"));
    EXPECT_EQ(Order(L"Copy"), Order(L"Main"));
}

TEST_F(SavedStateTest, DamagedStateIsRefusedWholeWithNothingChanged)
{
    using Damage = std::function<void(SavedStateTest&)>;
    using Change = std::function<void(Bytes&)>;
    constexpr const wchar_t* kButtons = L"Main_ButtonsSettings";
    constexpr const wchar_t* kPositions = L"Main_CustomButtonsPositions";
    constexpr const wchar_t* kWide = L"Toolbars_CustomButtonsSettings";
    // What the log names for each record.
    constexpr const char* kButtonsLog = "[Bars] Main_ButtonsSettings was";
    constexpr const char* kPositionsLog = "[Bars] Main_CustomButtonsPositions was";
    constexpr const char* kWideLog = "[Bars] Toolbars_CustomButtonsSettings was";
    constexpr const char* kOrderLog = "[Bars] Main was";
    // The saved binary entry (or with `order`, the control's order value) changed by `f`.
    auto mutate = [](const wchar_t* entry, Change f, bool order = false) -> Damage {
        return [=](SavedStateTest& t) {
            Bytes b = order ? t.Order(entry) : t.Binary(entry);
            f(b);
            order ? t.PutOrder(entry, b) : t.PutBinary(entry, b);
        };
    };
    auto put = [](const wchar_t* entry, Bytes b) -> Damage { return [=](SavedStateTest& t) { t.PutBinary(entry, b); }; };
    auto profileInt = [](const wchar_t* entry, int value) -> Damage {
        return [=](SavedStateTest&) { AfxGetApp()->WriteProfileInt(L"Bars_Main", entry, value); };
    };
    // The first button's record (command, image, style, has-text, "New") repeated.
    auto repeatFirst = [](size_t n) {
        return [n](Bytes& b) {
            const Bytes first(b.begin() + 4, b.begin() + 4 + 23);
            b = {static_cast<uint8_t>(n), static_cast<uint8_t>(n >> 8), 0, 0};
            for (size_t i = 0; i < n; ++i)
                b.insert(b.end(), first.begin(), first.end());
        };
    };
    const struct {
        const char* name;
        Damage damage;
        const char* logged;   // the section and entry the log names
    } rows[] = {
        {"buttons cut by one byte", mutate(kButtons, [](Bytes& b) { b.pop_back(); }), kButtonsLog},
        {"buttons with a byte left over", mutate(kButtons, [](Bytes& b) { b.push_back(0); }), kButtonsLog},
        {"button count one too many", mutate(kButtons, [](Bytes& b) { b[0] = 6; }), kButtonsLog},
        {"has-text neither 0 nor 1", mutate(kButtons, [](Bytes& b) { b[13] = 2; }), kButtonsLog},
        {"text without its marker", mutate(kButtons, [](Bytes& b) { b[17] = 0xFE; }), kButtonsLog},
        {"size entry disagrees",
            [](SavedStateTest& t) { t.PutBinary(L"Main_ButtonsSettings", t.Binary(L"Main_ButtonsSettings"), 12); },
            kButtonsLog},
        {"positions descending", put(kPositions, {2, 0, 0, 0, 3, 0, 0, 0, 0xF4, 1, 0, 0, 1, 0, 0, 0, 0xF4, 1, 0, 0}),
            kPositionsLog},
        {"negative position", put(kPositions, {1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0xF4, 1, 0, 0}), kPositionsLog},
        {"order with another magic", mutate(L"Main", [](Bytes& b) { b[0] = 'X'; }, true), kOrderLog},
        {"order cut short", mutate(L"Main", [](Bytes& b) { b.resize(b.size() - 4); }, true), kOrderLog},
        {"program-wide record without the template's number", mutate(kWide, [](Bytes& b) { b.resize(b.size() - 2); }),
            kWideLog},
        {"program-wide record with bytes left over", mutate(kWide, [](Bytes& b) { b.push_back(1); }), kWideLog},
        {"an indent wider than the screen", profileInt(L"Indent", 100000), "[Bars_Main] Indent was"},
        {"a thousand text rows", profileInt(L"TextRows", 1000), "[Bars_Main] TextRows was"},
        {"4,096 copies of one button", mutate(kButtons, repeatFirst(4096)), kButtonsLog},
        {"a button text of 2,000 characters",
            mutate(kButtons,
                [](Bytes& b) {
                    // The first button's text "New" (length byte 3 at 20) becomes 2,000 'x'.
                    Bytes text = {0xFF, 0xD0, 0x07};
                    for (int i = 0; i < 2000; ++i)
                        text.insert(text.end(), {'x', 0});
                    b.erase(b.begin() + 20, b.begin() + 27);
                    b.insert(b.begin() + 20, text.begin(), text.end());
                }),
            kButtonsLog},
        {"a custom button 100,000 pixels tall",
            mutate(kWide, [](Bytes& b) { b[12] = 0xA0, b[13] = 0x86, b[14] = 0x01, b[15] = 0; }), kWideLog},
    };
    CTestCoolBar& saved = MakeSaved();
    ASSERT_TRUE(saved.SaveBarState(L"Bars", L"Main", TRUE));
    const Bytes goodButtons = Binary(L"Main_ButtonsSettings"), goodPositions = Binary(L"Main_CustomButtonsPositions"),
                goodWide = Binary(L"Toolbars_CustomButtonsSettings"), goodOrder = Order(L"Main");
    const int goodIndent = static_cast<int>(app.GetProfileInt(L"Bars_Main", L"Indent", 0));
    const int goodTextRows = static_cast<int>(app.GetProfileInt(L"Bars_Main", L"TextRows", 0));
    CTestCoolBar& fresh = MakeFresh();
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        PutBinary(L"Main_ButtonsSettings", goodButtons);
        PutBinary(L"Main_CustomButtonsPositions", goodPositions);
        PutBinary(L"Toolbars_CustomButtonsSettings", goodWide);
        PutOrder(L"Main", goodOrder);
        app.WriteProfileInt(L"Bars_Main", L"Indent", goodIndent);
        app.WriteProfileInt(L"Bars_Main", L"TextRows", goodTextRows);
        COXCoolToolBar::m_bCustomButtonsStateLoaded = FALSE;
        templates[0]->value = 99;
        row.damage(*this);
        const BarSnapshot before = Snap(fresh, templates);
        const ErrorLogMark mark;
        EXPECT_FALSE(fresh.LoadBarState(L"Bars", L"Main", TRUE));
        EXPECT_EQ(Snap(fresh, templates), before);
        EXPECT_FALSE(COXCoolToolBar::m_bCustomButtonsStateLoaded);
        EXPECT_NE(mark.NewText().find(row.logged), std::string::npos) << mark.NewText();
    }
}

TEST_F(SavedStateTest, UnknownCustomButtonStopsTheProgramWideRecordThere)
{
    templates.push_back(std::make_unique<CSampleCustomButton>());
    templates.push_back(std::make_unique<CSampleCustomButton>());
    COXCoolToolBar::AddCustomButton(templates[0].get(), 500, 10);
    COXCoolToolBar::AddCustomButton(templates[1].get(), 501, 20);
    // 500: width 50, height 9, flags 2, image 1, number 11; then 999 (not registered),
    // then 501, which cannot be reached any more.
    PutBinary(L"Toolbars_CustomButtonsSettings",
        Bytes{3, 0, 0, 0, 0xF4, 1, 0, 0, 50, 0, 0, 0, 9, 0, 0, 0, 2, 0, 0, 0, 1, 0, 0, 0, 11, 0, 0, 0, 0xE7, 3, 0, 0,
            1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 0xF5, 1, 0, 0, 60, 0, 0, 0, 9, 0, 0, 0, 2, 0, 0, 0, 1,
            0, 0, 0, 12, 0, 0, 0});
    CTestCoolBar& bar = MakeBar({ID_COOL_NEW});
    ASSERT_TRUE(bar.LoadBarState(L"Bars", L"Main", FALSE));
    OXCUSTOMBUTTONDESCRIPTOR d;
    COXCoolToolBar::GetRegisteredCustomButton(0, d);
    EXPECT_EQ(std::vector<int>({d.m_nWidth, d.m_nHeight, d.m_nFlags, d.m_nImageIndex}), std::vector<int>({50, 9, 2, 1}));
    EXPECT_EQ(templates[0]->value, 11);
    COXCoolToolBar::GetRegisteredCustomButton(1, d);
    EXPECT_EQ(d.m_nWidth, 20);
    EXPECT_EQ(templates[1]->value, 0);
    // Read once per process: a second bar does not read it again.
    templates[0]->value = 5;
    CTestCoolBar& second = MakeBar({ID_COOL_NEW}, AFX_IDW_TOOLBAR + 2);
    ASSERT_TRUE(second.LoadBarState(L"Bars", L"Main", FALSE));
    EXPECT_EQ(templates[0]->value, 5);
}

TEST_F(SavedStateTest, CustomizableZeroLeavesTheControlsOwnCustomisation)
{
    CTestCoolBar& bar = MakeBar({ID_COOL_NEW});
    bar.SetBitmapIds(g_ids, 4);
    bar.SetCustomizable(TRUE, FALSE);
    app.WriteProfileInt(L"Bars_Main", L"Customizable", 0);
    app.WriteProfileInt(L"Bars_Main", L"TextType", -1);   // written as -1: absent
    ASSERT_TRUE(bar.LoadBarState(L"Bars", L"Main", TRUE));
    EXPECT_TRUE(bar.IsCustomizable(FALSE)) << "CCS_ADJUSTABLE stays";
    EXPECT_FALSE(bar.IsCustomizable(TRUE));
    EXPECT_EQ(bar.GetTextType(), COXCoolToolBar::TTID_NONE);
}

TEST_F(SavedStateTest, ANonCustomisableBarWithoutProfileKeySavesLooksOnly)
{
    CTestCoolBar& bar = MakeBar({ID_COOL_NEW});
    EXPECT_TRUE(bar.SaveBarState(L"Bars", L"Plain", TRUE));
    EXPECT_TRUE(Binary(L"Plain_ButtonsSettings").empty());
    EXPECT_EQ(static_cast<int>(app.GetProfileInt(L"Bars_Plain", L"Separator", -1)), 1);
}

} // namespace
} // namespace zyn::test
