#include "platform/rpc/local_endpoint.h"

#include <cstdlib>

#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include "platform/base/utf16.h"

namespace zyn::rpc {

std::string LocalRuntimeFolder()
{
    const char* xdg = std::getenv("XDG_RUNTIME_DIR");
    if (xdg && xdg[0] == '/') {
        std::string dir(xdg);
        while (dir.size() > 1 && dir.back() == '/')
            dir.pop_back();
        return dir;
    }
    return "/tmp/zyn-rpc-" + std::to_string(::geteuid());
}

RPC_STATUS LocalEndpointPath(std::wstring_view endpoint, std::string& path)
{
    if (endpoint.empty() || endpoint == L"." || endpoint == L".." || endpoint.find(L'/') != std::wstring_view::npos ||
        endpoint.find(L'\0') != std::wstring_view::npos)
        return RPC_S_INVALID_ENDPOINT_FORMAT;
    const std::string folder = LocalRuntimeFolder();
    const char* xdg = std::getenv("XDG_RUNTIME_DIR");
    if (!(xdg && xdg[0] == '/')) {
        struct stat st{};
        if (::lstat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::geteuid() ||
            (st.st_mode & 077) != 0)
            return RPC_S_SERVER_UNAVAILABLE;
    }
    path = folder + "/" + base::ToUtf8(endpoint);
    if (path.size() >= sizeof(sockaddr_un{}.sun_path))
        return RPC_S_INVALID_ENDPOINT_FORMAT;
    return RPC_S_OK;
}

} // namespace zyn::rpc
