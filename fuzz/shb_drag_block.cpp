// A dropped shortcut-bar item block: any bytes are either refused whole (no image list
// left behind) or read into an item that writes back to a block reading the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "platform/gdi/imagelist.h"
#include "toolkit/docking/shb_drag_block.h"

namespace shb = zyn::toolkit::shb;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const size_t listsBefore = zyn::gdi::LiveImageListCount();
    {
        auto block = shb::ReadDragBlock(std::span<const uint8_t>(data, size));
        if (!block) {
            if (zyn::gdi::LiveImageListCount() != listsBefore)
                std::abort();
            return 0;
        }
        // Each image kept is one list of one image.
        for (const auto& image : block->images)
            if (ImageList_GetImageCount(image.list.get()) != 1)
                std::abort();
        std::vector<std::vector<uint8_t>> streams;
        std::vector<shb::DragImageStream> images;
        for (const auto& image : block->images)
            streams.push_back(shb::SerializeOneImage(image.list.get(), 0));
        for (size_t i = 0; i < streams.size(); ++i)
            images.push_back(shb::DragImageStream{block->images[i].kind, streams[i]});
        const auto again = shb::WriteDragBlock(block->text, block->itemData, images, block->extra);
        if (!again)
            std::abort();
        const auto reread = shb::ReadDragBlock(*again);
        if (!reread || reread->text != block->text || reread->itemData != block->itemData ||
            reread->extra != block->extra || reread->images.size() != block->images.size())
            std::abort();
    }
    if (zyn::gdi::LiveImageListCount() != listsBefore)
        std::abort();
    return 0;
}
