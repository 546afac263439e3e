#pragma once
// The printer DC's finished pages (CreatePrinterDC is declared in wingdi.h).
#include <memory>
#include <vector>

#include "platform/base/wintypes.h"

namespace zyn::gdi {

class Surface;

// The pages a printer DC finished (EndPage) in its current or last document, in order;
// empty for other DCs.
std::vector<std::shared_ptr<Surface>> PrinterPages(HDC hdc);

} // namespace zyn::gdi
