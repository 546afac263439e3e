#pragma once
// The open and save dialogs: GetOpenFileName / GetSaveFileName over OPENFILENAME, and
// CFileDialog, the class library's wrapper (who answers them: filedlg_common.h; the
// window a person uses: filedlg_window.h).
//
// A scripted answer (AnswerKind::FileDialog) with code IDOK names the chosen file in
// `text`, or several in `texts` (OFN_ALLOWMULTISELECT; all in one folder). A name
// without an extension gets lpstrDefExt appended. OFN_FILEMUSTEXIST / OFN_PATHMUSTEXIST
// refuse a file / folder that does not exist; a save dialog with OFN_OVERWRITEPROMPT asks
// before it names an existing file (a message box, "Yes" to replace, answered by the
// script as any box). On success lpstrFile holds the path (several files: the folder,
// then each name, each ended by a nul, and a final nul), nFileOffset the offset of the
// (first) name, nFileExtension that of its extension (0 for none or several files),
// lpstrFileTitle the name. A buffer too small for the answer fails with
// FNERR_BUFFERTOOSMALL and the size needed (in characters) in lpstrFile's first
// character.
#include <string>

#include "platform/afx/filedlg_common.h"
#include "platform/base/coll_position.h"
#include "platform/base/cstring.h"

using LPOFNHOOKPROC = UINT_PTR (*)(HWND, UINT, WPARAM, LPARAM);

struct OPENFILENAMEW {
    DWORD lStructSize = 0;
    HWND hwndOwner = nullptr;
    HINSTANCE hInstance = nullptr;
    LPCWSTR lpstrFilter = nullptr;        // pairs of nul-ended strings, ended by an empty one
    LPWSTR lpstrCustomFilter = nullptr;
    DWORD nMaxCustFilter = 0;
    DWORD nFilterIndex = 0;
    LPWSTR lpstrFile = nullptr;           // in: the initial name; out: the choice
    DWORD nMaxFile = 0;                   // its size in characters
    LPWSTR lpstrFileTitle = nullptr;
    DWORD nMaxFileTitle = 0;
    LPCWSTR lpstrInitialDir = nullptr;
    LPCWSTR lpstrTitle = nullptr;
    DWORD Flags = 0;
    WORD nFileOffset = 0;
    WORD nFileExtension = 0;
    LPCWSTR lpstrDefExt = nullptr;
    LPARAM lCustData = 0;
    LPOFNHOOKPROC lpfnHook = nullptr;
    LPCWSTR lpTemplateName = nullptr;
    void* pvReserved = nullptr;
    DWORD dwReserved = 0;
    DWORD FlagsEx = 0;
};
using OPENFILENAME = OPENFILENAMEW;
using LPOPENFILENAMEW = OPENFILENAMEW*;
using LPOPENFILENAME = OPENFILENAMEW*;

inline constexpr DWORD OFN_READONLY = 0x00000001, OFN_OVERWRITEPROMPT = 0x00000002, OFN_HIDEREADONLY = 0x00000004,
                       OFN_NOCHANGEDIR = 0x00000008, OFN_SHOWHELP = 0x00000010, OFN_ENABLEHOOK = 0x00000020,
                       OFN_ENABLETEMPLATE = 0x00000040, OFN_ENABLETEMPLATEHANDLE = 0x00000080,
                       OFN_NOVALIDATE = 0x00000100, OFN_ALLOWMULTISELECT = 0x00000200,
                       OFN_EXTENSIONDIFFERENT = 0x00000400, OFN_PATHMUSTEXIST = 0x00000800,
                       OFN_FILEMUSTEXIST = 0x00001000, OFN_CREATEPROMPT = 0x00002000, OFN_SHAREAWARE = 0x00004000,
                       OFN_NOREADONLYRETURN = 0x00008000, OFN_NOTESTFILECREATE = 0x00010000,
                       OFN_NONETWORKBUTTON = 0x00020000, OFN_NOLONGNAMES = 0x00040000, OFN_EXPLORER = 0x00080000,
                       OFN_NODEREFERENCELINKS = 0x00100000, OFN_LONGNAMES = 0x00200000,
                       OFN_ENABLEINCLUDENOTIFY = 0x00400000, OFN_ENABLESIZING = 0x00800000,
                       OFN_DONTADDTORECENT = 0x02000000, OFN_FORCESHOWHIDDEN = 0x10000000;

// TRUE with the choice; FALSE for a cancel (CommDlgExtendedError 0) or an error
// (CDERR_STRUCTSIZE, CDERR_INITIALIZATION for no file buffer, FNERR_BUFFERTOOSMALL).
BOOL GetOpenFileNameW(LPOPENFILENAMEW lpofn);
BOOL GetSaveFileNameW(LPOPENFILENAMEW lpofn);
inline BOOL GetOpenFileName(LPOPENFILENAMEW lpofn) { return GetOpenFileNameW(lpofn); }
inline BOOL GetSaveFileName(LPOPENFILENAMEW lpofn) { return GetSaveFileNameW(lpofn); }

class CFileDialog : public CCommonDialog {
    DECLARE_DYNAMIC(CFileDialog)
public:
    // lpszFilter is "name|pattern|name|pattern||"; lpszFileName the initial name (cut to
    // the file buffer, whose size is MAX_PATH unless the caller gives m_ofn a larger one).
    explicit CFileDialog(BOOL bOpenFileDialog, LPCTSTR lpszDefExt = nullptr, LPCTSTR lpszFileName = nullptr,
        DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, LPCTSTR lpszFilter = nullptr,
        CWnd* pParentWnd = nullptr, DWORD dwSize = 0, BOOL bVistaStyle = TRUE);
    ~CFileDialog() override;

    // IDOK with the choice, IDCANCEL for a cancel or a failure (CommDlgExtendedError).
    INT_PTR DoModal() override;

    OPENFILENAME& GetOFN() { return m_ofn; }
    const OPENFILENAME& GetOFN() const { return m_ofn; }

    // The chosen file's full path (several files: the folder); its name with extension;
    // its extension without the dot; its name without the extension.
    CString GetPathName() const;
    CString GetFileName() const;
    CString GetFileExt() const;
    CString GetFileTitle() const;
    CString GetFolderPath() const;
    BOOL GetReadOnlyPref() const { return (m_ofn.Flags & OFN_READONLY) != 0; }
    // The chosen files one by one (one file: its path once).
    POSITION GetStartPosition() const;
    CString GetNextPathName(POSITION& pos) const;

    OPENFILENAME m_ofn;

protected:
    BOOL m_bOpenFileDialog;
    std::wstring m_strFilter;       // the filter with '|' turned into nuls
    std::wstring m_strDefExt;
    wchar_t m_szFileTitle[64] = {};
    wchar_t m_szFileName[MAX_PATH] = {};
};
