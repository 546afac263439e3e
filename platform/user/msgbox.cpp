// MessageBox on the answer script: every box is recorded; a scripted answer that is one of
// the box's buttons answers it, anything else (or no script) gets the default button.
#include <cstdio>
#include <vector>

#include "platform/base/lasterror.h"
#include "platform/base/utf16.h"
#include "platform/user/modal.h"
#include "platform/user/msgbox.h"

namespace zyn::user {
namespace {

bool ButtonsOf(UINT type, std::vector<int>& out)
{
    switch (type & MB_TYPEMASK) {
    case MB_OK: out = {IDOK}; break;
    case MB_OKCANCEL: out = {IDOK, IDCANCEL}; break;
    case MB_ABORTRETRYIGNORE: out = {IDABORT, IDRETRY, IDIGNORE}; break;
    case MB_YESNOCANCEL: out = {IDYES, IDNO, IDCANCEL}; break;
    case MB_YESNO: out = {IDYES, IDNO}; break;
    case MB_RETRYCANCEL: out = {IDRETRY, IDCANCEL}; break;
    case MB_CANCELTRYCONTINUE: out = {IDCANCEL, IDTRYAGAIN, IDCONTINUE}; break;
    default: return false;
    }
    return true;
}

} // namespace
} // namespace zyn::user

using namespace zyn::user;

int MessageBoxW(HWND hWnd, LPCWSTR lpText, LPCWSTR lpCaption, UINT uType)
{
    std::vector<int> buttons;
    if (!ButtonsOf(uType, buttons) || ((uType & MB_DEFMASK) >> 8) > 3) {
        SetLastError(ERROR_INVALID_MSGBOX_STYLE);
        return 0;
    }
    const size_t defIndex = (uType & MB_DEFMASK) >> 8;
    const int def = defIndex < buttons.size() ? buttons[defIndex] : buttons[0];
    ShownRecord rec;
    rec.kind = AnswerKind::MessageBox;
    rec.owner = hWnd;
    rec.text = lpText ? lpText : L"";
    rec.caption = lpCaption ? lpCaption : L"Error";
    rec.type = uType;
    rec.result = def;
    if (auto a = AnswerScript::Take(AnswerKind::MessageBox)) {
        int code = a->code;
        // Escape on a box with only an OK button answers IDOK.
        if (code == IDCANCEL && (uType & MB_TYPEMASK) == MB_OK)
            code = IDOK;
        bool valid = false;
        for (int b : buttons)
            valid = valid || b == code;
        if (valid) {
            rec.result = code;
            rec.scripted = true;
        } else {
            rec.note = L"scripted answer " + std::to_wstring(a->code) + L" is not a button of this box";
            std::fprintf(stderr, "MessageBox \"%s\": %s; the default button answers\n",
                zyn::base::ToUtf8(rec.caption).c_str(), zyn::base::ToUtf8(rec.note).c_str());
        }
    }
    const int result = rec.result;
    AnswerScript::Record(std::move(rec));
    return result;
}

int MessageBox(HWND hWnd, LPCWSTR lpText, LPCWSTR lpCaption, UINT uType)
{
    return MessageBoxW(hWnd, lpText, lpCaption, uType);
}

int MessageBoxExW(HWND hWnd, LPCWSTR lpText, LPCWSTR lpCaption, UINT uType, WORD)
{
    return MessageBoxW(hWnd, lpText, lpCaption, uType);
}

int MessageBoxEx(HWND hWnd, LPCWSTR lpText, LPCWSTR lpCaption, UINT uType, WORD wLanguageId)
{
    return MessageBoxExW(hWnd, lpText, lpCaption, uType, wLanguageId);
}
