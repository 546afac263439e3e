// Registration of the drawing layer's built-in modules and comctl32's own exports.
#include "platform/gdi/builtin_modules.h"

#include <map>
#include <mutex>
#include <string>

#include "platform/base/lasterror.h"
#include "platform/base/module.h"
#include "platform/gdi/imagelist.h"
#include "platform/gdi/wingdi.h"

namespace zyn::gdi {
namespace {

struct CommonControlsState {
    std::mutex mutex;
    CommonControlsInitHook hook;
    DWORD requested = 0;
};
CommonControlsState& Controls()
{
    static auto* const state = new CommonControlsState();
    return *state;
}

template <class F>
void Export(std::map<std::string, void*>& table, const char* name, F* fn)
{
    table.emplace(name, base::ExportAddress(fn));
}

std::map<std::string, void*> Msimg32Exports()
{
    std::map<std::string, void*> t;
    Export(t, "GradientFill", &GradientFill);
    Export(t, "AlphaBlend", &AlphaBlend);
    Export(t, "TransparentBlt", &TransparentBlt);
    return t;
}

// The visual-styles module of this desktop: a style is on (the system it stands for has
// its visual style on by default, and the skins' bars are that style here), so controls
// on a parent that paints its own background may show it. It offers no theme data: the
// controls keep the window system's own look and the skins their colours for no theme.
BOOL VisualStyleOn() { return TRUE; }

std::map<std::string, void*> UxThemeExports()
{
    std::map<std::string, void*> t;
    Export(t, "IsThemeActive", &VisualStyleOn);
    Export(t, "IsAppThemed", &VisualStyleOn);
    return t;
}

std::map<std::string, void*> ComctlExports()
{
    std::map<std::string, void*> t;
    Export(t, "DllGetVersion", &CommonControlsDllGetVersion);
    Export(t, "InitCommonControls", &InitCommonControls);
    Export(t, "InitCommonControlsEx", &InitCommonControlsEx);
    Export(t, "ImageList_Create", &ImageList_Create);
    Export(t, "ImageList_Destroy", &ImageList_Destroy);
    Export(t, "ImageList_GetImageCount", &ImageList_GetImageCount);
    Export(t, "ImageList_SetImageCount", &ImageList_SetImageCount);
    Export(t, "ImageList_Add", &ImageList_Add);
    Export(t, "ImageList_AddMasked", &ImageList_AddMasked);
    Export(t, "ImageList_ReplaceIcon", &ImageList_ReplaceIcon);
    Export(t, "ImageList_Replace", &ImageList_Replace);
    Export(t, "ImageList_Remove", &ImageList_Remove);
    Export(t, "ImageList_GetIconSize", &ImageList_GetIconSize);
    Export(t, "ImageList_SetIconSize", &ImageList_SetIconSize);
    Export(t, "ImageList_GetImageInfo", &ImageList_GetImageInfo);
    Export(t, "ImageList_GetIcon", &ImageList_GetIcon);
    Export(t, "ImageList_SetBkColor", &ImageList_SetBkColor);
    Export(t, "ImageList_GetBkColor", &ImageList_GetBkColor);
    Export(t, "ImageList_SetOverlayImage", &ImageList_SetOverlayImage);
    Export(t, "ImageList_Draw", &ImageList_Draw);
    Export(t, "ImageList_DrawEx", &ImageList_DrawEx);
    Export(t, "ImageList_DrawIndirect", &ImageList_DrawIndirect);
    Export(t, "ImageList_Copy", &ImageList_Copy);
    Export(t, "ImageList_Merge", &ImageList_Merge);
    Export(t, "ImageList_Duplicate", &ImageList_Duplicate);
    Export(t, "ImageList_LoadImageW", &ImageList_LoadImageW);
    Export(t, "ImageList_LoadImage", &ImageList_LoadImage);
    Export(t, "ImageList_BeginDrag", &ImageList_BeginDrag);
    Export(t, "ImageList_DragEnter", &ImageList_DragEnter);
    Export(t, "ImageList_DragMove", &ImageList_DragMove);
    Export(t, "ImageList_DragLeave", &ImageList_DragLeave);
    Export(t, "ImageList_EndDrag", &ImageList_EndDrag);
    Export(t, "ImageList_DragShowNolock", &ImageList_DragShowNolock);
    Export(t, "ImageList_SetDragCursorImage", &ImageList_SetDragCursorImage);
    Export(t, "ImageList_GetDragImage", &ImageList_GetDragImage);
    Export(t, "ImageList_Write", &ImageList_Write);
    Export(t, "ImageList_Read", &ImageList_Read);
    return t;
}

// A module that is already registered stays as it is. A registration that fails otherwise
// leaves the name unknown, and LoadLibrary answers ERROR_MOD_NOT_FOUND for it: before
// main there is no other place to report it.
void RegisterIfMissing(const wchar_t* name, std::map<std::string, void*> exports)
{
    (void)zyn::base::RegisterBuiltinModule(name, std::move(exports));
}

// Before main, without depending on the order in which units initialise: the module
// table is a function-local static of base, made on first use.
const bool g_registered = (RegisterDrawingModules(), true);

} // namespace

void RegisterDrawingModules()
{
    const DWORD saved = GetLastError();
    RegisterIfMissing(L"Msimg32.dll", Msimg32Exports());
    RegisterIfMissing(L"comctl32.dll", ComctlExports());
    RegisterIfMissing(L"UxTheme.dll", UxThemeExports());
    SetLastError(saved);
}

HRESULT CommonControlsDllGetVersion(DLLVERSIONINFO* pdvi)
{
    if (!pdvi)
        return E_POINTER;
    if (pdvi->cbSize != sizeof(DLLVERSIONINFO) && pdvi->cbSize != sizeof(DLLVERSIONINFO2))
        return E_INVALIDARG;
    pdvi->dwMajorVersion = 6;
    pdvi->dwMinorVersion = 0;
    pdvi->dwBuildNumber = 7601;
    pdvi->dwPlatformID = DLLVER_PLATFORM_NT;
    if (pdvi->cbSize == sizeof(DLLVERSIONINFO2)) {
        auto* v2 = reinterpret_cast<DLLVERSIONINFO2*>(pdvi);
        v2->dwFlags = 0;
        v2->ullVersion = MAKEDLLVERULL(6, 0, 7601, 0);
    }
    return S_OK;
}

void SetCommonControlsInitHook(CommonControlsInitHook hook)
{
    CommonControlsState& s = Controls();
    std::lock_guard lock(s.mutex);
    s.hook = std::move(hook);
}

DWORD RequestedCommonControls()
{
    CommonControlsState& s = Controls();
    std::lock_guard lock(s.mutex);
    return s.requested;
}

} // namespace zyn::gdi

using namespace zyn::gdi;

BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* picce)
{
    if (!picce || picce->dwSize != sizeof(INITCOMMONCONTROLSEX)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    CommonControlsInitHook hook;
    {
        CommonControlsState& s = Controls();
        std::lock_guard lock(s.mutex);
        s.requested |= picce->dwICC;
        hook = s.hook;
    }
    return hook ? hook(picce->dwICC) : TRUE;
}

void InitCommonControls()
{
    const INITCOMMONCONTROLSEX icc{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
}
