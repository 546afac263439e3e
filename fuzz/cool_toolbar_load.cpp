// Fuzz target: a cool toolbar's whole load from the profile (LoadBarState), every record
// arbitrary. The input is a list of chunks, each a tag byte, a 16-bit little-endian length
// and that many bytes:
//   0  the buttons record          "Main_ButtonsSettings" (its "_Size" entry matching)
//   1  the custom-button positions "Main_CustomButtonsPositions"
//   2  the toolbar control's order value "Main" (TB_SAVERESTORE's)
//   3  the program-wide record     "Toolbars_CustomButtonsSettings"
//   4  properties: 5-byte entries, a property index (mod 24) and a 32-bit value
//   5  size entries: 5-byte entries, a record (mod 3) and the 32-bit size written for it
// The first byte's bit 0 asks for the properties, bit 1 makes the bar customisable with
// the advanced customisation first. The load must not crash, hang or overflow; a refused
// load leaves the bar's buttons as they were; a taken one leaves an indent, text rows and
// button widths within the screen and no more buttons than twice the commands plus one;
// destroying the frame leaves no window.
#include <cstddef>
#include <cstdint>

#include "fuzz/fuzz_windows.h"
#include "platform/afx/winapp.h"
#include "platform/base/lasterror.h"
#include "platform/base/registry.h"
#include "platform/gdi/sysmetrics.h"
#include "platform/gdi/wingdi.h"
#include "toolkit/menus/cool_toolbar.h"

namespace {

constexpr const wchar_t* kProperties[] = {L"Cool", L"Gripper", L"Separator", L"Flat", L"List", L"DropDownArrow",
    L"Indent", L"DefaultTextColor", L"HotTextColor", L"SelectedTextColor", L"CheckedTextColor", L"DefaultBkColor",
    L"HotBkColor", L"SelectedBkColor", L"CheckedBkColor", L"DefaultBorderColor", L"HotBorderColor",
    L"SelectedBorderColor", L"CheckedBorderColor", L"TextType", L"TextRows", L"MinButtonsWidth", L"MaxButtonsWidth",
    L"Customizable"};
constexpr const wchar_t* kRecords[] = {L"Main_ButtonsSettings", L"Main_CustomButtonsPositions",
    L"Toolbars_CustomButtonsSettings"};

int32_t Int32(const uint8_t* p)
{
    return static_cast<int32_t>(static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
        static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24);
}

void PutRecord(CWinApp& app, const wchar_t* name, const uint8_t* p, size_t n)
{
    app.WriteProfileBinary(L"Bars", name, const_cast<uint8_t*>(p), static_cast<UINT>(n));
    app.WriteProfileInt(L"Bars", CString(name) + L"_Size", static_cast<int>(n));
}

void PutOrder(CWinApp& app, const uint8_t* p, size_t n)
{
    HKEY key = app.GetAppRegistryKey();
    HKEY sub = nullptr;
    if (key && ::RegCreateKeyExW(key, L"Bars", 0, nullptr, 0, KEY_WRITE, nullptr, &sub, nullptr) == ERROR_SUCCESS) {
        ::RegSetValueExW(sub, L"Main", 0, REG_BINARY, p, static_cast<DWORD>(n));
        ::RegCloseKey(sub);
    }
    if (key)
        ::RegCloseKey(key);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    zyn::fuzz::FuzzRoot();
    static CWinApp* const app = [] {
        auto* a = new CWinApp(L"CoolBarFuzz");   // one per process, kept
        a->SetRegistryKey(L"ZynFuzz");
        return a;
    }();
    app->WriteProfileString(L"Bars", nullptr, nullptr);
    app->WriteProfileString(L"Bars_Main", nullptr, nullptr);
    COXCoolToolBar::ResetCustomButtons();
    COXCoolToolBar::m_bCustomButtonsStateLoaded = FALSE;
    if (size == 0)
        return 0;
    const uint8_t flags = data[0];
    for (size_t at = 1; at + 3 <= size;) {
        const uint8_t tag = data[at];
        const size_t n = std::min<size_t>(data[at + 1] | static_cast<size_t>(data[at + 2]) << 8, size - at - 3);
        const uint8_t* p = data + at + 3;
        switch (tag % 6) {
        case 0: PutRecord(*app, kRecords[0], p, n); break;
        case 1: PutRecord(*app, kRecords[1], p, n); break;
        case 2: PutOrder(*app, p, n); break;
        case 3: PutRecord(*app, kRecords[2], p, n); break;
        case 4:
            for (size_t i = 0; i + 5 <= n; i += 5)
                app->WriteProfileInt(L"Bars_Main", kProperties[p[i] % 24], Int32(p + i + 1));
            break;
        case 5:
            for (size_t i = 0; i + 5 <= n; i += 5)
                app->WriteProfileInt(L"Bars", CString(kRecords[p[i] % 3]) + L"_Size", Int32(p + i + 1));
            break;
        }
        at += 3 + n;
    }

    CFrameWnd* frame = zyn::fuzz::NewFrame();
    app->m_pMainWnd = frame;
    {
        COXCoolToolBar bar;
        zyn::fuzz::Check(bar.Create(frame, WS_CHILD | WS_VISIBLE | CBRS_TOP, AFX_IDW_TOOLBAR + 1));
        bar.SetBarStyle(CBRS_ALIGN_TOP | CBRS_SIZE_DYNAMIC);
        bar.SetSizes(CSize(23, 22), CSize(16, 15));
        static UINT ids[] = {0x8401, 0x8402, 0x8403, 0x8404};
        const UINT buttons[] = {0x8401, 0x8402, ID_SEPARATOR, 0x8403};
        zyn::fuzz::Check(bar.SetButtons(buttons, 4));
        bar.SetBitmapIds(ids, 4);
        if (flags & 2)
            bar.SetCustomizable(TRUE, TRUE);
        const int before = static_cast<int>(bar.SendMessage(TB_BUTTONCOUNT));
        const BOOL loaded = bar.LoadBarState(L"Bars", L"Main", (flags & 1) != 0);
        const int after = bar.m_hWnd ? static_cast<int>(bar.SendMessage(TB_BUTTONCOUNT)) : 0;
        if (!loaded) {
            zyn::fuzz::Check(after == before);
        } else if (bar.m_hWnd) {
            const int cx = std::max(::GetSystemMetrics(SM_CXVIRTUALSCREEN), ::GetSystemMetrics(SM_CXSCREEN));
            zyn::fuzz::Check(bar.GetIndent() >= 0 && bar.GetIndent() <= cx);
            zyn::fuzz::Check(bar.GetTextRows() >= 0 && bar.GetTextRows() <= 16);
            zyn::fuzz::Check(after <= 2 * (2 * 4 + 1));   // the order, then a place per custom position
        }
        if (bar.m_hWnd)
            bar.DestroyWindow();
    }
    app->m_pMainWnd = nullptr;
    zyn::fuzz::EndWindows(frame);
    return 0;
}
