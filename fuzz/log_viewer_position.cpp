// Fuzz target: the log viewer's saved window position (the input is ACS.INI, the file the
// viewer keeps "[LogViewer] WindowPos" in, every byte arbitrary). Opening the viewer must
// not crash or overflow; its window lies on a monitor with a size the window system can
// hold, and closing it writes a position the next viewer reads back unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "app/zyncmn_resources.h"
#include "frames/log_viewer.h"
#include "fuzz/fuzz_env.h"
#include "fuzz/fuzz_windows.h"
#include "platform/base/inifile.h"
#include "platform/user/driver.h"
#include "platform/user/monitor.h"
#include "platform/user/winuser.h"
#include "resources/resource.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto& root = zyn::fuzz::FuzzRoot();
    static const bool registered = zyn::resources::RegisterZynCommonResources() != nullptr;
    zyn::fuzz::Check(registered);
    zyn::user::ResetWindowSystemForTests();
    const auto ini = root / "windows" / "ACS.INI";
    {
        std::ofstream out(ini, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    static const auto log = zyn::fuzz::WriteScratch("viewer.log", reinterpret_cast<const uint8_t*>("none\r\n"), 6);

    CRect first;
    {
        CDistLogViewer viewer(log.wstring().c_str());
        zyn::fuzz::Check(viewer.Create(IDD_LOGVIEWER, nullptr));
        zyn::fuzz::Pump();
        viewer.GetWindowRect(&first);
        zyn::fuzz::Check(first.Width() >= 0 && first.Height() >= 0 && first.Width() <= 0x7FFF && first.Height() <= 0x7FFF);
        zyn::fuzz::Check(MonitorFromRect(&first, MONITOR_DEFAULTTONULL) != nullptr);
        viewer.DestroyWindow();
        zyn::fuzz::Pump();
    }
    {
        CDistLogViewer again(log.wstring().c_str());
        zyn::fuzz::Check(again.Create(IDD_LOGVIEWER, nullptr));
        zyn::fuzz::Pump();
        CRect second;
        again.GetWindowRect(&second);
        zyn::fuzz::Check(second == first);
        again.DestroyWindow();
        zyn::fuzz::Pump();
    }
    zyn::fuzz::Check(zyn::user::LiveWindowCount() == 0);
    return 0;
}
