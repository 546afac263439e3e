// Fuzz target: the resource compiler's icon, cursor and bitmap file readers, reached the
// way a script reaches them: the input is the file that `1 ICON "x.ico"` (or CURSOR, or
// BITMAP) names, compiled from memory. A file is compiled or refused with a located error
// naming it. A compiled icon or cursor gives one image resource per entry of the file and
// a group whose directory counts and names exactly those; a compiled bitmap is the file
// without its 14-byte header, its own header kept as it was.
#include <cstddef>
#include <cstdint>
#include <algorithm>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "tools/rc/rc_compiler.h"

namespace {

constexpr uint16_t kRtCursor = 1, kRtBitmap = 2, kRtIcon = 3, kRtGroupCursor = 12, kRtGroupIcon = 14;

uint16_t Le16(const std::vector<uint8_t>& b, size_t at) { return static_cast<uint16_t>(b[at] | (b[at + 1] << 8)); }

zyn::rc::CompileResult CompileWith(const char* statement, const char* file, const uint8_t* data, size_t size)
{
    zyn::rc::MemoryFileSystem files;
    files.Add("app.rc", std::string_view(statement));
    files.Add(file, std::vector<uint8_t>(data, data + size));
    zyn::rc::CompileOptions options;
    options.builtinHeaders = false;
    zyn::rc::CompileResult result = zyn::rc::Compile("app.rc", options, files);
    if (!result.ok) {
        // A refusal says where and which file.
        if (result.diagnostics.empty())
            std::abort();
        bool named = false;
        for (const auto& d : result.diagnostics)
            named = named || d.Format().find(file) != std::string::npos;
        if (!named)
            std::abort();
    }
    return result;
}

void CheckIcons(const zyn::rc::CompileResult& r, bool cursor, const uint8_t* data, size_t size)
{
    if (!r.ok)
        return;
    const uint16_t imageType = cursor ? kRtCursor : kRtIcon;
    const uint16_t groupType = cursor ? kRtGroupCursor : kRtGroupIcon;
    std::vector<uint16_t> imageIds;
    const zyn::rc::Resource* group = nullptr;
    for (const auto& res : r.resources) {
        if (res.type == zyn::rc::ResId::Number(imageType))
            imageIds.push_back(res.name.id);
        else if (res.type == zyn::rc::ResId::Number(groupType))
            group = &res;
        else
            std::abort();
    }
    // The file's directory: reserved 0, type 1 or 2, count.
    if (!group || size < 6 || imageIds.size() != static_cast<size_t>(data[4] | (data[5] << 8)))
        std::abort();
    // The group: the same header, then 14 bytes per image ending in its resource ID.
    const std::vector<uint8_t>& g = group->data;
    if (g.size() != 6 + 14 * imageIds.size() || Le16(g, 0) != 0 || Le16(g, 2) != (cursor ? 2 : 1) ||
        Le16(g, 4) != imageIds.size())
        std::abort();
    for (size_t i = 0; i < imageIds.size(); ++i)
        if (Le16(g, 6 + 14 * i + 12) != imageIds[i])
            std::abort();
}

void CheckBitmap(const zyn::rc::CompileResult& r, const uint8_t* data, size_t size)
{
    if (!r.ok)
        return;
    if (r.resources.size() != 1 || r.resources[0].type != zyn::rc::ResId::Number(kRtBitmap))
        std::abort();
    const std::vector<uint8_t>& dib = r.resources[0].data;
    if (size < 18 || data[0] != 'B' || data[1] != 'M' || dib.size() > size - 14)
        std::abort();
    const size_t headerSize = data[14] | (data[15] << 8) | (data[16] << 16) | (static_cast<size_t>(data[17]) << 24);
    if (dib.size() < headerSize || !std::equal(dib.begin(), dib.begin() + static_cast<std::ptrdiff_t>(headerSize), data + 14))
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CheckIcons(CompileWith("1 ICON \"x.ico\"\n", "x.ico", data, size), false, data, size);
    CheckIcons(CompileWith("1 CURSOR \"x.cur\"\n", "x.cur", data, size), true, data, size);
    CheckBitmap(CompileWith("1 BITMAP \"x.bmp\"\n", "x.bmp", data, size), data, size);
    return 0;
}
