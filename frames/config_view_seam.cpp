#include "frames/config_view_seam.h"

#include <atomic>

namespace {
std::atomic<ZynConfigViewCloseQuery> g_query{nullptr};
} // namespace

ZynConfigViewCloseQuery ZynSetConfigViewCloseQuery(ZynConfigViewCloseQuery query) { return g_query.exchange(query); }

ZynConfigViewAnswer ZynAskConfigViewToClose(CView* view)
{
    const ZynConfigViewCloseQuery query = g_query.load();
    if (!view || !query)
        return ZynConfigViewAnswer::NotConfigView;
    return query(view);
}
