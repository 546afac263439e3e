// Callback texts: TTN_GETDISPINFOW and TTN_GETDISPINFOA (chosen by WM_NOTIFYFORMAT),
// the answer by pointer, by buffer, by resource, kept with TTF_DI_SETITEM, the 80
// characters of the buffer, and the ampersand and tab rule.
#include <cstring>

#include "platform/base/module.h"
#include "platform/base/resource.h"
#include "tests/comctl/comctl_test_support.h"

namespace zyn::test {
namespace {

class TipText : public ComctlTest {
protected:
    void SetUp() override
    {
        ComctlTest::SetUp();
        host = MakeHost(100, 100, 400, 300);
    }
    void TearDown() override
    {
        DestroyWindow(tip);
        DestroyWindow(host);
        ComctlTest::TearDown();
    }
    // Adds the callback tool (after AnsiHosts() is set: the form is asked at adding).
    void MakeCallbackTool(DWORD style = TTS_ALWAYSTIP | TTS_NOPREFIX)
    {
        tip = MakeTip(host, style);
        ASSERT_TRUE(AddTool(tip, host, 5, RECT{0, 0, 100, 100}, LPSTR_TEXTCALLBACKW));
    }
    std::wstring Text() const
    {
        std::vector<wchar_t> buf(512, L'\0');
        TOOLINFOW ti{};
        ti.cbSize = sizeof ti;
        ti.hwnd = host;
        ti.uId = 5;
        ti.lpszText = buf.data();
        SendMessageW(tip, TTM_GETTEXTW, buf.size(), reinterpret_cast<LPARAM>(&ti));
        return buf.data();
    }

    HWND host = nullptr;
    HWND tip = nullptr;
};

TEST_F(TipText, TheWideNotificationCarriesTheToolAndTakesEachKindOfAnswer)
{
    static std::wstring s_pointer = L"by pointer";
    struct Row {
        const char* name;
        std::function<void(NMTTDISPINFOW*)> answer;
        std::wstring expected;
    };
    const Row rows[] = {
        {"pointer", [](NMTTDISPINFOW* di) { di->lpszText = s_pointer.data(); }, L"by pointer"},
        {"buffer", [](NMTTDISPINFOW* di) { std::wcscpy(di->szText, L"in the buffer"); }, L"in the buffer"},
        {"nothing", [](NMTTDISPINFOW*) {}, L""},
        {"null", [](NMTTDISPINFOW* di) { di->lpszText = nullptr; }, L""},
        {"resource", [](NMTTDISPINFOW* di) {
             di->hinst = GetModuleHandleW(nullptr);
             di->lpszText = MAKEINTRESOURCEW(4242);
         }, L"From the string table"},
        {"an ID without a module is never read as a pointer", [](NMTTDISPINFOW* di) {
             di->lpszText = MAKEINTRESOURCEW(4242);
         }, L"From the string table"},
    };
    ASSERT_TRUE(base::AddStringTable(nullptr, {{4242, L"From the string table"}}));
    MakeCallbackTool();
    for (const Row& row : rows) {
        Notices().clear();
        NMTTDISPINFOW seen{};
        OnNeedText() = [&](HWND, NMHDR* hdr) {
            auto* di = reinterpret_cast<NMTTDISPINFOW*>(hdr);
            seen = *di;
            EXPECT_EQ(di->lpszText, di->szText) << row.name << ": lpszText starts at the buffer";
            row.answer(di);
        };
        EXPECT_EQ(Text(), row.expected) << row.name;
        ASSERT_EQ(Notices().size(), 1u) << row.name;
        EXPECT_EQ(Notices()[0].code, TTN_GETDISPINFOW) << row.name;
        EXPECT_EQ(seen.hdr.hwndFrom, tip) << row.name;
        EXPECT_EQ(seen.hdr.idFrom, 5u) << row.name;
    }
}

TEST_F(TipText, AnAnsiHostGetsTheNarrowNotificationConvertedThroughTheCodePage)
{
    AnsiHosts().push_back(host);
    MakeCallbackTool();
    struct Row {
        const char* name;
        std::function<void(NMTTDISPINFOA*)> answer;
        std::wstring expected;
    };
    static char s_pointer[] = "Na\xEFve \x80";
    const Row rows[] = {
        {"buffer", [](NMTTDISPINFOA* di) { std::strcpy(di->szText, "Caf\xE9"); }, L"Caf\u00E9"},
        {"pointer", [](NMTTDISPINFOA* di) { di->lpszText = s_pointer; }, L"Na\u00EFve \u20AC"},
    };
    for (const Row& row : rows) {
        Notices().clear();
        OnNeedText() = [&](HWND, NMHDR* hdr) { row.answer(reinterpret_cast<NMTTDISPINFOA*>(hdr)); };
        EXPECT_EQ(Text(), row.expected) << row.name;
        ASSERT_EQ(Notices().size(), 1u) << row.name;
        EXPECT_EQ(Notices()[0].code, TTN_GETDISPINFOA) << row.name;
    }
}

TEST_F(TipText, AFullBufferWithoutTerminatorIsReadToItsEndAndNoFurther)
{
    struct Row {
        const char* name;
        bool ansi;
    };
    const Row rows[] = {{"wide", false}, {"narrow", true}};
    for (const Row& row : rows) {
        AnsiHosts().clear();
        if (row.ansi)
            AnsiHosts().push_back(host);
        DestroyWindow(tip);
        MakeCallbackTool();
        OnNeedText() = [&](HWND, NMHDR* hdr) {
            // 80 characters and no terminator; what follows the buffer is not text.
            if (row.ansi) {
                auto* di = reinterpret_cast<NMTTDISPINFOA*>(hdr);
                std::memset(di->szText, 'y', sizeof di->szText);
                di->hinst = reinterpret_cast<HINSTANCE>(static_cast<uintptr_t>(0x4142434445464748ull));
            } else {
                auto* di = reinterpret_cast<NMTTDISPINFOW*>(hdr);
                std::wmemset(di->szText, L'y', std::size(di->szText));
                di->hinst = reinterpret_cast<HINSTANCE>(static_cast<uintptr_t>(0x0000004100000042ull));
            }
        };
        EXPECT_EQ(Text(), std::wstring(80, L'y')) << row.name;
    }
}

TEST_F(TipText, AnAnswerMarkedSetItemIsKeptAndNotAskedForAgain)
{
    MakeCallbackTool();
    int asked = 0;
    OnNeedText() = [&](HWND, NMHDR* hdr) {
        ++asked;
        auto* di = reinterpret_cast<NMTTDISPINFOW*>(hdr);
        std::wcscpy(di->szText, L"kept");
        di->uFlags |= TTF_DI_SETITEM;
    };
    EXPECT_EQ(Text(), L"kept");
    EXPECT_EQ(Text(), L"kept");
    EXPECT_EQ(asked, 1);
    TOOLINFOW ti{};
    ti.cbSize = sizeof ti;
    ti.hwnd = host;
    ti.uId = 5;
    wchar_t buf[80];
    ti.lpszText = buf;
    SendMessageW(tip, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&ti));
    EXPECT_STREQ(buf, L"kept") << "no longer a callback tool";
}

TEST_F(TipText, AmpersandsAndTabsWithoutNoPrefix)
{
    struct Row {
        const char* name;
        DWORD style;
        const wchar_t* text;
        const wchar_t* shown;
    };
    const Row rows[] = {
        {"mnemonic", TTS_ALWAYSTIP, L"&Open", L"Open"},
        {"double ampersand", TTS_ALWAYSTIP, L"Fish && Chips", L"Fish & Chips"},
        {"cut at the tab", TTS_ALWAYSTIP, L"Open\tCtrl+O", L"Open"},
        {"trailing ampersand", TTS_ALWAYSTIP, L"A&", L"A"},
        {"kept with TTS_NOPREFIX", TTS_ALWAYSTIP | TTS_NOPREFIX, L"&Open\tCtrl+O", L"&Open\tCtrl+O"},
    };
    for (const Row& row : rows) {
        DestroyWindow(tip);
        tip = MakeTip(host, row.style);
        ASSERT_TRUE(AddTool(tip, host, 5, RECT{0, 0, 100, 100}, row.text));
        EXPECT_EQ(Text(), row.shown) << row.name;
    }
}

TEST_F(TipText, AnEmptyAnswerShowsNoTip)
{
    MakeCallbackTool();
    Relay() = tip;
    OnNeedText() = [](HWND, NMHDR*) {};
    MoveTo(150, 150);
    Advance(1000);
    EXPECT_FALSE(Visible(tip));
    EXPECT_EQ(CountNotices(TTN_SHOW), 0u);
    EXPECT_GE(CountNotices(TTN_GETDISPINFOW), 1u);
}

TEST_F(TipText, ResourceToolsLoadTheirStringWhenShown)
{
    ASSERT_TRUE(base::AddStringTable(nullptr, {{77, L"Resource tip"}}));
    tip = MakeTip(host);
    TOOLINFOW ti{};
    ti.cbSize = sizeof ti;
    ti.hwnd = host;
    ti.uId = 5;
    ti.rect = RECT{0, 0, 100, 100};
    ti.hinst = GetModuleHandleW(nullptr);
    ti.lpszText = MAKEINTRESOURCEW(77);
    ASSERT_TRUE(SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti)));
    EXPECT_EQ(Text(), L"Resource tip");
    TOOLINFOW out{};
    out.cbSize = sizeof out;
    out.hwnd = host;
    out.uId = 5;
    SendMessageW(tip, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&out));
    EXPECT_EQ(out.lpszText, MAKEINTRESOURCEW(77)) << "reported as the string's ID";
}

} // namespace
} // namespace zyn::test
