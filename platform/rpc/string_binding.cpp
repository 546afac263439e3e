#include "platform/rpc/string_binding.h"

namespace zyn::rpc {
namespace {

int HexValue(wchar_t c)
{
    if (c >= L'0' && c <= L'9')
        return c - L'0';
    if (c >= L'a' && c <= L'f')
        return c - L'a' + 10;
    if (c >= L'A' && c <= L'F')
        return c - L'A' + 10;
    return -1;
}

bool ParseHex(std::wstring_view s, uint64_t& v)
{
    v = 0;
    for (wchar_t c : s) {
        const int h = HexValue(c);
        if (h < 0)
            return false;
        v = (v << 4) | static_cast<uint64_t>(h);
    }
    return true;
}

bool IsProtseqChar(wchar_t c)
{
    return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9') || c == L'_';
}

} // namespace

bool ParseUuid(std::wstring_view t, GUID& g)
{
    if (t.size() != 36 || t[8] != L'-' || t[13] != L'-' || t[18] != L'-' || t[23] != L'-')
        return false;
    uint64_t a, b, c, d, e;
    if (!ParseHex(t.substr(0, 8), a) || !ParseHex(t.substr(9, 4), b) || !ParseHex(t.substr(14, 4), c) ||
        !ParseHex(t.substr(19, 4), d) || !ParseHex(t.substr(24, 12), e))
        return false;
    g.Data1 = static_cast<uint32_t>(a);
    g.Data2 = static_cast<uint16_t>(b);
    g.Data3 = static_cast<uint16_t>(c);
    g.Data4[0] = static_cast<uint8_t>(d >> 8);
    g.Data4[1] = static_cast<uint8_t>(d);
    for (int i = 0; i < 6; ++i)
        g.Data4[2 + i] = static_cast<uint8_t>(e >> (8 * (5 - i)));
    return true;
}

std::wstring FormatUuid(const GUID& g)
{
    static constexpr wchar_t kHex[] = L"0123456789abcdef";
    std::wstring s;
    auto put = [&](uint64_t v, int digits) {
        for (int i = digits - 1; i >= 0; --i)
            s.push_back(kHex[(v >> (4 * i)) & 0xF]);
    };
    put(g.Data1, 8);
    s.push_back(L'-');
    put(g.Data2, 4);
    s.push_back(L'-');
    put(g.Data3, 4);
    s.push_back(L'-');
    put(g.Data4[0], 2);
    put(g.Data4[1], 2);
    s.push_back(L'-');
    for (int i = 2; i < 8; ++i)
        put(g.Data4[i], 2);
    return s;
}

RPC_STATUS ComposeStringBinding(const StringBindingParts& p, std::wstring& text)
{
    text.clear();
    std::wstring s;
    if (!p.objectUuid.empty()) {
        s += p.objectUuid;
        s += L'@';
    }
    s += p.protseq;
    s += L':';
    s += p.networkAddress;
    if (!p.endpoint.empty() || !p.options.empty()) {
        s += L'[';
        s += p.endpoint;
        if (!p.options.empty()) {
            s += L',';
            s += p.options;
        }
        s += L']';
    }
    StringBindingParts back;
    if (const RPC_STATUS st = ParseStringBinding(s, back); st != RPC_S_OK)
        return st;
    if (back.objectUuid != p.objectUuid || back.protseq != p.protseq || back.networkAddress != p.networkAddress ||
        back.endpoint != p.endpoint || back.options != p.options)
        return RPC_S_INVALID_STRING_BINDING;
    text = std::move(s);
    return RPC_S_OK;
}

RPC_STATUS ParseStringBinding(std::wstring_view text, StringBindingParts& p)
{
    p = {};
    const size_t colon = text.find(L':');
    if (colon == std::wstring_view::npos)
        return RPC_S_INVALID_STRING_BINDING;
    std::wstring_view head = text.substr(0, colon);
    if (const size_t at = head.find(L'@'); at != std::wstring_view::npos) {
        const std::wstring_view uuid = head.substr(0, at);
        GUID g;
        if (!ParseUuid(uuid, g))
            return RPC_S_INVALID_STRING_UUID;
        p.objectUuid.assign(uuid);
        head = head.substr(at + 1);
    }
    if (head.empty())
        return RPC_S_INVALID_STRING_BINDING;
    for (wchar_t c : head)
        if (!IsProtseqChar(c))
            return RPC_S_INVALID_STRING_BINDING;
    p.protseq.assign(head);

    std::wstring_view rest = text.substr(colon + 1);
    const size_t open = rest.find(L'[');
    const std::wstring_view address = rest.substr(0, open);
    if (address.find(L']') != std::wstring_view::npos || address.find(L'@') != std::wstring_view::npos)
        return RPC_S_INVALID_STRING_BINDING;
    p.networkAddress.assign(address);
    if (open == std::wstring_view::npos)
        return RPC_S_OK;

    const std::wstring_view bracket = rest.substr(open + 1);
    if (bracket.empty() || bracket.back() != L']')
        return RPC_S_INVALID_STRING_BINDING;
    const std::wstring_view inner = bracket.substr(0, bracket.size() - 1);
    if (inner.find_first_of(L"[]") != std::wstring_view::npos)
        return RPC_S_INVALID_STRING_BINDING;
    const size_t comma = inner.find(L',');
    std::wstring_view endpoint = inner.substr(0, comma);
    // "endpoint=" is an accepted spelling of the endpoint.
    if (endpoint.size() >= 9) {
        std::wstring lower(endpoint.substr(0, 9));
        for (auto& c : lower)
            if (c >= L'A' && c <= L'Z')
                c = static_cast<wchar_t>(c - L'A' + L'a');
        if (lower == L"endpoint=")
            endpoint = endpoint.substr(9);
    }
    if (endpoint.find(L'=') != std::wstring_view::npos)
        return RPC_S_INVALID_STRING_BINDING;
    p.endpoint.assign(endpoint);
    if (comma != std::wstring_view::npos) {
        const std::wstring_view options = inner.substr(comma + 1);
        size_t start = 0;
        while (start <= options.size()) {
            const size_t end = std::min(options.find(L',', start), options.size());
            const std::wstring_view opt = options.substr(start, end - start);
            const size_t eq = opt.find(L'=');
            if (eq == std::wstring_view::npos || eq == 0)
                return RPC_S_INVALID_STRING_BINDING;
            start = end + 1;
        }
        p.options.assign(options);
    }
    return RPC_S_OK;
}

} // namespace zyn::rpc
