// Connects the window system to the layers below it when the library loads: gdi's
// GetDC(hwnd)/ReleaseDC, the kernel layer's message-queue wait for CMultiLock, and the
// message box that code below the window system shows.
#include "platform/base/afxmt.h"
#include "platform/base/msgbox_hook.h"
#include "platform/gdi/dc_internal.h"
#include "platform/user/msgbox.h"
#include "platform/user/msgqueue.h"

namespace zyn::user {

HDC GetDcForGdi(HWND hwnd);
int ReleaseDcForGdi(HWND hwnd, HDC hdc);

namespace {

int BoxForBase(LPCWSTR text, LPCWSTR caption, UINT type) { return MessageBoxW(nullptr, text, caption, type); }

struct Connect {
    Connect()
    {
        gdi::SetWindowDcHooks(GetDcForGdi, ReleaseDcForGdi);
        base::SetMsgWaitFunction(MsgWaitForMultipleObjects);
        base::SetMessageBoxHook(BoxForBase);
    }
};

const Connect g_connect;

} // namespace
} // namespace zyn::user
