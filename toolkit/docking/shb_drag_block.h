#pragma once
// The drag data of a shortcut-bar list item: the byte block offered under the registered
// clipboard format "Shortcut bar child window item", its writer and its reader. This unit
// needs no window (only image lists), so the fuzz target and the tests call it directly;
// the data-source and data-object glue is in shb_drag_data.h.
//
// The block, all integers 32-bit little-endian, no padding, fields in this order:
//   text         2 × (n + 1)  the item text as n UTF-16 code units and one zero unit
//   item data    4            the item's application value, its low 32 bits
//   image count  4            0, 1 or 2 image records follow
//   image record 12 + size    reserved (0; a reader skips a record whose value is not
//                             0), kind (0 large-icon list, 1 small-icon list), size, then
//                             size bytes: a one-image image-list stream (ImageList_Write)
//   extra size   4            then that many opaque bytes from the source's parent
// The writer puts the large image first, then the small one.
//
// The reader trusts nothing: before it keeps anything it checks that the terminator, the
// counts, every record and the extra bytes lie inside the block, that at most two
// records follow, that each record it uses names kind 0 or 1 (at most one of each) and
// holds exactly one readable image and nothing after it. Bytes after the extra bytes are
// ignored (a global block may be larger than asked for).
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/wintypes.h"
#include "platform/gdi/imagelist.h"

namespace zyn::toolkit::shb {

inline constexpr wchar_t kChildWndItemFormatName[] = L"Shortcut bar child window item";

inline constexpr uint32_t kImageKindLarge = 0;   // the normal (large-icon) image list
inline constexpr uint32_t kImageKindSmall = 1;   // the small-icon image list
inline constexpr size_t kMaxImageRecords = 2;

// The item data travels as 32 bits: the writer keeps the low half of an LPARAM, the
// reader widens it with its sign, so every value that fits an int32_t comes back as it was.
constexpr uint32_t ItemDataToWire(LPARAM value) { return static_cast<uint32_t>(static_cast<uintptr_t>(value)); }
constexpr LPARAM ItemDataFromWire(uint32_t value) { return static_cast<LPARAM>(static_cast<int32_t>(value)); }

// An image record to write: its kind and its image-list stream.
struct DragImageStream {
    uint32_t kind = kImageKindLarge;
    std::span<const uint8_t> stream;
};

// The block for an item. The text ends at its first zero character (a zero unit is the
// block's terminator). Null, with the reason in *error, for more than two images, a kind
// other than 0 or 1, or a part too long for its 32-bit size.
std::optional<std::vector<uint8_t>> WriteDragBlock(std::wstring_view text, uint32_t itemData,
    std::span<const DragImageStream> images, std::span<const uint8_t> extra, std::string* error = nullptr);

// Image nImage of himl alone, as the stream of a list of its size that holds only it
// (colour and mask kept). Empty when the list or the image does not exist.
std::vector<uint8_t> SerializeOneImage(HIMAGELIST himl, int nImage);

// An image list that a read block owns; destroyed with it.
class OwnedImageList {
public:
    OwnedImageList() = default;
    explicit OwnedImageList(HIMAGELIST h) : m_h(h) {}
    ~OwnedImageList() { Reset(); }
    OwnedImageList(OwnedImageList&& other) noexcept : m_h(other.m_h) { other.m_h = nullptr; }
    OwnedImageList& operator=(OwnedImageList&& other) noexcept;
    OwnedImageList(const OwnedImageList&) = delete;
    OwnedImageList& operator=(const OwnedImageList&) = delete;
    HIMAGELIST get() const { return m_h; }
    void Reset();

private:
    HIMAGELIST m_h = nullptr;
};

// An image the block carries: its kind and a list holding that one image.
struct DroppedImage {
    uint32_t kind = kImageKindLarge;
    OwnedImageList list;
};

struct DragBlock {
    std::wstring text;
    uint32_t itemData = 0;
    std::vector<DroppedImage> images;   // the records with reserved 0, in block order
    size_t skippedRecords = 0;          // records with reserved not 0
    std::vector<uint8_t> extra;
};

// Reads a whole block (see the checks above). Null, with the reason in *error, when any
// check fails; nothing of a refused block is kept.
std::optional<DragBlock> ReadDragBlock(std::span<const uint8_t> block, std::string* error = nullptr);

} // namespace zyn::toolkit::shb
