// A whole-frame RedrawWindow (invalidate, erase, frame, all children) after a skin switch,
// with a pane text set before the message loop gets to the paints (as the idle pass does),
// must leave the status bar painted exactly as a paint done at once would, under every
// skin and from every skin: the frame's erase must not cover the bar's panes afterwards.
#include <algorithm>
#include <string>
#include <vector>

#include "platform/afx/afxres.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/paint.h"
#include "platform/user/msgqueue.h"
#include "platform/user/window.h"
#include "tests/statusbar/statusbar_test_support.h"

namespace sbtest {
namespace {

class FullRedrawTest : public StatusBarUiTest {
protected:
    std::vector<COLORREF> Snapshot() const
    {
        std::vector<COLORREF> px;
        const CRect c = Client();
        for (int y = c.top; y < c.bottom; ++y)
            for (int x = c.left; x < c.right; ++x)
                px.push_back(Pixel(x, y));
        return px;
    }
};

TEST_F(FullRedrawTest, PaintedFromTheLoopAsAtOnceAfterEverySkinSwitch)
{
    ASSERT_TRUE(MakeBar({ID_SEPARATOR, ID_SEPARATOR, ID_SEPARATOR}, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 500));
    bar->SetPaneInfo(0, ID_SEPARATOR, SBPS_STRETCH, 60);
    bar->SetPaneInfo(1, ID_SEPARATOR, SBPS_NORMAL, 80);
    bar->SetPaneInfo(2, ID_SEPARATOR, SBPS_NORMAL, 70);
    bar->SetPaneText(0, L"Ready");
    bar->SetPaneText(1, L"Pane one");
    bar->SetPaneText(2, L"Two");
    Repaint();
    // Every ordered pair of skins, the second switched to from the first.
    struct Skin {
        const wchar_t* name;
        const char* label;
    };
    const Skin skins[] = {{L"Classic", "Classic"}, {L"Office XP", "XP"}, {L"Office 2003", "2003"}};
    for (const Skin& from : skins) {
        for (const Skin& to : skins) {
            SCOPED_TRACE(std::string(from.label) + " -> " + to.label);
            UseSkin(from.name);
            // Blank the bar's pixels on screen so a paint that does not happen shows.
            {
                HDC screen = GetDC(nullptr);
                CRect w;
                bar->GetWindowRect(&w);
                HBRUSH magenta = CreateSolidBrush(RGB(255, 0, 255));
                FillRect(screen, &w, magenta);
                DeleteObject(magenta);
                ReleaseDC(nullptr, screen);
            }
            // The switch and the host's extra redraw, then the loop paints.
            ASSERT_TRUE(app->SetCurrentSkin(to.name));
            ::RedrawWindow(frame->m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
            // The idle pass sets a pane's text before the loop gets to the paints.
            bar->SetPaneText(0, (std::wstring(L"Skin ") + to.name).c_str());
            Pump();
            const std::vector<COLORREF> fromLoop = Snapshot();
            Repaint();
            const std::vector<COLORREF> atOnce = Snapshot();
            ASSERT_GT(std::count(atOnce.begin(), atOnce.end(), kBlack), 0) << "no text painted at once";
            EXPECT_TRUE(fromLoop == atOnce);
        }
    }
}

} // namespace
} // namespace sbtest
