#pragma once
// Hand-built expected octets for the rpc tests: a zero-filled buffer written at offsets
// computed by hand, little-endian, independent of the code under test.
#include <cstdint>
#include <string>
#include <vector>

namespace zyn::rpctest {

class WireBytes {
public:
    explicit WireBytes(size_t size = 0) : m_b(size, 0) {}
    WireBytes& U8(size_t at, uint8_t v)
    {
        Grow(at + 1);
        m_b[at] = v;
        return *this;
    }
    WireBytes& U16(size_t at, uint16_t v)
    {
        Grow(at + 2);
        m_b[at] = static_cast<uint8_t>(v);
        m_b[at + 1] = static_cast<uint8_t>(v >> 8);
        return *this;
    }
    WireBytes& U32(size_t at, uint32_t v)
    {
        Grow(at + 4);
        for (int i = 0; i < 4; ++i)
            m_b[at + i] = static_cast<uint8_t>(v >> (8 * i));
        return *this;
    }
    // UTF-16 units as given (surrogates written out by the test).
    WireBytes& Units(size_t at, const std::u16string& s)
    {
        for (size_t i = 0; i < s.size(); ++i)
            U16(at + 2 * i, static_cast<uint16_t>(s[i]));
        return *this;
    }
    WireBytes& Raw(size_t at, std::initializer_list<uint8_t> bytes)
    {
        size_t i = at;
        for (uint8_t b : bytes)
            U8(i++, b);
        return *this;
    }
    const std::vector<uint8_t>& Get() const { return m_b; }
    size_t Size() const { return m_b.size(); }

private:
    void Grow(size_t n)
    {
        if (m_b.size() < n)
            m_b.resize(n, 0);
    }
    std::vector<uint8_t> m_b;
};

} // namespace zyn::rpctest
