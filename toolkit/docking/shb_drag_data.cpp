// Item drag and drop of the shortcut-bar lists: the data source of a dragged item, and
// the dropped item rebuilt in a list view.
#include "toolkit/docking/shb_drag_data.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "platform/afx/gdi/image_list.h"
#include "platform/afx/ole/oledataobject.h"
#include "platform/afx/ole/oledatasource.h"
#include "platform/base/codepage.h"
#include "platform/base/globalmem.h"
#include "platform/base/utf16.h"
#include "platform/comctl/listview.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/clipboard.h"
#include "platform/user/msgqueue.h"

namespace zyn::toolkit::shb {
namespace {

constexpr int kListOf[2] = {LVSIL_NORMAL, LVSIL_SMALL};

// A zero-filled global block holding the bytes; null when memory runs out.
HGLOBAL GlobalCopy(std::span<const uint8_t> bytes)
{
    HGLOBAL h = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, std::max<size_t>(bytes.size(), 1));
    if (!h)
        return nullptr;
    void* p = ::GlobalLock(h);
    if (!p) {
        ::GlobalFree(h);
        return nullptr;
    }
    if (!bytes.empty())
        std::memcpy(p, bytes.data(), bytes.size());
    ::GlobalUnlock(h);
    return h;
}

// Offers the bytes under a format; false when the memory could not be had.
bool Offer(COleDataSource& source, UINT format, std::span<const uint8_t> bytes)
{
    HGLOBAL h = GlobalCopy(bytes);
    if (!h)
        return false;
    source.CacheGlobalData(static_cast<CLIPFORMAT>(format), h);
    return true;
}

std::wstring ItemText(HWND hList, int nItem)
{
    std::vector<wchar_t> buffer(256);
    for (;;) {
        LVITEMW item{};
        item.iSubItem = 0;
        item.pszText = buffer.data();
        item.cchTextMax = static_cast<int>(buffer.size());
        const auto n = static_cast<size_t>(std::max<LRESULT>(
            0, ::SendMessageW(hList, LVM_GETITEMTEXTW, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(&item))));
        // A full buffer may have cut the text: ask again with room to spare.
        if (n + 1 < buffer.size() || buffer.size() >= (1u << 24))
            return std::wstring(buffer.data(), std::min(n, buffer.size() - 1));
        buffer.resize(buffer.size() * 4);
    }
}

// The images dropped into one list view, appended (with padding) and undone unless kept.
class ImageAppend {
public:
    ImageAppend(HWND hList, CImageList& ownLarge, CImageList& ownSmall) : m_list(hList), m_own{&ownLarge, &ownSmall}
    {
    }
    ~ImageAppend()
    {
        if (!m_kept)
            Undo();
    }
    ImageAppend(const ImageAppend&) = delete;
    ImageAppend& operator=(const ImageAppend&) = delete;

    // The index the images got (-1 without images); -2 on failure.
    int Run(const DragBlock& block)
    {
        if (block.images.empty())
            return -1;
        for (int k = 0; k < 2; ++k)
            m_lists[k] = reinterpret_cast<HIMAGELIST>(::SendMessageW(m_list, LVM_GETIMAGELIST, kListOf[k], 0));
        for (const DroppedImage& image : block.images) {
            const uint32_t k = image.kind;
            if (m_lists[k])
                continue;
            if (!m_own[k]->m_hImageList) {
                int cx = 0, cy = 0;
                ImageList_GetIconSize(image.list.get(), &cx, &cy);
                if (!m_own[k]->Create(cx, cy, ILC_COLOR32 | ILC_MASK, 1, 1))
                    return -2;
                m_created[k] = true;
            }
            ::SendMessageW(m_list, LVM_SETIMAGELIST, kListOf[k], reinterpret_cast<LPARAM>(m_own[k]->m_hImageList));
            m_attached[k] = true;
            m_lists[k] = m_own[k]->m_hImageList;
        }
        // One index for both lists: past the end of the longer one.
        int index = 0;
        for (int k = 0; k < 2; ++k)
            if (m_lists[k])
                index = std::max(index, ImageList_GetImageCount(m_lists[k]));
        // Counted before anything changes: a list view may use one list for both kinds.
        for (const DroppedImage& image : block.images)
            m_oldCount[image.kind] = ImageList_GetImageCount(m_lists[image.kind]);
        for (const DroppedImage& image : block.images) {
            const uint32_t k = image.kind;
            if (!ImageList_SetImageCount(m_lists[k], static_cast<UINT>(index + 1)) || !Place(m_lists[k], index, image))
                return -2;
        }
        return index;
    }
    void Keep() { m_kept = true; }

private:
    // The image at `index` of the target: copied exactly when the sizes agree, else drawn
    // to the target's size.
    static bool Place(HIMAGELIST target, int index, const DroppedImage& image)
    {
        int tx = 0, ty = 0, sx = 0, sy = 0;
        ImageList_GetIconSize(target, &tx, &ty);
        ImageList_GetIconSize(image.list.get(), &sx, &sy);
        if (tx == sx && ty == sy)
            return ImageList_Copy(target, index, image.list.get(), 0, ILCF_MOVE) != FALSE;
        HICON icon = ImageList_GetIcon(image.list.get(), 0, ILD_NORMAL);
        if (!icon)
            return false;
        const bool ok = ImageList_ReplaceIcon(target, index, icon) == index;
        ::DestroyIcon(icon);
        return ok;
    }
    void Undo()
    {
        for (int k = 0; k < 2; ++k) {
            if (m_oldCount[k] >= 0 && m_lists[k])
                ImageList_SetImageCount(m_lists[k], static_cast<UINT>(m_oldCount[k]));
            if (m_attached[k])
                ::SendMessageW(m_list, LVM_SETIMAGELIST, kListOf[k], 0);
            if (m_created[k])
                m_own[k]->DeleteImageList();
        }
    }

    HWND m_list;
    CImageList* m_own[2];
    HIMAGELIST m_lists[2] = {nullptr, nullptr};
    int m_oldCount[2] = {-1, -1};
    bool m_attached[2] = {false, false};
    bool m_created[2] = {false, false};
    bool m_kept = false;
};

} // namespace

UINT ChildWndItemFormat()
{
    static const UINT format = ::RegisterClipboardFormatW(kChildWndItemFormatName);
    return format;
}

void DataSourceRelease::operator()(COleDataSource* p) const
{
    if (p)
        p->InternalRelease();
}

DataSourcePtr CreateItemDataSource(HWND hList, int nItem, const SHBExtraDragData& extra)
{
    if (nItem < 0 || nItem >= static_cast<int>(::SendMessageW(hList, LVM_GETITEMCOUNT, 0, 0)))
        return nullptr;
    try {
        const std::wstring text = ItemText(hList, nItem);
        LVITEMW item{};
        item.mask = LVIF_IMAGE | LVIF_PARAM;
        item.iItem = nItem;
        if (!::SendMessageW(hList, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)))
            return nullptr;

        DataSourcePtr source(new COleDataSource);
        std::vector<uint8_t> unicode = base::ToUtf16LE(text);
        unicode.insert(unicode.end(), {0, 0});
        const std::string ansi = base::WideToAnsi(text);
        std::vector<uint8_t> narrow(ansi.begin(), ansi.end());
        narrow.push_back(0);

        std::vector<uint8_t> streams[2];
        std::vector<DragImageStream> images;
        if (item.iImage >= 0) {
            for (int k = 0; k < 2; ++k) {
                const auto list = reinterpret_cast<HIMAGELIST>(::SendMessageW(hList, LVM_GETIMAGELIST, kListOf[k], 0));
                if (list)
                    streams[k] = SerializeOneImage(list, item.iImage);
                if (!streams[k].empty())
                    images.push_back(DragImageStream{static_cast<uint32_t>(k), streams[k]});
            }
        }
        std::span<const uint8_t> extraBytes;
        if (extra.nDataSize && extra.pData)
            extraBytes = std::span<const uint8_t>(extra.pData, extra.nDataSize);
        const auto block = WriteDragBlock(text, ItemDataToWire(item.lParam), images, extraBytes);
        if (!block)
            return nullptr;
        if (!Offer(*source, CF_UNICODETEXT, unicode) || !Offer(*source, CF_TEXT, narrow) ||
            !Offer(*source, ChildWndItemFormat(), *block))
            return nullptr;
        return source;
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

std::optional<DragBlock> ReadItemData(COleDataObject* pDataObject, std::string* error)
{
    if (!pDataObject) {
        if (error)
            *error = "no data object";
        return std::nullopt;
    }
    HGLOBAL h = pDataObject->GetGlobalData(static_cast<CLIPFORMAT>(ChildWndItemFormat()));
    if (!h) {
        if (error)
            *error = "no shortcut-bar item in the data";
        return std::nullopt;
    }
    std::optional<DragBlock> block;
    const SIZE_T size = ::GlobalSize(h);
    if (const auto* p = static_cast<const uint8_t*>(::GlobalLock(h))) {
        block = ReadDragBlock(std::span<const uint8_t>(p, size), error);
        ::GlobalUnlock(h);
    } else if (error) {
        *error = "the item data cannot be read";
    }
    ::GlobalFree(h);
    return block;
}

int AppendDroppedImages(HWND hList, const DragBlock& block, CImageList& ownLarge, CImageList& ownSmall)
{
    ImageAppend append(hList, ownLarge, ownSmall);
    const int index = append.Run(block);
    if (index != -2)
        append.Keep();
    return index;
}

int InsertDroppedItem(HWND hList, const DragBlock& block, int nIndex, BOOL bKeepItemData, CImageList& ownLarge,
    CImageList& ownSmall)
{
    ImageAppend append(hList, ownLarge, ownSmall);
    const int image = append.Run(block);
    if (image == -2)
        return -1;
    std::wstring text = block.text;
    LVITEMW item{};
    // The image is always given: an item inserted without one would show image 0.
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = nIndex;
    item.iSubItem = 0;
    item.pszText = text.data();
    item.iImage = image >= 0 ? image : I_IMAGENONE;
    if (bKeepItemData) {
        item.mask |= LVIF_PARAM;
        item.lParam = ItemDataFromWire(block.itemData);
    }
    const auto at = static_cast<int>(::SendMessageW(hList, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    if (at < 0)
        return -1;
    append.Keep();
    return at;
}

} // namespace zyn::toolkit::shb
