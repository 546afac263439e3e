#pragma once
// Helpers of the resource tests: expected bytes spelt out field by field (UTF-16 from
// char16_t literals, never through the codec under test) and a reader of little-endian
// resource bytes.
#include <gtest/gtest.h>

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "tools/rc/rc_compiler.h"

namespace zyn::rc::test {

class Bytes {
public:
    Bytes& b(uint8_t v)
    {
        m_v.push_back(v);
        return *this;
    }
    Bytes& w(uint16_t v) { return b(static_cast<uint8_t>(v)).b(static_cast<uint8_t>(v >> 8)); }
    Bytes& d(uint32_t v) { return w(static_cast<uint16_t>(v)).w(static_cast<uint16_t>(v >> 16)); }
    // UTF-16 text and its terminator.
    Bytes& s(std::u16string_view text) { return t(text).w(0); }
    // UTF-16 text without terminator.
    Bytes& t(std::u16string_view text)
    {
        for (const char16_t c : text)
            w(static_cast<uint16_t>(c));
        return *this;
    }
    Bytes& raw(std::string_view bytes)
    {
        for (const char c : bytes)
            b(static_cast<uint8_t>(c));
        return *this;
    }
    Bytes& pad4()
    {
        while (m_v.size() % 4)
            m_v.push_back(0);
        return *this;
    }
    const std::vector<uint8_t>& v() const { return m_v; }

private:
    std::vector<uint8_t> m_v;
};

// A cursor over resource bytes; reading past the end fails the test and gives zeros.
class Reader {
public:
    explicit Reader(std::span<const uint8_t> bytes) : m_b(bytes) {}
    uint16_t w()
    {
        if (m_pos + 2 > m_b.size()) {
            ADD_FAILURE() << "read past the resource at " << m_pos;
            m_pos = m_b.size();
            return 0;
        }
        const uint16_t v = static_cast<uint16_t>(m_b[m_pos] | (m_b[m_pos + 1] << 8));
        m_pos += 2;
        return v;
    }
    uint8_t b()
    {
        if (m_pos >= m_b.size()) {
            ADD_FAILURE() << "read past the resource at " << m_pos;
            return 0;
        }
        return m_b[m_pos++];
    }
    uint32_t d()
    {
        const uint32_t lo = w();
        return lo | (static_cast<uint32_t>(w()) << 16);
    }
    int16_t i() { return static_cast<int16_t>(w()); }
    // A terminated UTF-16 string (surrogate pairs joined).
    std::wstring s()
    {
        std::wstring out;
        for (;;) {
            const uint16_t c = w();
            if (c == 0)
                return out;
            if (c >= 0xD800 && c <= 0xDBFF) {
                const uint16_t lo = w();
                out.push_back(static_cast<wchar_t>(0x10000 + ((c - 0xD800) << 10) + (lo - 0xDC00)));
            } else {
                out.push_back(static_cast<wchar_t>(c));
            }
        }
    }
    // An sz_Or_Ord field: "#n" for an ordinal, "" when absent, else the text.
    std::wstring nameOrOrd()
    {
        const size_t at = m_pos;
        const uint16_t first = w();
        if (first == 0)
            return L"";
        if (first == 0xFFFF)
            return L"#" + std::to_wstring(w());
        m_pos = at;
        return s();
    }
    void align4()
    {
        while (m_pos % 4)
            ++m_pos;
    }
    size_t pos() const { return m_pos; }
    bool atEnd() const { return m_pos >= m_b.size(); }

private:
    std::span<const uint8_t> m_b;
    size_t m_pos = 0;
};

// The data of one resource of a compilation, or a failure.
inline const Resource* Find(const CompileResult& r, uint16_t type, const ResId& name, uint16_t lang = 0)
{
    for (const Resource& res : r.resources)
        if (res.type == ResId::Number(type) && res.name == name && res.language == lang)
            return &res;
    return nullptr;
}

inline std::string Messages(const CompileResult& r)
{
    std::string out;
    for (const Diagnostic& d : r.diagnostics)
        out += d.Format() + "\n";
    return out;
}

// Compiles text that must succeed, and gives the one resource of that type and name.
inline std::vector<uint8_t> CompileOne(std::string_view script, uint16_t type, uint16_t name)
{
    const CompileResult r = CompileText(script);
    EXPECT_TRUE(r.ok) << Messages(r);
    const Resource* res = Find(r, type, ResId::Number(name));
    EXPECT_NE(res, nullptr) << "resource " << type << "/" << name << " missing";
    return res ? res->data : std::vector<uint8_t>{};
}

// The first error's "file(line): error: message".
inline std::string FirstError(const CompileResult& r)
{
    for (const Diagnostic& d : r.diagnostics)
        if (d.kind == Diagnostic::Kind::Error)
            return d.Format();
    return "(no error)";
}

} // namespace zyn::rc::test
