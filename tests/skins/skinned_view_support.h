#pragma once
// Fixture of the skinned-view tests: a fresh desktop and window system per case, known
// system colours in which every role of the classic edges differs, an application object
// that owns the three standard skins and switches between them, form views (skinned and
// plain) that fill their client with one colour of their own, and leak checks on
// windows, window objects, GDI objects and DCs.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>

#include "app/zyn_app.h"
#include "platform/afx/afxstate.h"
#include "platform/afx/doc_context.h"
#include "platform/afx/formview.h"
#include "platform/afx/frame.h"
#include "platform/afx/gdi/dc.h"
#include "platform/afx/gdi/geometry.h"
#include "platform/afx/msgmap_wnd.h"
#include "platform/afx/wnd.h"
#include "platform/gdi/dc_internal.h"
#include "platform/gdi/gdi_object.h"
#include "platform/gdi/sysmetrics.h"
#include "platform/user/driver.h"
#include "platform/user/modal.h"
#include "platform/user/paint.h"
#include "platform/user/winuser.h"
#include "platform/afx/afxres.h"
#include "tests/skins/canvas.h"
#include "tests/skins/skin_forms_ids.h"
#include "tests/skins/skin_test_support.h"
#include "tests/support/golden.h"
#include "toolkit/skins/skinned_view.h"

namespace skintest {

// The colours of the scheme: each edge role its own, and the forms' own client colour.
inline constexpr COLORREF kFace = RGB(212, 208, 200);       // COLOR_BTNFACE
inline constexpr COLORREF kShadow = RGB(128, 128, 128);     // COLOR_BTNSHADOW
inline constexpr COLORREF kDarkShadow = RGB(64, 64, 64);    // COLOR_3DDKSHADOW
inline constexpr COLORREF kLight = RGB(223, 223, 223);      // COLOR_3DLIGHT
inline constexpr COLORREF kHilight = RGB(255, 255, 255);    // COLOR_BTNHIGHLIGHT
inline constexpr COLORREF kFrame = RGB(0, 0, 0);            // COLOR_WINDOWFRAME
inline constexpr COLORREF kWhite = RGB(255, 255, 255);      // COLOR_WINDOW
inline constexpr COLORREF kFormClient = RGB(250, 240, 10);  // what the test forms erase with

inline std::map<int, COLORREF> EdgeScheme()
{
    return {{COLOR_BTNFACE, kFace}, {COLOR_BTNSHADOW, kShadow}, {COLOR_3DDKSHADOW, kDarkShadow},
        {COLOR_3DLIGHT, kLight}, {COLOR_BTNHIGHLIGHT, kHilight}, {COLOR_WINDOWFRAME, kFrame}, {COLOR_WINDOW, kWhite}};
}

// A colour as the golden pictures hold it (0x00RRGGBB).
inline uint32_t Pixel(COLORREF c) { return (uint32_t{GetRValue(c)} << 16) | (uint32_t{GetGValue(c)} << 8) | GetBValue(c); }

// The styles a test form asks for when it is created (its PreCreateWindow adds them), and
// whether it fills its client with kFormClient (else it keeps the dialog's background).
struct FormStyle {
    static inline DWORD style = 0;
    static inline DWORD exStyle = 0;
    static inline bool fillClient = true;
};

class SkinnedTestForm : public COXSkinnedView<CFormView> {
    DECLARE_DYNCREATE(SkinnedTestForm)
public:
    SkinnedTestForm();
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    DECLARE_MESSAGE_MAP()
};

// The same form without a skin.
class PlainTestForm : public CFormView {
    DECLARE_DYNCREATE(PlainTestForm)
public:
    PlainTestForm();
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    DECLARE_MESSAGE_MAP()
};

class SkinnedViewTest : public GdiLeakCheck {
protected:
    void SetUp() override
    {
        zyn::user::ResetWindowSystemForTests();
        zyn::gdi::ResetDesktop(800, 600);
        zyn::gdi::ResetSystemColors();
        zyn::gdi::ResetSystemMetrics();
        zyn::user::AnswerScript::Clear();
        AfxUnlockTempMaps();
        FormStyle::style = 0;
        FormStyle::exStyle = 0;
        FormStyle::fillClient = true;
        m_colours = std::make_unique<SysColours>(EdgeScheme());
        GdiLeakCheck::SetUp();
        m_app = std::make_unique<CZynApp>(L"SkinnedViewTest");
    }
    void TearDown() override
    {
        if (m_pMain && ::IsWindow(m_pMain->GetSafeHwnd()))
            m_pMain->DestroyWindow();
        m_pMain = nullptr;
        Pump();
        AfxUnlockTempMaps();
        m_app.reset();
        GdiLeakCheck::TearDown();
        m_colours.reset();
        EXPECT_EQ(zyn::afx::PermanentWindowCount(), 0u) << "window objects still attached";
        EXPECT_EQ(zyn::user::LiveWindowCount(), 0u) << "windows left behind";
        zyn::user::AnswerScript::Clear();
        zyn::user::ResetWindowSystemForTests();
    }

    static void Pump()
    {
        MSG m;
        for (int guard = 0; guard < 100000 && PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE); ++guard) {
            TranslateMessage(&m);
            DispatchMessageW(&m);
        }
    }

    // A borderless frame of 300 by 200 pixels at (100, 100) filled by a form of the class.
    CFormView* OpenForm(CRuntimeClass* formClass)
    {
        CCreateContext ctx;
        ctx.m_pNewViewClass = formClass;
        auto* frame = new CFrameWnd; // deletes itself with its window
        if (!frame->Create(nullptr, L"", WS_POPUP | WS_VISIBLE, CRect(100, 100, 400, 300), nullptr, nullptr, 0, &ctx))
            return nullptr;
        m_pMain = frame;
        m_app->m_pMainWnd = frame;
        frame->InitialUpdateFrame(nullptr, TRUE);
        Pump();
        return DYNAMIC_DOWNCAST(CFormView, frame->GetDescendantWindow(AFX_IDW_PANE_FIRST, TRUE));
    }

    // Makes a skin current (an unknown name: none) and lets every window take it on.
    void UseSkin(const wchar_t* name)
    {
        m_app->SetCurrentSkin(name);
        Repaint();
    }
    void Repaint()
    {
        if (m_pMain)
            m_pMain->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        Pump();
    }

    // The client rectangle in the window's coordinates.
    static CRect ClientInWindow(CWnd* wnd)
    {
        CRect window, client;
        wnd->GetWindowRect(&window);
        wnd->GetClientRect(&client);
        wnd->ClientToScreen(&client);
        client.OffsetRect(-window.left, -window.top);
        return client;
    }
    static zyn::test::GoldenPicture Shot(CWnd* wnd)
    {
        CRect window;
        wnd->GetWindowRect(&window);
        return zyn::test::CaptureScreen(window);
    }

    std::unique_ptr<SysColours> m_colours;
    std::unique_ptr<CZynApp> m_app;
    CFrameWnd* m_pMain = nullptr;
};

} // namespace skintest
