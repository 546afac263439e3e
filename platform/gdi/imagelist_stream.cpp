// ImageList_Write / ImageList_Read: the image-list stream format (described in
// imagelist.h) and the streams it travels through.
#include <algorithm>
#include <cstring>

#include "platform/base/archive.h"
#include "platform/base/exception.h"
#include "platform/base/lasterror.h"
#include "platform/gdi/icon_raster.h"
#include "platform/gdi/imagefile.h"
#include "platform/gdi/imagelist.h"
#include "platform/gdi/imagelist_internal.h"

namespace zyn::gdi {

bool ByteVectorStream::Read(void* buffer, size_t n)
{
    if (n > m_bytes.size() - m_pos) {
        SetLastError(ERROR_HANDLE_EOF);
        return false;
    }
    if (n)
        std::memcpy(buffer, m_bytes.data() + m_pos, n);
    m_pos += n;
    return true;
}

bool ByteVectorStream::Write(const void* data, size_t n)
{
    const auto* p = static_cast<const uint8_t*>(data);
    m_bytes.insert(m_bytes.end(), p, p + n);
    return true;
}

bool ArchiveImageListStream::Read(void* buffer, size_t n)
{
    try {
        auto* p = static_cast<uint8_t*>(buffer);
        while (n > 0) {
            const UINT chunk = static_cast<UINT>(std::min<size_t>(n, 1u << 20));
            const UINT got = m_ar.Read(p, chunk);
            if (got == 0) {
                SetLastError(ERROR_HANDLE_EOF);
                return false;
            }
            p += got;
            n -= got;
        }
        return true;
    } catch (CException* e) {
        e->Delete();
        SetLastError(ERROR_READ_FAULT);
        return false;
    }
}

bool ArchiveImageListStream::Write(const void* data, size_t n)
{
    try {
        const auto* p = static_cast<const uint8_t*>(data);
        while (n > 0) {
            const UINT chunk = static_cast<UINT>(std::min<size_t>(n, 1u << 20));
            m_ar.Write(p, chunk);
            p += chunk;
            n -= chunk;
        }
        return true;
    } catch (CException* e) {
        e->Delete();
        SetLastError(ERROR_WRITE_FAULT);
        return false;
    }
}

namespace {

constexpr uint8_t kMagic[4] = {'Z', 'I', 'M', 'L'};
constexpr uint16_t kVersion = 1;
constexpr uint16_t kHeaderBytes = 28;
constexpr int kMaxSide = 4096;
constexpr int kMaxCount = 65535;
constexpr UINT kKnownFlags = ILC_MASK | 0xFE | ILC_PALETTE | ILC_MIRROR | ILC_PERITEMMIRROR | ILC_ORIGINALSIZE |
    ILC_HIGHQUALITYSCALE;

void Put16(std::vector<uint8_t>& out, uint16_t v)
{
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}
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

bool Refuse(std::string why)
{
    SetLastImageError("image list stream: " + why);
    SetLastError(ERROR_INVALID_DATA);
    return false;
}

// Reads exactly n bytes, reporting a short stream as malformed data.
bool ReadExact(ImageListStream& s, void* buffer, size_t n, const char* what)
{
    if (!s.Read(buffer, n))
        return Refuse(std::string("truncated in the ") + what);
    return true;
}

} // namespace

} // namespace zyn::gdi

using namespace zyn::gdi;

BOOL ImageList_Write(HIMAGELIST himl, ImageListStream* stream)
{
    auto list = ImageListFromHandle(himl);
    if (!list)
        return FALSE;
    if (!stream) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::vector<uint8_t> out;
    {
        std::lock_guard lock(list->mutex);
        out.insert(out.end(), kMagic, kMagic + 4);
        Put16(out, kVersion);
        Put16(out, kHeaderBytes);
        Put32(out, static_cast<uint32_t>(list->cx));
        Put32(out, static_cast<uint32_t>(list->cy));
        Put32(out, list->flags);
        Put32(out, static_cast<uint32_t>(list->count));
        Put32(out, static_cast<uint32_t>(list->grow));
        Put32(out, list->bk);
        Put32(out, static_cast<uint32_t>(list->overlays.size()));
        for (int o : list->overlays)
            Put32(out, static_cast<uint32_t>(o));
        const size_t maskRow = (static_cast<size_t>(list->cx) + 7) / 8;
        for (int i = 0; i < list->count; ++i) {
            out.push_back(list->alpha[static_cast<size_t>(i)] ? 1 : 0);
            for (int y = 0; y < list->cy; ++y) {
                const uint32_t* row = list->color->Row32(y) + i * list->cx;
                for (int x = 0; x < list->cx; ++x)
                    Put32(out, row[x]);
            }
            if (list->mask) {
                for (int y = 0; y < list->cy; ++y) {
                    const size_t at = out.size();
                    out.resize(at + maskRow, 0);
                    for (int x = 0; x < list->cx; ++x)
                        if (list->mask->GetRaw(i * list->cx + x, y))
                            out[at + static_cast<size_t>(x >> 3)] |= static_cast<uint8_t>(0x80u >> (x & 7));
                }
            }
        }
    }
    return stream->Write(out.data(), out.size()) ? TRUE : FALSE;
}

HIMAGELIST ImageList_Read(ImageListStream* stream)
{
    SetLastImageError({});
    if (!stream) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    uint8_t head[8];
    if (!ReadExact(*stream, head, sizeof head, "signature"))
        return nullptr;
    if (std::memcmp(head, kMagic, 4) != 0) {
        Refuse("not an image list (bad signature)");
        return nullptr;
    }
    const uint16_t version = static_cast<uint16_t>(head[4] | (head[5] << 8));
    const uint16_t headerBytes = static_cast<uint16_t>(head[6] | (head[7] << 8));
    if (version != kVersion) {
        Refuse("unsupported format version " + std::to_string(version));
        return nullptr;
    }
    if (headerBytes < kHeaderBytes) {
        Refuse("header too short");
        return nullptr;
    }
    std::vector<uint8_t> header(headerBytes);
    if (!ReadExact(*stream, header.data(), header.size(), "header"))
        return nullptr;
    const int32_t cx = static_cast<int32_t>(Get32(&header[0]));
    const int32_t cy = static_cast<int32_t>(Get32(&header[4]));
    const uint32_t flags = Get32(&header[8]);
    const int32_t count = static_cast<int32_t>(Get32(&header[12]));
    const int32_t grow = static_cast<int32_t>(Get32(&header[16]));
    const COLORREF bk = Get32(&header[20]);
    const uint32_t overlayCount = Get32(&header[24]);
    if (cx < 1 || cy < 1 || cx > kMaxSide || cy > kMaxSide) {
        Refuse("image size " + std::to_string(cx) + " x " + std::to_string(cy) + " out of range");
        return nullptr;
    }
    if (count < 0 || count > kMaxCount || grow < 0 || grow > kMaxCount) {
        Refuse("image count or growth out of range");
        return nullptr;
    }
    if (static_cast<uint64_t>(count) * static_cast<uint64_t>(cx) * static_cast<uint64_t>(cy) > kMaxImagePixels) {
        Refuse("too many pixels");
        return nullptr;
    }
    if (flags & ~kKnownFlags) {
        Refuse("unknown flags");
        return nullptr;
    }
    if (bk != CLR_NONE && (bk & 0xFF000000u)) {
        Refuse("bad background colour");
        return nullptr;
    }
    if (overlayCount > 15) {
        Refuse("more than 15 overlays");
        return nullptr;
    }
    std::array<int, 15> overlays;
    overlays.fill(-1);
    for (uint32_t k = 0; k < overlayCount; ++k) {
        uint8_t v[4];
        if (!ReadExact(*stream, v, 4, "overlay table"))
            return nullptr;
        const int32_t o = static_cast<int32_t>(Get32(v));
        if (o < -1 || o >= count) {
            Refuse("overlay " + std::to_string(k + 1) + " names image " + std::to_string(o));
            return nullptr;
        }
        overlays[k] = o;
    }
    auto list = std::make_shared<ImageListObj>();
    list->cx = cx;
    list->cy = cy;
    list->flags = flags;
    list->grow = grow;
    list->bk = bk;
    list->overlays = overlays;
    // Memory grows with the data actually read, image by image.
    if (!list->Reserve(std::min(count, 16) > 0 ? std::min(count, 16) : 1)) {
        Refuse("out of memory");
        return nullptr;
    }
    auto color = NewColorPlane(cx, cy);
    auto mask = list->HasMask() ? NewMaskPlane(cx, cy) : nullptr;
    if (!color || (list->HasMask() && !mask)) {
        Refuse("out of memory");
        return nullptr;
    }
    const size_t maskRow = (static_cast<size_t>(cx) + 7) / 8;
    std::vector<uint8_t> colorBytes(static_cast<size_t>(cx) * 4);
    std::vector<uint8_t> maskBytes(maskRow);
    for (int i = 0; i < count; ++i) {
        uint8_t imageFlags;
        if (!ReadExact(*stream, &imageFlags, 1, "image data"))
            return nullptr;
        if (imageFlags & ~1u) {
            Refuse("bad flags of image " + std::to_string(i));
            return nullptr;
        }
        for (int y = 0; y < cy; ++y) {
            if (!ReadExact(*stream, colorBytes.data(), colorBytes.size(), "image data"))
                return nullptr;
            for (int x = 0; x < cx; ++x)
                color->Row32(y)[x] = Get32(&colorBytes[static_cast<size_t>(x) * 4]);
        }
        if (mask) {
            for (int y = 0; y < cy; ++y) {
                if (!ReadExact(*stream, maskBytes.data(), maskBytes.size(), "mask data"))
                    return nullptr;
                for (int x = 0; x < cx; ++x)
                    mask->SetRaw(x, y, (maskBytes[static_cast<size_t>(x >> 3)] >> (7 - (x & 7))) & 1u);
            }
        }
        if (StoreImage(*list, list->count, *color, 0, mask.get()) < 0) {
            Refuse("out of memory");
            return nullptr;
        }
        // The stored alpha flag follows the pixels; a flag without alpha bytes is ignored.
    }
    return AddImageList(std::move(list));
}
