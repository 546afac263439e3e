#include "tests/afx/afx_test_support.h"
#include "tests/support/pump.h"


namespace zyn::test {

const wchar_t* AfxTest::kPlainClass = L"AfxTestPlain";

std::vector<std::wstring>& Trace::Log()
{
    static std::vector<std::wstring> log;
    return log;
}

int IndexOf(const std::vector<UINT>& seq, UINT msg)
{
    for (size_t i = 0; i < seq.size(); ++i)
        if (seq[i] == msg)
            return static_cast<int>(i);
    return -1;
}

void AfxTest::SetUp()
{
    user::ResetWindowSystemForTests();
    AfxUnlockTempMaps();
    Trace::Clear();
    WNDCLASSW wc{};
    wc.lpfnWndProc = &DefWindowProcW;
    wc.lpszClassName = kPlainClass;
    ASSERT_NE(RegisterClassW(&wc), 0);
    m_hooks = user::LiveHookCount();
}

void AfxTest::TearDown()
{
    EXPECT_EQ(user::LiveWindowCount(), 0u) << "windows leaked";
    EXPECT_EQ(user::LiveHookCount(), m_hooks) << "hooks leaked";
    EXPECT_EQ(afx::PermanentWindowCount(), 0u) << "window objects still attached";
    EXPECT_EQ(AfxGetThreadState()->m_pWndInit, nullptr) << "create hook left armed";
    // Drain the queue (a destroyed main window posts WM_QUIT).
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
    }
    AfxUnlockTempMaps();
    user::ResetWindowSystemForTests();
    Trace::Clear();
}

void AfxTest::Pump()
{
    MSG m;
    for (int guard = 0; guard < 100000 && PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE); ++guard) {
        if (m.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(m.wParam));
            break;
        }
        TranslateMessage(&m);
        DispatchMessageW(&m);
    }
    zyn::test::RunIdle();
}

HWND AfxTest::MakePlain(DWORD style, HWND parent, UINT id)
{
    return CreateWindowExW(0, kPlainClass, L"", style, 0, 0, 200, 100, parent,
        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), nullptr, nullptr);
}

} // namespace zyn::test
