// CMemFile, CSharedFile and the global memory functions.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/base/exception.h"
#include "platform/base/globalmem.h"
#include "platform/base/lasterror.h"
#include "platform/base/memfile.h"

TEST(CMemFile, GrowsInStepsAndZeroFillsGaps)
{
    CMemFile f(16);
    EXPECT_EQ(f.GetLength(), 0u);
    f.Write("0123456789", 10);
    EXPECT_EQ(f.GetLength(), 10u);
    f.Write("abcdefghij", 10);
    EXPECT_EQ(f.GetLength(), 20u);
    EXPECT_EQ(f.Seek(5, CFile::end), 25u);
    f.Write("Z", 1);
    EXPECT_EQ(f.GetLength(), 26u);
    f.SeekToBegin();
    char buf[40] = {};
    EXPECT_EQ(f.Read(buf, sizeof buf), 26u) << "short count at the end";
    EXPECT_EQ(std::string(buf, 26), std::string("0123456789abcdefghij\0\0\0\0\0Z", 26));
    EXPECT_EQ(f.Read(buf, 1), 0u);
    EXPECT_EQ(f.Seek(100, CFile::begin), 100u);
    EXPECT_EQ(f.Read(buf, 1), 0u) << "reading past the end gives nothing";
    try {
        f.Seek(-1, CFile::begin);
        ADD_FAILURE() << "a seek before the start must throw";
    } catch (CFileException* e) {
        EXPECT_EQ(e->m_cause, CFileException::badSeek);
        e->Delete();
    }
    f.SetLength(30);
    f.Seek(26, CFile::begin);
    EXPECT_EQ(f.Read(buf, 10), 4u);
    EXPECT_EQ(std::string(buf, 4), std::string(4, '\0')) << "extension is zero-filled";
    f.SetLength(3);
    EXPECT_EQ(f.GetPosition(), 3u);
    CFileStatus st;
    EXPECT_TRUE(f.GetStatus(st));
    EXPECT_EQ(st.m_size, 3u);

    const ULONGLONG len = f.GetLength();
    BYTE* p = f.Detach();
    ASSERT_TRUE(p);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(p), static_cast<size_t>(len)), "012");
    std::free(p);
    EXPECT_EQ(f.GetLength(), 0u);
}

TEST(CMemFile, AttachedBuffers)
{
    BYTE fixed[8] = {'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h'};
    {
        CMemFile f(fixed, sizeof fixed); // no growth: the content is the file
        EXPECT_EQ(f.GetLength(), 8u);
        char c[3] = {};
        EXPECT_EQ(f.Read(c, 2), 2u);
        EXPECT_EQ(std::string(c), "ab");
        f.Write("XY", 2);
        EXPECT_EQ(fixed[2], 'X');
        f.SeekToEnd();
        try {
            f.Write("!", 1);
            ADD_FAILURE() << "a fixed buffer cannot grow";
        } catch (CMemoryException* e) {
            e->Delete();
        }
        EXPECT_EQ(f.GetLength(), 8u);
    } // not freed: the memory is ours
    EXPECT_EQ(fixed[0], 'a');

    // With a growth step the content is ignored and the buffer may be reallocated.
    auto* heap = static_cast<BYTE*>(std::malloc(4));
    CMemFile g;
    g.Attach(heap, 4, 4);
    EXPECT_EQ(g.GetLength(), 0u);
    g.Write("123456789", 9);
    EXPECT_EQ(g.GetLength(), 9u);
    BYTE* out = g.Detach();
    EXPECT_EQ(std::string(reinterpret_cast<char*>(out), 9), "123456789");
    std::free(out);
}

TEST(CMemFile, NotSupportedOperations)
{
    CMemFile f;
    int thrown = 0;
    try {
        f.LockRange(0, 1);
    } catch (CNotSupportedException* e) {
        ++thrown;
        e->Delete();
    }
    try {
        f.Duplicate();
    } catch (CNotSupportedException* e) {
        ++thrown;
        e->Delete();
    }
    EXPECT_EQ(thrown, 2);
}

TEST(GlobalMemory, MoveableBlocksCountLocks)
{
    HGLOBAL h = GlobalAlloc(GHND, 10);
    ASSERT_TRUE(h);
    EXPECT_GE(reinterpret_cast<uintptr_t>(h), 0x10000u);
    EXPECT_EQ(GlobalSize(h), 10u);
    EXPECT_EQ(GlobalFlags(h) & GMEM_LOCKCOUNT, 0u);
    auto* p = static_cast<BYTE*>(GlobalLock(h));
    ASSERT_TRUE(p);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(p[i], 0) << "GHND zero-fills";
    EXPECT_EQ(GlobalLock(h), p) << "locking again gives the same address";
    EXPECT_EQ(GlobalFlags(h) & GMEM_LOCKCOUNT, 2u);
    EXPECT_EQ(GlobalHandle(p), h);
    EXPECT_TRUE(GlobalUnlock(h)) << "still locked once";
    EXPECT_FALSE(GlobalUnlock(h));
    EXPECT_EQ(GetLastError(), NO_ERROR) << "count reached zero";
    EXPECT_FALSE(GlobalUnlock(h));
    EXPECT_EQ(GetLastError(), ERROR_NOT_LOCKED);

    std::memcpy(GlobalLock(h), "0123456789", 10);
    // A locked block does not move.
    EXPECT_EQ(GlobalReAlloc(h, 100000, GMEM_MOVEABLE), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_NOT_ENOUGH_MEMORY);
    GlobalUnlock(h);
    HGLOBAL h2 = GlobalReAlloc(h, 100000, GMEM_MOVEABLE | GMEM_ZEROINIT);
    ASSERT_EQ(h2, h) << "a moveable block keeps its handle";
    auto* q = static_cast<BYTE*>(GlobalLock(h));
    EXPECT_EQ(std::memcmp(q, "0123456789", 10), 0);
    EXPECT_EQ(q[99999], 0);
    GlobalUnlock(h);
    EXPECT_EQ(GlobalFree(h), nullptr);
}

TEST(GlobalMemory, FixedBlocksAreTheirAddress)
{
    auto* p = static_cast<BYTE*>(GlobalAlloc(GPTR, 4));
    ASSERT_TRUE(p);
    EXPECT_EQ(p[3], 0);
    p[0] = 7; // usable directly, as on Windows
    EXPECT_EQ(GlobalLock(p), p);
    EXPECT_EQ(GlobalHandle(p), p);
    EXPECT_EQ(GlobalSize(p), 4u);
    EXPECT_FALSE(GlobalUnlock(p));
    // Growth beyond the block may move it only when allowed.
    EXPECT_EQ(GlobalReAlloc(p, 1 << 20, 0), nullptr);
    auto* q = static_cast<BYTE*>(GlobalReAlloc(p, 1 << 20, GMEM_MOVEABLE));
    ASSERT_TRUE(q);
    EXPECT_EQ(q[0], 7);
    EXPECT_EQ(GlobalSize(q), 1u << 20);
    EXPECT_EQ(GlobalFree(q), nullptr);

    HLOCAL l = LocalAlloc(LPTR, 3);
    ASSERT_TRUE(l);
    EXPECT_EQ(LocalSize(l), 3u);
    EXPECT_EQ(LocalFree(l), nullptr);
}

TEST(GlobalMemory, StaleAndForeignHandlesFailCleanly)
{
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, 8);
    ASSERT_TRUE(h);
    ASSERT_EQ(GlobalFree(h), nullptr);
    SetLastError(0);
    EXPECT_EQ(GlobalFree(h), h) << "failure returns the handle";
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_EQ(GlobalLock(h), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_EQ(GlobalSize(h), 0u);
    EXPECT_FALSE(GlobalUnlock(h));
    EXPECT_EQ(GlobalFlags(h), GMEM_INVALID_HANDLE);
    EXPECT_EQ(GlobalReAlloc(h, 16, GMEM_MOVEABLE), nullptr);
    // A new block does not answer to the old handle.
    HGLOBAL h2 = GlobalAlloc(GMEM_MOVEABLE, 8);
    EXPECT_NE(h2, h);
    EXPECT_EQ(GlobalLock(h), nullptr);
    GlobalFree(h2);

    int local = 0;
    EXPECT_EQ(GlobalLock(&local), nullptr) << "an address that is no block";
    EXPECT_EQ(GlobalFree(&local), &local);
    EXPECT_EQ(GlobalLock(nullptr), nullptr);
    EXPECT_EQ(GlobalAlloc(GMEM_MOVEABLE, SIZE_T(1) << 62), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_NOT_ENOUGH_MEMORY);
}

TEST(CSharedFile, DetachGivesAnExactlySizedBlock)
{
    CSharedFile f(GMEM_MOVEABLE, 64);
    f.Write("clipboard text", 15);
    HGLOBAL h = f.Detach();
    ASSERT_TRUE(h);
    EXPECT_EQ(GlobalSize(h), 15u);
    EXPECT_EQ(GlobalFlags(h) & GMEM_LOCKCOUNT, 0u) << "handed over unlocked";
    EXPECT_STREQ(static_cast<const char*>(GlobalLock(h)), "clipboard text");
    GlobalUnlock(h);
    EXPECT_EQ(f.GetLength(), 0u);

    // SetHandle: the whole block is the content; the file owns it afterwards.
    CSharedFile g;
    g.SetHandle(h, FALSE);
    EXPECT_EQ(g.GetLength(), 15u);
    char buf[15];
    EXPECT_EQ(g.Read(buf, 15), 15u);
    EXPECT_STREQ(buf, "clipboard text");
    try {
        g.Write("more", 4);
        ADD_FAILURE() << "growth was not allowed";
    } catch (CMemoryException* e) {
        e->Delete();
    }
    EXPECT_EQ(g.GetLength(), 15u);
    HGLOBAL back = g.Detach();
    EXPECT_EQ(back, h);
    GlobalFree(back);
}

TEST(CSharedFile, GrowsAndFreesItsBlock)
{
    HGLOBAL stale = nullptr;
    {
        CSharedFile f;
        for (int i = 0; i < 5000; ++i)
            f.Write("abcd", 4);
        EXPECT_EQ(f.GetLength(), 20000u);
        f.SeekToBegin();
        char buf[4];
        EXPECT_EQ(f.Read(buf, 4), 4u);
        EXPECT_EQ(std::string(buf, 4), "abcd");
        HGLOBAL h = f.Detach();
        stale = h;
        f.SetHandle(h);
    } // destroyed with the block attached: the block is freed
    EXPECT_EQ(GlobalSize(stale), 0u);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
}
