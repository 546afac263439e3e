// The open and save dialogs (answered by the answer script or shown, filedlg_window.h),
// CCommonDialog and CFileDialog.
#include "platform/afx/filedlg.h"

#include <algorithm>
#include <string>
#include <vector>

#include <optional>

#include "platform/afx/commdlg_window.h"
#include "platform/afx/filedlg_window.h"
#include "platform/base/lasterror.h"
#include "platform/base/path.h"
#include "platform/base/tchar.h"
#include "platform/user/modal.h"
#include "platform/user/winuser.h"

using zyn::afx::ExtensionStart;
using zyn::afx::FolderOf;
using zyn::afx::NameStart;
using zyn::afx::PathExists;
using zyn::afx::ReplaceQuestion;

namespace {

thread_local DWORD t_commDlgError = 0;

std::wstring FilterAsPairs(LPCWSTR filter)
{
    // "name\0pattern\0...\0\0" as "name|pattern|...|", for the record.
    std::wstring out;
    if (!filter)
        return out;
    for (const wchar_t* p = filter; *p; p += wcslen(p) + 1) {
        out += p;
        out += L'|';
    }
    return out;
}

// Writes a string of `n` characters (embedded nuls allowed) and a final nul into a buffer
// of `cap` characters; false (nothing but the size needed in the first character) when it
// does not fit.
bool Store(LPWSTR buffer, DWORD cap, const std::wstring& s)
{
    if (s.size() + 1 > cap) {
        if (cap > 0)
            buffer[0] = static_cast<wchar_t>(std::min<size_t>(s.size() + 1, 0xFFFF));
        return false;
    }
    std::copy(s.begin(), s.end(), buffer);
    buffer[s.size()] = L'\0';
    return true;
}

// The refusal of a scripted answer the dialog could not have given (its note), or none;
// the paths come back with the default extension added.
std::optional<std::wstring> CheckScriptedPaths(const OPENFILENAMEW& ofn, bool open, std::vector<std::wstring>& paths,
    const std::wstring& title)
{
    if (paths.empty())
        return L"the answer names no file: Cancel";
    if (paths.size() > 1 && !(ofn.Flags & OFN_ALLOWMULTISELECT))
        return L"several files answer a dialog without OFN_ALLOWMULTISELECT: Cancel";
    const std::wstring defExt = ofn.lpstrDefExt ? ofn.lpstrDefExt : L"";
    for (std::wstring& path : paths) {
        if (NameStart(path) >= path.size())
            return L"the answer '" + path + L"' names a folder, not a file: Cancel";
        if (ExtensionStart(path) == std::wstring::npos && !defExt.empty())
            path += L"." + defExt;
        if ((ofn.Flags & OFN_FILEMUSTEXIST) && !PathExists(path, false))
            return L"'" + path + L"' does not exist and the dialog asks for an existing file: Cancel";
        const std::wstring folder = FolderOf(path);
        if ((ofn.Flags & (OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST)) && !folder.empty() && !PathExists(folder, true))
            return L"the folder '" + folder + L"' does not exist: Cancel";
    }
    if (paths.size() > 1) {
        const std::wstring folder = FolderOf(paths.front());
        for (const std::wstring& path : paths) {
            if (FolderOf(path) != folder)
                return L"the files answered lie in different folders: Cancel";
        }
    }
    if (!open && (ofn.Flags & OFN_OVERWRITEPROMPT) && PathExists(paths.front(), false)) {
        const std::wstring question = ReplaceQuestion(paths.front());
        if (::MessageBoxW(ofn.hwndOwner, question.c_str(), title.c_str(), MB_YESNO | MB_ICONWARNING) != IDYES)
            return L"the existing file was kept: Cancel";
    }
    return std::nullopt;
}

// The chosen paths into the caller's buffers; the note of a failure, or none.
std::optional<std::wstring> StoreChoice(OPENFILENAMEW& ofn, const std::vector<std::wstring>& paths)
{
    std::wstring result;
    WORD nameOffset = 0;
    WORD extOffset = 0;
    if (paths.size() == 1) {
        result = paths.front();
        nameOffset = static_cast<WORD>(std::min<size_t>(NameStart(result), 0xFFFF));
        const size_t ext = ExtensionStart(result);
        extOffset = ext == std::wstring::npos ? 0 : static_cast<WORD>(std::min<size_t>(ext, 0xFFFF));
    } else {
        result = FolderOf(paths.front());
        result += L'\0';
        nameOffset = static_cast<WORD>(std::min<size_t>(result.size(), 0xFFFF));
        for (const std::wstring& path : paths) {
            result += path.substr(NameStart(path));
            result += L'\0';
        }
    }
    if (!Store(ofn.lpstrFile, ofn.nMaxFile, result)) {
        t_commDlgError = FNERR_BUFFERTOOSMALL;
        return L"the file buffer is too small for the answer";
    }
    if (ofn.lpstrFileTitle && ofn.nMaxFileTitle > 0) {
        const std::wstring title = paths.front().substr(NameStart(paths.front()));
        if (!Store(ofn.lpstrFileTitle, ofn.nMaxFileTitle, title)) {
            t_commDlgError = FNERR_BUFFERTOOSMALL;
            return L"the file title buffer is too small for the answer";
        }
    }
    ofn.nFileOffset = nameOffset;
    ofn.nFileExtension = extOffset;
    const std::wstring defExt = ofn.lpstrDefExt ? ofn.lpstrDefExt : L"";
    const bool different = !defExt.empty() && std::any_of(paths.begin(), paths.end(), [&](const std::wstring& p) {
        const size_t ext = ExtensionStart(p);
        return ::_wcsicmp(ext == std::wstring::npos ? L"" : p.c_str() + ext, defExt.c_str()) != 0;
    });
    if (different)
        ofn.Flags |= OFN_EXTENSIONDIFFERENT;
    else
        ofn.Flags &= ~OFN_EXTENSIONDIFFERENT;
    return std::nullopt;
}

BOOL RunFileDialog(LPOPENFILENAMEW ofn, bool open)
{
    t_commDlgError = 0;
    if (!ofn || ofn->lStructSize != sizeof(OPENFILENAMEW)) {
        t_commDlgError = CDERR_STRUCTSIZE;
        return FALSE;
    }
    if (!ofn->lpstrFile || ofn->nMaxFile == 0) {
        t_commDlgError = CDERR_INITIALIZATION;
        return FALSE;
    }
    zyn::user::ShownRecord rec;
    rec.kind = zyn::user::AnswerKind::FileDialog;
    rec.owner = ofn->hwndOwner;
    rec.text = ofn->lpstrTitle ? ofn->lpstrTitle : (open ? L"Open" : L"Save As");
    rec.flags = ofn->Flags;
    rec.filter = FilterAsPairs(ofn->lpstrFilter);
    rec.defaultExt = ofn->lpstrDefExt ? ofn->lpstrDefExt : L"";
    rec.initialDir = ofn->lpstrInitialDir ? ofn->lpstrInitialDir : L"";
    rec.fileName.assign(ofn->lpstrFile, wcsnlen(ofn->lpstrFile, ofn->nMaxFile));
    rec.result = IDCANCEL;
    auto finish = [&](BOOL ok, std::wstring note = {}) { return zyn::afx::RecordCommDlg(rec, ok, std::move(note)); };

    std::vector<std::wstring> paths;
    if (auto answer = zyn::user::AnswerScript::Take(zyn::user::AnswerKind::FileDialog)) {
        rec.scripted = true;
        if (answer->code != IDOK)
            return finish(FALSE);
        paths = answer->texts;
        if (paths.empty() && !answer->text.empty())
            paths.push_back(answer->text);
        if (auto refused = CheckScriptedPaths(*ofn, open, paths, rec.text))
            return finish(FALSE, std::move(*refused));
    } else if (!zyn::afx::CommDlgHasSomeoneToAsk()) {
        return finish(FALSE); // headless: nobody to ask
    } else {
        zyn::afx::FileDialogChoice choice = zyn::afx::RunFileDialogWindow(*ofn, open, rec.text);
        if (!zyn::afx::NoteWindowRun(choice.run, choice.ok, rec))
            return finish(FALSE);
        paths = std::move(choice.paths);
    }
    if (auto failed = StoreChoice(*ofn, paths))
        return finish(FALSE, std::move(*failed));
    return finish(TRUE);
}

} // namespace

DWORD CommDlgExtendedError() { return t_commDlgError; }

void zyn::afx::SetCommDlgError(DWORD code) { t_commDlgError = code; }

BOOL GetOpenFileNameW(LPOPENFILENAMEW lpofn) { return RunFileDialog(lpofn, true); }
BOOL GetSaveFileNameW(LPOPENFILENAMEW lpofn) { return RunFileDialog(lpofn, false); }

// ---- CCommonDialog ----------------------------------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CCommonDialog, CDialog)

CCommonDialog::CCommonDialog(CWnd* pParentWnd) { m_pParentWnd = pParentWnd; }
CCommonDialog::~CCommonDialog() = default;
void CCommonDialog::OnOK() { EndDialog(IDOK); }
void CCommonDialog::OnCancel() { EndDialog(IDCANCEL); }

// ---- CFileDialog --------------------------------------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CFileDialog, CCommonDialog)

CFileDialog::CFileDialog(BOOL bOpenFileDialog, LPCTSTR lpszDefExt, LPCTSTR lpszFileName, DWORD dwFlags,
    LPCTSTR lpszFilter, CWnd* pParentWnd, DWORD /*dwSize*/, BOOL /*bVistaStyle*/)
    : CCommonDialog(pParentWnd), m_bOpenFileDialog(bOpenFileDialog)
{
    m_ofn.lStructSize = sizeof(m_ofn);
    m_ofn.Flags = dwFlags | OFN_EXPLORER;
    m_ofn.lpstrFile = m_szFileName;
    m_ofn.nMaxFile = MAX_PATH;
    m_ofn.lpstrFileTitle = m_szFileTitle;
    m_ofn.nMaxFileTitle = static_cast<DWORD>(std::size(m_szFileTitle));
    if (lpszDefExt) {
        m_strDefExt = lpszDefExt;
        m_ofn.lpstrDefExt = m_strDefExt.c_str();
    }
    if (lpszFileName) {
        const size_t n = std::min<size_t>(wcslen(lpszFileName), MAX_PATH - 1);
        std::copy(lpszFileName, lpszFileName + n, m_szFileName);
        m_szFileName[n] = L'\0';
    }
    if (lpszFilter) {
        // "a|b|c|d||" → "a\0b\0c\0d\0\0".
        m_strFilter = lpszFilter;
        std::replace(m_strFilter.begin(), m_strFilter.end(), L'|', L'\0');
        m_strFilter.push_back(L'\0');
        m_ofn.lpstrFilter = m_strFilter.c_str();
    }
}

CFileDialog::~CFileDialog() = default;

INT_PTR CFileDialog::DoModal()
{
    if (!m_ofn.hwndOwner) {
        CWnd* pOwner = GetSafeOwner(m_pParentWnd, nullptr);
        m_ofn.hwndOwner = zyn::afx::SafeHwndOf(pOwner);
    }
    const BOOL ok = m_bOpenFileDialog ? ::GetOpenFileNameW(&m_ofn) : ::GetSaveFileNameW(&m_ofn);
    return ok ? IDOK : IDCANCEL;
}

CString CFileDialog::GetPathName() const
{
    if (!m_ofn.lpstrFile)
        return CString();
    // Several files: the buffer starts with the folder.
    return CString(m_ofn.lpstrFile);
}

CString CFileDialog::GetFileName() const
{
    if (!m_ofn.lpstrFile || !m_ofn.lpstrFile[0])
        return CString();
    if (m_ofn.nFileOffset > 0 && m_ofn.nFileOffset < m_ofn.nMaxFile)
        return CString(m_ofn.lpstrFile + m_ofn.nFileOffset);
    const std::wstring path = m_ofn.lpstrFile;
    return CString(path.substr(NameStart(path)).c_str());
}

CString CFileDialog::GetFileExt() const
{
    const CString name = GetFileName();
    const std::wstring s = name.GetString();
    const size_t ext = ExtensionStart(s);
    return ext == std::wstring::npos ? CString() : CString(s.substr(ext).c_str());
}

CString CFileDialog::GetFileTitle() const
{
    const CString name = GetFileName();
    const std::wstring s = name.GetString();
    const size_t ext = ExtensionStart(s);
    return ext == std::wstring::npos ? name : CString(s.substr(0, ext - 1).c_str());
}

CString CFileDialog::GetFolderPath() const
{
    if (!m_ofn.lpstrFile || !m_ofn.lpstrFile[0])
        return CString();
    const std::wstring path = m_ofn.lpstrFile;
    // Several files: the buffer's first string is the folder itself.
    if (m_ofn.nFileOffset > path.size())
        return CString(path.c_str());
    return CString(FolderOf(path).c_str());
}

POSITION CFileDialog::GetStartPosition() const
{
    if (!m_ofn.lpstrFile || !m_ofn.lpstrFile[0])
        return nullptr;
    // A position is the offset of the next name in the buffer, plus one.
    const size_t first = wcslen(m_ofn.lpstrFile) < m_ofn.nFileOffset ? m_ofn.nFileOffset : 0;
    return reinterpret_cast<POSITION>(static_cast<uintptr_t>(first + 1));
}

CString CFileDialog::GetNextPathName(POSITION& pos) const
{
    if (!pos || !m_ofn.lpstrFile) {
        pos = nullptr;
        return CString();
    }
    const size_t at = reinterpret_cast<uintptr_t>(pos) - 1;
    const size_t folderLength = wcslen(m_ofn.lpstrFile);
    if (at == 0) {
        // One file: its path, once.
        pos = nullptr;
        return CString(m_ofn.lpstrFile);
    }
    const wchar_t* name = m_ofn.lpstrFile + at;
    const size_t n = wcslen(name);
    std::wstring path(m_ofn.lpstrFile, folderLength);
    // Joined with the separator the folder uses.
    const wchar_t sep = path.find(L'\\') == std::wstring::npos && path.find(L'/') != std::wstring::npos ? L'/' : L'\\';
    if (!path.empty() && path.back() != L'\\' && path.back() != L'/')
        path += sep;
    path += name;
    const size_t next = at + n + 1;
    pos = (next < m_ofn.nMaxFile && m_ofn.lpstrFile[next]) ? reinterpret_cast<POSITION>(static_cast<uintptr_t>(next + 1))
                                                           : nullptr;
    return CString(path.c_str());
}
