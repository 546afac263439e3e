// Fuzz target: the log viewer's saved window position (the input is ACS.INI, the file the
// viewer keeps "[LogViewer] WindowPos" in, every byte arbitrary). Opening the viewer must
// not crash or overflow; its window lies on a monitor with a size the window system can
// hold, and closing it writes a position the next viewer reads back unchanged.
#include <cstddef>
#include <cstdint>

#include "app/zyncmn_resources.h"
#include "frames/log_viewer.h"
#include "fuzz/fuzz_windows.h"
#include "platform/user/monitor.h"
#include "resources/resource.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool registered = zyn::resources::RegisterZynCommonResources() != nullptr;
    zyn::fuzz::Check(registered);
    zyn::user::ResetWindowSystemForTests();
    zyn::fuzz::WriteBytes(zyn::fuzz::FuzzRoot() / "windows" / "ACS.INI", data, size);
    static const auto log = zyn::fuzz::WriteScratch("viewer.log", reinterpret_cast<const uint8_t*>("none\r\n"), 6);

    // Opens a viewer, notes where its window lies and closes it, which saves that place.
    const auto viewerPlace = [&] {
        CDistLogViewer viewer(log.wstring().c_str());
        zyn::fuzz::Check(viewer.Create(IDD_LOGVIEWER, nullptr));
        zyn::fuzz::Pump();
        CRect r;
        viewer.GetWindowRect(&r);
        viewer.DestroyWindow();
        zyn::fuzz::Pump();
        return r;
    };
    const CRect first = viewerPlace();
    zyn::fuzz::Check(first.Width() >= 0 && first.Height() >= 0 && first.Width() <= 0x7FFF && first.Height() <= 0x7FFF);
    zyn::fuzz::Check(MonitorFromRect(&first, MONITOR_DEFAULTTONULL) != nullptr);
    zyn::fuzz::Check(viewerPlace() == first);
    zyn::fuzz::Check(zyn::user::LiveWindowCount() == 0);
    return 0;
}
