// The shortcut-bar item block: the writer's bytes worked out by hand from the layout
// (text as UTF-16 with a zero unit, then little-endian 32-bit fields), the one-image
// stream against the image-list stream layout, round trips, and the reader's refusal of
// every block that does not hold together.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/gdi/gdi_object.h"
#include "platform/gdi/wingdi.h"
#include "tests/shortcutbar/shb_test_support.h"
#include "toolkit/docking/shb_drag_block.h"

namespace shbtest {
namespace {

namespace shb = zyn::toolkit::shb;
using Bytes = std::vector<uint8_t>;

class DragBlockTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_lists = zyn::gdi::LiveImageListCount();
        m_objects = zyn::gdi::LiveObjectCount();
    }
    void TearDown() override
    {
        EXPECT_EQ(zyn::gdi::LiveImageListCount(), m_lists) << "image lists left";
        EXPECT_EQ(zyn::gdi::LiveObjectCount(), m_objects) << "GDI objects left";
    }

private:
    size_t m_lists = 0, m_objects = 0;
};

TEST_F(DragBlockTest, WriterLaysOutEveryFieldAsWorkedByHand)
{
    const Bytes one{0x01};
    const Bytes three{0xAA, 0xBB, 0xCC};
    const Bytes extra{0xDE, 0xAD, 0xBE};
    struct Row {
        const char* name;
        std::wstring text;
        uint32_t data;
        std::vector<shb::DragImageStream> images;
        Bytes extra;
        Bytes expected;
    };
    const Row rows[] = {
        {"no image, no extra", L"Ab", 0x11223344, {}, {},
            {0x41, 0, 0x62, 0, 0, 0, 0x44, 0x33, 0x22, 0x11, 0, 0, 0, 0, 0, 0, 0, 0}},
        {"small image only", L"", 0, {{shb::kImageKindSmall, three}}, {},
            {0, 0, 0, 0, 0, 0, 1, 0, 0, 0, /*reserved*/ 0, 0, 0, 0, /*kind*/ 1, 0, 0, 0, /*size*/ 3, 0, 0, 0, 0xAA,
                0xBB, 0xCC, 0, 0, 0, 0}},
        {"both images, large first", L"z", 5, {{shb::kImageKindLarge, one}, {shb::kImageKindSmall, three}}, {},
            {0x7A, 0, 0, 0, 5, 0, 0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0x01, 0, 0, 0, 0, 1, 0, 0, 0,
                3, 0, 0, 0, 0xAA, 0xBB, 0xCC, 0, 0, 0, 0}},
        {"extra bytes", L"x", 0xFFFFFFFF, {}, extra,
            {0x78, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 3, 0, 0, 0, 0xDE, 0xAD, 0xBE}},
        // U+1F600 is the surrogate pair D83D DE00: n counts two units.
        {"text outside the BMP", L"\U0001F600\u00E9", 0, {}, {},
            {0x3D, 0xD8, 0x00, 0xDE, 0xE9, 0x00, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {"text ends at a zero character", std::wstring(L"a\0b", 3), 0, {}, {},
            {0x61, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
    };
    for (const Row& r : rows) {
        const auto block = shb::WriteDragBlock(r.text, r.data, r.images, r.extra);
        ASSERT_TRUE(block) << r.name;
        EXPECT_EQ(*block, r.expected) << r.name;
    }
}

TEST_F(DragBlockTest, WriterRefusesWhatTheBlockCannotHold)
{
    const Bytes s{1};
    const std::vector<shb::DragImageStream> three{{0, s}, {1, s}, {0, s}};
    const std::vector<shb::DragImageStream> badKind{{2, s}};
    std::string why;
    EXPECT_FALSE(shb::WriteDragBlock(L"t", 0, three, {}, &why));
    EXPECT_NE(why.find("two"), std::string::npos) << why;
    EXPECT_FALSE(shb::WriteDragBlock(L"t", 0, badKind, {}, &why));
    EXPECT_NE(why.find("kind 2"), std::string::npos) << why;
}

TEST_F(DragBlockTest, ItemDataKeepsItsLow32BitsAndSign)
{
    struct Row {
        LPARAM value;
        uint32_t wire;
        LPARAM back;
    };
    const Row rows[] = {
        {0, 0, 0},
        {0x7FFFFFFF, 0x7FFFFFFF, 0x7FFFFFFF},
        {-1, 0xFFFFFFFF, -1},
        {-2147483647 - 1, 0x80000000, -2147483647 - 1},
        // Only the low half travels: the high half of a 64-bit value is lost.
        {static_cast<LPARAM>(0x123456789ABCDEF0LL), 0x9ABCDEF0, static_cast<LPARAM>(static_cast<int32_t>(0x9ABCDEF0))},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(shb::ItemDataToWire(r.value), r.wire) << r.value;
        EXPECT_EQ(shb::ItemDataFromWire(r.wire), r.back) << r.value;
    }
}

// Image 0 of a 2 x 1 list: (16, 32, 48) opaque, then black transparent.
TEST_F(DragBlockTest, OneImageStreamFollowsTheStreamLayout)
{
    const uint8_t colour[8] = {0x30, 0x20, 0x10, 0x00, 0x00, 0x00, 0x00, 0x00};
    const uint8_t mask[2] = {0x40, 0x00}; // a word per row; x = 1 transparent
    HIMAGELIST list = ImageList_Create(2, 1, ILC_COLOR32 | ILC_MASK, 2, 2);
    HBITMAP bmColour = CreateBitmap(2, 1, 1, 32, colour);
    HBITMAP bmMask = CreateBitmap(2, 1, 1, 1, mask);
    // Two images, so the one taken is not simply the whole list.
    ASSERT_EQ(ImageList_Add(list, bmColour, bmMask), 0);
    ASSERT_EQ(ImageList_Add(list, bmColour, bmMask), 1);
    DeleteObject(bmColour);
    DeleteObject(bmMask);
    const Bytes stream = shb::SerializeOneImage(list, 1);
    Bytes expected{
        'Z', 'I', 'M', 'L', 1, 0, 28, 0,                 // magic, version 1, 28 header bytes
        2, 0, 0, 0, 1, 0, 0, 0,                          // 2 x 1
        0x21, 0, 0, 0,                                   // ILC_COLOR32 | ILC_MASK
        1, 0, 0, 0, 1, 0, 0, 0,                          // one image, growth 1
        0xFF, 0xFF, 0xFF, 0xFF,                          // no background colour
        15, 0, 0, 0,                                     // 15 overlay slots...
    };
    for (int i = 0; i < 15; ++i)
        expected.insert(expected.end(), {0xFF, 0xFF, 0xFF, 0xFF}); // ...all empty
    expected.insert(expected.end(), {
        0,                                               // no alpha
        0x30, 0x20, 0x10, 0x00, 0x00, 0x00, 0x00, 0x00,  // B, G, R, A per pixel
        0x40,                                            // mask row: x = 1 transparent
    });
    EXPECT_EQ(stream, expected);
    EXPECT_TRUE(shb::SerializeOneImage(list, 2).empty()) << "no image 2";
    EXPECT_TRUE(shb::SerializeOneImage(list, -1).empty()) << "no image -1";
    ImageList_Destroy(list);
    EXPECT_TRUE(shb::SerializeOneImage(list, 0).empty()) << "a destroyed list";
}

TEST_F(DragBlockTest, RoundTripKeepsTextDataImagesAndExtra)
{
    const Bytes large = ZimlStream(2, 2, 0x21, {0x00102030, 0x00405060, 0x00708090, 0x00A0B0C0}, {0x40, 0x80});
    const Bytes small = ZimlStream(1, 1, 0x20, {0x00FF0000});
    const Bytes extra{0, 1, 2, 0, 255};
    const std::wstring text = L"Kalender \U0001F4C5 \u00FC";
    const std::vector<shb::DragImageStream> images{{shb::kImageKindLarge, large}, {shb::kImageKindSmall, small}};
    const auto block = shb::WriteDragBlock(text, 0xCAFE, images, extra);
    ASSERT_TRUE(block);
    std::string why;
    const auto read = shb::ReadDragBlock(*block, &why);
    ASSERT_TRUE(read) << why;
    EXPECT_EQ(read->text, text);
    EXPECT_EQ(read->itemData, 0xCAFEu);
    EXPECT_EQ(read->extra, extra);
    EXPECT_EQ(read->skippedRecords, 0u);
    ASSERT_EQ(read->images.size(), 2u);
    EXPECT_EQ(read->images[0].kind, shb::kImageKindLarge);
    EXPECT_EQ(read->images[1].kind, shb::kImageKindSmall);
    // Each image writes back to the very stream it came from.
    EXPECT_EQ(shb::SerializeOneImage(read->images[0].list.get(), 0), large);
    EXPECT_EQ(shb::SerializeOneImage(read->images[1].list.get(), 0),
        ZimlStream(1, 1, 0x21, {0x00FF0000}, {0x00})) << "re-written with a mask, all opaque";
}

TEST_F(DragBlockTest, ReaderSkipsRecordsWithReservedSetAndIgnoresSlackAfterTheExtra)
{
    const Bytes small = ZimlStream(1, 1, 0x20, {0x00123456});
    Bytes block = Utf16Z(L"Skip");
    Append32(block, 9);
    Append32(block, 2);
    Append32(block, 1); // reserved: a record of some later kind, any content
    Append32(block, 7);
    Append32(block, 4);
    block.insert(block.end(), {0xDE, 0xAD, 0xBE, 0xEF});
    AppendRecord(block, shb::kImageKindSmall, small);
    Append32(block, 2);
    block.insert(block.end(), {0x55, 0x66});
    block.insert(block.end(), {0, 0, 0, 0}); // slack of a rounded-up global block
    std::string why;
    const auto read = shb::ReadDragBlock(block, &why);
    ASSERT_TRUE(read) << why;
    EXPECT_EQ(read->text, L"Skip");
    EXPECT_EQ(read->skippedRecords, 1u);
    ASSERT_EQ(read->images.size(), 1u);
    EXPECT_EQ(read->images[0].kind, shb::kImageKindSmall);
    EXPECT_EQ(read->extra, (Bytes{0x55, 0x66}));
}

TEST_F(DragBlockTest, ReaderRefusesMalformedBlocksWhole)
{
    const Bytes good = ZimlStream(1, 1, 0x20, {0x00010203});
    const Bytes twoImages = ZimlStream(1, 1, 0x20, {0x00010203, 0x00040506}, {}, 2);
    const Bytes noImages = ZimlStream(1, 1, 0x20, {}, {}, 0);
    Bytes badMagic = good;
    badMagic[3] = 'X';
    Bytes trailing = good;
    trailing.push_back(0);
    const Bytes cutStream(good.begin(), good.end() - 1);

    // A block around records: text "T", data 0, the records, extra size 0.
    auto withRecords = [](std::vector<std::pair<uint32_t, Bytes>> records) {
        Bytes b = Utf16Z(L"T");
        Append32(b, 0);
        Append32(b, static_cast<uint32_t>(records.size()));
        for (auto& [kind, stream] : records)
            AppendRecord(b, kind, stream);
        Append32(b, 0);
        return b;
    };
    Bytes header = Utf16Z(L"T");
    Append32(header, 0);
    Bytes sizePast = header;
    Append32(sizePast, 1);
    Append32(sizePast, 0);
    Append32(sizePast, 0);
    Append32(sizePast, 1000); // says 1000 bytes, holds the good stream only
    sizePast.insert(sizePast.end(), good.begin(), good.end());
    Append32(sizePast, 0);
    Bytes extraPast = header;
    Append32(extraPast, 0);
    Append32(extraPast, 5);
    extraPast.insert(extraPast.end(), {1, 2, 3, 4});
    Bytes noExtraSize = header;
    Append32(noExtraSize, 0);
    Bytes recordCut = header;
    Append32(recordCut, 1);
    Append32(recordCut, 0);
    Append32(recordCut, 0);

    struct Row {
        const char* name;
        Bytes block;
        const char* reason;
    };
    const Row rows[] = {
        {"empty block", {}, "terminator"},
        {"no terminator", {0x41, 0x00, 0x42, 0x00}, "terminator"},
        {"odd byte before the end", {0x41, 0x00, 0x00}, "terminator"},
        {"ends after the text", Utf16Z(L"T"), "image count"},
        {"ends in the item data", header, "image count"},
        {"three records", withRecords({{0, good}, {1, good}, {1, good}}), "3 image records"},
        {"record header cut short", recordCut, "cut short"},
        {"record size past the end", sizePast, "past the block"},
        {"no extra size", noExtraSize, "extra size"},
        {"extra past the end", extraPast, "extra data"},
        {"kind 2", withRecords({{2, good}}), "kind 2"},
        {"two large images", withRecords({{0, good}, {0, good}}), "two image records"},
        {"bad stream magic", withRecords({{0, badMagic}}), "unreadable"},
        {"stream cut short", withRecords({{1, cutStream}}), "unreadable"},
        {"bytes after the stream", withRecords({{0, trailing}}), "after the image"},
        {"stream of two images", withRecords({{0, twoImages}}), "exactly one"},
        {"stream of no image", withRecords({{1, noImages}}), "exactly one"},
        {"good image, then a bad one", withRecords({{0, good}, {1, badMagic}}), "record 1"},
    };
    for (const Row& r : rows) {
        const size_t lists = zyn::gdi::LiveImageListCount();
        std::string why;
        EXPECT_FALSE(shb::ReadDragBlock(r.block, &why)) << r.name;
        EXPECT_NE(why.find(r.reason), std::string::npos) << r.name << ": " << why;
        EXPECT_EQ(zyn::gdi::LiveImageListCount(), lists) << r.name << ": an image list was left";
    }
    // The same records, well formed, are read.
    EXPECT_TRUE(shb::ReadDragBlock(withRecords({{0, good}, {1, good}})));
}

} // namespace
} // namespace shbtest
