#pragma once
// The drawing layer's built-in modules, found through LoadLibrary/GetProcAddress:
//   "Msimg32.dll"   GradientFill, AlphaBlend, TransparentBlt
//   "comctl32.dll"  DllGetVersion (6.0), InitCommonControls, InitCommonControlsEx and
//                   every ImageList_* function
//   "UxTheme.dll"   IsThemeActive and IsAppThemed, both TRUE: a visual style is on, but
//                   the module has no theme data (no OpenThemeData), so code that asks
//                   for a theme's parts or colours finds none. A test that registers its
//                   own module of that name unregisters this one first.
//
// They are registered by a static initialiser of this unit, so they exist before main;
// RegisterDrawingModules() puts back any that a test unregistered.
#include <functional>

#include "platform/base/wintypes.h"

struct DLLVERSIONINFO {
    DWORD cbSize;
    DWORD dwMajorVersion;
    DWORD dwMinorVersion;
    DWORD dwBuildNumber;
    DWORD dwPlatformID;
};
struct DLLVERSIONINFO2 {
    DLLVERSIONINFO info1;
    DWORD dwFlags;
    ULONGLONG ullVersion;       // MAKEDLLVERULL(major, minor, build, qfe)
};
static_assert(sizeof(DLLVERSIONINFO) == 20);
static_assert(sizeof(DLLVERSIONINFO2) == 32);
inline constexpr DWORD DLLVER_PLATFORM_WINDOWS = 0x00000001, DLLVER_PLATFORM_NT = 0x00000002;
constexpr ULONGLONG MAKEDLLVERULL(WORD major, WORD minor, WORD build, WORD qfe)
{
    return (static_cast<ULONGLONG>(major) << 48) | (static_cast<ULONGLONG>(minor) << 32) |
        (static_cast<ULONGLONG>(build) << 16) | qfe;
}
// The type of every module's "DllGetVersion" export.
using DLLGETVERSIONPROC = HRESULT (*)(DLLVERSIONINFO*);

struct INITCOMMONCONTROLSEX {
    DWORD dwSize;               // sizeof(INITCOMMONCONTROLSEX)
    DWORD dwICC;
};
using LPINITCOMMONCONTROLSEX = INITCOMMONCONTROLSEX*;
inline constexpr DWORD ICC_LISTVIEW_CLASSES = 0x1, ICC_TREEVIEW_CLASSES = 0x2, ICC_BAR_CLASSES = 0x4,
                       ICC_TAB_CLASSES = 0x8, ICC_UPDOWN_CLASS = 0x10, ICC_PROGRESS_CLASS = 0x20,
                       ICC_HOTKEY_CLASS = 0x40, ICC_ANIMATE_CLASS = 0x80, ICC_WIN95_CLASSES = 0xFF,
                       ICC_DATE_CLASSES = 0x100, ICC_USEREX_CLASSES = 0x200, ICC_COOL_CLASSES = 0x400,
                       ICC_INTERNET_CLASSES = 0x800, ICC_PAGESCROLLER_CLASS = 0x1000,
                       ICC_NATIVEFNTCTL_CLASS = 0x2000, ICC_STANDARD_CLASSES = 0x4000, ICC_LINK_CLASS = 0x8000;

// Records the classes asked for and hands them to the common controls' registration
// hook (installed by the controls when they exist). FALSE with ERROR_INVALID_PARAMETER
// for a null pointer or a wrong dwSize; FALSE when the hook refuses.
BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* picce);
void InitCommonControls();

namespace zyn::gdi {

// comctl32's DllGetVersion: version 6.0, build 7601, NT platform. cbSize must be the
// size of DLLVERSIONINFO or DLLVERSIONINFO2 (E_INVALIDARG otherwise).
HRESULT CommonControlsDllGetVersion(DLLVERSIONINFO* pdvi);

// Registers "Msimg32.dll", "comctl32.dll" and "UxTheme.dll" unless they already are.
void RegisterDrawingModules();

// The common controls install the function that registers their window classes.
using CommonControlsInitHook = std::function<BOOL(DWORD icc)>;
void SetCommonControlsInitHook(CommonControlsInitHook hook);
// Every ICC_* class set asked for so far.
DWORD RequestedCommonControls();

} // namespace zyn::gdi
