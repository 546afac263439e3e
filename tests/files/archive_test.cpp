// CArchive: value and string layouts, objects and classes, and corrupt input.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "platform/base/archive.h"
#include "platform/base/codepage.h"
#include "platform/base/exception.h"
#include "platform/base/file.h"
#include "platform/base/memfile.h"
#include "platform/base/utf16.h"
#include "tests/files/files_util.h"

using Bytes = std::vector<BYTE>;

// ---- serialisable test classes ------------------------------------------------------------

// A node owning one child and pointing (without owning) at a peer.
class CNode : public CObject {
    DECLARE_SERIAL(CNode)
public:
    CNode() = default;
    ~CNode() override { delete m_child; }
    void Serialize(CArchive& ar) override
    {
        if (ar.IsStoring()) {
            ar << m_value << m_name;
            ar << m_child;
            ar << m_peer;
        } else {
            ar >> m_value >> m_name;
            ar >> m_child;
            CObject* peer = nullptr;
            ar >> peer;
            m_peer = DYNAMIC_DOWNCAST(CNode, peer);
        }
    }

    LONG m_value = 0;
    CString m_name;
    CNode* m_child = nullptr;
    CNode* m_peer = nullptr;
};
IMPLEMENT_SERIAL(CNode, CObject, 1)

// A class that reads older versions of itself.
class CVersioned : public CObject {
    DECLARE_SERIAL(CVersioned)
public:
    void Serialize(CArchive& ar) override
    {
        if (ar.IsStoring()) {
            ar << m_a << m_b;
        } else {
            m_loadedSchema = ar.GetObjectSchema();
            ar >> m_a;
            if (m_loadedSchema >= 2)
                ar >> m_b;
        }
    }
    LONG m_a = 0;
    LONG m_b = 0;
    UINT m_loadedSchema = 0;
};
IMPLEMENT_SERIAL(CVersioned, CObject, VERSIONABLE_SCHEMA | 2)

// Dynamic but not serialisable.
class CPlain : public CObject {
    DECLARE_DYNAMIC(CPlain)
};
IMPLEMENT_DYNAMIC(CPlain, CObject)

namespace {

// Stores with f into memory and returns the bytes.
Bytes Store(const std::function<void(CArchive&)>& f, int bufSize = 4096)
{
    CMemFile file(1024);
    {
        CArchive ar(&file, CArchive::store, bufSize);
        f(ar);
        ar.Close();
    }
    const auto n = static_cast<size_t>(file.GetLength());
    BYTE* p = file.Detach();
    Bytes out(p, p + n);
    std::free(p);
    return out;
}

// Loads bytes with f (over a copy, so the archive cannot read beyond them).
void Load(Bytes bytes, const std::function<void(CArchive&)>& f, int bufSize = 4096)
{
    CMemFile file(bytes.data(), static_cast<UINT>(bytes.size()));
    CArchive ar(&file, CArchive::load, bufSize);
    f(ar);
}

// Loads and expects a CArchiveException with the cause (any cause when -1).
void ExpectArchiveError(const Bytes& bytes, int cause, const std::function<void(CArchive&)>& f)
{
    try {
        Load(bytes, f);
        ADD_FAILURE() << "no CArchiveException";
    } catch (CArchiveException* e) {
        if (cause >= 0) {
            EXPECT_EQ(e->m_cause, cause);
        }
        e->Delete();
    }
}

Bytes Concat(std::initializer_list<Bytes> parts)
{
    Bytes out;
    for (const auto& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

Bytes Ascii(const char* s) { return Bytes(s, s + std::strlen(s)); }

} // namespace

// ---- values ---------------------------------------------------------------------------------

TEST(CArchiveValues, LayoutIsLittleEndianWithWindowsWidths)
{
    const Bytes b = Store([](CArchive& ar) {
        ar << static_cast<BYTE>(0x01) << static_cast<WORD>(0x0203) << static_cast<DWORD>(0x04050607u);
        ar << static_cast<LONG>(-2) << static_cast<short>(-3) << 'c' << L'\u20AC' << true << false;
        ar << static_cast<LONGLONG>(-1) << 1.0f;
    });
    const Bytes expected = {0x01, 0x03, 0x02, 0x07, 0x06, 0x05, 0x04, 0xFE, 0xFF, 0xFF, 0xFF, 0xFD, 0xFF, 'c',
        0xAC, 0x20, 0x01, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x80, 0x3F};
    EXPECT_EQ(b, expected);
}

TEST(CArchiveValues, EveryTypeRoundTrips)
{
    const Bytes b = Store([](CArchive& ar) {
        ar << static_cast<BYTE>(250) << static_cast<WORD>(65000) << static_cast<DWORD>(4000000000u);
        ar << static_cast<LONG>(-2000000000) << static_cast<int>(-5) << static_cast<UINT>(7) << static_cast<short>(-32000);
        ar << 'z' << L'\uFFFD' << true << 3.5f << -2.25e300 << static_cast<LONGLONG>(INT64_MIN)
           << static_cast<ULONGLONG>(UINT64_MAX);
        ar << CString(L"plain") << CString(L"\u00e9\u4e2d\U0001F600\U0010FFFF") << CString() << CStringA("narrow");
        ar << L"literal";
        ar.WriteCount(5);
        ar.WriteCount(0xFFFF);
        ar.WriteCount(0x1'0000'0000ull);
    });
    Load(b, [](CArchive& ar) {
        BYTE by;
        WORD w;
        DWORD dw;
        LONG l;
        int i;
        UINT u;
        short s;
        char c;
        wchar_t wc;
        bool bo;
        float f;
        double d;
        LONGLONG ll;
        ULONGLONG ull;
        ar >> by >> w >> dw >> l >> i >> u >> s >> c >> wc >> bo >> f >> d >> ll >> ull;
        EXPECT_EQ(by, 250);
        EXPECT_EQ(w, 65000);
        EXPECT_EQ(dw, 4000000000u);
        EXPECT_EQ(l, -2000000000);
        EXPECT_EQ(i, -5);
        EXPECT_EQ(u, 7u);
        EXPECT_EQ(s, -32000);
        EXPECT_EQ(c, 'z');
        EXPECT_EQ(wc, L'\uFFFD');
        EXPECT_TRUE(bo);
        EXPECT_EQ(f, 3.5f);
        EXPECT_EQ(d, -2.25e300);
        EXPECT_EQ(ll, INT64_MIN);
        EXPECT_EQ(ull, UINT64_MAX);
        CString a, bmp, empty, lit;
        CStringA narrow;
        ar >> a >> bmp >> empty >> narrow >> lit;
        EXPECT_EQ(a, CString(L"plain"));
        EXPECT_EQ(bmp, CString(L"\u00e9\u4e2d\U0001F600\U0010FFFF"));
        EXPECT_TRUE(empty.IsEmpty());
        EXPECT_EQ(narrow, CStringA("narrow"));
        EXPECT_EQ(lit, CString(L"literal"));
        EXPECT_EQ(ar.ReadCount(), 5u);
        EXPECT_EQ(ar.ReadCount(), 0xFFFFu);
        EXPECT_EQ(ar.ReadCount(), 0x1'0000'0000ull);
        EXPECT_TRUE(ar.IsBufferEmpty());
    });
}

TEST(CArchiveValues, WideCharactersBeyondSixteenBitsAreRefused)
{
    CMemFile file;
    CArchive ar(&file, CArchive::store);
    try {
        ar << static_cast<wchar_t>(0x1F600);
        ADD_FAILURE() << "a character above 0xFFFF must not be cut to 16 bits";
    } catch (CArchiveException* e) {
        e->Delete();
    }
    ar.Close();
    EXPECT_EQ(file.GetLength(), 0u);
}

TEST(CArchiveValues, CountPrefixes)
{
    EXPECT_EQ(Store([](CArchive& ar) { ar.WriteCount(0xFFFE); }), (Bytes{0xFE, 0xFF}));
    EXPECT_EQ(Store([](CArchive& ar) { ar.WriteCount(0xFFFF); }), (Bytes{0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00}));
    EXPECT_EQ(Store([](CArchive& ar) { ar.WriteCount(0xFFFFFFFFu); }),
        (Bytes{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0}));
}

TEST(CArchiveValues, ModeMisuseThrows)
{
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        BYTE b;
        try {
            ar >> b;
            ADD_FAILURE();
        } catch (CArchiveException* e) {
            EXPECT_EQ(e->m_cause, CArchiveException::writeOnly);
            e->Delete();
        }
        EXPECT_TRUE(ar.IsStoring());
        EXPECT_FALSE(ar.IsLoading());
        EXPECT_EQ(ar.GetFile(), &file);
        EXPECT_EQ(ar.m_pDocument, nullptr);
    }
    file.SeekToBegin();
    CArchive ar(&file, CArchive::load);
    try {
        ar << static_cast<BYTE>(1);
        ADD_FAILURE();
    } catch (CArchiveException* e) {
        EXPECT_EQ(e->m_cause, CArchiveException::readOnly);
        e->Delete();
    }
}

// ---- strings ----------------------------------------------------------------------------------

namespace {

Bytes StringPrefix(const CString& s)
{
    const Bytes b = Store([&](CArchive& ar) { ar << s; });
    const size_t units = zyn::base::Utf16Length(s.Str());
    EXPECT_EQ(b.size() >= units * 2, true);
    return Bytes(b.begin(), b.end() - static_cast<ptrdiff_t>(units * 2));
}

} // namespace

TEST(CArchiveStrings, UnicodeFormLengthPrefixes)
{
    EXPECT_EQ(Store([](CArchive& ar) { ar << CString(L"a\U0001F600"); }),
        (Bytes{0xFF, 0xFE, 0xFF, 0x03, 'a', 0x00, 0x3D, 0xD8, 0x00, 0xDE}));
    EXPECT_EQ(StringPrefix(CString()), (Bytes{0xFF, 0xFE, 0xFF, 0x00}));
    EXPECT_EQ(StringPrefix(CString(L'x', 254)), (Bytes{0xFF, 0xFE, 0xFF, 0xFE}));
    EXPECT_EQ(StringPrefix(CString(L'x', 255)), (Bytes{0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0x00}));
    EXPECT_EQ(StringPrefix(CString(L'x', 0xFFFD)), (Bytes{0xFF, 0xFE, 0xFF, 0xFF, 0xFD, 0xFF}));
    EXPECT_EQ(StringPrefix(CString(L'x', 0xFFFE)), (Bytes{0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}));
    EXPECT_EQ(StringPrefix(CString(L'x', 0xFFFF)), (Bytes{0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00}));
    // The length counts UTF-16 units: 127 characters beyond the BMP are 254 units,
    // 128 of them 256.
    EXPECT_EQ(StringPrefix(CString(L'\U0001F600', 127)), (Bytes{0xFF, 0xFE, 0xFF, 0xFE}));
    EXPECT_EQ(StringPrefix(CString(L'\U0001F600', 128)), (Bytes{0xFF, 0xFE, 0xFF, 0xFF, 0x00, 0x01}));
    // The 64-bit form, written by hand.
    EXPECT_EQ(Store([](CArchive& ar) { AfxWriteStringLength(ar, 0xFFFFFFFFu, TRUE); }),
        (Bytes{0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0}));

    for (int n : {254, 255, 256, 0xFFFD, 0xFFFE, 0xFFFF, 0x10000}) {
        CString s;
        for (int i = 0; i < n; ++i)
            s.AppendChar(static_cast<wchar_t>(i % 3 == 0 ? 0x1F600 + i % 50 : L'a' + i % 26));
        CString back;
        Load(Store([&](CArchive& ar) { ar << s; }), [&](CArchive& ar) { ar >> back; });
        EXPECT_EQ(back, s) << n;
    }
}

TEST(CArchiveStrings, NarrowFormReadsThroughTheCodePage)
{
    const UINT saved = GetACP();
    ASSERT_TRUE(zyn::base::SetAnsiCodePage(1252));
    CString w;
    Load(Bytes{0x04, 'c', 'a', 'f', 0xE9}, [&](CArchive& ar) { ar >> w; });
    EXPECT_EQ(w, CString(L"caf\u00e9"));
    // A narrow string stores without the marker; a wide one reads into a narrow string.
    EXPECT_EQ(Store([](CArchive& ar) { ar << CStringA("ab"); }), (Bytes{0x02, 'a', 'b'}));
    EXPECT_EQ(Store([](CArchive& ar) { ar << CStringA(std::string(300, 'q')); })[0], 0xFF);
    CStringA a;
    Load(Store([](CArchive& ar) { ar << CString(L"x\u00e9"); }), [&](CArchive& ar) { ar >> a; });
    EXPECT_EQ(a, CStringA("x\xE9"));
    zyn::base::SetAnsiCodePage(saved);
}

TEST(CArchiveStrings, CorruptLengthsFailWithoutHugeAllocations)
{
    // Four gigacharacters announced, four bytes present.
    const Bytes huge = {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
        0xFF, 0xFF, 0, 0, 0, 0, 'a', 0, 'b', 0};
    ExpectArchiveError(huge, CArchiveException::endOfFile, [](CArchive& ar) {
        CString s;
        ar >> s;
    });
    const Bytes big = {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x10, 'a', 0};
    ExpectArchiveError(big, CArchiveException::endOfFile, [](CArchive& ar) {
        CString s;
        ar >> s;
    });
    ExpectArchiveError(Bytes{0x05, 'a'}, CArchiveException::endOfFile, [](CArchive& ar) {
        CStringA s;
        ar >> s;
    });
    // Where the length is known, CheckAvailable says so up front.
    ExpectArchiveError(Bytes{1, 2, 3}, CArchiveException::endOfFile, [](CArchive& ar) { ar.CheckAvailable(4); });
    Load(Bytes{1, 2, 3}, [](CArchive& ar) { ar.CheckAvailable(3); });
}

TEST(CArchiveStrings, TextLines)
{
    const Bytes b = Store([](CArchive& ar) {
        ar.WriteString(L"one\r\ntwo\n\U0001F600\rlast");
    });
    EXPECT_EQ(b.size(), 2u * 16);
    Load(b, [](CArchive& ar) {
        CString s;
        ASSERT_TRUE(ar.ReadString(s));
        EXPECT_EQ(s, CString(L"one"));
        WCHAR buf[8];
        ASSERT_TRUE(ar.ReadString(buf, 8));
        EXPECT_STREQ(buf, L"two\n");
        ASSERT_TRUE(ar.ReadString(s));
        EXPECT_EQ(s, CString(L"\U0001F600"));
        ASSERT_TRUE(ar.ReadString(s));
        EXPECT_EQ(s, CString(L"last"));
        EXPECT_FALSE(ar.ReadString(s));
        EXPECT_EQ(ar.ReadString(buf, 8), nullptr);
    });
}

// ---- objects ---------------------------------------------------------------------------------

namespace {

// root -> child (owned); root.peer = child, child.peer = root.
CNode* MakeGraph()
{
    auto* root = new CNode;
    root->m_value = 1;
    root->m_name = L"root \U0001F333";
    root->m_child = new CNode;
    root->m_child->m_value = 2;
    root->m_child->m_name = L"child";
    root->m_peer = root->m_child;
    root->m_child->m_peer = root;
    return root;
}

} // namespace

TEST(CArchiveObjects, GraphsRoundTripWithSharedReferences)
{
    CNode* root = MakeGraph();
    CNode* second = new CNode;
    second->m_value = 3;
    const Bytes b = Store([&](CArchive& ar) {
        ar << root;
        ar << root; // the same object again: only its index
        ar << second;
        ar << static_cast<CObject*>(nullptr);
    });
    delete root;
    delete second;

    // The first object starts with the new-class tag and the class record.
    const Bytes head = Concat({{0xFF, 0xFF, 0x01, 0x00, 0x05, 0x00}, Ascii("CNode")});
    ASSERT_GE(b.size(), head.size());
    EXPECT_EQ(Bytes(b.begin(), b.begin() + static_cast<ptrdiff_t>(head.size())), head);
    // Indexes: class 1, root 2, child 3; then root again (2), second with the class
    // tag for class 1 (0x8001), its null child and peer, and the null pointer.
    const Bytes tail = {0x02, 0x00, 0x01, 0x80, 0x03, 0x00, 0x00, 0x00, 0xFF, 0xFE, 0xFF, 0x00, 0x00, 0x00,
        0x00, 0x00, 0x00, 0x00};
    ASSERT_GE(b.size(), tail.size());
    EXPECT_EQ(Bytes(b.end() - static_cast<ptrdiff_t>(tail.size()), b.end()), tail);

    Load(b, [](CArchive& ar) {
        CNode* r = nullptr;
        CNode* again = nullptr;
        CNode* s = nullptr;
        CObject* none = reinterpret_cast<CObject*>(1);
        ar >> r >> again >> s >> none;
        ASSERT_TRUE(r);
        EXPECT_EQ(again, r);
        EXPECT_EQ(r->m_value, 1);
        EXPECT_EQ(r->m_name, CString(L"root \U0001F333"));
        ASSERT_TRUE(r->m_child);
        EXPECT_EQ(r->m_child->m_value, 2);
        EXPECT_EQ(r->m_peer, r->m_child);
        EXPECT_EQ(r->m_child->m_peer, r) << "a reference back to an object still loading";
        ASSERT_TRUE(s);
        EXPECT_EQ(s->m_value, 3);
        EXPECT_EQ(none, nullptr);
        delete r;
        delete s;
    });
}

TEST(CArchiveObjects, ClassesAndSchemas)
{
    // A class alone, then referred to again by index.
    const Bytes classes = Store([](CArchive& ar) {
        ar.SerializeClass(RUNTIME_CLASS(CNode));
        ar.WriteClass(RUNTIME_CLASS(CNode));
    });
    EXPECT_EQ(classes, Concat({{0xFF, 0xFF, 0x01, 0x00, 0x05, 0x00}, Ascii("CNode"), {0x01, 0x80}}));
    Load(classes, [](CArchive& ar) {
        ar.SerializeClass(RUNTIME_CLASS(CNode));
        EXPECT_EQ(ar.ReadClass(RUNTIME_CLASS(CObject)), RUNTIME_CLASS(CNode));
    });

    // A versionable class reads an older schema and learns it.
    const Bytes v1 = Concat({{0xFF, 0xFF, 0x01, 0x00, 0x0A, 0x00}, Ascii("CVersioned"), {0x07, 0, 0, 0}});
    Load(v1, [](CArchive& ar) {
        CVersioned* v = nullptr;
        ar >> v;
        ASSERT_TRUE(v);
        EXPECT_EQ(v->m_loadedSchema, 1u);
        EXPECT_EQ(v->m_a, 7);
        delete v;
    });
    // A stored versionable class records its schema without the flag.
    CVersioned cv;
    const Bytes sv = Store([&](CArchive& ar) { ar << &cv; });
    EXPECT_EQ(sv[2], 0x02);
    EXPECT_EQ(sv[3], 0x00);

    // A fixed schema that differs is refused.
    const Bytes wrongSchema = Concat({{0xFF, 0xFF, 0x02, 0x00, 0x05, 0x00}, Ascii("CNode")});
    ExpectArchiveError(wrongSchema, CArchiveException::badSchema, [](CArchive& ar) { ar.ReadObject(nullptr); });
    // Unknown classes, unsuitable classes and bad names.
    const Bytes unknown = Concat({{0xFF, 0xFF, 0x01, 0x00, 0x05, 0x00}, Ascii("CNope")});
    ExpectArchiveError(unknown, CArchiveException::badClass, [](CArchive& ar) { ar.ReadObject(nullptr); });
    const Bytes plain = Concat({{0xFF, 0xFF, 0xFF, 0xFF, 0x06, 0x00}, Ascii("CPlain")});
    ExpectArchiveError(plain, CArchiveException::badClass, [](CArchive& ar) { ar.ReadObject(nullptr); });
    const Bytes node = Store([](CArchive& ar) {
        CNode n;
        ar << &n;
    });
    ExpectArchiveError(node, CArchiveException::badClass,
        [](CArchive& ar) { ar.ReadObject(RUNTIME_CLASS(CVersioned)); });
    const Bytes control = Concat({{0xFF, 0xFF, 0x01, 0x00, 0x05, 0x00}, Ascii("CN\node")});
    ExpectArchiveError(control, CArchiveException::badClass, [](CArchive& ar) { ar.ReadObject(nullptr); });
    const Bytes longName = {0xFF, 0xFF, 0x01, 0x00, 0xFF, 0xFF};
    ExpectArchiveError(longName, CArchiveException::badClass, [](CArchive& ar) { ar.ReadObject(nullptr); });

    // Storing a class that cannot be serialised.
    CPlain p;
    CMemFile file;
    CArchive ar(&file, CArchive::store);
    try {
        ar << &p;
        ADD_FAILURE();
    } catch (CNotSupportedException* e) {
        e->Delete();
    }
}

TEST(CArchiveObjects, BadIndexes)
{
    // An object index never assigned, a class index never assigned, and an object
    // reference to a class entry.
    ExpectArchiveError(Bytes{0x05, 0x00}, CArchiveException::badIndex, [](CArchive& ar) { ar.ReadObject(nullptr); });
    ExpectArchiveError(Bytes{0x09, 0x80}, CArchiveException::badIndex, [](CArchive& ar) { ar.ReadObject(nullptr); });
    ExpectArchiveError(Bytes{0xFF, 0x7F, 0x09, 0x00, 0x00, 0x80}, CArchiveException::badIndex,
        [](CArchive& ar) { ar.ReadObject(nullptr); });
    // A CNode written by hand (value 0, empty narrow name, null child and peer), then
    // object tag 1, which is the class entry, not an object.
    const Bytes handMade = Concat({{0xFF, 0xFF, 0x01, 0x00, 0x05, 0x00}, Ascii("CNode"), {0, 0, 0, 0}, {0x00},
        {0x00, 0x00}, {0x00, 0x00}, {0x01, 0x00}});
    ExpectArchiveError(handMade, CArchiveException::badIndex, [](CArchive& ar) {
        CObject* first = ar.ReadObject(nullptr);
        ASSERT_TRUE(first);
        try {
            ar.ReadObject(nullptr);
        } catch (...) {
            delete first;
            throw;
        }
        delete first;
    });
    // A class reference where only objects may be read.
    ExpectArchiveError(Bytes{0x00, 0x00}, CArchiveException::badIndex, [](CArchive& ar) { ar.ReadClass(); });
}

TEST(CArchiveObjects, TruncationAtEveryOffsetThrows)
{
    CNode* root = MakeGraph();
    const Bytes full = Store([&](CArchive& ar) {
        ar << static_cast<LONG>(42) << CString(L"head \U0001F600") << CStringA("narrow");
        ar << root;
        ar << 2.5 << static_cast<WORD>(9);
        ar.WriteCount(70000);
        ar << root;
    });
    delete root;

    auto readAll = [](CArchive& ar) {
        LONG l;
        CString s;
        CStringA a;
        CNode* r = nullptr;
        CNode* again = nullptr;
        double d;
        WORD w;
        ar >> l >> s >> a;
        ar >> r;
        try {
            ar >> d >> w;
            ar.ReadCount();
            ar >> again;
        } catch (...) {
            delete r;
            throw;
        }
        EXPECT_EQ(again, r);
        delete r;
    };
    Load(full, readAll); // the whole archive reads

    for (size_t cut = 0; cut < full.size(); ++cut) {
        for (int bufSize : {128, 4096}) {
            try {
                Load(Bytes(full.begin(), full.begin() + static_cast<ptrdiff_t>(cut)), readAll, bufSize);
                ADD_FAILURE() << "no exception for " << cut << " of " << full.size() << " bytes";
            } catch (CArchiveException* e) {
                e->Delete();
            }
        }
    }
}

TEST(CArchiveFiles, OverARealFileWithFlushPositions)
{
    const std::string dir = files_test::NativeDir("archive_file");
    const std::wstring path = files_test::Win(dir) + L"\\data.bin";
    {
        CFile f(path.c_str(), CFile::modeCreate | CFile::modeWrite);
        CArchive ar(&f, CArchive::store);
        EXPECT_EQ(ar.m_strFileName, f.GetFilePath());
        ar << static_cast<DWORD>(0xDEADBEEFu) << CString(L"on disk");
        ar.Flush();
        EXPECT_EQ(f.GetLength(), 4u + 4u + 14u);
        ar << static_cast<BYTE>(1);
        ar.Close();
        EXPECT_EQ(f.GetLength(), 23u);
        f.Close();
    }
    CFile f(path.c_str(), CFile::modeRead);
    {
        CArchive ar(&f, CArchive::load);
        DWORD dw;
        ar >> dw;
        EXPECT_EQ(dw, 0xDEADBEEFu);
        ar.Flush(); // gives back what the buffer read ahead
        EXPECT_EQ(f.GetPosition(), 4u);
        CString s;
        ar >> s;
        EXPECT_EQ(s, CString(L"on disk"));
        ar.Close();
    }
    EXPECT_EQ(f.GetPosition(), 22u);
}

TEST(CArchiveObjects, NestingDepthIsBounded)
{
    auto chain = [](int depth) {
        auto* root = new CNode;
        CNode* at = root;
        for (int i = 1; i < depth; ++i) {
            at->m_child = new CNode;
            at = at->m_child;
        }
        return root;
    };
    for (int depth : {1000, 2500}) {
        CNode* root = chain(depth);
        const Bytes b = Store([&](CArchive& ar) { ar << root; });
        delete root;
        CNode* back = nullptr;
        try {
            Load(b, [&](CArchive& ar) { ar >> back; });
            EXPECT_EQ(depth, 1000);
        } catch (CArchiveException* e) {
            EXPECT_EQ(depth, 2500);
            EXPECT_EQ(e->m_cause, CArchiveException::genericException);
            e->Delete();
        }
        delete back;
    }
}
