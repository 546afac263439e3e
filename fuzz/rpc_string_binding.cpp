// Fuzz target for RPC string bindings and UUID text, the text a configuration or a
// caller hands to the RPC runtime: RpcStringBindingParse and RpcStringBindingCompose,
// RpcBindingFromStringBinding and RpcBindingToStringBinding, UuidFromString and
// UuidToString. None may crash, leak or over-read, and what they accept must hold
// together:
// - a parsed string binding composes back into a text that parses into the same parts;
// - a composed string binding parses into exactly the parts it was composed from (or
//   the composition is refused), so no part can smuggle in another;
// - a binding handle made from a text describes the same parts as the text;
// - UUID text that parses formats back as the same text in lower case, and any UUID
//   formats as text that parses back into it.
//
// Input: octet 0 chooses which outputs the parse asks for (low five bits); the rest is
// text, one character per octet, except that 0xFF followed by four octets is one
// character of that value (little-endian), to reach every wchar_t. The text is
// also split at octets 0x01 into up to five parts (object UUID, protocol sequence,
// network address, endpoint, options) for composing; a part that is "\x02" is null.
#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <optional>
#include <string>
#include <vector>

#include "platform/rpc/rpcdce.h"

namespace {

void Check(bool ok)
{
    if (!ok)
        std::abort();
}

struct Parts {
    std::array<std::wstring, 5> text;
};

// Parses with every output; nullopt when the text is refused.
std::optional<Parts> Parse(const std::wstring& text)
{
    RPC_WSTR out[5] = {};
    const RPC_STATUS st =
        RpcStringBindingParseW(const_cast<RPC_WSTR>(text.c_str()), &out[0], &out[1], &out[2], &out[3], &out[4]);
    if (st != RPC_S_OK) {
        for (RPC_WSTR s : out)
            Check(s == nullptr); // a refused text hands nothing back
        Check(st == RPC_S_INVALID_STRING_BINDING || st == RPC_S_INVALID_STRING_UUID);
        return std::nullopt;
    }
    Parts p;
    for (int i = 0; i < 5; ++i) {
        Check(out[i] != nullptr);
        p.text[i] = out[i];
        Check(RpcStringFreeW(&out[i]) == RPC_S_OK && out[i] == nullptr);
    }
    return p;
}

// Composes; nullopt when the parts are refused.
std::optional<std::wstring> Compose(const std::array<std::optional<std::wstring>, 5>& parts)
{
    RPC_WSTR args[5];
    for (int i = 0; i < 5; ++i)
        args[i] = parts[i] ? const_cast<RPC_WSTR>(parts[i]->c_str()) : nullptr;
    RPC_WSTR out = reinterpret_cast<RPC_WSTR>(1);
    const RPC_STATUS st = RpcStringBindingComposeW(args[0], args[1], args[2], args[3], args[4], &out);
    if (st != RPC_S_OK) {
        Check(out == nullptr);
        return std::nullopt;
    }
    Check(out != nullptr);
    std::wstring s = out;
    Check(RpcStringFreeW(&out) == RPC_S_OK);
    return s;
}

std::wstring Lower(std::wstring s)
{
    for (auto& c : s)
        if (c >= L'A' && c <= L'Z')
            c = static_cast<wchar_t>(c - L'A' + L'a');
    return s;
}

void ParseComposeRoundTrip(const std::wstring& text, uint8_t mask)
{
    // Asking for only some of the parts gives the same ones and leaks nothing.
    RPC_WSTR out[5] = {};
    RPC_WSTR* want[5];
    for (int i = 0; i < 5; ++i)
        want[i] = (mask >> i) & 1 ? &out[i] : nullptr;
    const RPC_STATUS partial =
        RpcStringBindingParseW(const_cast<RPC_WSTR>(text.c_str()), want[0], want[1], want[2], want[3], want[4]);

    const std::optional<Parts> p = Parse(text);
    Check((partial == RPC_S_OK) == p.has_value());
    for (int i = 0; i < 5; ++i) {
        if (out[i]) {
            Check(p && p->text[i] == out[i]);
            RpcStringFreeW(&out[i]);
        }
    }
    if (!p)
        return;
    std::array<std::optional<std::wstring>, 5> parts;
    for (int i = 0; i < 5; ++i)
        parts[i] = p->text[i];
    const std::optional<std::wstring> again = Compose(parts);
    Check(again.has_value()); // whatever parses can be written again
    const std::optional<Parts> back = Parse(*again);
    Check(back && back->text == p->text);
}

void ComposeIsFaithful(const std::wstring& text)
{
    std::array<std::optional<std::wstring>, 5> parts;
    size_t start = 0;
    for (int i = 0; i < 5 && start <= text.size(); ++i) {
        const size_t end = std::min(text.find(L'\x01', start), text.size());
        const std::wstring piece = text.substr(start, end - start);
        if (piece != L"\x02")
            parts[i] = piece;
        start = end + 1;
    }
    const std::optional<std::wstring> composed = Compose(parts);
    if (!composed)
        return;
    const std::optional<Parts> back = Parse(*composed);
    Check(back.has_value());
    for (int i = 0; i < 5; ++i)
        Check(back->text[i] == parts[i].value_or(L""));
}

void HandleDescribesItsText(const std::wstring& text)
{
    RPC_BINDING_HANDLE h = reinterpret_cast<RPC_BINDING_HANDLE>(1);
    const RPC_STATUS st = RpcBindingFromStringBindingW(const_cast<RPC_WSTR>(text.c_str()), &h);
    if (st != RPC_S_OK) {
        Check(h == nullptr);
        return;
    }
    const std::optional<Parts> p = Parse(text);
    Check(p.has_value());
    RPC_WSTR back = nullptr;
    Check(RpcBindingToStringBindingW(h, &back) == RPC_S_OK);
    const std::optional<Parts> q = Parse(back);
    RpcStringFreeW(&back);
    Check(q && q->text == p->text);
    RPC_BINDING_HANDLE copy = nullptr;
    Check(RpcBindingCopy(h, &copy) == RPC_S_OK);
    Check(RpcBindingFree(&copy) == RPC_S_OK && copy == nullptr);
    Check(RpcBindingFree(&h) == RPC_S_OK && h == nullptr);
    Check(RpcBindingFree(&h) == RPC_S_INVALID_BINDING); // freed once only
}

void UuidText(const std::wstring& text, const uint8_t* raw, size_t rawSize)
{
    UUID u;
    std::memset(&u, 0xA5, sizeof u);
    const UUID before = u;
    const RPC_STATUS st = UuidFromStringW(const_cast<RPC_WSTR>(text.c_str()), &u);
    if (st != RPC_S_OK) {
        Check(st == RPC_S_INVALID_STRING_UUID);
        Check(std::memcmp(&u, &before, sizeof u) == 0); // a refused text leaves the UUID alone
    } else {
        RPC_WSTR s = nullptr;
        Check(UuidToStringW(&u, &s) == RPC_S_OK && s != nullptr);
        Check(std::wstring(s) == Lower(text));
        RpcStringFreeW(&s);
    }

    // Any 16 octets format as text that parses back into them.
    UUID any{};
    std::memcpy(&any, raw, std::min(rawSize, sizeof any));
    RPC_WSTR s = nullptr;
    Check(UuidToStringW(&any, &s) == RPC_S_OK);
    Check(std::wcslen(s) == 36);
    UUID back;
    Check(UuidFromStringW(s, &back) == RPC_S_OK);
    Check(std::memcmp(&any, &back, sizeof any) == 0);
    RpcStringFreeW(&s);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const uint8_t mask = data[0] & 0x1F;
    std::wstring text;
    for (size_t i = 1; i < size; ++i) {
        if (data[i] == 0xFF && size - i > 4) {
            uint32_t v;
            std::memcpy(&v, data + i + 1, 4);
            text.push_back(static_cast<wchar_t>(v));
            i += 4;
        } else {
            text.push_back(static_cast<wchar_t>(data[i]));
        }
    }
    // The runtime takes terminated strings: the text ends at its first zero.
    text.resize(std::wcslen(text.c_str()));

    ParseComposeRoundTrip(text, mask);
    ComposeIsFaithful(text);
    HandleDescribesItsText(text);
    UuidText(text, data + 1, size - 1);
    return 0;
}
