#pragma once
// Readers of compiled dialogs and version resources for tests that check whole scripts
// field by field: each walks the documented layout (DLGTEMPLATE / DLGTEMPLATEEX and their
// items; the VS_VERSIONINFO node tree) on its own, so a test compares the fields it finds
// with values worked out by hand from the script.
#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <vector>

#include "tests/rc/rc_test_support.h"

namespace zyn::rc::test {

struct DecodedControl {
    uint32_t style = 0, exStyle = 0, helpId = 0;
    int16_t x = 0, y = 0, cx = 0, cy = 0;
    uint32_t id = 0;
    std::wstring cls, text; // "#n" for ordinals
    uint16_t dataSize = 0;
};

struct DecodedDialog {
    bool ex = false;
    uint32_t style = 0, exStyle = 0, helpId = 0;
    int16_t x = 0, y = 0, cx = 0, cy = 0;
    std::wstring menu, cls, caption, face;
    uint16_t pointSize = 0, weight = 0;
    uint8_t italic = 0, charset = 0;
    std::vector<DecodedControl> controls;
};

inline DecodedDialog DecodeDialog(std::span<const uint8_t> bytes)
{
    Reader rd(bytes);
    DecodedDialog d;
    const uint16_t first = rd.w(), second = rd.w();
    d.ex = first == 1 && second == 0xFFFF;
    uint16_t count = 0;
    if (d.ex) {
        d.helpId = rd.d();
        d.exStyle = rd.d();
        d.style = rd.d();
    } else {
        d.style = first | (static_cast<uint32_t>(second) << 16);
        d.exStyle = rd.d();
    }
    count = rd.w();
    d.x = rd.i();
    d.y = rd.i();
    d.cx = rd.i();
    d.cy = rd.i();
    d.menu = rd.nameOrOrd();
    d.cls = rd.nameOrOrd();
    d.caption = rd.s();
    if (d.style & 0x40) { // DS_SETFONT
        d.pointSize = rd.w();
        if (d.ex) {
            d.weight = rd.w();
            d.italic = rd.b();
            d.charset = rd.b();
        }
        d.face = rd.s();
    }
    for (uint16_t i = 0; i < count; ++i) {
        rd.align4();
        DecodedControl c;
        if (d.ex) {
            c.helpId = rd.d();
            c.exStyle = rd.d();
            c.style = rd.d();
        } else {
            c.style = rd.d();
            c.exStyle = rd.d();
        }
        c.x = rd.i();
        c.y = rd.i();
        c.cx = rd.i();
        c.cy = rd.i();
        c.id = d.ex ? rd.d() : rd.w();
        c.cls = rd.nameOrOrd();
        c.text = rd.nameOrOrd();
        c.dataSize = rd.w();
        for (uint16_t k = 0; k < c.dataSize; ++k)
            rd.b();
        d.controls.push_back(c);
    }
    EXPECT_TRUE(rd.atEnd()) << "bytes left after the last control";
    return d;
}

// One node of a version resource: its header fields, key, value bytes and children.
struct VersionTreeNode {
    uint16_t length = 0, valueLength = 0, type = 0;
    std::wstring key;
    std::vector<uint8_t> value;
    std::vector<VersionTreeNode> children;

    const VersionTreeNode* Child(const std::wstring& k) const
    {
        for (const VersionTreeNode& c : children)
            if (c.key == k)
                return &c;
        return nullptr;
    }
    // A text value without its terminator (and without the NUL units it ends with).
    std::wstring Text() const
    {
        std::wstring s;
        for (size_t i = 0; i + 1 < value.size(); i += 2)
            s.push_back(static_cast<wchar_t>(value[i] | (value[i + 1] << 8)));
        while (!s.empty() && s.back() == L'\0')
            s.pop_back();
        return s;
    }
};

// Reads the node at `at` (32-bit aligned from the resource start): wLength, wValueLength,
// wType, the key, padding, the value (wValueLength units of text or bytes of binary),
// then children up to wLength.
inline VersionTreeNode DecodeVersionNode(std::span<const uint8_t> bytes, size_t at)
{
    VersionTreeNode n;
    if (at + 6 > bytes.size()) {
        ADD_FAILURE() << "version node past the end at " << at;
        return n;
    }
    const auto word = [&](size_t p) { return static_cast<uint16_t>(bytes[p] | (bytes[p + 1] << 8)); };
    n.length = word(at);
    n.valueLength = word(at + 2);
    n.type = word(at + 4);
    const size_t end = at + n.length;
    if (n.length < 6 || end > bytes.size()) {
        ADD_FAILURE() << "version node at " << at << " has length " << n.length;
        return n;
    }
    size_t p = at + 6;
    while (p + 1 < end && word(p) != 0) {
        n.key.push_back(static_cast<wchar_t>(word(p)));
        p += 2;
    }
    p += 2;
    p = (p + 3) & ~size_t{3};
    const size_t valueBytes = n.type == 1 ? n.valueLength * size_t{2} : n.valueLength;
    if (valueBytes) {
        if (p + valueBytes > end) {
            ADD_FAILURE() << "value of \"" << std::string(n.key.begin(), n.key.end()) << "\" overruns its node";
            return n;
        }
        n.value.assign(bytes.begin() + static_cast<std::ptrdiff_t>(p),
            bytes.begin() + static_cast<std::ptrdiff_t>(p + valueBytes));
        p += valueBytes;
    }
    for (p = (p + 3) & ~size_t{3}; p < end; p = (p + 3) & ~size_t{3}) {
        n.children.push_back(DecodeVersionNode(bytes, p));
        if (n.children.back().length == 0)
            break;
        p += n.children.back().length;
    }
    return n;
}

// The VS_FIXEDFILEINFO DWORDs (13 of them) of a decoded root.
inline std::vector<uint32_t> FixedInfo(const VersionTreeNode& root)
{
    std::vector<uint32_t> v;
    for (size_t i = 0; i + 3 < root.value.size(); i += 4)
        v.push_back(root.value[i] | (root.value[i + 1] << 8) | (root.value[i + 2] << 16) |
            (static_cast<uint32_t>(root.value[i + 3]) << 24));
    return v;
}

} // namespace zyn::rc::test
