// The example console's main window as a person sees it, filling a 1280x1024 desktop
// (menu bar, the two toolbars, the filter dialog bar, the shortcut bar, the recent events,
// two screens as MDI tabs with the door form in front, the status bar), repainted whole
// in each skin: every window invalidated, erased and painted at once, frames included.
// The baseline, in the same run, is one PatBlt over the whole desktop. Goal: a repaint
// costs at most ten fills; the program ends with each skin's ratio.
//
// Before it measures, each case checks that a repaint over a desktop painted another
// colour puts back every pixel of the one before, so the figure is that of a complete
// repaint and not of a partial one.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "console_fixture.h"
#include "figure_reporter.h"
#include "platform/afx/afxstate.h"
#include "platform/afx/mdi.h"
#include "platform/gdi/wingdi.h"

namespace {

using benchconsole::kH;
using benchconsole::kW;
constexpr UINT kRepaint = RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW;

// The desktop's pixels, read through a DIB section.
std::vector<uint32_t> ScreenPixels()
{
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = kW;
    bi.bmiHeader.biHeight = -kH;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    std::vector<uint32_t> pixels;
    const HDC screen = ::GetDC(nullptr);
    const HDC mem = ::CreateCompatibleDC(screen);
    void* bits = nullptr;
    const HBITMAP dib = ::CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (mem && dib && bits) {
        const HGDIOBJ old = ::SelectObject(mem, dib);
        if (::BitBlt(mem, 0, 0, kW, kH, screen, 0, 0, SRCCOPY)) {
            const auto* first = static_cast<const uint32_t*>(bits);
            pixels.assign(first, first + size_t(kW) * kH);
        }
        ::SelectObject(mem, old);
    }
    if (dib)
        ::DeleteObject(dib);
    if (mem)
        ::DeleteDC(mem);
    ::ReleaseDC(nullptr, screen);
    return pixels;
}

void FillScreen(COLORREF colour)
{
    const HDC screen = ::GetDC(nullptr);
    const HBRUSH brush = ::CreateSolidBrush(colour);
    const HGDIOBJ old = ::SelectObject(screen, brush);
    ::PatBlt(screen, 0, 0, kW, kH, PATCOPY);
    ::SelectObject(screen, old);
    ::DeleteObject(brush);
    ::ReleaseDC(nullptr, screen);
}

// The console as a person finds it after opening the doors and the operators from the
// shortcut bar and going back to the doors, its window over the whole desktop.
class Console {
public:
    explicit Console(const wchar_t* skin)
    {
        if (!m_session.Started()) {
            m_why = m_session.m_why;
            return;
        }
        CHostFrame* frame = m_session.Frame();
        if (!m_session.App().ChooseSkin(skin)) {
            m_why = "no such skin";
            return;
        }
        // Operators first, then doors: the door form ends in front.
        for (const UINT command : {ID_VIEW_HOST_OPERATORS, ID_VIEW_HOST_DOORS}) {
            if (!m_session.Open(command)) {
                m_why = m_session.m_why;
                return;
            }
        }
        CViewInfo* doors = m_session.App().GetViewInfo(ID_VIEW_HOST_DOORS);
        if (!frame->MDITabsEnabled()) {
            m_why = "the screens are not tabs";
            return;
        }
        if (frame->MDIGetActive() != doors->GetOpenFrame()) {
            m_why = "the door form is not in front";
            return;
        }
        if (!CheckRepaintIsComplete())
            return;
        m_ok = true;
    }

    bool Ok() const { return m_ok; }
    const std::string& Why() const { return m_why; }
    void Repaint() { m_session.Frame()->RedrawWindow(nullptr, nullptr, kRepaint); }

private:
    // One repaint over whatever is shown, kept; a second over a desktop painted another
    // colour must give the same pixels everywhere.
    bool CheckRepaintIsComplete()
    {
        benchconsole::RunUntilIdle(m_session.App());
        Repaint();
        const std::vector<uint32_t> shown = ScreenPixels();
        FillScreen(RGB(255, 0, 255));
        Repaint();
        const std::vector<uint32_t> again = ScreenPixels();
        if (shown.empty() || shown.size() != again.size()) {
            m_why = "the screen cannot be read";
            return false;
        }
        size_t differ = 0;
        for (size_t i = 0; i < shown.size(); ++i)
            differ += shown[i] != again[i];
        if (differ) {
            m_why = "a repaint left " + std::to_string(differ) + " pixels unpainted";
            return false;
        }
        return true;
    }

    benchconsole::Session m_session;
    bool m_ok = false;
    std::string m_why;
};

void BM_Repaint(benchmark::State& state, const wchar_t* skin)
{
    std::optional<benchconsole::Quiet> quiet(std::in_place);
    Console console(skin);
    quiet.reset();
    if (!console.Ok()) {
        state.SkipWithError(console.Why().c_str());
        quiet.emplace();
        return;
    }
    for (auto _ : state)
        console.Repaint();
    quiet.emplace();  // for the console's closing lines
}
BENCHMARK_CAPTURE(BM_Repaint, Classic, L"Classic")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Repaint, OfficeXP, L"Office XP")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Repaint, Office2003, L"Office 2003")->Unit(benchmark::kMicrosecond);

// The baseline: one fill of the whole desktop surface.
void BM_DesktopFill(benchmark::State& state)
{
    zyn::user::ResetWindowSystemForTests(kW, kH);
    const HDC screen = ::GetDC(nullptr);
    const HBRUSH brush = ::CreateSolidBrush(RGB(10, 20, 30));
    const HGDIOBJ old = ::SelectObject(screen, brush);
    for (auto _ : state)
        ::PatBlt(screen, 0, 0, kW, kH, PATCOPY);
    ::SelectObject(screen, old);
    ::DeleteObject(brush);
    ::ReleaseDC(nullptr, screen);
}
BENCHMARK(BM_DesktopFill)->Unit(benchmark::kMicrosecond);

// Sets every repaint beside the fill at the end, by their CPU time.
class RatioReporter : public benchfig::FigureReporter {
public:
    void Finalize() override
    {
        ConsoleReporter::Finalize();
        const double* fill = Figure("BM_DesktopFill");
        if (!fill || *fill <= 0)
            return;
        for (const auto& [name, cpu] : Figures()) {
            if (name.rfind("BM_Repaint/", 0) == 0)
                std::printf("%-22s %6.1f x the fill (goal: at most 10)\n", name.c_str(), cpu.first / *fill);
        }
    }

protected:
    double FigureOf(const Run& run) const override
    {
        return run.GetAdjustedCPUTime() * benchmark::GetTimeUnitMultiplier(run.time_unit);
    }
};

} // namespace

int main(int argc, char** argv)
{
    RatioReporter reporter;
    return benchfig::RunWith(reporter, argc, argv);
}
