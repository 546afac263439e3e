#pragma once
// CArchive: the class library's binary serialisation over a CFile.
//
// Byte layout (little-endian throughout): BYTE, char and bool are one byte; WORD,
// short and wchar_t two (a wchar_t above 0xFFFF cannot be stored and throws); LONG,
// int, UINT, DWORD and float four; LONGLONG, ULONGLONG and double eight. A wide
// string is the byte 0xFF and the WORD 0xFFFE, then its length in UTF-16 units (a BYTE
// below 0xFF; else 0xFF and a WORD below 0xFFFE; else 0xFFFF and a DWORD below
// 0xFFFFFFFF; else 0xFFFFFFFF and a QWORD), then the UTF-16LE units. A narrow string
// has the same length prefix without the marker, then its bytes; either form reads
// into either string type (converting through the ANSI code page).
//
// Objects: a WORD tag, wNullTag (0) for a null pointer, wNewClassTag (0xFFFF)
// followed by the run-time class record (schema WORD, name length WORD, ASCII name)
// then the object's own Serialize data, wClassTag | index for a class seen before,
// or the index of an object written before; indexes from wBigObjectTag (0x7FFF) up are
// written as wBigObjectTag and a DWORD (with dwBigClassTag for classes). Classes and
// objects share one index sequence starting at 1.
//
// Loading never trusts the data: a read past the end throws CArchiveException
// endOfFile, an unknown or unsuitable class badClass, a schema mismatch badSchema, a
// reference to nothing badIndex. Lengths are checked against what the file can still
// hold (when its length is known) before anything is allocated, and read in bounded
// chunks otherwise. An object whose Serialize throws while loading is deleted. Objects
// nested more than 2000 deep throw genericException rather than exhaust the stack.
//
// Call Close() to finish a storing archive and see errors; the destructor flushes too,
// but cannot report a failure (and does not flush while an exception is in flight).

#include <cstddef>
#include <memory>
#include <unordered_map>
#include <vector>

#include "platform/base/cstring.h"
#include "platform/base/wintypes.h"

class CDocument;
class CFile;
class CObject;
struct CRuntimeClass;

inline constexpr UINT VERSIONABLE_SCHEMA = 0x80000000u;

class CArchive {
public:
    enum Mode : UINT { store = 0, load = 1, bNoFlushOnDelete = 2, bNoByteSwap = 4 };

    static constexpr WORD wNullTag = 0;
    static constexpr WORD wNewClassTag = 0xFFFF;
    static constexpr WORD wClassTag = 0x8000;
    static constexpr WORD wBigObjectTag = 0x7FFF;
    static constexpr DWORD dwBigClassTag = 0x80000000u;
    static constexpr DWORD nMaxMapCount = 0x3FFFFFFEu;

    // nBufSize below 128 is raised to 128; lpBuf, when given, is used as the buffer
    // (it must hold nBufSize bytes and outlive the archive).
    CArchive(CFile* pFile, UINT nMode, int nBufSize = 4096, void* lpBuf = nullptr);
    ~CArchive();
    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;

    BOOL IsLoading() const { return (m_nMode & load) != 0; }
    BOOL IsStoring() const { return (m_nMode & load) == 0; }
    BOOL IsByteSwapping() const { return FALSE; }
    BOOL IsBufferEmpty() const;
    CFile* GetFile() const { return m_pFile; }

    // The schema of the object being loaded; reading it resets it to (UINT)-1.
    UINT GetObjectSchema();
    void SetObjectSchema(UINT nSchema) { m_nObjectSchema = nSchema; }

    // Raw bytes. Read returns fewer than nMax only at the end of the data.
    UINT Read(void* lpBuf, UINT nMax);
    // Reads exactly nCount bytes or throws endOfFile.
    void EnsureRead(void* lpBuf, UINT nCount);
    void Write(const void* lpBuf, UINT nMax);

    // Storing: writes the buffer to the file. Loading: gives the unread part of the
    // buffer back to the file (seeking back), so the file position is exact.
    void Flush();
    void Close();
    // Detaches from the file without writing the buffer.
    void Abort();

    // Text lines as UTF-16LE: WriteString writes the text only; ReadString stops at
    // "\n", "\r\n" or a lone "\r" (the line end is dropped by the CString form and kept
    // as "\n" by the buffer form). FALSE / null at the end of the data.
    void WriteString(LPCWSTR lpsz);
    BOOL ReadString(CString& rString);
    LPWSTR ReadString(LPWSTR lpsz, UINT nMax);

    // A count: a WORD below 0xFFFF, else 0xFFFF and a DWORD below 0xFFFFFFFF, else
    // 0xFFFFFFFF and a QWORD.
    DWORD_PTR ReadCount();
    void WriteCount(DWORD_PTR dwCount);

    // Throws endOfFile when the file is known to hold fewer than nBytes more bytes (our
    // own addition, for code that sizes memory from a stored count).
    void CheckAvailable(ULONGLONG nBytes);

    CObject* ReadObject(const CRuntimeClass* pClass);
    void WriteObject(const CObject* pOb);
    CRuntimeClass* ReadClass(const CRuntimeClass* pClassRefRequested = nullptr, UINT* pSchema = nullptr,
        DWORD* pObTag = nullptr);
    void WriteClass(const CRuntimeClass* pClassRef);
    void SerializeClass(const CRuntimeClass* pClassRef);
    // Counts an object as already stored (storing) or loaded (loading) without data.
    void MapObject(const CObject* pOb);
    void SetStoreParams(UINT nHashSize = 2053, UINT nBlockSize = 128) {}
    void SetLoadParams(UINT nGrowBy = 1024) {}

    // ---- storing ----
    CArchive& operator<<(BYTE by);
    CArchive& operator<<(WORD w);
    CArchive& operator<<(LONG l);       // also int
    CArchive& operator<<(DWORD dw);     // also UINT
    CArchive& operator<<(LONGLONG dwdw);
    CArchive& operator<<(ULONGLONG dwdw);
    CArchive& operator<<(float f);
    CArchive& operator<<(double d);
    CArchive& operator<<(short w);
    CArchive& operator<<(char ch);
    CArchive& operator<<(wchar_t ch);
    CArchive& operator<<(bool b);
    // A string literal or pointer is stored as a string, never as a bool.
    CArchive& operator<<(LPCWSTR lpsz);
    CArchive& operator<<(LPCSTR lpsz);
    CArchive& operator<<(const void*) = delete;

    // ---- loading ----
    CArchive& operator>>(BYTE& by);
    CArchive& operator>>(WORD& w);
    CArchive& operator>>(LONG& l);
    CArchive& operator>>(DWORD& dw);
    CArchive& operator>>(LONGLONG& dwdw);
    CArchive& operator>>(ULONGLONG& dwdw);
    CArchive& operator>>(float& f);
    CArchive& operator>>(double& d);
    CArchive& operator>>(short& w);
    CArchive& operator>>(char& ch);
    CArchive& operator>>(wchar_t& ch);
    CArchive& operator>>(bool& b);

    CDocument* m_pDocument = nullptr;
    UINT m_nObjectSchema;
    CString m_strFileName;

private:
    struct LoadEntry {
        enum class Kind : BYTE { Null, Class, Object, Dead };
        Kind kind;
        CRuntimeClass* cls;
        CObject* obj;
        UINT schema;
    };

    template <class T>
    T ReadValue();
    template <class T>
    void WriteValue(T v);
    // Reads up to n bytes into the buffer; false when fewer are left.
    bool FillBuffer(size_t n);
    void FlushStore();
    void CheckLoading() const;
    void CheckStoring() const;
    void CheckCount() const;
    // A UTF-16 unit for the text functions; false at the end of the data.
    bool TryReadUnit(char16_t& unit);
    bool TryReadChar(wchar_t& ch, bool& atEnd);
    [[noreturn]] void Throw(int cause) const;

    CFile* m_pFile;
    UINT m_nMode;
    std::unique_ptr<BYTE[]> m_ownBuf;
    BYTE* m_buf;
    size_t m_bufSize;
    size_t m_cur = 0;  // next byte to read / first free byte when storing
    size_t m_max = 0;  // end of the data in the buffer (loading)

    DWORD m_nMapCount = 1;
    UINT m_nDepth = 0; // objects being loaded inside one another
    std::unordered_map<const void*, DWORD> m_storeMap;
    std::vector<LoadEntry> m_loadArray;

    friend UINT_PTR AfxReadStringLength(CArchive& ar, int& nCharSize);
};

// The length prefix of a stored string (nCharSize 1 or 2 on return).
void AfxWriteStringLength(CArchive& ar, UINT_PTR nLength, BOOL bUnicode);
UINT_PTR AfxReadStringLength(CArchive& ar, int& nCharSize);

CArchive& operator<<(CArchive& ar, const CStringW& str);
CArchive& operator>>(CArchive& ar, CStringW& str);
CArchive& operator<<(CArchive& ar, const CStringA& str);
CArchive& operator>>(CArchive& ar, CStringA& str);

CArchive& operator<<(CArchive& ar, const CObject* pOb);
CArchive& operator>>(CArchive& ar, CObject*& pOb);
CArchive& operator>>(CArchive& ar, const CObject*& pOb);
