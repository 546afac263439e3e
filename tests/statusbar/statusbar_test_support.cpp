#include "tests/statusbar/statusbar_test_support.h"

#include "platform/afx/afxstate.h"
#include "platform/afx/gdi/dc.h"
#include "platform/afx/tooltip_thread.h"
#include "platform/base/clock.h"
#include "platform/base/module.h"
#include "platform/gdi/builtin_modules.h"
#include "platform/gdi/dc_internal.h"
#include "platform/gdi/gdi_object.h"
#include "platform/gdi/sysmetrics.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/driver.h"
#include "platform/user/input.h"
#include "platform/user/modal.h"
#include "platform/user/msgqueue.h"
#include "platform/user/paint.h"
#include "platform/user/window.h"
#include "platform/user/winpos.h"

namespace sbtest {

BEGIN_MESSAGE_MAP(CRecordingFrame, CFrameWnd)
    ON_MESSAGE(OXWM_STATUSBAR_DBLCLK, &CRecordingFrame::OnPaneDoubleClick)
END_MESSAGE_MAP()

LRESULT CRecordingFrame::OnPaneDoubleClick(WPARAM wParam, LPARAM lParam)
{
    EXPECT_EQ(lParam, 0);
    doubleClicks.push_back(static_cast<UINT>(wParam));
    return 0;
}

void StatusBarUiTest::SetUp()
{
    zyn::user::ResetWindowSystemForTests();
    zyn::gdi::ResetDesktop(1024, 768);
    zyn::gdi::ResetSystemColors();
    zyn::gdi::ResetSystemMetrics();
    const INT indices[] = {COLOR_BTNFACE, COLOR_BTNSHADOW, COLOR_GRAYTEXT, COLOR_WINDOW, COLOR_BTNHIGHLIGHT,
        COLOR_BTNTEXT, COLOR_HIGHLIGHT};
    const COLORREF colours[] = {kFace, kShadow, kGrayText, kWhite, kWhite, kBlack, kHighlight};
    ASSERT_TRUE(SetSysColors(7, indices, colours));
    zyn::base::Clock::UseVirtual(100000);
    zyn::user::SetScriptedMode(true);
    AfxUnlockTempMaps();
    BYTE keys[256] = {};
    SetKeyboardState(keys);
    m_objects = zyn::gdi::LiveObjectCount();
    m_dcs = zyn::gdi::LiveDcCount();
    m_hooks = zyn::user::LiveHookCount();
}

void StatusBarUiTest::TearDown()
{
    zyn::afx::DestroyThreadToolTip();
    bar.reset();
    if (frame && ::IsWindow(frame->m_hWnd))
        frame->DestroyWindow(); // deletes itself
    frame = nullptr;
    Pump();
    app.reset();
    if (m_msimg32Removed)
        zyn::gdi::RegisterDrawingModules();
    EXPECT_EQ(zyn::user::LiveWindowCount(), 0u) << "windows leaked";
    EXPECT_EQ(zyn::afx::PermanentWindowCount(), 0u) << "window objects still attached";
    EXPECT_EQ(zyn::user::LiveHookCount(), m_hooks) << "hooks leaked";
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
    }
    AfxUnlockTempMaps();
    CDC::DeleteTempMap();
    EXPECT_EQ(zyn::gdi::LiveObjectCount(), m_objects) << "GDI objects leaked";
    EXPECT_EQ(zyn::gdi::LiveDcCount(), m_dcs) << "DCs leaked";
    BYTE keys[256] = {};
    SetKeyboardState(keys);
    zyn::gdi::ResetSystemColors();
    zyn::user::ResetWindowSystemForTests();
}

void StatusBarUiTest::MakeApp(bool libraryGradients)
{
    if (!libraryGradients) {
        if (HMODULE h = GetModuleHandleW(L"Msimg32.dll")) {
            EXPECT_TRUE(zyn::base::UnregisterBuiltinModule(h));
        }
        m_msimg32Removed = true;
    }
    app = std::make_unique<CZynApp>(L"StatusBarTest");
}

void StatusBarUiTest::UseSkin(const wchar_t* name)
{
    ASSERT_TRUE(app);
    ASSERT_TRUE(app->SetCurrentSkin(name));
    Repaint();
}

COXStatusBar* StatusBarUiTest::MakeBar(const std::vector<UINT>& ids, DWORD frameStyle, int width, int height)
{
    if (!app)
        MakeApp();
    frame = new CRecordingFrame;
    if (!frame->Create(nullptr, L"Main", frameStyle, CRect(100, 100, 100 + width, 100 + height))) {
        frame = nullptr;
        return nullptr;
    }
    app->m_pMainWnd = frame;
    frame->SetActiveWindow();
    frame->SetFocus();
    bar = std::make_unique<COXStatusBar>();
    if (!bar->Create(frame))
        return nullptr;
    if (!bar->SetIndicators(ids.data(), static_cast<int>(ids.size())))
        return nullptr;
    Repaint();
    return bar.get();
}

void StatusBarUiTest::Repaint()
{
    if (frame && frame->m_hWnd) {
        frame->RecalcLayout();
        frame->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    }
    Pump();
}

void StatusBarUiTest::Idle()
{
    ASSERT_TRUE(app);
    app->OnIdle(0);
    Pump();
}

void StatusBarUiTest::SetToggle(int vk, bool on)
{
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[vk] = on ? 1 : 0;
    SetKeyboardState(keys);
}

COLORREF StatusBarUiTest::Pixel(int x, int y) const
{
    POINT p{x, y};
    ::ClientToScreen(bar->m_hWnd, &p);
    HDC screen = GetDC(nullptr);
    const COLORREF c = GetPixel(screen, p.x, p.y);
    ReleaseDC(nullptr, screen);
    return c;
}

CRect StatusBarUiTest::Client() const
{
    CRect r;
    bar->GetClientRect(&r);
    return r;
}

CRect StatusBarUiTest::Part(int index) const
{
    CRect r(0, 0, 0, 0);
    ::SendMessageW(bar->m_hWnd, SB_GETRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
    return r;
}

CSize StatusBarUiTest::TextExtent(const wchar_t* text, HFONT font)
{
    HFONT made = nullptr;
    if (!font) {
        NONCLIENTMETRICSW ncm{};
        ncm.cbSize = sizeof ncm;
        EXPECT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0));
        made = CreateFontIndirectW(&ncm.lfStatusFont);
        font = made;
    }
    HDC screen = GetDC(nullptr);
    const HGDIOBJ old = SelectObject(screen, font);
    RECT r{0, 0, 0, 0};
    DrawTextW(screen, text, -1, &r, DT_SINGLELINE | DT_CALCRECT);
    SelectObject(screen, old);
    ReleaseDC(nullptr, screen);
    if (made)
        DeleteObject(made);
    return CSize(r.right - r.left, r.bottom - r.top);
}

std::wstring StatusBarUiTest::Shown(int index, UINT* type) const
{
    const LRESULT lengthAndType = ::SendMessageW(bar->m_hWnd, SB_GETTEXTLENGTHW, static_cast<WPARAM>(index), 0);
    if (type)
        *type = HIWORD(lengthAndType);
    std::wstring text(LOWORD(lengthAndType) + 1, L'\0');
    ::SendMessageW(bar->m_hWnd, SB_GETTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(LOWORD(lengthAndType));
    return text;
}

} // namespace sbtest
