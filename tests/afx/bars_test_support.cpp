#include "tests/afx/bars_test_support.h"

#include <vector>

#include "platform/afx/tooltip_thread.h"
#include "tests/support/pump.h"

namespace zyn::test {

void BarsTest::SetUp()
{
    DockTest::SetUp();
    afx::ClearWinHelpCalls();
}

void BarsTest::TearDown()
{
    if (frame && ::IsWindow(frame->m_hWnd))
        frame->DestroyWindow();
    frame = nullptr;
    app.m_pMainWnd = nullptr;
    afx::DestroyThreadToolTip();
    afx::ClearWinHelpCalls();
    DockTest::TearDown();
}

void BarsTest::PumpTranslated()
{
    zyn::test::PumpTranslated();
}

void BarsTest::AdvanceMs(int ms)
{
    for (int t = 0; t < ms; t += 10) {
        base::Clock::Advance(static_cast<uint64_t>(std::min(10, ms - t)));
        PumpTranslated();
    }
}

std::wstring BarsTest::Shown(const CStatusBar& bar, int nPart, UINT* pType)
{
    const auto r = static_cast<DWORD>(::SendMessageW(bar.m_hWnd, SB_GETTEXTLENGTHW, static_cast<WPARAM>(nPart), 0));
    if (pType)
        *pType = HIWORD(r);
    std::vector<wchar_t> buf(LOWORD(r) + 1u, L'\0');
    ::SendMessageW(bar.m_hWnd, SB_GETTEXTW, static_cast<WPARAM>(nPart), reinterpret_cast<LPARAM>(buf.data()));
    return buf.data();
}

CPoint BarsTest::At(const CWnd& wnd, int x, int y)
{
    CPoint p(x, y);
    wnd.ClientToScreen(&p);
    return p;
}

CPoint BarsTest::Centre(const CWnd& wnd, const CRect& client)
{
    return At(wnd, (client.left + client.right) / 2, (client.top + client.bottom) / 2);
}

} // namespace zyn::test
