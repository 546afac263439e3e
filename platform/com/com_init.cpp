// Per-thread COM initialisation and the live-object counter.
#include <atomic>

#include "platform/com/objbase.h"

namespace zyn::com {
namespace {

std::atomic<size_t> g_live{0};

struct ThreadInit {
    int count = 0;
    DWORD model = 0; // COINIT_APARTMENTTHREADED or COINIT_MULTITHREADED while count > 0
};
thread_local ThreadInit t_init;

} // namespace

size_t LiveObjectCount() { return g_live.load(); }
LiveToken::LiveToken() { g_live.fetch_add(1); }
LiveToken::LiveToken(const LiveToken&) { g_live.fetch_add(1); }
LiveToken::~LiveToken() { g_live.fetch_sub(1); }

bool IsInitializedOnThisThread() { return t_init.count > 0; }

namespace detail {
void ResetThreadInitForTests() { t_init = ThreadInit{}; }
} // namespace detail

} // namespace zyn::com

HRESULT CoInitialize(LPVOID pvReserved) { return CoInitializeEx(pvReserved, COINIT_APARTMENTTHREADED); }

HRESULT CoInitializeEx(LPVOID, DWORD dwCoInit)
{
    using zyn::com::t_init;
    const DWORD model = dwCoInit & COINIT_APARTMENTTHREADED;
    if (t_init.count > 0) {
        if (t_init.model != model)
            return RPC_E_CHANGED_MODE;
        ++t_init.count;
        return S_FALSE;
    }
    t_init.count = 1;
    t_init.model = model;
    return S_OK;
}

void CoUninitialize()
{
    if (zyn::com::t_init.count > 0)
        --zyn::com::t_init.count;
}
