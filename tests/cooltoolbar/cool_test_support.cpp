#include "tests/cooltoolbar/cool_test_support.h"

#include "platform/base/archive.h"
#include "platform/user/messages.h"

namespace zyn::test {

namespace {

constexpr const wchar_t* kRecorderClass = L"CoolCustomizeRecorder";

std::vector<CustomizeEvent> g_events;
std::function<LRESULT(UINT)> g_veto;

LRESULT RecorderProc(HWND h, UINT m, WPARAM wp, LPARAM lp)
{
    if (m == WM_NOTIFY) {
        const auto* notice = reinterpret_cast<const NMCTBCUSTOMIZE*>(lp);
        if (notice->hdr.code == OXCTBN_CUSTOMIZECMD) {
            g_events.push_back(CustomizeEvent{notice->nCustomizeEventID, notice->hdr.hwndFrom});
            return g_veto ? g_veto(notice->nCustomizeEventID) : 0;
        }
    }
    return DefWindowProcW(h, m, wp, lp);
}

} // namespace

LRESULT CCoolFrame::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == 0x045C)
        return snapping;
    return CFrameWnd::WindowProc(message, wParam, lParam);
}

BOOL CSampleCustomButton::CBCreate(int nID, CWnd* pParentWnd, DWORD dwStyle, DWORD dwStyleEx, LPCTSTR lpszClassName,
    LPCTSTR lpszWindowName)
{
    // A registered window class without a procedure of interest is as good as a static.
    const LPCTSTR cls = lpszClassName && *lpszClassName ? lpszClassName : L"Static";
    return CreateEx(dwStyleEx, cls, lpszWindowName ? lpszWindowName : L"", dwStyle | WS_CHILD, CRect(0, 0, 10, 10),
        pParentWnd, static_cast<UINT>(nID));
}

COXCustomTBButtonTemplate* CSampleCustomButton::CBCreateCopy(CWnd* pParentWnd) const
{
    auto copy = std::make_unique<CSampleCustomButton>();
    copy->value = value;
    copy->CBSetDynamicallyCreated(TRUE);
    if (!copy->CBCreate(GetDlgCtrlID(), pParentWnd, WS_CHILD | WS_VISIBLE, 0, L"Static", L""))
        return nullptr;
    ++liveCopies;
    return copy.release();
}

BOOL CSampleCustomButton::CBDelete()
{
    ++deletes;
    if (!CBIsDynamicallyCreated())
        return FALSE;
    --liveCopies;
    if (m_hWnd)
        DestroyWindow();
    delete this;
    return TRUE;
}

BOOL CSampleCustomButton::CBSaveState(CArchive& ar)
{
    ar << value;
    return TRUE;
}

BOOL CSampleCustomButton::CBLoadState(CArchive& ar)
{
    ar >> value;
    return TRUE;
}

void CoolBarTest::SetUp()
{
    DockTest::SetUp();
    app.SetRegistryKey(L"ZynCoolTests");
    COXCoolToolBar::ResetCustomButtons();
    CSampleCustomButton::liveCopies = 0;
    CSampleCustomButton::deletes = 0;
    g_events.clear();
    g_veto = nullptr;
    WNDCLASSW wc{};
    wc.lpfnWndProc = &RecorderProc;
    wc.lpszClassName = kRecorderClass;
    ASSERT_NE(RegisterClassW(&wc), 0);
    m_lists = gdi::LiveImageListCount();
    coolFrame = new CCoolFrame;
    ASSERT_TRUE(coolFrame->Create(nullptr, L"Main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(100, 100, 700, 500)));
    frame = coolFrame;
    view = MakePlain(WS_CHILD | WS_VISIBLE, frame->m_hWnd, AFX_IDW_PANE_FIRST);
    app.m_pMainWnd = frame;
    frame->SetActiveWindow();
    frame->SetFocus();
    frame->RecalcLayout();
    Pump();
}

void CoolBarTest::TearDown()
{
    g_veto = nullptr;
    bars.clear();
    templates.clear();
    COXCoolToolBar::ResetCustomButtons();
    if (recorder && IsWindow(recorder))
        DestroyWindow(recorder);
    recorder = nullptr;
    EXPECT_EQ(CSampleCustomButton::liveCopies, 0) << "custom-button copies leaked";
    coolFrame = nullptr;
    DockTest::TearDown();
    EXPECT_EQ(gdi::LiveImageListCount(), m_lists) << "image lists leaked";
}

CTestCoolBar& CoolBarTest::MakeBar(std::initializer_list<UINT> ids, UINT nID)
{
    bars.push_back(std::make_unique<CTestCoolBar>());
    CTestCoolBar& bar = *bars.back();
    EXPECT_TRUE(bar.Create(frame, WS_CHILD | WS_VISIBLE | CBRS_TOP, nID));
    bar.SetBarStyle(CBRS_ALIGN_TOP | CBRS_SIZE_DYNAMIC);
    EXPECT_TRUE(bar.SetSizes(CSize(23, 22), CSize(16, 15)));
    std::vector<UINT> list(ids);
    EXPECT_TRUE(bar.SetButtons(list.data(), static_cast<int>(list.size())));
    // SetButtons makes separators 6 wide on a flat bar. The frame gives the bar its place.
    frame->RecalcLayout();
    Pump();
    return bar;
}

HWND CoolBarTest::Recorder()
{
    if (!recorder)
        recorder = CreateWindowExW(0, kRecorderClass, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    return recorder;
}

std::vector<CustomizeEvent>& CoolBarTest::Events() { return g_events; }
std::function<LRESULT(UINT)>& CoolBarTest::Veto() { return g_veto; }

std::vector<UINT> CoolBarTest::EventCodes() const
{
    std::vector<UINT> out;
    for (const CustomizeEvent& e : g_events)
        out.push_back(e.event);
    return out;
}

TBBUTTON CoolBarTest::Button(const COXCoolToolBar& bar, int i)
{
    TBBUTTON b{};
    SendMessageW(bar.m_hWnd, TB_GETBUTTON, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&b));
    return b;
}

int CoolBarTest::Count(const COXCoolToolBar& bar)
{
    return static_cast<int>(SendMessageW(bar.m_hWnd, TB_BUTTONCOUNT, 0, 0));
}

RECT CoolBarTest::Item(const COXCoolToolBar& bar, int i)
{
    RECT r{};
    SendMessageW(bar.m_hWnd, TB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r));
    return r;
}

void CoolBarTest::MouseAt(HWND h, int x, int y)
{
    POINT p{x, y};
    ClientToScreen(h, &p);
    user::InjectMouseMove(p.x, p.y);
    Pump();
}

void CoolBarTest::Press(HWND h, int x, int y, user::MouseButton b)
{
    MouseAt(h, x, y);
    user::InjectMouseButton(b, true);
    Pump();
}

void CoolBarTest::Release(HWND h, int x, int y, user::MouseButton b)
{
    MouseAt(h, x, y);
    user::InjectMouseButton(b, false);
    Pump();
}

} // namespace zyn::test
