#include "platform/rpc/ndr.h"

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <string_view>

#include "platform/base/utf16.h"

namespace zyn::rpc::ndr {
namespace {

constexpr int kMaxDepth = 32; // deeper nesting means a broken type table

class Writer {
public:
    explicit Writer(std::vector<uint8_t>& out) : m_out(out), m_base(out.size()) {}
    void Align(unsigned a)
    {
        const size_t rel = m_out.size() - m_base;
        const size_t pad = (a - rel % a) % a;
        m_out.insert(m_out.end(), pad, 0);
    }
    void Put8(uint8_t v) { m_out.push_back(v); }
    void Put16(uint16_t v)
    {
        const uint8_t b[2] = {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8)};
        m_out.insert(m_out.end(), b, b + 2);
    }
    void Put32(uint32_t v)
    {
        const uint8_t b[4] = {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v >> 16),
            static_cast<uint8_t>(v >> 24)};
        m_out.insert(m_out.end(), b, b + 4);
    }
    void Put64(uint64_t v)
    {
        Put32(static_cast<uint32_t>(v));
        Put32(static_cast<uint32_t>(v >> 32));
    }
    // The low `size` octets of `v` (1, 2, 4 or 8), as Reader::GetUInt reads them.
    void PutUInt(unsigned size, uint64_t v)
    {
        for (unsigned i = 0; i < size; ++i)
            Put8(static_cast<uint8_t>(v >> (8 * i)));
    }
    void PutBytes(const uint8_t* p, size_t n) { m_out.insert(m_out.end(), p, p + n); }
    void PutZeros(size_t n) { m_out.insert(m_out.end(), n, 0); }
    std::vector<uint8_t>& Buffer() { return m_out; }

private:
    std::vector<uint8_t>& m_out;
    size_t m_base;
};

class Reader {
public:
    Reader(std::span<const uint8_t> in, bool big) : m_in(in), m_big(big) {}
    bool Align(unsigned a)
    {
        const size_t pad = (a - m_pos % a) % a;
        if (m_in.size() - m_pos < pad)
            return false;
        m_pos += pad;
        return true;
    }
    bool Get(uint8_t* dst, size_t n)
    {
        if (m_in.size() - m_pos < n)
            return false;
        std::memcpy(dst, m_in.data() + m_pos, n);
        m_pos += n;
        return true;
    }
    bool GetUInt(unsigned size, uint64_t& v)
    {
        uint8_t b[8];
        if (!Get(b, size))
            return false;
        v = 0;
        for (unsigned i = 0; i < size; ++i) {
            const unsigned shift = m_big ? 8 * (size - 1 - i) : 8 * i;
            v |= static_cast<uint64_t>(b[i]) << shift;
        }
        return true;
    }
    std::span<const uint8_t> Take(size_t n)
    {
        if (m_in.size() - m_pos < n)
            return {};
        auto s = m_in.subspan(m_pos, n);
        m_pos += n;
        return s;
    }
    bool Has(size_t n) const { return m_in.size() - m_pos >= n; }
    bool BigEndian() const { return m_big; }

private:
    std::span<const uint8_t> m_in;
    size_t m_pos = 0;
    bool m_big;
};

unsigned ScalarSize(Kind k)
{
    switch (k) {
    case Kind::Byte:
    case Kind::Boolean:
        return 1;
    case Kind::Short:
        return 2;
    case Kind::Long:
        return 4;
    case Kind::Hyper:
        return 8;
    default:
        return 0;
    }
}

bool IsScalar(Kind k) { return ScalarSize(k) != 0; }

// The length of the text in a wide array: up to the first terminator or the array's end.
size_t TextLength(const wchar_t* p, size_t capacity)
{
    size_t n = 0;
    while (n < capacity && p[n] != L'\0')
        ++n;
    return n;
}

int64_t ReadScalarMemory(Kind k, const uint8_t* mem)
{
    switch (k) {
    case Kind::Byte:
    case Kind::Boolean:
        return *mem;
    case Kind::Short: {
        int16_t v;
        std::memcpy(&v, mem, 2);
        return v;
    }
    case Kind::Long: {
        int32_t v;
        std::memcpy(&v, mem, 4);
        return v;
    }
    default: {
        int64_t v;
        std::memcpy(&v, mem, 8);
        return v;
    }
    }
}

void WriteScalarMemory(Kind k, uint8_t* mem, uint64_t wire)
{
    switch (k) {
    case Kind::Byte:
        *mem = static_cast<uint8_t>(wire);
        break;
    case Kind::Boolean:
        *mem = wire != 0 ? 1 : 0;
        break;
    case Kind::Short: {
        const auto v = static_cast<uint16_t>(wire);
        std::memcpy(mem, &v, 2);
        break;
    }
    case Kind::Long: {
        const auto v = static_cast<uint32_t>(wire);
        std::memcpy(mem, &v, 4);
        break;
    }
    default:
        std::memcpy(mem, &wire, 8);
        break;
    }
}

// Calls fn(type, offset) for the members of a structure or the elements of an array, in
// wire order, and stops at the first failure.
template <class Fn>
RPC_STATUS ForEachPart(const TypeDesc& t, Fn&& fn)
{
    for (uint32_t i = 0; i < t.count; ++i) {
        const RPC_STATUS st = t.kind == Kind::Struct ? fn(t.members[i].type, size_t{t.members[i].offset})
                                                     : fn(t.elem, static_cast<size_t>(i) * t.stride);
        if (st != RPC_S_OK)
            return st;
    }
    return RPC_S_OK;
}

const Arm* SelectArm(const TypeDesc& u, int64_t disc, uint16_t& type)
{
    for (uint32_t i = 0; i < u.count; ++i) {
        if (u.arms[i].value == disc) {
            type = u.arms[i].type;
            return &u.arms[i];
        }
    }
    type = u.defaultArm;
    return nullptr;
}

RPC_STATUS Marshal(Writer& w, Types types, uint16_t index, const uint8_t* mem, int depth)
{
    if (index >= types.size() || depth > kMaxDepth)
        return RPC_S_UNSUPPORTED_TYPE;
    const TypeDesc& t = types[index];
    auto part = [&](uint16_t type, size_t offset) { return Marshal(w, types, type, mem + offset, depth + 1); };
    switch (t.kind) {
    case Kind::Byte:
    case Kind::Boolean:
        w.Put8(t.kind == Kind::Boolean ? (*mem != 0 ? 1 : 0) : *mem);
        return RPC_S_OK;
    case Kind::Short:
    case Kind::Long:
    case Kind::Hyper: {
        const unsigned size = ScalarSize(t.kind);
        w.Align(size);
        w.PutUInt(size, static_cast<uint64_t>(ReadScalarMemory(t.kind, mem)));
        return RPC_S_OK;
    }
    case Kind::WideChars: {
        const auto* p = reinterpret_cast<const wchar_t*>(mem);
        const std::wstring_view text(p, TextLength(p, t.count));
        const size_t units = base::Utf16Length(text);
        if (units > t.count)
            return RPC_X_INVALID_BOUND;
        w.Align(2);
        base::AppendUtf16LE(w.Buffer(), text);
        w.PutZeros(2 * (t.count - units));
        return RPC_S_OK;
    }
    case Kind::FixedString: {
        const auto* p = reinterpret_cast<const wchar_t*>(mem);
        const size_t len = TextLength(p, t.count);
        if (len == t.count)
            return RPC_X_INVALID_BOUND; // no terminator inside the array
        const std::wstring_view text(p, len);
        const size_t units = base::Utf16Length(text) + 1;
        if (units > t.count)
            return RPC_X_INVALID_BOUND;
        w.Align(4);
        w.Put32(0);
        w.Put32(static_cast<uint32_t>(units));
        base::AppendUtf16LE(w.Buffer(), text);
        w.Put16(0);
        return RPC_S_OK;
    }
    case Kind::Struct:
        // Aligned to its widest member; nothing follows the last member (NDR 2.0 has no
        // trailing gap), so the next value starts right after it at its own alignment.
        w.Align(t.align);
        return ForEachPart(t, part);
    case Kind::Array: {
        if (t.elem >= types.size())
            return RPC_S_UNSUPPORTED_TYPE;
        if (types[t.elem].kind == Kind::Byte && t.stride == 1) {
            w.PutBytes(mem, t.count);
            return RPC_S_OK;
        }
        return ForEachPart(t, part);
    }
    case Kind::Union: {
        if (t.elem >= types.size() || !IsScalar(types[t.elem].kind))
            return RPC_S_UNSUPPORTED_TYPE;
        const Kind dk = types[t.elem].kind;
        const unsigned ds = ScalarSize(dk);
        uint16_t armType = kNoType;
        SelectArm(t, t.switchValue, armType);
        if (armType == kNoType)
            return RPC_X_INVALID_TAG;
        w.Align(ds);
        w.PutUInt(ds, static_cast<uint64_t>(static_cast<int64_t>(t.switchValue)));
        w.Align(t.align);
        return Marshal(w, types, armType, mem, depth + 1);
    }
    }
    return RPC_S_UNSUPPORTED_TYPE;
}

// `mem` null: check the data only.
RPC_STATUS Unmarshal(Reader& r, Types types, uint16_t index, uint8_t* mem, int depth)
{
    if (index >= types.size() || depth > kMaxDepth)
        return RPC_S_UNSUPPORTED_TYPE;
    const TypeDesc& t = types[index];
    auto part = [&](uint16_t type, size_t offset) {
        return Unmarshal(r, types, type, mem ? mem + offset : nullptr, depth + 1);
    };
    switch (t.kind) {
    case Kind::Byte:
    case Kind::Boolean:
    case Kind::Short:
    case Kind::Long:
    case Kind::Hyper: {
        const unsigned size = ScalarSize(t.kind);
        uint64_t v;
        if (!r.Align(size) || !r.GetUInt(size, v))
            return RPC_X_BAD_STUB_DATA;
        if (mem)
            WriteScalarMemory(t.kind, mem, v);
        return RPC_S_OK;
    }
    case Kind::WideChars:
    case Kind::FixedString: {
        size_t units = t.count;
        if (t.kind == Kind::FixedString) {
            uint64_t offset, actual;
            if (!r.Align(4) || !r.GetUInt(4, offset) || !r.GetUInt(4, actual))
                return RPC_X_BAD_STUB_DATA;
            if (offset != 0 || actual == 0 || actual > t.count)
                return RPC_X_BAD_STUB_DATA;
            units = static_cast<size_t>(actual);
        } else if (!r.Align(2)) {
            return RPC_X_BAD_STUB_DATA;
        }
        const auto raw = r.Take(2 * units);
        if (raw.size() != 2 * units)
            return RPC_X_BAD_STUB_DATA;
        std::vector<uint8_t> le(raw.begin(), raw.end());
        if (r.BigEndian())
            for (size_t i = 0; i + 1 < le.size(); i += 2)
                std::swap(le[i], le[i + 1]);
        size_t textUnits = 0;
        while (textUnits < units && (le[2 * textUnits] | le[2 * textUnits + 1]) != 0)
            ++textUnits;
        if (t.kind == Kind::FixedString && textUnits != units - 1)
            return RPC_X_BAD_STUB_DATA; // the terminator must be the last unit
        bool ok = true;
        const std::wstring text = base::FromUtf16LE(std::span<const uint8_t>(le.data(), 2 * textUnits), &ok);
        if (!ok)
            return RPC_X_BAD_STUB_DATA;
        if (mem) {
            auto* p = reinterpret_cast<wchar_t*>(mem);
            std::fill(p, p + t.count, L'\0');
            std::copy(text.begin(), text.end(), p);
        }
        return RPC_S_OK;
    }
    case Kind::Struct:
        if (!r.Align(t.align))
            return RPC_X_BAD_STUB_DATA;
        return ForEachPart(t, part);
    case Kind::Array:
        if (t.elem >= types.size())
            return RPC_S_UNSUPPORTED_TYPE;
        return ForEachPart(t, part);
    case Kind::Union: {
        if (t.elem >= types.size() || !IsScalar(types[t.elem].kind))
            return RPC_S_UNSUPPORTED_TYPE;
        const unsigned ds = ScalarSize(types[t.elem].kind);
        uint64_t raw;
        if (!r.Align(ds) || !r.GetUInt(ds, raw))
            return RPC_X_BAD_STUB_DATA;
        // Sign-extend the discriminant from its wire width.
        const unsigned shift = 64 - 8 * ds;
        const int64_t disc = static_cast<int64_t>(raw << shift) >> shift;
        if (disc != t.switchValue)
            return RPC_X_BAD_STUB_DATA; // the interface fixes the arm
        uint16_t armType = kNoType;
        SelectArm(t, disc, armType);
        if (armType == kNoType)
            return RPC_X_INVALID_TAG;
        if (!r.Align(t.align))
            return RPC_X_BAD_STUB_DATA;
        return Unmarshal(r, types, armType, mem, depth + 1);
    }
    }
    return RPC_S_UNSUPPORTED_TYPE;
}

unsigned AlignOf(Types types, uint16_t index, int depth);

// The wider of `a` and the alignment of a part at `depth` + 1; 0 for a broken part.
unsigned Widest(Types types, unsigned a, uint16_t part, int depth)
{
    const unsigned m = AlignOf(types, part, depth + 1);
    return m == 0 ? 0 : std::max(a, m);
}

// Alignment a type needs in its container; 0 for a broken table.
unsigned AlignOf(Types types, uint16_t index, int depth)
{
    if (index >= types.size() || depth > kMaxDepth)
        return 0;
    const TypeDesc& t = types[index];
    switch (t.kind) {
    case Kind::Byte:
    case Kind::Boolean:
    case Kind::Short:
    case Kind::Long:
    case Kind::Hyper:
        return ScalarSize(t.kind);
    case Kind::WideChars:
        return 2;
    case Kind::FixedString:
        return 4;
    case Kind::Struct: {
        if (t.count > 0 && !t.members)
            return 0;
        unsigned a = 1;
        for (uint32_t i = 0; i < t.count; ++i)
            if ((a = Widest(types, a, t.members[i].type, depth)) == 0)
                return 0;
        return a == t.align ? a : 0;
    }
    case Kind::Array: {
        const unsigned e = AlignOf(types, t.elem, depth + 1);
        return e != 0 && e == t.align && t.stride > 0 ? e : 0;
    }
    case Kind::Union: {
        if (t.elem >= types.size() || !IsScalar(types[t.elem].kind) || (t.count > 0 && !t.arms))
            return 0;
        unsigned arms = 1;
        for (uint32_t i = 0; i < t.count; ++i)
            if ((arms = Widest(types, arms, t.arms[i].type, depth)) == 0)
                return 0;
        if (t.defaultArm != kNoType && (arms = Widest(types, arms, t.defaultArm, depth)) == 0)
            return 0;
        uint16_t selected = kNoType;
        SelectArm(t, t.switchValue, selected);
        if (arms != t.align || selected == kNoType)
            return 0;
        return std::max(arms, ScalarSize(types[t.elem].kind));
    }
    }
    return 0;
}

RPC_STATUS UnmarshalPass(const ProcDesc& proc, Types types, std::span<const uint8_t> stub, bool bigEndian,
    void* const* args, bool write)
{
    Reader r(stub, bigEndian);
    for (uint8_t i = 0; i < proc.paramCount; ++i) {
        const ParamDesc& p = proc.params[i];
        if (!(p.flags & (kOut | kReturn)))
            continue;
        auto* mem = static_cast<uint8_t*>(args[i]);
        if (!mem)
            return (p.flags & kByRef) ? RPC_X_NULL_REF_POINTER : RPC_S_INVALID_ARG;
        const RPC_STATUS st = Unmarshal(r, types, p.type, write ? mem : nullptr, 0);
        if (st != RPC_S_OK)
            return st;
    }
    return RPC_S_OK;
}

} // namespace

RPC_STATUS MarshalIn(const ProcDesc& proc, Types types, void* const* args, std::vector<uint8_t>& out)
{
    // Every reference must be valid before anything is written or sent.
    for (uint8_t i = 0; i < proc.paramCount; ++i) {
        const ParamDesc& p = proc.params[i];
        if (!args[i])
            return (p.flags & kByRef) ? RPC_X_NULL_REF_POINTER : RPC_S_INVALID_ARG;
    }
    Writer w(out);
    for (uint8_t i = 0; i < proc.paramCount; ++i) {
        const ParamDesc& p = proc.params[i];
        if (!(p.flags & kIn))
            continue;
        const RPC_STATUS st = Marshal(w, types, p.type, static_cast<const uint8_t*>(args[i]), 0);
        if (st != RPC_S_OK)
            return st;
    }
    return RPC_S_OK;
}

RPC_STATUS UnmarshalOut(const ProcDesc& proc, Types types, std::span<const uint8_t> stub, bool bigEndian,
    void* const* args)
{
    const RPC_STATUS st = UnmarshalPass(proc, types, stub, bigEndian, args, false);
    if (st != RPC_S_OK)
        return st;
    return UnmarshalPass(proc, types, stub, bigEndian, args, true);
}

bool ValidateTypes(Types types, const ProcDesc* procs, uint16_t procCount)
{
    for (uint16_t i = 0; i < types.size(); ++i)
        if (AlignOf(types, i, 0) == 0)
            return false;
    for (uint16_t n = 0; n < procCount; ++n) {
        const ProcDesc& p = procs[n];
        if (p.opnum != n || (p.paramCount > 0 && !p.params))
            return false;
        for (uint8_t i = 0; i < p.paramCount; ++i) {
            const ParamDesc& d = p.params[i];
            if (d.type >= types.size() || !(d.flags & (kIn | kOut | kReturn)))
                return false;
            if ((d.flags & kReturn) && (i + 1 != p.paramCount || (d.flags & (kIn | kOut))))
                return false;
        }
    }
    return true;
}

} // namespace zyn::rpc::ndr
