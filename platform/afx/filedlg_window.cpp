// The open and save dialogs' window: the folder and file lists from the file system, the
// name box, the file types, and the checks the flags ask for before it ends.
#include "platform/afx/filedlg_window.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "platform/afx/commdlg_window.h"
#include "platform/afx/dlgs.h"
#include "platform/base/tchar.h"
#include "platform/base/lasterror.h"
#include "platform/base/path.h"
#include "platform/user/button.h"
#include "platform/user/combobox.h"
#include "platform/user/listbox.h"
#include "platform/user/winuser.h"

namespace zyn::afx {

size_t NameStart(const std::wstring& path)
{
    const size_t sep = path.find_last_of(L"\\/");
    return sep == std::wstring::npos ? 0 : sep + 1;
}

size_t ExtensionStart(const std::wstring& path)
{
    const size_t dot = path.find_last_of(L'.');
    if (dot == std::wstring::npos || dot < NameStart(path))
        return std::wstring::npos;
    return dot + 1;
}

std::wstring FolderOf(const std::wstring& path)
{
    const size_t start = NameStart(path);
    if (start == 0)
        return std::wstring();
    // Keep a root's separator ("/" or "C:\").
    const size_t end = (start == 1 || (start == 3 && path[1] == L':')) ? start : start - 1;
    return path.substr(0, end);
}

bool PathExists(const std::wstring& path, bool folder)
{
    const DWORD saved = ::GetLastError();
    const DWORD attr = ::GetFileAttributesW(path.c_str());
    ::SetLastError(saved);
    if (attr == INVALID_FILE_ATTRIBUTES)
        return false;
    return !folder || (attr & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::wstring ReplaceQuestion(const std::wstring& path)
{
    return path + L" already exists.\nDo you want to replace it?";
}

namespace {

constexpr const wchar_t* kParent = L"..";

bool LessIgnoringCase(const std::wstring& a, const std::wstring& b)
{
    const int c = ::_wcsicmp(a.c_str(), b.c_str());
    return c != 0 ? c < 0 : a < b;
}

bool HasWildcard(const std::wstring& s) { return s.find_first_of(L"*?") != std::wstring::npos; }

std::wstring Trimmed(const std::wstring& s)
{
    const size_t a = s.find_first_not_of(L" \t");
    if (a == std::wstring::npos)
        return std::wstring();
    return s.substr(a, s.find_last_not_of(L" \t") - a + 1);
}

std::vector<std::wstring> SplitPatterns(const std::wstring& list)
{
    std::vector<std::wstring> out;
    size_t at = 0;
    while (at <= list.size()) {
        const size_t end = std::min(list.find(L';', at), list.size());
        if (std::wstring p = Trimmed(list.substr(at, end - at)); !p.empty())
            out.push_back(std::move(p));
        at = end + 1;
    }
    return out;
}

// Names in double quotes ("a.log" "b.log"); empty when the text holds none.
std::vector<std::wstring> QuotedNames(const std::wstring& text)
{
    std::vector<std::wstring> out;
    size_t at = text.find(L'"');
    while (at != std::wstring::npos) {
        const size_t close = text.find(L'"', at + 1);
        if (close == std::wstring::npos)
            return {};
        if (close > at + 1)
            out.push_back(text.substr(at + 1, close - at - 1));
        at = text.find(L'"', close + 1);
    }
    return out;
}

bool IsAbsolute(const std::wstring& name)
{
    return (!name.empty() && (name[0] == L'/' || name[0] == L'\\')) || (name.size() >= 2 && name[1] == L':');
}

class FileWindow {
public:
    FileWindow(OPENFILENAMEW& ofn, bool open, std::wstring title) : m_ofn(ofn), m_open(open), m_title(std::move(title))
    {
    }

    std::vector<std::wstring> Chosen() const { return m_chosen; }

    BOOL Init(HWND dlg)
    {
        m_dlg = dlg;
        ::SetWindowTextW(dlg, m_title.c_str());
        ::SetDlgItemTextW(dlg, IDOK, m_open ? L"&Open" : L"&Save");
        for (const wchar_t* p = m_ofn.lpstrFilter; p && *p;) {
            std::wstring name = p;
            p += name.size() + 1;
            std::wstring patterns = *p ? p : L"";
            p += *p ? patterns.size() + 1 : 0;
            ::SendDlgItemMessageW(dlg, cmb1, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
            m_types.push_back(SplitPatterns(patterns));
        }
        if (!m_types.empty()) {
            const DWORD index = m_ofn.nFilterIndex >= 1 && m_ofn.nFilterIndex <= m_types.size() ? m_ofn.nFilterIndex : 1;
            ::SendDlgItemMessageW(dlg, cmb1, CB_SETCURSEL, index - 1, 0);
        }
        if (m_ofn.Flags & OFN_HIDEREADONLY)
            ::ShowWindow(::GetDlgItem(dlg, chx1), SW_HIDE);
        else
            ::CheckDlgButton(dlg, chx1, (m_ofn.Flags & OFN_READONLY) ? BST_CHECKED : BST_UNCHECKED);

        const std::wstring file(m_ofn.lpstrFile, wcsnlen(m_ofn.lpstrFile, m_ofn.nMaxFile));
        std::wstring start = m_ofn.lpstrInitialDir ? m_ofn.lpstrInitialDir : L"";
        if (start.empty() || !PathExists(start, true))
            start = FolderOf(file);
        if (start.empty() || !PathExists(start, true))
            start = L".";
        m_folder = base::FullPath(start);
        std::wstring name = file.substr(NameStart(file));
        if (HasWildcard(name)) {
            m_typed = SplitPatterns(name);
            name.clear();
        }
        ::SetDlgItemTextW(dlg, edt1, name.c_str());
        Fill();
        const HWND edit = ::GetDlgItem(dlg, edt1);
        ::SetFocus(edit);
        ::SendMessageW(edit, EM_SETSEL, 0, -1);
        return FALSE; // the focus is set
    }

    void Command(int id, int code)
    {
        switch (id) {
        case lst1:
            if (code == LBN_SELCHANGE)
                ::SetDlgItemTextW(m_dlg, edt1, SelectedText(lst1).c_str());
            else if (code == LBN_DBLCLK)
                Accept();
            break;
        case lst2:
            if (code == LBN_DBLCLK)
                OpenSelectedFolder();
            break;
        case cmb1:
            if (code == CBN_SELCHANGE) {
                m_typed.clear();
                FillFiles();
            }
            break;
        case IDOK:
            // Enter in the folder list opens the folder, as a double click does.
            if (::GetFocus() == ::GetDlgItem(m_dlg, lst2))
                OpenSelectedFolder();
            else
                Accept();
            break;
        case IDCANCEL: ::EndDialog(m_dlg, IDCANCEL); break;
        default: break;
        }
    }

private:
    std::wstring SelectedText(int list) const
    {
        const HWND box = ::GetDlgItem(m_dlg, list);
        const LRESULT sel = ::SendMessageW(box, LB_GETCURSEL, 0, 0);
        if (sel < 0)
            return std::wstring();
        std::wstring text(static_cast<size_t>(::SendMessageW(box, LB_GETTEXTLEN, sel, 0)) + 1, L'\0');
        text.resize(static_cast<size_t>(::SendMessageW(box, LB_GETTEXT, sel, reinterpret_cast<LPARAM>(text.data()))));
        return text;
    }

    std::wstring Join(const std::wstring& name) const
    {
        if (IsAbsolute(name))
            return base::FullPath(name);
        const bool sep = !m_folder.empty() && (m_folder.back() == L'/' || m_folder.back() == L'\\');
        return base::FullPath(m_folder + (sep ? L"" : L"/") + name);
    }

    void OpenSelectedFolder()
    {
        const std::wstring name = SelectedText(lst2);
        if (!name.empty())
            OpenFolder(Join(name));
    }

    void OpenFolder(const std::wstring& folder)
    {
        m_folder = folder;
        Fill();
    }

    void Fill()
    {
        ::SetDlgItemTextW(m_dlg, stc1, m_folder.c_str());
        std::vector<std::wstring> folders;
        ReadFolder(&folders, nullptr);
        std::sort(folders.begin(), folders.end(), LessIgnoringCase);
        const HWND list = ::GetDlgItem(m_dlg, lst2);
        ::SendMessageW(list, LB_RESETCONTENT, 0, 0);
        if (m_folder != L"/")
            ::SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kParent));
        for (const std::wstring& f : folders)
            ::SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(f.c_str()));
        FillFiles();
    }

    void FillFiles()
    {
        std::vector<std::wstring> files;
        ReadFolder(nullptr, &files);
        std::sort(files.begin(), files.end(), LessIgnoringCase);
        const HWND list = ::GetDlgItem(m_dlg, lst1);
        ::SendMessageW(list, LB_RESETCONTENT, 0, 0);
        for (const std::wstring& f : files)
            ::SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(f.c_str()));
    }

    std::vector<std::wstring> Patterns() const
    {
        if (!m_typed.empty())
            return m_typed;
        const LRESULT type = ::SendDlgItemMessageW(m_dlg, cmb1, CB_GETCURSEL, 0, 0);
        if (type >= 0 && static_cast<size_t>(type) < m_types.size() && !m_types[static_cast<size_t>(type)].empty())
            return m_types[static_cast<size_t>(type)];
        return {L"*.*"};
    }

    // The sub-folders and the files of the current folder that the patterns match.
    void ReadFolder(std::vector<std::wstring>* folders, std::vector<std::wstring>* files) const
    {
        const DWORD saved = ::GetLastError();
        const std::vector<std::wstring> patterns = Patterns();
        const bool hidden = (m_ofn.Flags & OFN_FORCESHOWHIDDEN) != 0;
        WIN32_FIND_DATAW fd{};
        const HANDLE find = ::FindFirstFileW((m_folder + L"/*").c_str(), &fd);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                const std::wstring name = fd.cFileName;
                if (name == L"." || name == L".." || (!hidden && name[0] == L'.'))
                    continue;
                if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                    if (folders)
                        folders->push_back(name);
                } else if (files && std::any_of(patterns.begin(), patterns.end(),
                                        [&](const std::wstring& p) { return base::MatchWildcard(p, name); })) {
                    files->push_back(name);
                }
            } while (::FindNextFileW(find, &fd));
            ::FindClose(find);
        }
        ::SetLastError(saved);
    }

    // A box over the dialog, answered as any message box; its answer. The name is then
    // selected in its box, so what the person types next replaces it.
    int Ask(const std::wstring& text, UINT type) const
    {
        const int answer = ::MessageBoxW(m_dlg, text.c_str(), m_title.c_str(), type);
        if (::IsWindow(m_dlg)) {
            const HWND edit = ::GetDlgItem(m_dlg, edt1);
            ::SetFocus(edit);
            ::SendMessageW(edit, EM_SETSEL, 0, -1);
        }
        return answer;
    }

    void Accept()
    {
        const std::wstring text = Trimmed(DlgItemText(m_dlg, edt1));
        if (text.empty())
            return;
        std::vector<std::wstring> names = QuotedNames(text);
        if (names.empty())
            names.push_back(text);
        if (names.size() > 1 && !(m_ofn.Flags & OFN_ALLOWMULTISELECT)) {
            Ask(text + L"\nOnly one file can be chosen here.", MB_OK | MB_ICONWARNING);
            return;
        }
        if (names.size() == 1) {
            const std::wstring& name = names.front();
            if (HasWildcard(name)) {
                // A pattern: the files it matches, in its folder when it names one.
                const std::wstring folder = FolderOf(name);
                if (!folder.empty() && !PathExists(Join(folder), true)) {
                    Ask(Join(folder) + L"\nThe folder does not exist. Check the path.", MB_OK | MB_ICONWARNING);
                    return;
                }
                if (!folder.empty())
                    m_folder = Join(folder);
                m_typed = SplitPatterns(name.substr(NameStart(name)));
                ::SetDlgItemTextW(m_dlg, edt1, L"");
                Fill();
                return;
            }
            if (const std::wstring full = Join(name); PathExists(full, true)) {
                ::SetDlgItemTextW(m_dlg, edt1, L"");
                OpenFolder(full);
                return;
            }
        }
        const std::wstring defExt = m_ofn.lpstrDefExt ? m_ofn.lpstrDefExt : L"";
        std::vector<std::wstring> paths;
        for (const std::wstring& name : names) {
            std::wstring path = Join(name);
            if (NameStart(path) >= path.size())
                return;
            if (ExtensionStart(path) == std::wstring::npos && !defExt.empty())
                path += L"." + defExt;
            const std::wstring folder = FolderOf(path);
            if ((m_ofn.Flags & (OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST)) && !PathExists(folder, true)) {
                Ask(folder + L"\nThe folder does not exist. Check the path.", MB_OK | MB_ICONWARNING);
                return;
            }
            const bool exists = PathExists(path, false);
            if (!exists && (m_ofn.Flags & OFN_FILEMUSTEXIST)) {
                Ask(path + L"\nFile not found.\nCheck the file name and try again.", MB_OK | MB_ICONWARNING);
                return;
            }
            if (!exists && m_open && (m_ofn.Flags & OFN_CREATEPROMPT) &&
                Ask(path + L"\nThis file does not exist.\nDo you want to create it?", MB_YESNO | MB_ICONQUESTION) !=
                    IDYES)
                return;
            if (exists && !m_open && (m_ofn.Flags & OFN_OVERWRITEPROMPT) &&
                Ask(ReplaceQuestion(path), MB_YESNO | MB_ICONWARNING) != IDYES)
                return;
            paths.push_back(std::move(path));
        }
        if (!m_types.empty())
            m_ofn.nFilterIndex = static_cast<DWORD>(::SendDlgItemMessageW(m_dlg, cmb1, CB_GETCURSEL, 0, 0) + 1);
        if (!(m_ofn.Flags & OFN_HIDEREADONLY)) {
            if (::IsDlgButtonChecked(m_dlg, chx1) == BST_CHECKED)
                m_ofn.Flags |= OFN_READONLY;
            else
                m_ofn.Flags &= ~OFN_READONLY;
        }
        m_chosen = std::move(paths);
        ::EndDialog(m_dlg, IDOK);
    }

    OPENFILENAMEW& m_ofn;
    const bool m_open;
    const std::wstring m_title;
    HWND m_dlg = nullptr;
    std::wstring m_folder;                        // the full path of the folder shown
    std::vector<std::vector<std::wstring>> m_types; // each file type's patterns
    std::vector<std::wstring> m_typed;            // patterns typed in the name box (they win)
    std::vector<std::wstring> m_chosen;
};

} // namespace

FileDialogChoice RunFileDialogWindow(OPENFILENAMEW& ofn, bool open, const std::wstring& title)
{
    FileWindow window(ofn, open, title);
    FileDialogChoice choice;
    choice.run = RunCommDlgWindow(FILEOPENORD, ofn.hwndOwner, &CommDlgProc<FileWindow>, reinterpret_cast<LPARAM>(&window));
    choice.ok = choice.run.endedByDialog && choice.run.result == IDOK;
    if (choice.ok)
        choice.paths = window.Chosen();
    return choice;
}

} // namespace zyn::afx
