// Fuzz target: the toolbar and dialog-init resources a program's bars and dialogs load
// (the first byte selects: even, the rest is an RT_TOOLBAR resource that CToolBar::
// LoadToolBar reads; odd, a DLGINIT resource that CWnd::ExecuteDlgInit adds to a list box
// and a combo box). Either is taken or refused; a refused toolbar keeps its buttons, a
// refused dialog-init adds no string; the toolbar's size stays within its 16-bit fields.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "fuzz/fuzz_windows.h"
#include "platform/afx/bartool.h"
#include "platform/base/lasterror.h"
#include "platform/base/module.h"
#include "platform/base/resource.h"

namespace {

constexpr UINT kList = 1000, kCombo = 1001;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    zyn::fuzz::FuzzRoot();
    if (size == 0)
        return 0;
    const HMODULE h = zyn::base::RegisterResourceModule(L"ZynFuzzBarResources");
    zyn::fuzz::Check(h != nullptr);
    const bool toolbar = (data[0] & 1) == 0;
    const std::vector<uint8_t> bytes(data + 1, data + size);
    zyn::fuzz::Check(zyn::base::AddResource(h, toolbar ? RT_TOOLBAR : RT_DLGINIT, MAKEINTRESOURCEW(101), 0, bytes));
    AfxSetResourceHandle(h);

    CFrameWnd* frame = zyn::fuzz::NewFrame();
    if (toolbar) {
        CToolBar bar;
        zyn::fuzz::Check(bar.Create(frame, WS_CHILD | WS_VISIBLE | CBRS_TOP, AFX_IDW_TOOLBAR));
        const UINT ids[] = {1, 2};
        zyn::fuzz::Check(bar.SetButtons(ids, 2));
        const BOOL loaded = bar.LoadToolBar(MAKEINTRESOURCEW(101));
        const int count = static_cast<int>(bar.GetToolBarCtrl().GetButtonCount());
        if (!loaded && ::GetLastError() == ERROR_INVALID_DATA)
            zyn::fuzz::Check(count == 2);
        const CSize size = bar.CalcFixedLayout(FALSE, TRUE);
        zyn::fuzz::Check(size.cx >= 0 && size.cy >= 0);
        bar.DestroyWindow();
    } else {
        const HWND list = ::CreateWindowExW(0, L"ListBox", L"", WS_CHILD | WS_VISIBLE, 0, 0, 100, 100, frame->m_hWnd,
            reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kList)), nullptr, nullptr);
        const HWND combo = ::CreateWindowExW(0, L"ComboBox", L"", WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, 0, 100,
            100, 100, frame->m_hWnd, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kCombo)), nullptr, nullptr);
        zyn::fuzz::Check(list && combo);
        if (!frame->ExecuteDlgInit(MAKEINTRESOURCEW(101))) {
            zyn::fuzz::Check(::SendMessageW(list, LB_GETCOUNT, 0, 0) == 0);
            zyn::fuzz::Check(::SendMessageW(combo, CB_GETCOUNT, 0, 0) == 0);
        }
    }
    zyn::fuzz::EndWindows(frame);
    AfxSetResourceHandle(nullptr);
    zyn::base::UnregisterBuiltinModule(h);
    return 0;
}
