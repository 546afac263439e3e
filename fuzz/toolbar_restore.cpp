// Fuzz target: the toolbar control's restore path (TB_SAVERESTORE with FALSE), the input
// being the registry value it reads. On a toolbar of three buttons and a separator, a
// refused value leaves the buttons as they were; a taken one leaves each command at most
// once and no more separators than the buttons plus one; the layout of whatever was
// restored (wrapping, ideal size, rows) does not overflow.
#include <cstddef>
#include <cstdint>
#include <set>

#include "fuzz/fuzz_windows.h"
#include "platform/base/lasterror.h"
#include "platform/base/registry.h"
#include "platform/comctl/toolbar.h"

namespace {

constexpr const wchar_t* kKey = L"Software\\ZynFuzz\\Toolbar";

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    zyn::fuzz::FuzzRoot();
    HKEY key = nullptr;
    zyn::fuzz::Check(::RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) == ERROR_SUCCESS);
    ::RegSetValueExW(key, L"Bar", 0, REG_BINARY, data, static_cast<DWORD>(size));
    ::RegCloseKey(key);

    CFrameWnd* frame = zyn::fuzz::NewFrame();
    const HWND tb = ::CreateWindowExW(0, TOOLBARCLASSNAMEW, nullptr, WS_CHILD | WS_VISIBLE | TBSTYLE_WRAPABLE | CCS_NORESIZE,
        0, 0, 400, 60, frame->m_hWnd, nullptr, nullptr, nullptr);
    zyn::fuzz::Check(tb != nullptr);
    ::SendMessageW(tb, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    TBBUTTON buttons[4] = {};
    const int commands[4] = {1, 2, 0, 3};
    for (int i = 0; i < 4; ++i) {
        buttons[i].idCommand = commands[i];
        buttons[i].iBitmap = commands[i] ? i : 8;
        buttons[i].fsState = TBSTATE_ENABLED;
        buttons[i].fsStyle = static_cast<BYTE>(commands[i] ? BTNS_BUTTON : BTNS_SEP);
        buttons[i].iString = -1;
    }
    zyn::fuzz::Check(::SendMessageW(tb, TB_ADDBUTTONSW, 4, reinterpret_cast<LPARAM>(buttons)) != 0);

    TBSAVEPARAMSW params{HKEY_CURRENT_USER, kKey, L"Bar"};
    const bool restored = ::SendMessageW(tb, TB_SAVERESTOREW, FALSE, reinterpret_cast<LPARAM>(&params)) != 0;
    const int count = static_cast<int>(::SendMessageW(tb, TB_BUTTONCOUNT, 0, 0));
    if (!restored) {
        zyn::fuzz::Check(count == 4);
    } else {
        std::set<int> seen;
        int separators = 0;
        for (int i = 0; i < count; ++i) {
            TBBUTTON b{};
            ::SendMessageW(tb, TB_GETBUTTON, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&b));
            if (b.fsStyle & BTNS_SEP)
                ++separators;
            else
                zyn::fuzz::Check(seen.insert(b.idCommand).second);
        }
        zyn::fuzz::Check(separators <= static_cast<int>(seen.size()) + 1);
    }
    SIZE ideal{};
    ::SendMessageW(tb, TB_GETIDEALSIZE, FALSE, reinterpret_cast<LPARAM>(&ideal));
    RECT rows{};
    ::SendMessageW(tb, TB_SETROWS, MAKEWPARAM(2, TRUE), reinterpret_cast<LPARAM>(&rows));
    ::SendMessageW(tb, TB_AUTOSIZE, 0, 0);

    zyn::fuzz::EndWindows(frame);
    return 0;
}
