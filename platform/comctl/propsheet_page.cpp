// Property sheet pages: the handles, reading a page's template once when its handle is
// made, and making the page's window when the sheet first activates it.
#include <algorithm>
#include <cstring>

#include "platform/base/globalmem.h"
#include "platform/base/handle_table.h"
#include "platform/base/lasterror.h"
#include "platform/base/resource.h"
#include "platform/comctl/propsheet_state.h"
#include "platform/comctl/propsheet_template.h"
#include "platform/user/messages.h"
#include "platform/user/styles.h"
#include "platform/user/msgqueue.h"
#include "platform/user/window.h"
#include "platform/user/winpos.h"

namespace zyn::comctl::detail {
namespace {

base::HandleTable<PropPage>& Pages()
{
    static auto* const table = new base::HandleTable<PropPage>(base::HandleKind::Misc); // immortal
    return *table;
}

// A structure larger than this is not a page description but a wrong size.
constexpr DWORD kMaxPageStructure = 0x10000;
// A template given by pointer alone is read within the resource or global memory block
// holding it; other memory is the caller's promise, and this bound only keeps a garbage
// item count from walking on without end.
constexpr size_t kUntrackedTemplateBound = size_t{64} << 20;

std::span<const uint8_t> BytesAt(const void* p)
{
    const auto* b = static_cast<const uint8_t*>(p);
    if (auto n = base::ResourceBytesFrom(p))
        return {b, *n};
    const DWORD saved = GetLastError();
    if (HGLOBAL h = GlobalHandle(p)) {
        const SIZE_T n = GlobalSize(h);
        SetLastError(saved);
        return {b, static_cast<size_t>(n)};
    }
    SetLastError(saved);
    return {b, kUntrackedTemplateBound};
}

std::span<const uint8_t> ResourceTemplate(HINSTANCE inst, LPCWSTR name)
{
    const HRSRC r = FindResourceW(inst, name, RT_DIALOG);
    if (!r)
        return {};
    const HGLOBAL g = LoadResource(inst, r);
    const auto* p = static_cast<const uint8_t*>(g ? LockResource(g) : nullptr);
    if (!p)
        return {};
    return {p, SizeofResource(inst, r)};
}

std::wstring LoadText(HINSTANCE inst, LPCWSTR textOrId)
{
    if (!textOrId)
        return {};
    if (!IS_INTRESOURCE(textOrId))
        return textOrId;
    wchar_t buf[512] = {};
    const DWORD saved = GetLastError();
    const int n = LoadStringW(inst, static_cast<UINT>(reinterpret_cast<uintptr_t>(textOrId)), buf, 512);
    SetLastError(saved);
    return std::wstring(buf, static_cast<size_t>(std::max(n, 0)));
}

// Reads and checks the page's template; false with the last error set.
bool ReadTemplate(PropPage& page)
{
    PROPSHEETPAGEW& psp = page.Psp();
    std::span<const uint8_t> bytes;
    if (psp.dwFlags & PSP_DLGINDIRECT) {
        if (!psp.pResource) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return false;
        }
        bytes = BytesAt(psp.pResource);
    } else {
        if (!psp.pszTemplate) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return false;
        }
        if (IS_INTRESOURCE(psp.pszTemplate)) {
            page.templateId = static_cast<WORD>(reinterpret_cast<uintptr_t>(psp.pszTemplate));
        } else {
            // Our own copy: the caller's text may be a temporary.
            page.templateName = psp.pszTemplate;
            psp.pszTemplate = page.templateName.c_str();
        }
        bytes = ResourceTemplate(psp.hInstance, psp.pszTemplate);
        if (bytes.data() == nullptr)
            return false; // FindResource's error
    }
    std::string error;
    auto t = user::ParseDialogTemplate(bytes, &error);
    if (!t) {
        SetLastError(ERROR_INVALID_DATA);
        return false;
    }
    page.cx = t->cx;
    page.cy = t->cy;
    page.caption = t->title;
    MakePageTemplate(*t);
    page.tmpl = WriteDialogTemplate(*t);
    return true;
}

// The page being made on this thread: its window is not known until the dialog manager
// returns, yet its WM_INITDIALOG may already talk to the sheet (PSM_CHANGED).
thread_local PropPage* t_creating = nullptr;

} // namespace

std::shared_ptr<PropPage> PageOf(HPROPSHEETPAGE h) { return h ? Pages().Get(h) : nullptr; }

bool CreatePageWindow(PropPage& page, HWND sheet, const RECT& rc)
{
    if (page.hwnd && IsWindow(page.hwnd))
        return true;
    page.hwnd = nullptr;
    if (page.creating)
        return false;
    PROPSHEETPAGEW& psp = page.Psp();
    if ((psp.dwFlags & PSP_USECALLBACK) && psp.pfnCallback && psp.pfnCallback(nullptr, PSPCB_CREATE, &psp) == 0)
        return false;
    if (!IsWindow(sheet))
        return false;
    page.creating = true;
    PropPage* const outer = std::exchange(t_creating, &page);
    const HWND h = user::CreateDialogFromBytes(page.tmpl, psp.hInstance, sheet, psp.pfnDlgProc,
        reinterpret_cast<LPARAM>(&psp));
    t_creating = outer;
    page.creating = false;
    if (!h || !IsWindow(h)) {
        page.hwnd = nullptr;
        return false;
    }
    page.hwnd = h;
    // Above the tab control (so it shows and comes first in the tab order), in the
    // display area, still hidden.
    SetWindowPos(h, HWND_TOP, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, SWP_NOACTIVATE);
    return IsWindow(h) != FALSE;
}

PropPage* PageBeingCreated() { return t_creating; }

void ReleasePage(HPROPSHEETPAGE h)
{
    auto page = Pages().Remove(h);
    if (!page)
        return;
    if (page->hwnd && IsWindow(page->hwnd))
        DestroyWindow(page->hwnd);
    page->hwnd = nullptr;
    PROPSHEETPAGEW& psp = page->Psp();
    if ((psp.dwFlags & PSP_USECALLBACK) && psp.pfnCallback)
        psp.pfnCallback(nullptr, PSPCB_RELEASE, &psp);
    if ((psp.dwFlags & PSP_USEREFPARENT) && psp.pcRefParent && *psp.pcRefParent > 0)
        --*psp.pcRefParent;
}

} // namespace zyn::comctl::detail

using namespace zyn::comctl::detail;

HPROPSHEETPAGE CreatePropertySheetPageW(LPCPROPSHEETPAGEW p)
{
    if (!p || p->dwSize < PROPSHEETPAGE_V1_SIZE || p->dwSize > kMaxPageStructure) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto page = std::make_shared<PropPage>();
    page->psp.assign(std::max<size_t>(p->dwSize, sizeof(PROPSHEETPAGEW)), 0);
    std::memcpy(page->psp.data(), p, p->dwSize);
    PROPSHEETPAGEW& psp = page->Psp();
    if (!ReadTemplate(*page))
        return nullptr;
    if (psp.dwFlags & PSP_USETITLE)
        page->title = LoadText(psp.hInstance, psp.pszTitle);
    if (psp.pszTitle && !IS_INTRESOURCE(psp.pszTitle))
        psp.pszTitle = page->title.c_str();
    const uint32_t v = Pages().Add(page);
    if (v == 0) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    const auto h = zyn::base::MakeHandle<HPROPSHEETPAGE>(v);
    if ((psp.dwFlags & PSP_USEREFPARENT) && psp.pcRefParent)
        ++*psp.pcRefParent;
    if ((psp.dwFlags & PSP_USECALLBACK) && psp.pfnCallback)
        psp.pfnCallback(nullptr, PSPCB_ADDREF, &psp);
    return h;
}

HPROPSHEETPAGE CreatePropertySheetPage(LPCPROPSHEETPAGEW p) { return CreatePropertySheetPageW(p); }

BOOL DestroyPropertySheetPage(HPROPSHEETPAGE hPage)
{
    auto page = PageOf(hPage);
    if (!page) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    // A page of a living sheet leaves it first, so the sheet forgets its tab.
    if (page->sheet && IsWindow(page->sheet) && SheetOf(page->sheet)) {
        SendMessageW(page->sheet, PSM_REMOVEPAGE, 0, reinterpret_cast<LPARAM>(hPage));
        if (!PageOf(hPage))
            return TRUE;
    }
    ReleasePage(hPage);
    return TRUE;
}

size_t zyn::comctl::LivePropertySheetPageCount() { return Pages().Count(); }
