// The VS_VERSIONINFO layout of version resources.
#include "tools/rc/rc_layout.h"
#include "tools/rc/rc_token.h"

namespace zyn::rc {
namespace {

constexpr uint16_t kBinary = 0, kText = 1;

bool WriteNode(ByteWriter& w, const std::wstring& key, uint16_t valueLength, uint16_t type,
    std::span<const uint8_t> value, const std::vector<VersionNode>& children, std::string& error)
{
    const size_t start = w.Size(); // 32-bit aligned: the parent padded before this node
    w.U16(0);                      // wLength, patched below
    w.U16(valueLength);
    w.U16(type);
    w.Str(key);
    if (!value.empty()) {
        w.Align4();
        w.Bytes(value);
    }
    for (const VersionNode& child : children) {
        w.Align4();
        uint16_t childLength = 0;
        if (!child.block) {
            if (child.text ? (child.value.size() / 2 > 0xFFFF) : (child.value.size() > 0xFFFF)) {
                error = "the value \"" + Narrow(child.key) + "\" is too long for its 16-bit length";
                return false;
            }
            childLength = static_cast<uint16_t>(child.text ? child.value.size() / 2 : child.value.size());
        }
        if (!WriteNode(w, child.key, childLength, (child.block || child.text) ? kText : kBinary, child.value,
                child.children, error))
            return false;
    }
    const size_t length = w.Size() - start;
    if (length > 0xFFFF) {
        error = "the version entry \"" + Narrow(key) + "\" is " + std::to_string(length) +
            " bytes long, more than its 16-bit length can say";
        return false;
    }
    w.PatchU16(start, static_cast<uint16_t>(length));
    return true;
}

} // namespace

bool BuildVersionInfo(const VersionFixed& fixed, const std::vector<VersionNode>& children, std::vector<uint8_t>& out,
    std::string& error)
{
    ByteWriter info;
    for (const uint32_t v : {kVsFixedSignature, kVsFixedStrucVersion, fixed.fileMS, fixed.fileLS, fixed.productMS,
             fixed.productLS, fixed.flagsMask, fixed.flags, fixed.os, fixed.type, fixed.subtype, 0u, 0u})
        info.U32(v);
    const std::vector<uint8_t> fixedBytes = info.Take();
    ByteWriter w;
    if (!WriteNode(w, L"VS_VERSION_INFO", static_cast<uint16_t>(fixedBytes.size()), kBinary, fixedBytes, children,
            error))
        return false;
    out = w.Take();
    return true;
}

} // namespace zyn::rc
