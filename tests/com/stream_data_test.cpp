// Streams over global memory, ReleaseStgMedium and the format enumerator.
#include <cstring>
#include <string>
#include <vector>

#include "platform/base/globalmem.h"
#include "tests/com/com_test_support.h"

namespace zyn::test {
namespace {

using StreamTest = ComTest;

com::Ref<IStream> NewStream(HGLOBAL h = nullptr, BOOL del = TRUE)
{
    com::Ref<IStream> s;
    EXPECT_EQ(CreateStreamOnHGlobal(h, del, s.Put()), S_OK);
    return s;
}

ULONGLONG Pos(IStream* s)
{
    ULARGE_INTEGER p{};
    LARGE_INTEGER zero{};
    s->Seek(zero, STREAM_SEEK_CUR, &p);
    return p.QuadPart;
}

ULONGLONG Size(IStream* s)
{
    STATSTG st{};
    EXPECT_EQ(s->Stat(&st, STATFLAG_NONAME), S_OK);
    EXPECT_EQ(st.type, STGTY_STREAM);
    EXPECT_EQ(st.pwcsName, nullptr);
    return st.cbSize.QuadPart;
}

std::string ReadAll(IStream* s)
{
    LARGE_INTEGER zero{};
    s->Seek(zero, STREAM_SEEK_SET, nullptr);
    std::string out(static_cast<size_t>(Size(s)), '\0');
    ULONG n = 0;
    s->Read(out.data(), static_cast<ULONG>(out.size()), &n);
    out.resize(n);
    return out;
}

TEST_F(StreamTest, SeekFollowsOriginAndRefusesPositionsBeforeTheStart)
{
    struct Row {
        const char* name;
        DWORD origin;
        LONGLONG move;
        HRESULT expected;
        ULONGLONG pos; // from a 10-byte stream positioned at 4
    };
    const Row rows[] = {
        {"set", STREAM_SEEK_SET, 3, S_OK, 3},
        {"cur back", STREAM_SEEK_CUR, -2, S_OK, 2},
        {"cur forward", STREAM_SEEK_CUR, 6, S_OK, 10},
        {"end back", STREAM_SEEK_END, -1, S_OK, 9},
        {"past the end", STREAM_SEEK_END, 5, S_OK, 15},
        {"before the start", STREAM_SEEK_SET, -1, STG_E_INVALIDFUNCTION, 4},
        {"cur before the start", STREAM_SEEK_CUR, -5, STG_E_INVALIDFUNCTION, 4},
        {"unknown origin", 3, 0, STG_E_INVALIDFUNCTION, 4},
    };
    for (const Row& r : rows) {
        auto s = NewStream();
        ASSERT_EQ(s->Write("0123456789", 10, nullptr), S_OK);
        LARGE_INTEGER to{};
        to.QuadPart = 4;
        ASSERT_EQ(s->Seek(to, STREAM_SEEK_SET, nullptr), S_OK);
        LARGE_INTEGER mv{};
        mv.QuadPart = r.move;
        ULARGE_INTEGER now{};
        now.QuadPart = 12345;
        EXPECT_EQ(s->Seek(mv, r.origin, &now), r.expected) << r.name;
        EXPECT_EQ(Pos(s.get()), r.pos) << r.name;
        if (r.expected == S_OK) {
            EXPECT_EQ(now.QuadPart, r.pos) << r.name;
        }
        EXPECT_EQ(Size(s.get()), 10u) << r.name << ": seeking never changes the size";
    }
}

TEST_F(StreamTest, ReadsAndWritesAtThePositionAndGrowsWithZeros)
{
    auto s = NewStream();
    EXPECT_EQ(Size(s.get()), 0u);
    ULONG n = 99;
    EXPECT_EQ(s->Write("hello", 5, &n), S_OK);
    EXPECT_EQ(n, 5u);
    EXPECT_EQ(s->Write(nullptr, 0, &n), S_OK) << "an empty write is fine";
    EXPECT_EQ(n, 0u);
    EXPECT_EQ(s->Write(nullptr, 3, &n), STG_E_INVALIDPOINTER);
    char buf[8] = {};
    EXPECT_EQ(s->Read(buf, 4, &n), S_FALSE) << "at the end: nothing to read";
    EXPECT_EQ(n, 0u);
    // Past the end, then a write: the gap reads as zeros.
    LARGE_INTEGER to{};
    to.QuadPart = 8;
    ASSERT_EQ(s->Seek(to, STREAM_SEEK_SET, nullptr), S_OK);
    EXPECT_EQ(Size(s.get()), 5u);
    ASSERT_EQ(s->Write("XY", 2, nullptr), S_OK);
    EXPECT_EQ(Size(s.get()), 10u);
    EXPECT_EQ(ReadAll(s.get()), std::string("hello\0\0\0XY", 10));
    // A short read says so.
    to.QuadPart = 7;
    s->Seek(to, STREAM_SEEK_SET, nullptr);
    EXPECT_EQ(s->Read(buf, 8, &n), S_FALSE);
    EXPECT_EQ(n, 3u);
    EXPECT_EQ(Pos(s.get()), 10u);
    // SetSize keeps the position; shrinking cuts, growing zero-fills.
    ULARGE_INTEGER sz{};
    sz.QuadPart = 3;
    EXPECT_EQ(s->SetSize(sz), S_OK);
    EXPECT_EQ(Pos(s.get()), 10u);
    sz.QuadPart = 6;
    EXPECT_EQ(s->SetSize(sz), S_OK);
    EXPECT_EQ(ReadAll(s.get()), std::string("hel\0\0\0", 6));
    STATSTG st{};
    EXPECT_EQ(s->Stat(&st, 8), STG_E_INVALIDFLAG);
    EXPECT_EQ(s->Stat(nullptr, STATFLAG_NONAME), STG_E_INVALIDPOINTER);
    ULARGE_INTEGER off{}, cb{};
    cb.QuadPart = 1;
    EXPECT_EQ(s->LockRegion(off, cb, LOCK_WRITE), STG_E_INVALIDFUNCTION) << "global memory has no byte locks";
}

TEST_F(StreamTest, ClonesShareTheBlockButNotThePosition)
{
    auto s = NewStream();
    s->Write("abcdef", 6, nullptr);
    com::Ref<IStream> c;
    ASSERT_EQ(s->Clone(c.Put()), S_OK);
    EXPECT_EQ(Pos(c.get()), 6u) << "a clone starts where its original is";
    LARGE_INTEGER zero{};
    c->Seek(zero, STREAM_SEEK_SET, nullptr);
    c->Write("XY", 2, nullptr);
    EXPECT_EQ(Pos(s.get()), 6u);
    EXPECT_EQ(ReadAll(s.get()), "XYcdef") << "writes through a clone show in the original";
    // CopyTo another stream copies from the position and moves it.
    auto d = NewStream();
    LARGE_INTEGER two{};
    two.QuadPart = 2;
    s->Seek(two, STREAM_SEEK_SET, nullptr);
    ULARGE_INTEGER cb{}, read{}, written{};
    cb.QuadPart = 100;
    EXPECT_EQ(s->CopyTo(d.get(), cb, &read, &written), S_OK);
    EXPECT_EQ(read.QuadPart, 4u);
    EXPECT_EQ(written.QuadPart, 4u);
    EXPECT_EQ(Pos(s.get()), 6u);
    EXPECT_EQ(ReadAll(d.get()), "cdef");
    // A copy onto a clone of itself goes through a buffer: no overlap damage.
    s->Seek(zero, STREAM_SEEK_SET, nullptr);
    LARGE_INTEGER one{};
    one.QuadPart = 1;
    c->Seek(one, STREAM_SEEK_SET, nullptr);
    cb.QuadPart = 6;
    EXPECT_EQ(s->CopyTo(c.get(), cb, nullptr, nullptr), S_OK);
    EXPECT_EQ(ReadAll(s.get()), "XXYcdef");
}

TEST_F(StreamTest, DeleteOnReleaseDecidesWhoFreesTheBlock)
{
    // Owned by the stream: freed with the last stream on it (a clone keeps it alive).
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, 3);
    std::memcpy(GlobalLock(h), "abc", 3);
    GlobalUnlock(h);
    {
        com::Ref<IStream> s;
        ASSERT_EQ(CreateStreamOnHGlobal(h, TRUE, s.Put()), S_OK);
        EXPECT_EQ(Size(s.get()), 3u) << "the block's size is the stream's";
        EXPECT_EQ(ReadAll(s.get()), "abc");
        HGLOBAL under = nullptr;
        EXPECT_EQ(GetHGlobalFromStream(s.get(), &under), S_OK);
        EXPECT_EQ(under, h);
        com::Ref<IStream> c;
        s->Clone(c.Put());
        s = nullptr;
        EXPECT_EQ(GlobalSize(h), 3u) << "still in use by the clone";
    }
    EXPECT_EQ(GlobalFlags(h), GMEM_INVALID_HANDLE) << "freed with the last stream";

    // Not owned: the block outlives the stream with what was written, grown in place.
    HGLOBAL kept = nullptr;
    {
        auto s = NewStream(nullptr, FALSE);
        s->Write("0123456789", 10, nullptr);
        ASSERT_EQ(GetHGlobalFromStream(s.get(), &kept), S_OK);
    }
    ASSERT_EQ(GlobalSize(kept), 10u);
    EXPECT_EQ(std::memcmp(GlobalLock(kept), "0123456789", 10), 0);
    // While the caller holds the block locked it cannot move: growth is refused cleanly.
    {
        com::Ref<IStream> s;
        ASSERT_EQ(CreateStreamOnHGlobal(kept, FALSE, s.Put()), S_OK);
        LARGE_INTEGER end{};
        s->Seek(end, STREAM_SEEK_END, nullptr);
        std::vector<char> big(1 << 16, 'z');
        ULONG n = 7;
        EXPECT_EQ(s->Write(big.data(), static_cast<ULONG>(big.size()), &n), STG_E_MEDIUMFULL);
        EXPECT_EQ(n, 0u);
        EXPECT_EQ(Size(s.get()), 10u) << "nothing written";
    }
    GlobalUnlock(kept);
    GlobalFree(kept);

    IStream* out = reinterpret_cast<IStream*>(Junk());
    EXPECT_EQ(CreateStreamOnHGlobal(kept, TRUE, &out), E_INVALIDARG) << "a freed block";
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, nullptr), E_INVALIDARG);
    HGLOBAL none = reinterpret_cast<HGLOBAL>(Junk());
    EXPECT_EQ(GetHGlobalFromStream(nullptr, &none), E_INVALIDARG);
    EXPECT_EQ(none, nullptr);
}

// Counts its releases, to see who ReleaseStgMedium releases.
class Releaser final : public com::Object<IUnknown> {};

TEST_F(StreamTest, ReleaseStgMediumFreesByMediumOrReleasesTheOwner)
{
    // Owned by the receiver: the block is freed.
    STGMEDIUM m{};
    m.tymed = TYMED_HGLOBAL;
    m.hGlobal = GlobalAlloc(GMEM_MOVEABLE, 4);
    HGLOBAL h = m.hGlobal;
    ReleaseStgMedium(&m);
    EXPECT_EQ(GlobalFlags(h), GMEM_INVALID_HANDLE);
    EXPECT_EQ(m.tymed, TYMED_NULL);
    EXPECT_EQ(m.hGlobal, nullptr);

    // Someone else's: only that object is released, the block stays.
    auto owner = com::Ref<IUnknown>::Attach(new Releaser);
    owner->AddRef(); // the medium's reference
    m.tymed = TYMED_HGLOBAL;
    m.hGlobal = GlobalAlloc(GMEM_MOVEABLE, 4);
    h = m.hGlobal;
    m.pUnkForRelease = owner.get();
    ReleaseStgMedium(&m);
    EXPECT_EQ(GlobalSize(h), 4u);
    EXPECT_EQ(owner->AddRef(), 2u) << "the medium's reference went";
    owner->Release();
    GlobalFree(h);

    // A stream medium is released; a file name is freed; null is ignored.
    m = STGMEDIUM{};
    m.tymed = TYMED_ISTREAM;
    ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, &m.pstm), S_OK);
    ReleaseStgMedium(&m);
    m = STGMEDIUM{};
    m.tymed = TYMED_FILE;
    m.lpszFileName = static_cast<LPOLESTR>(CoTaskMemAlloc(16));
    ReleaseStgMedium(&m);
    ReleaseStgMedium(nullptr);
}

TEST_F(StreamTest, FormatEnumeratorWalksACopyOfItsRecords)
{
    std::vector<FORMATETC> formats = {
        {1, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL},
        {13, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL | TYMED_ISTREAM},
    };
    auto e = com::Ref<IEnumFORMATETC>::Attach(com::CreateFormatEnumerator(formats));
    formats[0].cfFormat = 99; // the enumerator took a copy
    FORMATETC got[3] = {};
    ULONG n = 0;
    EXPECT_EQ(e->Next(3, got, &n), S_FALSE) << "fewer than asked";
    ASSERT_EQ(n, 2u);
    EXPECT_EQ(got[0].cfFormat, 1);
    EXPECT_EQ(got[1].cfFormat, 13);
    EXPECT_EQ(got[1].tymed, TYMED_HGLOBAL | TYMED_ISTREAM);
    EXPECT_EQ(e->Next(1, got, nullptr), S_FALSE);
    EXPECT_EQ(e->Reset(), S_OK);
    EXPECT_EQ(e->Next(2, got, nullptr), E_INVALIDARG) << "more than one record needs the count back";
    EXPECT_EQ(e->Skip(1), S_OK);
    com::Ref<IEnumFORMATETC> c;
    ASSERT_EQ(e->Clone(c.Put()), S_OK);
    EXPECT_EQ(e->Skip(5), S_FALSE);
    EXPECT_EQ(c->Next(1, got, nullptr), S_OK) << "the clone kept its own place";
    EXPECT_EQ(got[0].cfFormat, 13);
}

} // namespace
} // namespace zyn::test
