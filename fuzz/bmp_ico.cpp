// Feeds arbitrary bytes to the image parsers: BMP files and packed DIBs, ICO/CUR files
// with every entry they list, icon-group and cursor resources, PNG streams, and the
// image-list stream reader. Every failure must be a clean refusal: no crash, no
// over-read, no unbounded allocation, nothing leaked.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/gdi/imagefile.h"
#include "platform/gdi/imagelist.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::span<const uint8_t> bytes(data, size);
    std::string error;
    (void)zyn::gdi::ParseBmpFile(bytes, error);
    (void)zyn::gdi::ParsePackedDib(bytes, error);
    (void)zyn::gdi::ParsePng(bytes, error);
    (void)zyn::gdi::ParseIconImage(bytes, error);
    (void)zyn::gdi::ParseCursorResource(bytes, error);
    for (bool cursor : {false, true}) {
        if (auto group = zyn::gdi::ParseIconGroup(bytes, cursor, error); group && !group->entries.empty())
            (void)zyn::gdi::ChooseIconEntry(*group, 32, 32);
    }
    if (auto dir = zyn::gdi::ParseIconFileDir(bytes, error)) {
        (void)zyn::gdi::ChooseIconEntry(*dir, 16, 16);
        for (const auto& e : dir->entries)
            (void)zyn::gdi::ParseIconImage(bytes.subspan(e.offset, e.size), error);
    }
    zyn::gdi::ByteVectorStream stream(std::vector<uint8_t>(data, data + size));
    if (HIMAGELIST himl = ImageList_Read(&stream))
        ImageList_Destroy(himl);
    return 0;
}
