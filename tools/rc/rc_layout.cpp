#include "tools/rc/rc_layout.h"

#include <array>

#include "platform/base/utf16.h"

namespace zyn::rc {
namespace {

uint16_t Le16(std::span<const uint8_t> b, size_t at) { return static_cast<uint16_t>(b[at] | (b[at + 1] << 8)); }
uint32_t Le32(std::span<const uint8_t> b, size_t at)
{
    return static_cast<uint32_t>(b[at]) | (static_cast<uint32_t>(b[at + 1]) << 8) |
        (static_cast<uint32_t>(b[at + 2]) << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}

bool IsPng(std::span<const uint8_t> b)
{
    static constexpr std::array<uint8_t, 8> kSig = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    return b.size() >= kSig.size() && std::equal(kSig.begin(), kSig.end(), b.begin());
}

void WriteMenuItems(ByteWriter& w, const std::vector<MenuItem>& items)
{
    for (size_t i = 0; i < items.size(); ++i) {
        const MenuItem& it = items[i];
        uint16_t options = it.options;
        if (it.popup)
            options |= kMfPopup;
        if (i + 1 == items.size())
            options |= kMfEnd;
        w.U16(options);
        if (!it.popup)
            w.U16(static_cast<uint16_t>(it.id));
        w.Str(it.text);
        if (it.popup)
            WriteMenuItems(w, it.children);
    }
}

void WriteMenuExItems(ByteWriter& w, const std::vector<MenuItem>& items)
{
    for (size_t i = 0; i < items.size(); ++i) {
        const MenuItem& it = items[i];
        w.U32(it.type);
        w.U32(it.state);
        w.U32(it.id);
        w.U16(static_cast<uint16_t>((it.popup ? 0x01 : 0) | (i + 1 == items.size() ? 0x80 : 0)));
        w.Str(it.text);
        w.Align4();
        if (it.popup) {
            w.U32(it.helpId);
            WriteMenuExItems(w, it.children);
        }
    }
}

} // namespace

void ByteWriter::Str(std::wstring_view text)
{
    Text(text);
    U16(0);
}

void ByteWriter::Text(std::wstring_view text) { base::AppendUtf16LE(m_bytes, text); }

void WriteNameOrOrd(ByteWriter& w, const NameOrOrd& v)
{
    switch (v.kind) {
    case NameOrOrd::Kind::None:
        w.U16(0);
        break;
    case NameOrOrd::Kind::Ordinal:
        w.U16(0xFFFF);
        w.U16(v.ordinal);
        break;
    case NameOrOrd::Kind::Text:
        w.Str(v.text);
        break;
    }
}

std::vector<uint8_t> BuildMenu(const std::vector<MenuItem>& items)
{
    ByteWriter w;
    w.U16(0); // versionNumber
    w.U16(0); // offset
    WriteMenuItems(w, items);
    return w.Take();
}

std::vector<uint8_t> BuildMenuEx(const std::vector<MenuItem>& items)
{
    ByteWriter w;
    w.U16(1); // wVersion
    w.U16(4); // wOffset: the items begin four bytes after this field
    w.U32(0); // dwHelpId
    WriteMenuExItems(w, items);
    return w.Take();
}

std::vector<uint8_t> BuildDialog(const Dialog& d)
{
    ByteWriter w;
    const uint32_t style = d.hasFont ? (d.style | kDsSetFont) : (d.style & ~kDsSetFont);
    if (d.ex) {
        w.U16(1);      // dlgVer
        w.U16(0xFFFF); // signature
        w.U32(d.helpId);
        w.U32(d.exStyle);
        w.U32(style);
    } else {
        w.U32(style);
        w.U32(d.exStyle);
    }
    w.U16(static_cast<uint16_t>(d.controls.size()));
    w.I16(d.x);
    w.I16(d.y);
    w.I16(d.cx);
    w.I16(d.cy);
    WriteNameOrOrd(w, d.menu);
    WriteNameOrOrd(w, d.cls);
    w.Str(d.caption);
    if (d.hasFont) {
        w.U16(d.pointSize);
        if (d.ex) {
            w.U16(d.weight);
            w.U8(d.italic);
            w.U8(d.charset);
        }
        w.Str(d.face);
    }
    for (const DialogControl& c : d.controls) {
        w.Align4();
        if (d.ex) {
            w.U32(c.helpId);
            w.U32(c.exStyle);
            w.U32(c.style);
        } else {
            w.U32(c.style);
            w.U32(c.exStyle);
        }
        w.I16(c.x);
        w.I16(c.y);
        w.I16(c.cx);
        w.I16(c.cy);
        if (d.ex)
            w.U32(c.id);
        else
            w.U16(static_cast<uint16_t>(c.id));
        WriteNameOrOrd(w, c.cls);
        WriteNameOrOrd(w, c.text);
        w.U16(static_cast<uint16_t>(c.data.size()));
        w.Bytes(c.data);
    }
    return w.Take();
}

std::vector<uint8_t> BuildAccelerators(const std::vector<AccelEntry>& entries)
{
    ByteWriter w;
    for (size_t i = 0; i < entries.size(); ++i) {
        const AccelEntry& e = entries[i];
        w.U16(static_cast<uint16_t>(e.flags | (i + 1 == entries.size() ? 0x80 : 0)));
        w.U16(e.key);
        w.U16(e.id);
        w.U16(0);
    }
    return w.Take();
}

std::vector<uint8_t> BuildToolbar(uint16_t width, uint16_t height, const std::vector<uint16_t>& ids)
{
    ByteWriter w;
    w.U16(1);
    w.U16(width);
    w.U16(height);
    w.U16(static_cast<uint16_t>(ids.size()));
    for (const uint16_t id : ids)
        w.U16(id);
    return w.Take();
}

std::map<uint16_t, std::vector<uint8_t>> BuildStringBlocks(const std::map<uint16_t, std::wstring>& strings)
{
    std::map<uint16_t, std::array<const std::wstring*, 16>> blocks;
    for (const auto& [id, text] : strings)
        blocks.try_emplace(static_cast<uint16_t>(id / 16 + 1)).first->second[id % 16] = &text;
    std::map<uint16_t, std::vector<uint8_t>> out;
    for (const auto& [block, entries] : blocks) {
        ByteWriter w;
        for (const std::wstring* text : entries) {
            w.U16(static_cast<uint16_t>(text ? base::Utf16Length(*text) : 0));
            if (text)
                w.Text(*text);
        }
        out.emplace(block, w.Take());
    }
    return out;
}

bool PackedDibFromBmpFile(std::span<const uint8_t> file, std::vector<uint8_t>& out, std::string& error)
{
    if (file.size() < 14 + 12 || file[0] != 'B' || file[1] != 'M') {
        error = "not a bitmap file (no BM header)";
        return false;
    }
    const uint32_t offBits = Le32(file, 10);
    const uint32_t headerSize = Le32(file, 14);
    uint64_t colours = 0;
    uint64_t entrySize = 4;
    uint64_t masks = 0;
    if (headerSize == 12) {
        const uint16_t bits = Le16(file, 14 + 10);
        colours = bits <= 8 ? (1u << bits) : 0;
        entrySize = 3;
    } else if (headerSize >= 40) {
        if (file.size() < 14 + 40) {
            error = "the bitmap header is truncated";
            return false;
        }
        const uint16_t bits = Le16(file, 14 + 14);
        const uint32_t compression = Le32(file, 14 + 16);
        const uint32_t used = Le32(file, 14 + 32);
        colours = used ? used : (bits <= 8 ? (1u << bits) : 0);
        if (headerSize == 40 && compression == 3) // BI_BITFIELDS
            masks = 12;
        else if (headerSize == 40 && compression == 6) // BI_ALPHABITFIELDS
            masks = 16;
    } else {
        error = "unknown bitmap header size " + std::to_string(headerSize);
        return false;
    }
    const uint64_t expected = 14 + static_cast<uint64_t>(headerSize) + masks + colours * entrySize;
    if (expected > file.size()) {
        error = "the bitmap's header and colour table are truncated";
        return false;
    }
    if (offBits == 0 || offBits == expected) {
        out.assign(file.begin() + 14, file.end());
        return true;
    }
    if (offBits < expected || offBits > file.size()) {
        error = "the bitmap's pixel offset " + std::to_string(offBits) + " does not fit its header and size";
        return false;
    }
    out.assign(file.begin() + 14, file.begin() + static_cast<std::ptrdiff_t>(expected));
    out.insert(out.end(), file.begin() + offBits, file.end());
    return true;
}

bool ParseIconFile(std::span<const uint8_t> file, bool cursor, std::vector<IconFileImage>& images, std::string& error)
{
    const char* what = cursor ? "cursor" : "icon";
    if (file.size() < 6 || Le16(file, 0) != 0 || Le16(file, 2) != (cursor ? 2 : 1)) {
        error = cursor ? "not a cursor file" : "not an icon file";
        return false;
    }
    const uint16_t count = Le16(file, 4);
    if (count == 0) {
        error = std::string("the ") + what + " file holds no images";
        return false;
    }
    if (6 + static_cast<uint64_t>(count) * 16 > file.size()) {
        error = std::string("the ") + what + " file's directory is truncated";
        return false;
    }
    images.clear();
    for (uint16_t i = 0; i < count; ++i) {
        const size_t e = 6 + static_cast<size_t>(i) * 16;
        IconFileImage img;
        img.width = file[e];
        img.height = file[e + 1];
        img.colorCount = file[e + 2];
        if (cursor) {
            img.hotX = Le16(file, e + 4);
            img.hotY = Le16(file, e + 6);
        } else {
            img.planes = Le16(file, e + 4);
            img.bitCount = Le16(file, e + 6);
        }
        const uint32_t size = Le32(file, e + 8);
        const uint32_t offset = Le32(file, e + 12);
        if (size == 0 || static_cast<uint64_t>(offset) + size > file.size()) {
            error = std::string("image ") + std::to_string(i + 1) + " of the " + what + " file lies outside it";
            return false;
        }
        img.bytes.assign(file.begin() + offset, file.begin() + offset + size);
        const std::span<const uint8_t> b(img.bytes);
        if (!IsPng(b)) {
            if (b.size() < 40 || Le32(b, 0) < 40) {
                error = std::string("image ") + std::to_string(i + 1) + " of the " + what +
                    " file is neither a DIB nor a PNG";
                return false;
            }
            // Writers often leave planes and depth 0 in the directory; the image knows them.
            if (img.planes == 0)
                img.planes = Le16(b, 12);
            if (img.bitCount == 0)
                img.bitCount = Le16(b, 14);
        }
        images.push_back(std::move(img));
    }
    return true;
}

std::vector<uint8_t> IconImageResource(const IconFileImage& image, bool cursor)
{
    ByteWriter w;
    if (cursor) {
        w.U16(image.hotX);
        w.U16(image.hotY);
    }
    w.Bytes(image.bytes);
    return w.Take();
}

std::vector<uint8_t> BuildIconGroup(const std::vector<IconFileImage>& images, const std::vector<uint16_t>& ids,
    bool cursor)
{
    ByteWriter w;
    w.U16(0);
    w.U16(cursor ? 2 : 1);
    w.U16(static_cast<uint16_t>(images.size()));
    for (size_t i = 0; i < images.size(); ++i) {
        const IconFileImage& img = images[i];
        const std::span<const uint8_t> b(img.bytes);
        if (cursor) {
            uint16_t width = img.width ? img.width : 256;
            uint16_t height = static_cast<uint16_t>((img.height ? img.height : 256) * 2);
            uint16_t planes = 1, bits = img.bitCount;
            if (!IsPng(b)) { // the DIB's own size; its height covers the mask too
                width = static_cast<uint16_t>(Le32(b, 4));
                height = static_cast<uint16_t>(Le32(b, 8));
                planes = Le16(b, 12);
                bits = Le16(b, 14);
            }
            w.U16(width);
            w.U16(height);
            w.U16(planes);
            w.U16(bits);
            w.U32(static_cast<uint32_t>(img.bytes.size() + 4));
        } else {
            w.U8(img.width);
            w.U8(img.height);
            w.U8(img.colorCount);
            w.U8(0);
            w.U16(img.planes);
            w.U16(img.bitCount);
            w.U32(static_cast<uint32_t>(img.bytes.size()));
        }
        w.U16(ids[i]);
    }
    return w.Take();
}

} // namespace zyn::rc
