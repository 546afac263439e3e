// System colours, metrics and parameters: one table each, classic defaults, read at
// every call, settable by tests.
#include "platform/gdi/sysmetrics.h"

#include <array>
#include <atomic>
#include <cstring>
#include <map>
#include <optional>
#include <mutex>

#include "platform/base/lasterror.h"
#include "platform/gdi/dc_internal.h"
#include "platform/gdi/wingdi.h"

namespace zyn::gdi {

namespace {

constexpr std::array<COLORREF, ZYN_SYSCOLOR_COUNT> kClassicColors = {
    0xC8D0D4, // COLOR_SCROLLBAR
    0xA56E3A, // COLOR_BACKGROUND
    0x6A240A, // COLOR_ACTIVECAPTION
    0x808080, // COLOR_INACTIVECAPTION
    0xC8D0D4, // COLOR_MENU
    0xFFFFFF, // COLOR_WINDOW
    0x000000, // COLOR_WINDOWFRAME
    0x000000, // COLOR_MENUTEXT
    0x000000, // COLOR_WINDOWTEXT
    0xFFFFFF, // COLOR_CAPTIONTEXT
    0xC8D0D4, // COLOR_ACTIVEBORDER
    0xC8D0D4, // COLOR_INACTIVEBORDER
    0x808080, // COLOR_APPWORKSPACE
    0x6A240A, // COLOR_HIGHLIGHT
    0xFFFFFF, // COLOR_HIGHLIGHTTEXT
    0xC8D0D4, // COLOR_BTNFACE
    0x808080, // COLOR_BTNSHADOW
    0x808080, // COLOR_GRAYTEXT
    0x000000, // COLOR_BTNTEXT
    0xC8D0D4, // COLOR_INACTIVECAPTIONTEXT
    0xFFFFFF, // COLOR_BTNHIGHLIGHT
    0x404040, // COLOR_3DDKSHADOW
    0xC8D0D4, // COLOR_3DLIGHT
    0x000000, // COLOR_INFOTEXT
    0xE1FFFF, // COLOR_INFOBK
    0xB5B5B5, // 25: the alternate button face
    0x800000, // COLOR_HOTLIGHT
    0xF0CAA6, // COLOR_GRADIENTACTIVECAPTION
    0xC0C0C0, // COLOR_GRADIENTINACTIVECAPTION
    0x6A240A, // COLOR_MENUHILIGHT
    0xC8D0D4, // COLOR_MENUBAR
};

std::array<std::atomic<COLORREF>, ZYN_SYSCOLOR_COUNT>& Colors()
{
    static std::array<std::atomic<COLORREF>, ZYN_SYSCOLOR_COUNT> colors;
    static std::once_flag once;
    std::call_once(once, [] {
        for (size_t i = 0; i < colors.size(); ++i)
            colors[i].store(kClassicColors[i]);
    });
    return colors;
}

struct Overrides {
    std::mutex mutex;
    std::map<int, int> metrics;
    std::map<UINT, BOOL> params;
    std::optional<RECT> workArea;   // the primary monitor's, when the monitors say
};
Overrides& TheOverrides()
{
    static Overrides o;
    return o;
}

int DefaultMetric(int index)
{
    auto desk = DesktopSurface();
    const int cx = desk->Width(), cy = desk->Height();
    switch (index) {
    case SM_CXSCREEN: case SM_CXVIRTUALSCREEN: case SM_CXFULLSCREEN: return cx;
    case SM_CYSCREEN: case SM_CYVIRTUALSCREEN: return cy;
    case SM_CYFULLSCREEN: return cy - GetSystemMetrics(SM_CYCAPTION);
    case SM_XVIRTUALSCREEN: case SM_YVIRTUALSCREEN: return 0;
    case SM_CXVSCROLL: case SM_CYHSCROLL: case SM_CYVSCROLL: case SM_CXHSCROLL: return 16;
    case SM_CYVTHUMB: case SM_CXHTHUMB: return 16;
    case SM_CYCAPTION: return 18;
    case SM_CXBORDER: case SM_CYBORDER: return 1;
    case SM_CXDLGFRAME: case SM_CYDLGFRAME: return 3;
    case SM_CXICON: case SM_CYICON: case SM_CXCURSOR: case SM_CYCURSOR: return 32;
    case SM_CYMENU: return 19;
    case SM_MOUSEPRESENT: return 1;
    case SM_SWAPBUTTON: return 0;
    case SM_CXMIN: return 112;
    case SM_CYMIN: return 27;
    case SM_CXSIZE: case SM_CYSIZE: return 18;
    case SM_CXFRAME: case SM_CYFRAME: return 4;
    case SM_CXMINTRACK: return 112;
    case SM_CYMINTRACK: return 27;
    case SM_CXDOUBLECLK: case SM_CYDOUBLECLK: return 4;
    case SM_CXICONSPACING: case SM_CYICONSPACING: return 75;
    case SM_MENUDROPALIGNMENT: return 0;
    case SM_CMOUSEBUTTONS: return 3;
    case SM_CXEDGE: case SM_CYEDGE: return 2;
    case SM_CXMINSPACING: return 160;
    case SM_CYMINSPACING: return 24;
    case SM_CXSMICON: case SM_CYSMICON: return 16;
    case SM_CYSMCAPTION: return 15;
    case SM_CXSMSIZE: return 12;
    case SM_CYSMSIZE: return 14;
    case SM_CXMENUSIZE: case SM_CYMENUSIZE: return 18;
    case SM_ARRANGE: return 8;
    case SM_CXMINIMIZED: return 160;
    case SM_CYMINIMIZED: return 24;
    case SM_CXMAXTRACK: return cx + 12;
    case SM_CYMAXTRACK: return cy + 12;
    case SM_CXMAXIMIZED: return cx + 8;
    case SM_CYMAXIMIZED: return cy + 8;
    case SM_NETWORK: return 1;
    case SM_CXDRAG: case SM_CYDRAG: return 4;
    case SM_CXMENUCHECK: case SM_CYMENUCHECK: return 13;
    case SM_MOUSEWHEELPRESENT: return 1;
    case SM_CMONITORS: return 1;
    case SM_SAMEDISPLAYFORMAT: return 1;
    case SM_CXFOCUSBORDER: case SM_CYFOCUSBORDER: return 1;
    case SM_CXPADDEDBORDER: return 0;
    default: return 0;
    }
}

BOOL DefaultParam(UINT action)
{
    switch (action) {
    case SPI_GETDROPSHADOW: return TRUE;
    case SPI_GETFLATMENU: return FALSE;
    case SPI_GETMENUANIMATION: return FALSE;
    case SPI_GETKEYBOARDCUES: return FALSE; // underlines appear once the keyboard is used
    case SPI_GETHIGHCONTRAST: return FALSE;
    case SPI_GETGRADIENTCAPTIONS: return TRUE;
    case SPI_GETHOTTRACKING: return TRUE;
    case SPI_GETUIEFFECTS: return TRUE;
    case SPI_GETDRAGFULLWINDOWS: return TRUE;
    case SPI_GETFONTSMOOTHING: return TRUE;
    default: return FALSE;
    }
}

BOOL Param(UINT action)
{
    Overrides& o = TheOverrides();
    std::lock_guard lock(o.mutex);
    auto it = o.params.find(action);
    return it != o.params.end() ? it->second : DefaultParam(action);
}

void UiFont(LOGFONTW& lf, LONG weight)
{
    lf = LOGFONTW{};
    lf.lfHeight = -11;
    lf.lfWeight = weight;
    lf.lfCharSet = DEFAULT_CHARSET;
    const wchar_t* face = L"Tahoma";
    for (int i = 0; face[i]; ++i)
        lf.lfFaceName[i] = face[i];
}

} // namespace

void SetSystemMetricForTests(int index, int value)
{
    Overrides& o = TheOverrides();
    std::lock_guard lock(o.mutex);
    o.metrics[index] = value;
}

void SetWorkArea(const RECT* pWork)
{
    Overrides& o = TheOverrides();
    std::lock_guard lock(o.mutex);
    o.workArea = pWork ? std::optional<RECT>(*pWork) : std::nullopt;
}

void ResetSystemMetrics()
{
    Overrides& o = TheOverrides();
    std::lock_guard lock(o.mutex);
    o.metrics.clear();
}

void ResetSystemColors()
{
    for (size_t i = 0; i < kClassicColors.size(); ++i)
        Colors()[i].store(kClassicColors[i]);
}

void SetSystemParameterForTests(UINT getAction, BOOL value)
{
    Overrides& o = TheOverrides();
    std::lock_guard lock(o.mutex);
    o.params[getAction] = value;
}

void ResetSystemParameters()
{
    Overrides& o = TheOverrides();
    std::lock_guard lock(o.mutex);
    o.params.clear();
}

} // namespace zyn::gdi

using namespace zyn::gdi;

DWORD GetSysColor(int nIndex)
{
    if (nIndex < 0 || nIndex >= ZYN_SYSCOLOR_COUNT)
        return 0;
    return Colors()[static_cast<size_t>(nIndex)].load();
}

HBRUSH GetSysColorBrush(int nIndex)
{
    auto b = SysColorBrushObject(nIndex);
    if (!b) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return static_cast<HBRUSH>(b->Handle());
}

BOOL SetSysColors(int cElements, const INT* lpaElements, const COLORREF* lpaRgbValues)
{
    if (cElements < 0 || (cElements > 0 && (!lpaElements || !lpaRgbValues))) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    for (int i = 0; i < cElements; ++i)
        if (lpaElements[i] < 0 || lpaElements[i] >= ZYN_SYSCOLOR_COUNT) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return FALSE;
        }
    for (int i = 0; i < cElements; ++i)
        Colors()[static_cast<size_t>(lpaElements[i])].store(lpaRgbValues[i] & 0xFFFFFFu);
    return TRUE;
}

int GetSystemMetrics(int nIndex)
{
    {
        Overrides& o = TheOverrides();
        std::lock_guard lock(o.mutex);
        auto it = o.metrics.find(nIndex);
        if (it != o.metrics.end())
            return it->second;
    }
    return DefaultMetric(nIndex);
}

BOOL SystemParametersInfoW(UINT uiAction, UINT uiParam, PVOID pvParam, UINT fWinIni)
{
    auto bad = [] {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    };
    switch (uiAction) {
    case SPI_GETNONCLIENTMETRICS: {
        auto* m = static_cast<NONCLIENTMETRICSW*>(pvParam);
        // Both the current layout and the older one without iPaddedBorderWidth.
        const UINT full = sizeof(NONCLIENTMETRICSW);
        const UINT old = static_cast<UINT>(offsetof(NONCLIENTMETRICSW, iPaddedBorderWidth));
        if (!m || (m->cbSize != full && m->cbSize != old) || (uiParam != 0 && uiParam != m->cbSize))
            return bad();
        const UINT size = m->cbSize;
        NONCLIENTMETRICSW n{};
        n.cbSize = size;
        n.iBorderWidth = 1;
        n.iScrollWidth = GetSystemMetrics(SM_CXVSCROLL);
        n.iScrollHeight = GetSystemMetrics(SM_CYHSCROLL);
        n.iCaptionWidth = GetSystemMetrics(SM_CXSIZE);
        n.iCaptionHeight = GetSystemMetrics(SM_CYSIZE);
        UiFont(n.lfCaptionFont, FW_BOLD);
        n.iSmCaptionWidth = GetSystemMetrics(SM_CXSMSIZE);
        n.iSmCaptionHeight = GetSystemMetrics(SM_CYSMSIZE);
        UiFont(n.lfSmCaptionFont, FW_BOLD);
        n.iMenuWidth = GetSystemMetrics(SM_CXMENUSIZE);
        n.iMenuHeight = GetSystemMetrics(SM_CYMENUSIZE);
        UiFont(n.lfMenuFont, FW_NORMAL);
        UiFont(n.lfStatusFont, FW_NORMAL);
        UiFont(n.lfMessageFont, FW_NORMAL);
        n.iPaddedBorderWidth = GetSystemMetrics(SM_CXPADDEDBORDER);
        std::memcpy(m, &n, size);
        return TRUE;
    }
    case SPI_GETICONTITLELOGFONT: {
        auto* lf = static_cast<LOGFONTW*>(pvParam);
        if (!lf)
            return bad();
        UiFont(*lf, FW_NORMAL);
        return TRUE;
    }
    case SPI_GETWORKAREA: {
        auto* r = static_cast<RECT*>(pvParam);
        if (!r)
            return bad();
        *r = RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        Overrides& o = TheOverrides();
        std::lock_guard lock(o.mutex);
        if (o.workArea)
            *r = *o.workArea;
        return TRUE;
    }
    case SPI_GETHIGHCONTRAST: {
        auto* hc = static_cast<HIGHCONTRASTW*>(pvParam);
        if (!hc || hc->cbSize != sizeof(HIGHCONTRASTW))
            return bad();
        hc->dwFlags = HCF_AVAILABLE | (Param(SPI_GETHIGHCONTRAST) ? HCF_HIGHCONTRASTON : 0);
        hc->lpszDefaultScheme = nullptr;
        return TRUE;
    }
    case SPI_GETBORDER:
    case SPI_GETWHEELSCROLLLINES:
    case SPI_GETMENUSHOWDELAY: {
        auto* v = static_cast<UINT*>(pvParam);
        if (!v)
            return bad();
        *v = uiAction == SPI_GETBORDER ? 1u : uiAction == SPI_GETWHEELSCROLLLINES ? 3u : 400u;
        return TRUE;
    }
    case SPI_GETMENUDROPALIGNMENT:
    case SPI_GETDRAGFULLWINDOWS:
    case SPI_GETSCREENREADER:
    case SPI_GETFONTSMOOTHING:
    case SPI_GETACTIVEWINDOWTRACKING:
    case SPI_GETMENUANIMATION:
    case SPI_GETCOMBOBOXANIMATION:
    case SPI_GETLISTBOXSMOOTHSCROLLING:
    case SPI_GETGRADIENTCAPTIONS:
    case SPI_GETKEYBOARDCUES:
    case SPI_GETHOTTRACKING:
    case SPI_GETMENUFADE:
    case SPI_GETSELECTIONFADE:
    case SPI_GETTOOLTIPANIMATION:
    case SPI_GETTOOLTIPFADE:
    case SPI_GETCURSORSHADOW:
    case SPI_GETFLATMENU:
    case SPI_GETDROPSHADOW:
    case SPI_GETUIEFFECTS:
    case SPI_GETCLIENTAREAANIMATION: {
        auto* v = static_cast<BOOL*>(pvParam);
        if (!v)
            return bad();
        *v = Param(uiAction);
        return TRUE;
    }
    case SPI_SETKEYBOARDCUES:
    case SPI_SETFLATMENU:
    case SPI_SETDROPSHADOW:
        // The "set" actions carry the value in pvParam; the "get" action is one below.
        SetSystemParameterForTests(uiAction - 1, pvParam ? TRUE : FALSE);
        return TRUE;
    default:
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
}

BOOL SystemParametersInfo(UINT uiAction, UINT uiParam, PVOID pvParam, UINT fWinIni)
{
    return SystemParametersInfoW(uiAction, uiParam, pvParam, fWinIni);
}
