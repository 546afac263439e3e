#include "tests/afx/afx_dialog_test_support.h"

#include <map>

#include "platform/base/clock.h"
#include "platform/base/tchar.h"
#include "platform/gdi/gdi_object.h"

namespace zyn::test {

std::wstring AfxDialogTest_TextOf(HWND hWnd);

namespace {

// ---- the stand-in controls --------------------------------------------------------------------------------------------

constexpr UINT kLbResetContent = 0x0184, kLbGetText = 0x0189, kLbGetTextLen = 0x018A, kLbGetCount = 0x018B,
               kLbSelectString = 0x018C, kLbFindString = 0x018F, kLbFindStringExact = 0x01A2;
constexpr UINT kCbGetCount = 0x0146, kCbGetLbText = 0x0148, kCbGetLbTextLen = 0x0149, kCbResetContent = 0x014B,
               kCbFindString = 0x014C, kCbSelectString = 0x014D, kCbFindStringExact = 0x0158;
constexpr LRESULT kErr = -1;
constexpr DWORD kCbsDropDownList = 0x0003;

struct StandIn {
    StandInLog log;
    std::vector<std::wstring> items;
    int sel = -1;
};

std::map<HWND, StandIn>& States()
{
    static std::map<HWND, StandIn> states;
    return states;
}

// The documented search: from the item after `after` (-1: the first), wrapping round,
// case-insensitive, a prefix or the whole item.
LRESULT Find(const StandIn& s, WPARAM after, LPARAM text, bool exact)
{
    const auto* want = reinterpret_cast<const wchar_t*>(text);
    const int n = static_cast<int>(s.items.size());
    if (!want || n == 0)
        return kErr;
    const int start = static_cast<int>(static_cast<INT_PTR>(after));
    const size_t len = wcslen(want);
    for (int k = 1; k <= n; ++k) {
        const int i = ((start < -1 || start >= n ? -1 : start) + k) % n;
        const std::wstring& item = s.items[static_cast<size_t>(i)];
        const bool match = exact ? _wcsicmp(item.c_str(), want) == 0
                                 : item.size() >= len && _wcsnicmp(item.c_str(), want, len) == 0;
        if (match)
            return i;
    }
    return kErr;
}

LRESULT CopyItem(const StandIn& s, WPARAM index, LPARAM buffer)
{
    if (index >= s.items.size() || !buffer)
        return kErr;
    const std::wstring& item = s.items[index];
    std::copy(item.begin(), item.end(), reinterpret_cast<wchar_t*>(buffer));
    reinterpret_cast<wchar_t*>(buffer)[item.size()] = L'\0';
    return static_cast<LRESULT>(item.size());
}

void NotifyParent(HWND h, UINT code)
{
    ::SendMessageW(::GetParent(h), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(h), code), reinterpret_cast<LPARAM>(h));
}

LRESULT EditProc(HWND h, UINT m, WPARAM wp, LPARAM lp)
{
    StandIn& s = States()[h];
    switch (m) {
    case WM_GETDLGCODE:
        return DLGC_WANTCHARS | DLGC_HASSETSEL;
    case kEmLimitText:
        s.log.limitText = static_cast<int>(wp);
        return 0;
    case kEmSetSel:
        s.log.selection = {static_cast<int>(static_cast<INT_PTR>(wp)), static_cast<int>(lp)};
        ++s.log.setSelCount;
        return 0;
    case WM_SETTEXT: {
        const LRESULT r = ::DefWindowProcW(h, m, wp, lp);
        NotifyParent(h, kEnChange);
        return r;
    }
    case WM_CHAR:
        if (wp >= L' ') {
            std::wstring text = AfxDialogTest_TextOf(h);
            text += static_cast<wchar_t>(wp);
            ::SetWindowTextW(h, text.c_str());
        }
        return 0;
    case WM_NCDESTROY:
        States().erase(h);
        break;
    default:
        break;
    }
    return ::DefWindowProcW(h, m, wp, lp);
}

LRESULT ListProc(HWND h, UINT m, WPARAM wp, LPARAM lp)
{
    StandIn& s = States()[h];
    switch (m) {
    case kLbAddString:
        s.items.emplace_back(lp ? reinterpret_cast<const wchar_t*>(lp) : L"");
        return static_cast<LRESULT>(s.items.size() - 1);
    case kLbResetContent:
        s.items.clear();
        s.sel = -1;
        return 0;
    case kLbGetCount:
        return static_cast<LRESULT>(s.items.size());
    case kLbSetCurSel:
        if (wp >= s.items.size()) {
            s.sel = -1;
            return kErr;
        }
        s.sel = static_cast<int>(wp);
        return s.sel;
    case kLbGetCurSel:
        return s.sel;
    case kLbGetTextLen:
        return wp < s.items.size() ? static_cast<LRESULT>(s.items[wp].size()) : kErr;
    case kLbGetText:
        return CopyItem(s, wp, lp);
    case kLbFindString:
        return Find(s, wp, lp, false);
    case kLbFindStringExact:
        return Find(s, wp, lp, true);
    case kLbSelectString: {
        const LRESULT i = Find(s, wp, lp, false);
        if (i >= 0)
            s.sel = static_cast<int>(i);
        return i;
    }
    case WM_NCDESTROY:
        States().erase(h);
        break;
    default:
        break;
    }
    return ::DefWindowProcW(h, m, wp, lp);
}

LRESULT ComboProc(HWND h, UINT m, WPARAM wp, LPARAM lp)
{
    StandIn& s = States()[h];
    const bool dropList = (static_cast<DWORD>(::GetWindowLongW(h, GWL_STYLE)) & 3) == kCbsDropDownList;
    // The selection shows in the edit field (a drop-down list's only text).
    auto select = [&](int i) {
        s.sel = i;
        const std::wstring text = i >= 0 ? s.items[static_cast<size_t>(i)] : std::wstring();
        ::DefWindowProcW(h, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    };
    switch (m) {
    case kCbAddString:
        s.items.emplace_back(lp ? reinterpret_cast<const wchar_t*>(lp) : L"");
        return static_cast<LRESULT>(s.items.size() - 1);
    case kCbResetContent:
        s.items.clear();
        select(-1);
        return 0;
    case kCbGetCount:
        return static_cast<LRESULT>(s.items.size());
    case kCbSetCurSel:
        if (wp >= s.items.size()) {
            select(-1);
            return kErr;
        }
        select(static_cast<int>(wp));
        return s.sel;
    case kCbGetCurSel:
        return s.sel;
    case kCbGetLbTextLen:
        return wp < s.items.size() ? static_cast<LRESULT>(s.items[wp].size()) : kErr;
    case kCbGetLbText:
        return CopyItem(s, wp, lp);
    case kCbFindString:
        return Find(s, wp, lp, false);
    case kCbFindStringExact:
        return Find(s, wp, lp, true);
    case kCbSelectString: {
        const LRESULT i = Find(s, wp, lp, false);
        if (i >= 0)
            select(static_cast<int>(i));
        return i;
    }
    case WM_SETTEXT:
        if (dropList)
            return FALSE; // a drop-down list has no edit field to take a text
        s.sel = -1;
        break;
    case WM_NCDESTROY:
        States().erase(h);
        break;
    default:
        break;
    }
    return ::DefWindowProcW(h, m, wp, lp);
}

void Register(const wchar_t* name, WNDPROC proc)
{
    WNDCLASSW wc{};
    wc.style = CS_GLOBALCLASS; // dialogs of any module find them, as the system's controls
    wc.lpfnWndProc = proc;
    wc.lpszClassName = name;
    ASSERT_NE(RegisterClassW(&wc), 0) << "class " << std::string(name, name + wcslen(name));
}

} // namespace

std::wstring AfxDialogTest_TextOf(HWND hWnd)
{
    wchar_t buf[512] = {};
    ::GetWindowTextW(hWnd, buf, 512);
    return buf;
}

void AfxDialogTest::SetUp()
{
    AfxTest::SetUp();
    base::Clock::UseVirtual(50000);
    user::SetScriptedMode(true);
    user::AnswerScript::Clear();
    States().clear();
    Register(L"TestEdit", &EditProc);
    Register(L"TestCombo", &ComboProc);
    Register(L"TestList", &ListProc);
    m_gdiObjects = gdi::LiveObjectCount();
    m_dcs = gdi::LiveDcCount();
}

void AfxDialogTest::TearDown()
{
    EXPECT_EQ(user::AnswerScript::PendingTotal(), 0u) << "scripted answers left unused";
    user::AnswerScript::Clear();
    EXPECT_EQ(gdi::LiveDcCount(), m_dcs) << "DCs leaked";
    EXPECT_EQ(gdi::LiveObjectCount(), m_gdiObjects) << "GDI objects leaked";
    AfxTest::TearDown();
    States().clear();
}

void AfxDialogTest::PumpTranslated()
{
    MSG m;
    for (int guard = 0; guard < 100000 && PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE); ++guard) {
        if (m.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(m.wParam));
            break;
        }
        if (AfxPreTranslateMessage(&m))
            continue;
        TranslateMessage(&m);
        DispatchMessageW(&m);
    }
}

void AfxDialogTest::Press(int vk, bool ctrl)
{
    if (ctrl)
        user::InjectKey(VK_CONTROL, true);
    user::InjectKeyPress(vk);
    if (ctrl)
        user::InjectKey(VK_CONTROL, false);
    PumpTranslated();
}

StandInLog& AfxDialogTest::LogOf(HWND hWnd) { return States()[hWnd].log; }

std::vector<std::wstring> AfxDialogTest::ItemsOf(HWND hWnd) { return States()[hWnd].items; }

std::wstring AfxDialogTest::TextOf(HWND hWnd) { return AfxDialogTest_TextOf(hWnd); }

std::vector<std::wstring> AfxDialogTest::BoxTexts()
{
    std::vector<std::wstring> texts;
    for (const auto& rec : user::AnswerScript::Shown())
        if (rec.kind == user::AnswerKind::MessageBox)
            texts.push_back(rec.text);
    return texts;
}

} // namespace zyn::test
