#include "tests/zynapp/zynapp_support.h"

#include "platform/user/driver.h"
#include "platform/user/modal.h"

namespace zyn::test {

std::vector<Received>& ReceivedLog()
{
    static std::vector<Received> log;
    return log;
}

int CountFor(HWND hwnd, UINT msg)
{
    int n = 0;
    for (const Received& r : ReceivedLog())
        n += (r.hwnd == hwnd && r.msg == msg) ? 1 : 0;
    return n;
}

namespace {
LRESULT RecProc(HWND h, UINT m, WPARAM wp, LPARAM lp)
{
    ReceivedLog().push_back(Received{h, m, wp, lp});
    return DefWindowProcW(h, m, wp, lp);
}
} // namespace

void ZynAppTest::SetUp()
{
    user::ResetWindowSystemForTests();
    user::AnswerScript::Clear();
    ReceivedLog().clear();
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = RecProc;
    wc.lpszClassName = kClass;
    ASSERT_NE(RegisterClassExW(&wc), 0);
}

void ZynAppTest::TearDown()
{
    user::AnswerScript::Clear();
    user::ResetWindowSystemForTests();
    ReceivedLog().clear();
}

HWND ZynAppTest::Make(DWORD style, int x, int y, int cx, int cy, HWND parent)
{
    return CreateWindowExW(0, kClass, L"", style, x, y, cx, cy, parent, nullptr, nullptr, nullptr);
}

} // namespace zyn::test
