#pragma once
// The open and save dialogs' window (template FILEOPENORD in commdlg.rc), for a dialog
// the answer script did not answer (see commdlg_window.h for who answers it).
//
// The name box (edt1) over the files of the current folder (lst1), the folder (stc1) and
// its sub-folders (lst2, ".." first unless it is the root), the file types (cmb1, the
// filter's names; the chosen type's patterns, separated by ';', choose the files listed)
// and, without OFN_HIDEREADONLY, the read-only box (chx1). The first folder is
// lpstrInitialDir, else the folder of lpstrFile, else the current directory; the name box
// starts with lpstrFile's name. Names starting with '.' are hidden unless
// OFN_FORCESHOWHIDDEN. The current directory is never changed, as with OFN_NOCHANGEDIR.
//
// A person: picks a file (its name goes to the name box; a double click chooses it),
// opens a folder by a double click or Enter in the folder list, changes the type, or
// types in the name box and presses Enter or OK. A typed name may be absolute or relative
// to the folder; a folder's name opens that folder; a name with '*' or '?' lists the
// files it matches instead of the type's; with OFN_ALLOWMULTISELECT several names in
// double quotes choose several files of the folder. A name without an extension gets
// lpstrDefExt. Then, as the flags ask: a folder that does not exist (OFN_PATHMUSTEXIST or
// OFN_FILEMUSTEXIST) or a file that does not (OFN_FILEMUSTEXIST) is refused with a message
// box and the dialog stays open; OFN_CREATEPROMPT asks before a file that does not exist,
// OFN_OVERWRITEPROMPT (save) before one that does; No keeps the dialog open.
#include <string>
#include <vector>

#include "platform/afx/commdlg_window.h"
#include "platform/afx/filedlg.h"

namespace zyn::afx {

struct FileDialogChoice {
    CommDlgOutcome run;
    bool ok = false;
    std::vector<std::wstring> paths; // full paths, all in one folder
};

// Runs the window for `ofn` with `title` as its caption. On OK, nFilterIndex is the type
// chosen (1-based) and OFN_READONLY follows the read-only box; the paths are returned,
// not yet stored in the caller's buffers.
FileDialogChoice RunFileDialogWindow(OPENFILENAMEW& ofn, bool open, const std::wstring& title);

// The question before an existing file is replaced (the scripted answers ask it too).
std::wstring ReplaceQuestion(const std::wstring& path);

// Pieces of a path with either separator: where its name starts; where its extension
// starts (after the dot; npos for none); its folder (a root keeps its separator: "/",
// "C:\"; empty for a bare name); whether it exists (as a folder, when asked).
size_t NameStart(const std::wstring& path);
size_t ExtensionStart(const std::wstring& path);
std::wstring FolderOf(const std::wstring& path);
bool PathExists(const std::wstring& path, bool folder);

} // namespace zyn::afx
