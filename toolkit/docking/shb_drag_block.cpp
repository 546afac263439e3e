// The shortcut-bar item block: writing it, and reading it with every size checked before
// anything is kept.
#include "toolkit/docking/shb_drag_block.h"

#include <cstring>
#include <limits>

#include "platform/base/utf16.h"

namespace zyn::toolkit::shb {
namespace {

constexpr size_t kRecordHeader = 12;   // reserved, kind, size
constexpr uint64_t kMax32 = std::numeric_limits<uint32_t>::max();

void Put32(std::vector<uint8_t>& out, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

uint32_t Get32(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
        (static_cast<uint32_t>(p[3]) << 24);
}

template <typename T>
std::optional<T> Fail(std::string* error, std::string why)
{
    if (error)
        *error = std::move(why);
    return std::nullopt;
}

// A cursor over the block that never reads past its end.
class Reader {
public:
    explicit Reader(std::span<const uint8_t> bytes) : m_bytes(bytes) {}
    size_t Left() const { return m_bytes.size() - m_pos; }
    size_t Position() const { return m_pos; }
    bool Read32(uint32_t& v)
    {
        if (Left() < 4)
            return false;
        v = Get32(m_bytes.data() + m_pos);
        m_pos += 4;
        return true;
    }
    bool Take(size_t n, std::span<const uint8_t>& out)
    {
        if (Left() < n)
            return false;
        out = m_bytes.subspan(m_pos, n);
        m_pos += n;
        return true;
    }

private:
    std::span<const uint8_t> m_bytes;
    size_t m_pos = 0;
};

// The one image of a record's stream; empty when the stream is not exactly one image.
OwnedImageList ReadOneImage(std::span<const uint8_t> stream, std::string& why)
{
    gdi::ByteVectorStream in(std::vector<uint8_t>(stream.begin(), stream.end()));
    OwnedImageList list(ImageList_Read(&in));
    if (!list.get()) {
        why = "unreadable image stream";
        return {};
    }
    if (ImageList_GetImageCount(list.get()) != 1) {
        why = "image stream does not hold exactly one image";
        return {};
    }
    if (in.Position() != stream.size()) {
        why = "bytes after the image stream";
        return {};
    }
    return list;
}

} // namespace

OwnedImageList& OwnedImageList::operator=(OwnedImageList&& other) noexcept
{
    if (this != &other) {
        Reset();
        m_h = other.m_h;
        other.m_h = nullptr;
    }
    return *this;
}

void OwnedImageList::Reset()
{
    if (m_h)
        ImageList_Destroy(m_h);
    m_h = nullptr;
}

std::optional<std::vector<uint8_t>> WriteDragBlock(std::wstring_view text, uint32_t itemData,
    std::span<const DragImageStream> images, std::span<const uint8_t> extra, std::string* error)
{
    using Out = std::vector<uint8_t>;
    if (images.size() > kMaxImageRecords)
        return Fail<Out>(error, "more than two image records");
    // A zero unit ends the text in the block, so the text ends at its first zero.
    if (const size_t nul = text.find(L'\0'); nul != std::wstring_view::npos)
        text = text.substr(0, nul);
    uint64_t total = 2 * (base::Utf16Length(text) + 1) + 4 + 4 + 4;
    for (const DragImageStream& image : images) {
        if (image.kind != kImageKindLarge && image.kind != kImageKindSmall)
            return Fail<Out>(error, "image kind " + std::to_string(image.kind));
        if (image.stream.size() > kMax32)
            return Fail<Out>(error, "image stream too long");
        total += kRecordHeader + image.stream.size();
    }
    if (extra.size() > kMax32)
        return Fail<Out>(error, "extra data too long");
    total += extra.size();
    if (total > kMax32)
        return Fail<Out>(error, "block too long");

    Out out;
    out.reserve(static_cast<size_t>(total));
    base::AppendUtf16LE(out, text);
    out.push_back(0);
    out.push_back(0);
    Put32(out, itemData);
    Put32(out, static_cast<uint32_t>(images.size()));
    for (const DragImageStream& image : images) {
        Put32(out, 0); // reserved
        Put32(out, image.kind);
        Put32(out, static_cast<uint32_t>(image.stream.size()));
        out.insert(out.end(), image.stream.begin(), image.stream.end());
    }
    Put32(out, static_cast<uint32_t>(extra.size()));
    out.insert(out.end(), extra.begin(), extra.end());
    return out;
}

std::vector<uint8_t> SerializeOneImage(HIMAGELIST himl, int nImage)
{
    int cx = 0, cy = 0;
    if (nImage < 0 || nImage >= ImageList_GetImageCount(himl) || !ImageList_GetIconSize(himl, &cx, &cy))
        return {};
    // A list of the image's size that keeps colour, alpha and mask: the copy is exact.
    OwnedImageList one(ImageList_Create(cx, cy, ILC_COLOR32 | ILC_MASK, 1, 1));
    if (!one.get() || !ImageList_SetImageCount(one.get(), 1) || !ImageList_Copy(one.get(), 0, himl, nImage, ILCF_MOVE))
        return {};
    gdi::ByteVectorStream out;
    if (!ImageList_Write(one.get(), &out))
        return {};
    return out.Bytes();
}

std::optional<DragBlock> ReadDragBlock(std::span<const uint8_t> block, std::string* error)
{
    DragBlock result;
    // The text: UTF-16 units up to the first zero unit, which must lie inside the block.
    size_t units = 0;
    for (;; ++units) {
        if (2 * units + 2 > block.size())
            return Fail<DragBlock>(error, "text without its terminator");
        if (block[2 * units] == 0 && block[2 * units + 1] == 0)
            break;
    }
    result.text = base::FromUtf16LE(block.first(2 * units));
    Reader r(block.subspan(2 * units + 2));

    uint32_t count = 0;
    if (!r.Read32(result.itemData) || !r.Read32(count))
        return Fail<DragBlock>(error, "block ends before the image count");
    if (count > kMaxImageRecords)
        return Fail<DragBlock>(error, std::to_string(count) + " image records");
    bool seen[2] = {false, false};
    for (uint32_t i = 0; i < count; ++i) {
        uint32_t reserved = 0, kind = 0, size = 0;
        std::span<const uint8_t> stream;
        if (!r.Read32(reserved) || !r.Read32(kind) || !r.Read32(size))
            return Fail<DragBlock>(error, "image record " + std::to_string(i) + " cut short");
        if (!r.Take(size, stream))
            return Fail<DragBlock>(error, "image record " + std::to_string(i) + " runs past the block");
        if (reserved != 0) {
            // A record this reader does not know: skipped whole, whatever it holds.
            ++result.skippedRecords;
            continue;
        }
        if (kind != kImageKindLarge && kind != kImageKindSmall)
            return Fail<DragBlock>(error, "image record " + std::to_string(i) + " of kind " + std::to_string(kind));
        // One image per list: a second one would leave the item's single index naming
        // different pictures in the two lists.
        if (seen[kind])
            return Fail<DragBlock>(error, "two image records of kind " + std::to_string(kind));
        seen[kind] = true;
        std::string why;
        OwnedImageList list = ReadOneImage(stream, why);
        if (!list.get())
            return Fail<DragBlock>(error, "image record " + std::to_string(i) + ": " + why);
        result.images.push_back(DroppedImage{kind, std::move(list)});
    }
    uint32_t extraSize = 0;
    std::span<const uint8_t> extra;
    if (!r.Read32(extraSize))
        return Fail<DragBlock>(error, "block ends before the extra size");
    if (!r.Take(extraSize, extra))
        return Fail<DragBlock>(error, "extra data runs past the block");
    result.extra.assign(extra.begin(), extra.end());
    return result;
}

} // namespace zyn::toolkit::shb
