#include "tests/support/font_extent.h"

#include "platform/gdi/font_face.h"
#include "platform/gdi/sysmetrics.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/winuser.h"

namespace zyn::test {
namespace {

SIZE Extent(LOGFONTW NONCLIENTMETRICSW::*which, const std::wstring& text, int* lineHeight)
{
    NONCLIENTMETRICSW ncm{};
    ncm.cbSize = sizeof ncm;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0);
    HFONT font = CreateFontIndirectW(&(ncm.*which));
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    if (lineHeight)
        *lineHeight = tm.tmHeight;
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    DeleteObject(font);
    return size;
}

} // namespace

SIZE StatusFontExtent(const std::wstring& text, int* lineHeight)
{
    return Extent(&NONCLIENTMETRICSW::lfStatusFont, text, lineHeight);
}

SIZE MessageFontExtent(const std::wstring& text, int* lineHeight)
{
    return Extent(&NONCLIENTMETRICSW::lfMessageFont, text, lineHeight);
}

bool MetricFacesInstalled()
{
    using zyn::gdi::MetricFace;
    static const bool installed = [] {
        for (MetricFace m : {MetricFace::Tahoma, MetricFace::MsSansSerif, MetricFace::Arial, MetricFace::CourierNew,
                 MetricFace::TimesNewRoman}) {
            if (!zyn::gdi::MetricFaceInstalled(m))
                return false;
        }
        return true;
    }();
    return installed;
}

} // namespace zyn::test
