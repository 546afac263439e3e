// The geometry of a message box (msgbox_layout.h).
#include "platform/user/msgbox_layout.h"

#include <algorithm>

#include "platform/base/tchar.h"

namespace zyn::user {

int MessageTextWrapWidth(const MessageBoxMetrics& m) { return std::max(1, m.workWidth / 2); }

MessageBoxLayout LayoutMessageBox(SIZE text, const std::vector<int>& labels, bool hasIcon, const MessageBoxMetrics& m)
{
    MessageBoxLayout L;
    const int mx = MulDiv(7, m.baseX, 4), my = MulDiv(7, m.baseY, 8);
    const int buttonH = MulDiv(14, m.baseY, 8);
    const int gap = MulDiv(4, m.baseX, 4);
    int buttonW = MulDiv(50, m.baseX, 4);
    for (const int w : labels)
        buttonW = std::max(buttonW, w + MulDiv(8, m.baseX, 4));
    const int n = static_cast<int>(labels.size());
    const int rowW = n > 0 ? n * buttonW + (n - 1) * gap : 0;

    int textLeft = mx;
    int block = text.cy;
    if (hasIcon) {
        L.icon = RECT{mx, my, mx + m.iconCx, my + m.iconCy};
        textLeft = L.icon.right + mx;
        block = std::max<int>(block, m.iconCy);
    }
    const int textTop = (hasIcon && text.cy < m.iconCy) ? my + (m.iconCy - text.cy) / 2 : my;
    L.text = RECT{textLeft, textTop, textLeft + text.cx, textTop + text.cy};

    const int width = std::max<int>(L.text.right + mx, rowW + 2 * mx);
    const int top = my + block + my;
    int x = (width - rowW) / 2;
    for (int i = 0; i < n; ++i) {
        L.buttons.push_back(RECT{x, top, x + buttonW, top + buttonH});
        x += buttonW + gap;
    }
    L.client = SIZE{width, top + buttonH + my};
    return L;
}

} // namespace zyn::user
