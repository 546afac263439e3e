#include "platform/suite/controls/progress_dlg.h"

#include <vector>

#include "platform/comctl/progress.h"
#include "platform/user/button.h"
#include "platform/user/dialog_template_writer.h"
#include "platform/user/static.h"
#include "platform/user/winuser.h"

IMPLEMENT_DYNAMIC(LProgressDlg, CDialog)

namespace {

// The built-in layout in dialog units: status line, bar, and Cancel centred below.
const zyn::user::DialogTemplateWriter& BuiltinTemplate()
{
    static const zyn::user::DialogTemplateWriter t = [] {
        zyn::user::DialogTemplateWriter w;
        w.Header(DS_MODALFRAME | DS_SETFONT | DS_CENTER | WS_POPUP | WS_CAPTION | WS_VISIBLE, 3, 220, 62,
            L"Progress", 8, L"MS Shell Dlg");
        w.Item(SS_LEFT | SS_NOPREFIX, 7, 7, 206, 9, static_cast<WORD>(kProgressStatusId), L"Static", L"");
        w.Item(0, 7, 20, 206, 10, static_cast<WORD>(kProgressBarId), PROGRESS_CLASSW, L"");
        w.Item(BS_PUSHBUTTON | WS_TABSTOP, 85, 39, 50, 14, static_cast<WORD>(IDCANCEL), L"Button", L"Cancel");
        return w;
    }();
    return t;
}

} // namespace

LProgressDlg::LProgressDlg(UINT nIDTemplate, UINT nIDCaption) : m_nIDTemplateRes(nIDTemplate)
{
    if (!nIDCaption || !m_strCaption.LoadString(nIDCaption))
        m_strCaption = L"Progress";
}

LProgressDlg::~LProgressDlg()
{
    if (m_hWnd)
        DestroyWindow();
}

void LProgressDlg::AllowCancel(BOOL bAllow)
{
    m_bAllowCancel = bAllow;
    if (m_hWnd)
        ::EnableWindow(::GetDlgItem(m_hWnd, IDCANCEL), bAllow && !m_bCanceled);
}

BOOL LProgressDlg::Create(CWnd* pParent)
{
    if (m_hWnd)
        return FALSE;
    m_bCanceled = FALSE;
    m_bRecorded = false;
    m_answer = zyn::user::AnswerScript::Take(zyn::user::AnswerKind::Progress);
    CWnd* owner = GetSafeOwner(pParent);
    BOOL made = m_nIDTemplateRes ? CDialog::Create(m_nIDTemplateRes, owner)
                                 : CreateIndirect(BuiltinTemplate().Get(), owner);
    if (!made)
        return FALSE;
    if (m_bModal && owner) {
        HWND top = ::GetAncestor(owner->GetSafeHwnd(), GA_ROOT);
        if (top && ::IsWindowEnabled(top)) {
            ::EnableWindow(top, FALSE);
            m_hWndDisabled = top;
        }
    }
    return TRUE;
}

BOOL LProgressDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetWindowText(m_strCaption);
    SetDlgItemText(kProgressStatusId, m_strStatus);
    ::SendMessageW(::GetDlgItem(m_hWnd, kProgressBarId), PBM_SETRANGE32, static_cast<WPARAM>(m_nLower),
        static_cast<LPARAM>(m_nUpper));
    ::SendMessageW(::GetDlgItem(m_hWnd, kProgressBarId), PBM_SETPOS, static_cast<WPARAM>(m_nPos), 0);
    ::EnableWindow(::GetDlgItem(m_hWnd, IDCANCEL), m_bAllowCancel);
    return TRUE;
}

void LProgressDlg::Finish()
{
    if (m_hWndDisabled) {
        if (::IsWindow(m_hWndDisabled))
            ::EnableWindow(m_hWndDisabled, TRUE);
        m_hWndDisabled = nullptr;
    }
    if (!m_bRecorded) {
        m_bRecorded = true;
        zyn::user::ShownRecord record;
        record.kind = zyn::user::AnswerKind::Progress;
        record.owner = m_hWnd ? ::GetWindow(m_hWnd, GW_OWNER) : nullptr;
        record.text = m_strCaption.GetString();
        record.result = m_bCanceled ? IDCANCEL : IDOK;
        record.scripted = m_answer.has_value();
        zyn::user::AnswerScript::Record(std::move(record));
    }
}

BOOL LProgressDlg::DestroyWindow()
{
    Finish();
    return CDialog::DestroyWindow();
}

void LProgressDlg::PostNcDestroy()
{
    // Destroyed with its owner rather than by DestroyWindow: the owner's state and the
    // record are put right all the same.
    Finish();
    CDialog::PostNcDestroy();
}

void LProgressDlg::SetRange(int nLower, int nUpper)
{
    m_nLower = nLower;
    m_nUpper = nUpper;
    if (m_hWnd)
        ::SendMessageW(::GetDlgItem(m_hWnd, kProgressBarId), PBM_SETRANGE32, static_cast<WPARAM>(nLower),
            static_cast<LPARAM>(nUpper));
    SetPos(m_nPos);
}

void LProgressDlg::SetPos(int nPos)
{
    // Kept within the range, as the bar keeps it.
    const int lo = m_nLower < m_nUpper ? m_nLower : m_nUpper;
    const int hi = m_nLower < m_nUpper ? m_nUpper : m_nLower;
    m_nPos = nPos < lo ? lo : nPos > hi ? hi : nPos;
    if (m_hWnd)
        ::SendMessageW(::GetDlgItem(m_hWnd, kProgressBarId), PBM_SETPOS, static_cast<WPARAM>(m_nPos), 0);
}

void LProgressDlg::SetStatus(LPCWSTR lpszStatus)
{
    m_strStatus = lpszStatus ? lpszStatus : L"";
    if (m_hWnd)
        SetDlgItemText(kProgressStatusId, m_strStatus);
}

BOOL LProgressDlg::Canceled()
{
    if (!m_hWnd)
        return m_bCanceled;
    // Only this dialog's messages: anything else (a posted request to the caller's own
    // window, say) waits for the caller's loop, so the work is never re-entered.
    MSG msg;
    while (m_hWnd && ::PeekMessageW(&msg, m_hWnd, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (!::IsDialogMessageW(m_hWnd, &msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    if (m_hWnd && !m_bCanceled && m_answer && m_answer->code == IDCANCEL && m_nPos >= m_answer->position) {
        // The operator's press, as a click on the button would deliver it.
        HWND button = ::GetDlgItem(m_hWnd, IDCANCEL);
        ::SendMessageW(m_hWnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    }
    return m_bCanceled;
}

void LProgressDlg::OnOK()
{
    // Enter does not end the work.
}

void LProgressDlg::OnCancel()
{
    if (!m_bAllowCancel || m_bCanceled)
        return;
    m_bCanceled = TRUE;
    ::EnableWindow(::GetDlgItem(m_hWnd, IDCANCEL), FALSE);
}
