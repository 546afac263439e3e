#include "tests/afx/afx_dialog_test_support.h"

#include "platform/base/clock.h"
#include "platform/base/tchar.h"
#include "platform/gdi/gdi_object.h"
#include "tests/support/pump.h"

namespace zyn::test {

namespace {

bool IsListBox(HWND hWnd)
{
    wchar_t cls[32] = {};
    ::GetClassNameW(hWnd, cls, 32);
    return ::_wcsicmp(cls, L"ListBox") == 0;
}

} // namespace

void AfxDialogTest::SetUp()
{
    AfxTest::SetUp();
    base::Clock::UseVirtual(50000);
    user::SetScriptedMode(true);
    user::AnswerScript::Clear();
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
}

void AfxDialogTest::PumpTranslated()
{
    zyn::test::PumpTranslated();
}

void AfxDialogTest::Press(int vk, bool ctrl)
{
    zyn::test::InjectChord(vk, ctrl);
    PumpTranslated();
}

std::vector<std::wstring> AfxDialogTest::ItemsOf(HWND hWnd)
{
    const bool list = IsListBox(hWnd);
    const UINT getCount = list ? LB_GETCOUNT : CB_GETCOUNT;
    const UINT getLength = list ? LB_GETTEXTLEN : CB_GETLBTEXTLEN;
    const UINT getText = list ? LB_GETTEXT : CB_GETLBTEXT;
    std::vector<std::wstring> items;
    const int n = static_cast<int>(::SendMessageW(hWnd, getCount, 0, 0));
    for (int i = 0; i < n; ++i) {
        const LRESULT length = ::SendMessageW(hWnd, getLength, static_cast<WPARAM>(i), 0);
        if (length < 0) {
            ADD_FAILURE() << "item " << i << " has no length";
            break;
        }
        std::wstring text(static_cast<size_t>(length) + 1, L'\0');
        text.resize(static_cast<size_t>(
            ::SendMessageW(hWnd, getText, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()))));
        items.push_back(std::move(text));
    }
    return items;
}

std::wstring AfxDialogTest::TextOf(HWND hWnd)
{
    std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(hWnd)) + 1, L'\0');
    text.resize(static_cast<size_t>(::GetWindowTextW(hWnd, text.data(), static_cast<int>(text.size()))));
    return text;
}

std::pair<int, int> AfxDialogTest::SelectionOf(HWND hWnd)
{
    DWORD start = 0, end = 0;
    ::SendMessageW(hWnd, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return {static_cast<int>(start), static_cast<int>(end)};
}

int AfxDialogTest::LimitOf(HWND hWnd) { return static_cast<int>(::SendMessageW(hWnd, EM_GETLIMITTEXT, 0, 0)); }

std::vector<std::wstring> AfxDialogTest::BoxTexts()
{
    std::vector<std::wstring> texts;
    for (const auto& rec : user::AnswerScript::Shown())
        if (rec.kind == user::AnswerKind::MessageBox)
            texts.push_back(rec.text);
    return texts;
}

} // namespace zyn::test
