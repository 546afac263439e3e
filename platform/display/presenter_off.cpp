// The presenter of a build without display support: it never starts, so hosts stay
// headless (see presenter.h).
#include "platform/display/presenter.h"

namespace zyn::display {

bool StartPresenter(const PresenterOptions&, std::string* whyNot)
{
    if (whyNot)
        *whyNot = "built without display support (ZYN_DISPLAY=OFF)";
    return false;
}
void StopPresenter() {}
bool PresenterRunning() { return false; }
void SetPresenterMainWindow(HWND) {}
void PresentNow() {}
PresenterStats GetPresenterStats() { return {}; }

} // namespace zyn::display
