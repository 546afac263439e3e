// The VERSIONINFO statement: the fixed fields, then a tree of BLOCKs and VALUEs.
#include "tools/rc/rc_parser.h"

namespace zyn::rc {
namespace {

constexpr uint16_t kRtVersion = 16;
constexpr int kMaxBlockDepth = 64;

} // namespace

void Parser::VersionInfo(const ResId& name, Location where)
{
    uint16_t lang = m_lang;
    VersionFixed f;
    // "a, b, c, d": two DWORDs of two WORDs each; missing parts are 0.
    auto version = [this](uint32_t& ms, uint32_t& ls, const char* what) {
        const Location at = Peek().where;
        uint32_t parts[4] = {};
        for (int i = 0;; ++i) {
            if (i == 4)
                throw CompileError(at, std::string("the ") + what + " has more than four parts");
            parts[i] = Word(what);
            if (!AcceptPunct(L","))
                break;
        }
        ms = (parts[0] << 16) | parts[1];
        ls = (parts[2] << 16) | parts[3];
    };
    for (;;) {
        CommonOptions(lang);
        if (AcceptKeyword(L"FILEVERSION"))
            version(f.fileMS, f.fileLS, "file version");
        else if (AcceptKeyword(L"PRODUCTVERSION"))
            version(f.productMS, f.productLS, "product version");
        else if (AcceptKeyword(L"FILEFLAGSMASK"))
            f.flagsMask = Expr().v;
        else if (AcceptKeyword(L"FILEFLAGS"))
            f.flags = Expr().v;
        else if (AcceptKeyword(L"FILEOS"))
            f.os = Expr().v;
        else if (AcceptKeyword(L"FILETYPE"))
            f.type = Expr().v;
        else if (AcceptKeyword(L"FILESUBTYPE"))
            f.subtype = Expr().v;
        else
            break;
    }
    if (!AtBegin())
        Unexpected("BEGIN or a VERSIONINFO statement (FILEVERSION, PRODUCTVERSION, FILEFLAGSMASK, FILEFLAGS, "
                   "FILEOS, FILETYPE, FILESUBTYPE)");
    Next();
    const std::vector<VersionNode> children = VersionChildren(0);
    std::vector<uint8_t> bytes;
    std::string error;
    if (!BuildVersionInfo(f, children, bytes, error))
        throw CompileError(where, error);
    Add(ResId::Number(kRtVersion), name, lang, std::move(bytes), where);
}

// BLOCK "key" BEGIN ... END and VALUE "key" [, item]...: an item is a string (written
// with its terminator) or a number (a WORD, or a DWORD with an L suffix). A value with a
// string is text.
std::vector<VersionNode> Parser::VersionChildren(int depth)
{
    if (depth > kMaxBlockDepth)
        throw CompileError(Peek().where, "BLOCKs nested more than " + std::to_string(kMaxBlockDepth) + " levels deep");
    std::vector<VersionNode> nodes;
    while (!AcceptEnd()) {
        VersionNode n;
        if (AcceptKeyword(L"BLOCK")) {
            n.block = true;
            n.key = StringLit("the BLOCK's name");
            ExpectBegin("after the BLOCK's name");
            n.children = VersionChildren(depth + 1);
        } else if (AcceptKeyword(L"VALUE")) {
            n.key = StringLit("the VALUE's name");
            ByteWriter w;
            while (AcceptPunct(L",")) {
                const Location at = Peek().where;
                if (Peek().kind == TokKind::String) {
                    n.text = true;
                    w.Str(StringLit("a string"));
                } else {
                    const Value v = Expr();
                    if (v.isLong) {
                        w.U32(v.v);
                    } else {
                        if (!FitsInWord(v.v))
                            throw CompileError(at, "value " + std::to_string(v.v) +
                                    " does not fit in a WORD (write it with an L suffix for a DWORD)");
                        w.U16(static_cast<uint16_t>(v.v));
                    }
                }
            }
            n.value = w.Take();
            if (n.value.empty())
                n.text = true;
        } else {
            Unexpected("BLOCK, VALUE or END");
        }
        nodes.push_back(std::move(n));
    }
    return nodes;
}

} // namespace zyn::rc
