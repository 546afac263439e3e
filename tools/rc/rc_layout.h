#pragma once
// The standard binary layouts of compiled resources, built from parsed descriptions.
// Every multi-byte field is little-endian; text is UTF-16LE through the platform codec.

#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zyn::rc {

class ByteWriter {
public:
    void U8(uint8_t v) { m_bytes.push_back(v); }
    void U16(uint16_t v)
    {
        m_bytes.push_back(static_cast<uint8_t>(v));
        m_bytes.push_back(static_cast<uint8_t>(v >> 8));
    }
    void I16(int16_t v) { U16(static_cast<uint16_t>(v)); }
    void U32(uint32_t v)
    {
        U16(static_cast<uint16_t>(v));
        U16(static_cast<uint16_t>(v >> 16));
    }
    void Bytes(std::span<const uint8_t> b) { m_bytes.insert(m_bytes.end(), b.begin(), b.end()); }
    // Overwrites a WORD written before (a length known only later).
    void PatchU16(size_t at, uint16_t v)
    {
        m_bytes.at(at) = static_cast<uint8_t>(v);
        m_bytes.at(at + 1) = static_cast<uint8_t>(v >> 8);
    }
    // UTF-16LE text followed by a 0 unit.
    void Str(std::wstring_view text);
    // UTF-16LE text without terminator.
    void Text(std::wstring_view text);
    // Pads with zeros to a multiple of four bytes from the start of the resource.
    void Align4()
    {
        while (m_bytes.size() % 4)
            m_bytes.push_back(0);
    }
    size_t Size() const { return m_bytes.size(); }
    std::vector<uint8_t> Take() { return std::move(m_bytes); }

private:
    std::vector<uint8_t> m_bytes;
};

// An sz_Or_Ord field: absent (one 0 unit), an ordinal (0xFFFF then the value) or text.
struct NameOrOrd {
    enum class Kind { None, Ordinal, Text } kind = Kind::None;
    uint16_t ordinal = 0;
    std::wstring text;

    static NameOrOrd Ord(uint16_t v) { return NameOrOrd{Kind::Ordinal, v, {}}; }
    static NameOrOrd Str(std::wstring s) { return NameOrOrd{Kind::Text, 0, std::move(s)}; }
};
void WriteNameOrOrd(ByteWriter& w, const NameOrOrd& v);

// ---- menus ----------------------------------------------------------------------------
struct MenuItem {
    bool popup = false;
    bool separator = false;
    std::wstring text;
    uint32_t id = 0;
    uint16_t options = 0; // MENU: the MF_ option flags (GRAYED, CHECKED...)
    uint32_t type = 0;    // MENUEX: MFT_ flags
    uint32_t state = 0;   // MENUEX: MFS_ flags
    uint32_t helpId = 0;  // MENUEX popups
    std::vector<MenuItem> children;
};
inline constexpr uint16_t kMfGrayed = 0x0001, kMfDisabled = 0x0002, kMfChecked = 0x0008, kMfPopup = 0x0010,
                          kMfMenuBarBreak = 0x0020, kMfMenuBreak = 0x0040, kMfEnd = 0x0080, kMfHelp = 0x4000;
inline constexpr uint32_t kMftSeparator = 0x0800;

// MENUITEMTEMPLATEHEADER (version 0, offset 0) and the items: option WORD (MF_POPUP,
// MF_END on the last item of each level), the ID WORD for normal items, the text.
std::vector<uint8_t> BuildMenu(const std::vector<MenuItem>& items);
// Version 1, offset 4, help ID 0; then DWORD-aligned items: type, state, ID (DWORDs),
// the resource-info WORD (0x01 popup, 0x80 last), the text, padding, and for popups the
// help ID followed by the sub-items.
std::vector<uint8_t> BuildMenuEx(const std::vector<MenuItem>& items);

// ---- dialogs --------------------------------------------------------------------------
struct DialogControl {
    uint32_t style = 0;
    uint32_t exStyle = 0;
    uint32_t helpId = 0;
    int16_t x = 0, y = 0, cx = 0, cy = 0;
    uint32_t id = 0;
    NameOrOrd cls;
    NameOrOrd text;
    std::vector<uint8_t> data; // creation data (DIALOGEX only)
};
struct Dialog {
    bool ex = false;
    uint32_t style = 0;
    uint32_t exStyle = 0;
    uint32_t helpId = 0;
    int16_t x = 0, y = 0, cx = 0, cy = 0;
    NameOrOrd menu;
    NameOrOrd cls;
    std::wstring caption;
    bool hasFont = false;
    uint16_t pointSize = 0;
    uint16_t weight = 0;
    uint8_t italic = 0;
    uint8_t charset = 1; // DEFAULT_CHARSET
    std::wstring face;
    std::vector<DialogControl> controls;
};
inline constexpr uint32_t kDsSetFont = 0x40;
// DLGTEMPLATE or DLGTEMPLATEEX with its DWORD-aligned item templates.
std::vector<uint8_t> BuildDialog(const Dialog& d);

// ---- accelerators, toolbars, strings --------------------------------------------------
struct AccelEntry {
    uint16_t flags = 0; // FVIRTKEY, FNOINVERT, FSHIFT, FCONTROL, FALT
    uint16_t key = 0;
    uint16_t id = 0;
};
// Eight bytes per entry (flags, key, command, padding); the last entry's flags carry 0x80.
std::vector<uint8_t> BuildAccelerators(const std::vector<AccelEntry>& entries);
// Version 1, bitmap width and height, item count, then the command IDs (0: separator).
std::vector<uint8_t> BuildToolbar(uint16_t width, uint16_t height, const std::vector<uint16_t>& ids);
// RT_STRING blocks by block ID (string ID / 16 + 1): 16 counted UTF-16 strings each.
std::map<uint16_t, std::vector<uint8_t>> BuildStringBlocks(const std::map<uint16_t, std::wstring>& strings);

// ---- version information ----------------------------------------------------------------
// The VS_FIXEDFILEINFO fields a script gives (the signature, structure version and file
// date are fixed).
struct VersionFixed {
    uint32_t fileMS = 0, fileLS = 0;
    uint32_t productMS = 0, productLS = 0;
    uint32_t flagsMask = 0, flags = 0, os = 0, type = 0, subtype = 0;
};
// A BLOCK (its children) or a VALUE (its bytes: text is UTF-16 with terminators, numbers
// are WORDs or DWORDs) of the tree below VS_VERSIONINFO.
struct VersionNode {
    std::wstring key;
    bool block = false;
    bool text = false; // wType 1; wValueLength then counts UTF-16 units, else bytes
    std::vector<uint8_t> value;
    std::vector<VersionNode> children;
};
inline constexpr uint32_t kVsFixedSignature = 0xFEEF04BD, kVsFixedStrucVersion = 0x00010000;
// VS_VERSIONINFO: every node is wLength, wValueLength, wType, its key (UTF-16 with the
// terminator), padding to 32 bits, the value, and its children each starting on a 32-bit
// boundary; wLength covers the node up to the end of its last child, without padding
// after it. The root's value is the 52-byte VS_FIXEDFILEINFO. False, with `error` naming
// the node, when a node is longer than its 16-bit wLength can say.
bool BuildVersionInfo(const VersionFixed& fixed, const std::vector<VersionNode>& children, std::vector<uint8_t>& out,
    std::string& error);

// ---- images -----------------------------------------------------------------------------
// A .bmp file without its 14-byte file header (a packed DIB). Gaps between the colour
// table and the pixels that bfOffBits announces are removed, so the pixels follow the
// colour table as a packed DIB requires.
bool PackedDibFromBmpFile(std::span<const uint8_t> file, std::vector<uint8_t>& out, std::string& error);

struct IconFileImage {
    uint8_t width = 0, height = 0, colorCount = 0;
    uint16_t planes = 0, bitCount = 0;
    uint16_t hotX = 0, hotY = 0; // cursors
    std::vector<uint8_t> bytes;  // the image (DIB or PNG)
};
// The images of an .ico (cursor false) or .cur file.
bool ParseIconFile(std::span<const uint8_t> file, bool cursor, std::vector<IconFileImage>& images,
    std::string& error);
// The RT_ICON data of an image (its bytes) or the RT_CURSOR data (hot spot, then bytes).
std::vector<uint8_t> IconImageResource(const IconFileImage& image, bool cursor);
// The RT_GROUP_ICON / RT_GROUP_CURSOR directory naming the images by their IDs.
std::vector<uint8_t> BuildIconGroup(const std::vector<IconFileImage>& images, const std::vector<uint16_t>& ids,
    bool cursor);

} // namespace zyn::rc
