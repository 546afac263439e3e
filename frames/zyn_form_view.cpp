#include "frames/zyn_form_view.h"

#include "platform/afx/afxres.h"
#include "platform/afx/cmdui.h"
#include "platform/base/tchar.h"
#include "platform/user/clipboard.h"
#include "platform/user/edit.h"
#include "platform/user/messages.h"
#include "platform/user/winuser.h"

namespace Zyn::Cmn {

IMPLEMENT_DYNAMIC(ZynFormView, COXSkinnedView<CFormView>)

BEGIN_MESSAGE_MAP(ZynFormView, COXSkinnedView<CFormView>)
    ON_COMMAND(ID_EDIT_COPY, &ZynFormView::OnEditCopy)
    ON_UPDATE_COMMAND_UI(ID_EDIT_COPY, &ZynFormView::OnUpdateNeedSel)
    ON_COMMAND(ID_EDIT_CUT, &ZynFormView::OnEditCut)
    ON_UPDATE_COMMAND_UI(ID_EDIT_CUT, &ZynFormView::OnUpdateNeedSel)
    ON_COMMAND(ID_EDIT_PASTE, &ZynFormView::OnEditPaste)
    ON_UPDATE_COMMAND_UI(ID_EDIT_PASTE, &ZynFormView::OnUpdateNeedClip)
END_MESSAGE_MAP()

ZynFormView::ZynFormView(UINT nIDTemplate) : COXSkinnedView<CFormView>(nIDTemplate) {}

ZynFormView::~ZynFormView() = default;

int ZynFormView::IsEdit(CWnd* pWnd)
{
    const HWND hWnd = pWnd ? pWnd->GetSafeHwnd() : nullptr;
    if (!hWnd || !::IsWindow(hWnd))
        return FALSE;
    // Six characters: "Edit" and its terminator, and enough to tell a longer name apart.
    wchar_t name[6] = {};
    ::GetClassNameW(hWnd, name, 6);
    return _wcsicmp(name, L"Edit") == 0;
}

namespace {
HWND FocusedEdit()
{
    const HWND hFocus = ::GetFocus();
    return hFocus && ZynFormView::IsEdit(CWnd::FromHandle(hFocus)) ? hFocus : nullptr;
}
} // namespace

void ZynFormView::OnUpdateNeedSel(CCmdUI* pCmdUI)
{
    DWORD start = 0, end = 0;
    const HWND hEdit = FocusedEdit();
    if (hEdit)
        ::SendMessageW(hEdit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    pCmdUI->Enable(hEdit && start != end);
}

void ZynFormView::OnUpdateNeedClip(CCmdUI* pCmdUI)
{
    const HWND hEdit = FocusedEdit();
    const bool writable = hEdit && !(::GetWindowLongPtrW(hEdit, GWL_STYLE) & ES_READONLY);
    pCmdUI->Enable(writable && ::IsClipboardFormatAvailable(CF_TEXT));
}

void ZynFormView::OnEditCopy()
{
    if (const HWND hFocus = ::GetFocus())
        ::SendMessageW(hFocus, WM_COPY, 0, 0);
}

void ZynFormView::OnEditCut()
{
    if (const HWND hFocus = ::GetFocus())
        ::SendMessageW(hFocus, WM_CUT, 0, 0);
}

void ZynFormView::OnEditPaste()
{
    if (const HWND hFocus = ::GetFocus())
        ::SendMessageW(hFocus, WM_PASTE, 0, 0);
}

} // namespace Zyn::Cmn
