// CArchive, the string length prefixes, and the run-time class record's Store/Load.
#include "platform/base/archive.h"

#include <algorithm>
#include <bit>
#include <climits>
#include <cstring>
#include <exception>
#include <string>

#include "platform/base/codepage.h"
#include "platform/base/exception.h"
#include "platform/base/file.h"
#include "platform/base/object.h"
#include "platform/base/utf16.h"

static_assert(std::endian::native == std::endian::little, "the archive layout assumes a little-endian host");

namespace {

constexpr size_t kMinBuffer = 128;
// Largest piece read at once for a long string when the file's length is not known.
constexpr size_t kReadChunk = size_t(1) << 20;
// Longest class name accepted from an archive.
constexpr WORD kMaxClassName = 255;
// Deepest nesting of objects loaded inside one another.
constexpr UINT kMaxDepth = 2000;

} // namespace

// ---- construction -------------------------------------------------------------------------

CArchive::CArchive(CFile* pFile, UINT nMode, int nBufSize, void* lpBuf)
    : m_nObjectSchema(static_cast<UINT>(-1)), m_pFile(pFile), m_nMode(nMode)
{
    if (!pFile)
        AfxThrowInvalidArgException();
    m_bufSize = std::max<size_t>(nBufSize > 0 ? static_cast<size_t>(nBufSize) : 0, kMinBuffer);
    if (lpBuf && nBufSize >= static_cast<int>(kMinBuffer)) {
        m_buf = static_cast<BYTE*>(lpBuf);
    } else {
        m_ownBuf = std::make_unique<BYTE[]>(m_bufSize);
        m_buf = m_ownBuf.get();
    }
    m_strFileName = pFile->GetFilePath();
    if (IsLoading())
        m_loadArray.push_back(LoadEntry{LoadEntry::Kind::Null, nullptr, nullptr, 0});
}

CArchive::~CArchive()
{
    if (!m_pFile || (m_nMode & bNoFlushOnDelete))
        return;
    if (std::uncaught_exceptions() > 0) {
        // Unwinding: the data is incomplete anyway; leave the file as it is.
        Abort();
        return;
    }
    try {
        Close();
    } catch (CException* e) {
        // A destructor cannot report the failure; Close() before destruction does.
        e->Delete();
        m_pFile = nullptr;
    }
}

void CArchive::Throw(int cause) const
{
    throw new CArchiveException(cause, m_strFileName);
}

void CArchive::CheckLoading() const
{
    if (!m_pFile)
        Throw(CArchiveException::genericException);
    if (!IsLoading())
        Throw(CArchiveException::writeOnly);
}

void CArchive::CheckStoring() const
{
    if (!m_pFile)
        Throw(CArchiveException::genericException);
    if (!IsStoring())
        Throw(CArchiveException::readOnly);
}

void CArchive::CheckCount() const
{
    if (m_nMapCount >= nMaxMapCount)
        Throw(CArchiveException::badIndex);
}

BOOL CArchive::IsBufferEmpty() const { return IsLoading() ? m_cur == m_max : m_cur == 0; }

UINT CArchive::GetObjectSchema()
{
    const UINT n = m_nObjectSchema;
    m_nObjectSchema = static_cast<UINT>(-1);
    return n;
}

// ---- raw bytes -------------------------------------------------------------------------------

bool CArchive::FillBuffer(size_t n)
{
    if (m_max - m_cur >= n)
        return true;
    // Keep the unread bytes, then read until n are there or the file ends.
    std::memmove(m_buf, m_buf + m_cur, m_max - m_cur);
    m_max -= m_cur;
    m_cur = 0;
    while (m_max < n) {
        const UINT got = m_pFile->Read(m_buf + m_max, static_cast<UINT>(m_bufSize - m_max));
        if (got == 0)
            break;
        m_max += got;
    }
    return m_max >= n;
}

UINT CArchive::Read(void* lpBuf, UINT nMax)
{
    CheckLoading();
    if (nMax == 0)
        return 0;
    if (!lpBuf)
        AfxThrowInvalidArgException();
    auto* out = static_cast<BYTE*>(lpBuf);
    UINT done = 0;
    while (done < nMax) {
        if (m_cur < m_max) {
            const size_t k = std::min<size_t>(nMax - done, m_max - m_cur);
            std::memcpy(out + done, m_buf + m_cur, k);
            m_cur += k;
            done += static_cast<UINT>(k);
            continue;
        }
        const UINT left = nMax - done;
        if (left >= m_bufSize) {
            // Large reads go straight to the caller's memory.
            const UINT got = m_pFile->Read(out + done, left);
            if (got == 0)
                break;
            done += got;
            continue;
        }
        m_cur = m_max = 0;
        const UINT got = m_pFile->Read(m_buf, static_cast<UINT>(m_bufSize));
        if (got == 0)
            break;
        m_max = got;
    }
    return done;
}

void CArchive::EnsureRead(void* lpBuf, UINT nCount)
{
    if (Read(lpBuf, nCount) != nCount)
        Throw(CArchiveException::endOfFile);
}

void CArchive::FlushStore()
{
    if (m_cur > 0) {
        const size_t n = m_cur;
        m_cur = 0;
        m_pFile->Write(m_buf, static_cast<UINT>(n));
    }
}

void CArchive::Write(const void* lpBuf, UINT nMax)
{
    CheckStoring();
    if (nMax == 0)
        return;
    if (!lpBuf)
        AfxThrowInvalidArgException();
    const auto* in = static_cast<const BYTE*>(lpBuf);
    if (nMax <= m_bufSize - m_cur) {
        std::memcpy(m_buf + m_cur, in, nMax);
        m_cur += nMax;
        return;
    }
    FlushStore();
    if (nMax >= m_bufSize) {
        m_pFile->Write(in, nMax);
        return;
    }
    std::memcpy(m_buf, in, nMax);
    m_cur = nMax;
}

void CArchive::Flush()
{
    if (!m_pFile)
        return;
    if (IsLoading()) {
        const size_t unread = m_max - m_cur;
        m_cur = m_max = 0;
        if (unread)
            m_pFile->Seek(-static_cast<LONGLONG>(unread), 1 /* CFile::current */);
    } else {
        FlushStore();
    }
}

void CArchive::Close()
{
    if (!m_pFile)
        return;
    Flush();
    m_pFile = nullptr;
}

void CArchive::Abort()
{
    m_pFile = nullptr;
    m_cur = m_max = 0;
}

void CArchive::CheckAvailable(ULONGLONG nBytes)
{
    CheckLoading();
    const ULONGLONG inBuffer = m_max - m_cur;
    if (nBytes <= inBuffer)
        return;
    ULONGLONG length = 0, position = 0;
    try {
        length = m_pFile->GetLength();
        position = m_pFile->GetPosition();
    } catch (CException* e) {
        e->Delete(); // the length is not known: reading in bounded pieces will tell
        return;
    }
    const ULONGLONG inFile = length > position ? length - position : 0;
    if (nBytes - inBuffer > inFile)
        Throw(CArchiveException::endOfFile);
}

// ---- values ------------------------------------------------------------------------------

template <class T>
T CArchive::ReadValue()
{
    CheckLoading();
    if (!FillBuffer(sizeof(T)))
        Throw(CArchiveException::endOfFile);
    T v;
    std::memcpy(&v, m_buf + m_cur, sizeof(T));
    m_cur += sizeof(T);
    return v;
}

template <class T>
void CArchive::WriteValue(T v)
{
    CheckStoring();
    if (m_bufSize - m_cur < sizeof(T))
        FlushStore();
    std::memcpy(m_buf + m_cur, &v, sizeof(T));
    m_cur += sizeof(T);
}

CArchive& CArchive::operator<<(BYTE by) { WriteValue(by); return *this; }
CArchive& CArchive::operator<<(WORD w) { WriteValue(w); return *this; }
CArchive& CArchive::operator<<(LONG l) { WriteValue(l); return *this; }
CArchive& CArchive::operator<<(DWORD dw) { WriteValue(dw); return *this; }
CArchive& CArchive::operator<<(LONGLONG dwdw) { WriteValue(dwdw); return *this; }
CArchive& CArchive::operator<<(ULONGLONG dwdw) { WriteValue(dwdw); return *this; }
CArchive& CArchive::operator<<(float f) { WriteValue(f); return *this; }
CArchive& CArchive::operator<<(double d) { WriteValue(d); return *this; }
CArchive& CArchive::operator<<(short w) { WriteValue(w); return *this; }
CArchive& CArchive::operator<<(char ch) { WriteValue(static_cast<BYTE>(ch)); return *this; }
CArchive& CArchive::operator<<(bool b) { WriteValue(static_cast<BYTE>(b ? 1 : 0)); return *this; }

CArchive& CArchive::operator<<(wchar_t ch)
{
    // Stored as one UTF-16 unit; a character beyond it would be cut, so it is refused.
    if (static_cast<uint32_t>(ch) > 0xFFFF)
        Throw(CArchiveException::genericException);
    WriteValue(static_cast<WORD>(ch));
    return *this;
}

CArchive& CArchive::operator<<(LPCWSTR lpsz) { return *this << CStringW(lpsz); }
CArchive& CArchive::operator<<(LPCSTR lpsz) { return *this << CStringA(lpsz); }

CArchive& CArchive::operator>>(BYTE& by) { by = ReadValue<BYTE>(); return *this; }
CArchive& CArchive::operator>>(WORD& w) { w = ReadValue<WORD>(); return *this; }
CArchive& CArchive::operator>>(LONG& l) { l = ReadValue<LONG>(); return *this; }
CArchive& CArchive::operator>>(DWORD& dw) { dw = ReadValue<DWORD>(); return *this; }
CArchive& CArchive::operator>>(LONGLONG& dwdw) { dwdw = ReadValue<LONGLONG>(); return *this; }
CArchive& CArchive::operator>>(ULONGLONG& dwdw) { dwdw = ReadValue<ULONGLONG>(); return *this; }
CArchive& CArchive::operator>>(float& f) { f = ReadValue<float>(); return *this; }
CArchive& CArchive::operator>>(double& d) { d = ReadValue<double>(); return *this; }
CArchive& CArchive::operator>>(short& w) { w = ReadValue<short>(); return *this; }
CArchive& CArchive::operator>>(char& ch) { ch = static_cast<char>(ReadValue<BYTE>()); return *this; }
CArchive& CArchive::operator>>(wchar_t& ch) { ch = static_cast<wchar_t>(ReadValue<WORD>()); return *this; }
CArchive& CArchive::operator>>(bool& b) { b = ReadValue<BYTE>() != 0; return *this; }

DWORD_PTR CArchive::ReadCount()
{
    WORD w;
    *this >> w;
    if (w != 0xFFFF)
        return w;
    DWORD dw;
    *this >> dw;
    if (dw != 0xFFFFFFFFu)
        return dw;
    ULONGLONG q;
    *this >> q;
    return static_cast<DWORD_PTR>(q);
}

void CArchive::WriteCount(DWORD_PTR dwCount)
{
    if (dwCount < 0xFFFF) {
        *this << static_cast<WORD>(dwCount);
        return;
    }
    *this << static_cast<WORD>(0xFFFF);
    if (dwCount < 0xFFFFFFFFu) {
        *this << static_cast<DWORD>(dwCount);
        return;
    }
    *this << static_cast<DWORD>(0xFFFFFFFFu);
    *this << static_cast<ULONGLONG>(dwCount);
}

// ---- strings --------------------------------------------------------------------------------

void AfxWriteStringLength(CArchive& ar, UINT_PTR nLength, BOOL bUnicode)
{
    if (bUnicode) {
        ar << static_cast<BYTE>(0xFF);
        ar << static_cast<WORD>(0xFFFE);
    }
    if (nLength < 0xFF) {
        ar << static_cast<BYTE>(nLength);
        return;
    }
    ar << static_cast<BYTE>(0xFF);
    if (nLength < 0xFFFE) {
        ar << static_cast<WORD>(nLength);
        return;
    }
    ar << static_cast<WORD>(0xFFFF);
    if (nLength < 0xFFFFFFFFu) {
        ar << static_cast<DWORD>(nLength);
        return;
    }
    ar << static_cast<DWORD>(0xFFFFFFFFu);
    ar << static_cast<ULONGLONG>(nLength);
}

UINT_PTR AfxReadStringLength(CArchive& ar, int& nCharSize)
{
    nCharSize = 1;
    BYTE bLen;
    ar >> bLen;
    if (bLen < 0xFF)
        return bLen;
    WORD wLen;
    ar >> wLen;
    if (wLen == 0xFFFE) {
        // The wide-string marker; the length follows.
        nCharSize = 2;
        ar >> bLen;
        if (bLen < 0xFF)
            return bLen;
        ar >> wLen;
    }
    if (wLen < 0xFFFF)
        return wLen;
    DWORD dwLen;
    ar >> dwLen;
    if (dwLen < 0xFFFFFFFFu)
        return dwLen;
    ULONGLONG qwLen;
    ar >> qwLen;
    return static_cast<UINT_PTR>(qwLen);
}

namespace {

// Reads a stored string's bytes: checked against the data left, then read in bounded
// pieces, so a corrupt length cannot make us allocate more than the data holds.
std::vector<uint8_t> ReadStringBytes(CArchive& ar, UINT_PTR nLength, int nCharSize)
{
    if (nLength > static_cast<UINT_PTR>(INT_MAX))
        throw new CArchiveException(CArchiveException::endOfFile, ar.m_strFileName);
    const ULONGLONG total = static_cast<ULONGLONG>(nLength) * static_cast<ULONGLONG>(nCharSize);
    ar.CheckAvailable(total);
    std::vector<uint8_t> bytes;
    while (bytes.size() < total) {
        const size_t piece = static_cast<size_t>(std::min<ULONGLONG>(total - bytes.size(), kReadChunk));
        const size_t at = bytes.size();
        bytes.resize(at + piece);
        ar.EnsureRead(bytes.data() + at, static_cast<UINT>(piece));
    }
    return bytes;
}

} // namespace

CArchive& operator<<(CArchive& ar, const CStringW& str)
{
    const std::vector<uint8_t> bytes = zyn::base::ToUtf16LE(str.Str());
    AfxWriteStringLength(ar, bytes.size() / 2, TRUE);
    if (!bytes.empty())
        ar.Write(bytes.data(), static_cast<UINT>(bytes.size()));
    return ar;
}

CArchive& operator>>(CArchive& ar, CStringW& str)
{
    int nCharSize = 1;
    const UINT_PTR n = AfxReadStringLength(ar, nCharSize);
    const std::vector<uint8_t> bytes = ReadStringBytes(ar, n, nCharSize);
    if (nCharSize == 2)
        str = CStringW(zyn::base::FromUtf16LE(bytes));
    else
        str = CStringW(zyn::base::AnsiToWide(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size())));
    return ar;
}

CArchive& operator<<(CArchive& ar, const CStringA& str)
{
    const std::string& s = str.Str();
    AfxWriteStringLength(ar, s.size(), FALSE);
    if (!s.empty())
        ar.Write(s.data(), static_cast<UINT>(s.size()));
    return ar;
}

CArchive& operator>>(CArchive& ar, CStringA& str)
{
    int nCharSize = 1;
    const UINT_PTR n = AfxReadStringLength(ar, nCharSize);
    const std::vector<uint8_t> bytes = ReadStringBytes(ar, n, nCharSize);
    if (nCharSize == 2)
        str = CStringA(zyn::base::WideToAnsi(zyn::base::FromUtf16LE(bytes)));
    else
        str = CStringA(std::string(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    return ar;
}

void CArchive::WriteString(LPCWSTR lpsz)
{
    CheckStoring();
    if (!lpsz)
        AfxThrowInvalidArgException();
    const std::vector<uint8_t> bytes = zyn::base::ToUtf16LE(lpsz);
    if (!bytes.empty())
        Write(bytes.data(), static_cast<UINT>(bytes.size()));
}

bool CArchive::TryReadUnit(char16_t& unit)
{
    CheckLoading();
    if (!FillBuffer(2)) {
        m_cur = m_max; // an odd byte at the very end is not a character
        return false;
    }
    unit = static_cast<char16_t>(m_buf[m_cur] | (m_buf[m_cur + 1] << 8));
    m_cur += 2;
    return true;
}

bool CArchive::TryReadChar(wchar_t& ch, bool& atEnd)
{
    char16_t unit;
    if (!TryReadUnit(unit)) {
        atEnd = true;
        return false;
    }
    if (unit >= 0xD800 && unit <= 0xDBFF && FillBuffer(2)) {
        const auto low = static_cast<char16_t>(m_buf[m_cur] | (m_buf[m_cur + 1] << 8));
        if (low >= 0xDC00 && low <= 0xDFFF) {
            m_cur += 2;
            ch = static_cast<wchar_t>(0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
            return true;
        }
    }
    ch = (unit >= 0xD800 && unit <= 0xDFFF) ? 0xFFFD : static_cast<wchar_t>(unit);
    return true;
}

LPWSTR CArchive::ReadString(LPWSTR lpsz, UINT nMax)
{
    CheckLoading();
    if (!lpsz)
        AfxThrowInvalidArgException();
    if (nMax == 0)
        return nullptr;
    UINT n = 0;
    bool any = false, atEnd = false;
    while (n + 1 < nMax) {
        wchar_t ch;
        if (!TryReadChar(ch, atEnd))
            break;
        any = true;
        if (ch == L'\r' || ch == L'\n') {
            if (ch == L'\r' && FillBuffer(2) && m_buf[m_cur] == '\n' && m_buf[m_cur + 1] == 0)
                m_cur += 2;
            lpsz[n++] = L'\n';
            break;
        }
        lpsz[n++] = ch;
    }
    lpsz[n] = L'\0';
    return any || nMax == 1 ? lpsz : nullptr;
}

BOOL CArchive::ReadString(CString& rString)
{
    CheckLoading();
    std::wstring line;
    bool any = false, atEnd = false;
    wchar_t ch;
    while (TryReadChar(ch, atEnd)) {
        any = true;
        if (ch == L'\r' || ch == L'\n') {
            if (ch == L'\r' && FillBuffer(2) && m_buf[m_cur] == '\n' && m_buf[m_cur + 1] == 0)
                m_cur += 2;
            break;
        }
        line.push_back(ch);
    }
    rString = CString(std::move(line));
    return any ? TRUE : FALSE;
}

// ---- run-time classes and objects ------------------------------------------------------------------

void CRuntimeClass::Store(CArchive& ar) const
{
    const size_t len = m_lpszClassName ? std::strlen(m_lpszClassName) : 0;
    if (len == 0 || len > kMaxClassName)
        throw new CArchiveException(CArchiveException::badClass, ar.m_strFileName);
    ar << static_cast<WORD>(m_wSchema);
    ar << static_cast<WORD>(len);
    ar.Write(m_lpszClassName, static_cast<UINT>(len));
}

CRuntimeClass* CRuntimeClass::Load(CArchive& ar, UINT* pwSchemaNum)
{
    WORD wSchema;
    WORD nLen;
    ar >> wSchema;
    ar >> nLen;
    if (pwSchemaNum)
        *pwSchemaNum = wSchema;
    if (nLen == 0 || nLen > kMaxClassName)
        return nullptr;
    char name[kMaxClassName + 1];
    ar.EnsureRead(name, nLen);
    name[nLen] = '\0';
    for (WORD i = 0; i < nLen; ++i) {
        const auto c = static_cast<unsigned char>(name[i]);
        if (c < 0x20 || c > 0x7E)
            return nullptr;
    }
    return FromName(static_cast<LPCSTR>(name));
}

void CArchive::WriteClass(const CRuntimeClass* pClassRef)
{
    CheckStoring();
    if (!pClassRef)
        AfxThrowInvalidArgException();
    if ((pClassRef->m_wSchema & ~VERSIONABLE_SCHEMA) == 0xFFFF)
        AfxThrowNotSupportedException(L"The class is not serialisable.");
    const auto it = m_storeMap.find(pClassRef);
    if (it != m_storeMap.end()) {
        const DWORD nClassIndex = it->second;
        if (nClassIndex < wBigObjectTag) {
            *this << static_cast<WORD>(wClassTag | nClassIndex);
        } else {
            *this << wBigObjectTag;
            *this << static_cast<DWORD>(dwBigClassTag | nClassIndex);
        }
        return;
    }
    *this << wNewClassTag;
    pClassRef->Store(*this);
    CheckCount();
    m_storeMap[pClassRef] = m_nMapCount++;
}

CRuntimeClass* CArchive::ReadClass(const CRuntimeClass* pClassRefRequested, UINT* pSchema, DWORD* pObTag)
{
    CheckLoading();
    WORD wTag;
    *this >> wTag;
    DWORD obTag;
    if (wTag == wBigObjectTag)
        *this >> obTag;
    else
        obTag = (static_cast<DWORD>(wTag & wClassTag) << 16) | (wTag & ~wClassTag);

    if (!(obTag & dwBigClassTag)) {
        // An object reference, not a class.
        if (!pObTag)
            Throw(CArchiveException::badIndex);
        *pObTag = obTag;
        return nullptr;
    }

    CRuntimeClass* pClassRef = nullptr;
    UINT nSchema = 0;
    if (wTag == wNewClassTag) {
        pClassRef = CRuntimeClass::Load(*this, &nSchema);
        if (!pClassRef || (pClassRef->m_wSchema & ~VERSIONABLE_SCHEMA) == 0xFFFF)
            Throw(CArchiveException::badClass);
        if ((pClassRef->m_wSchema & ~VERSIONABLE_SCHEMA) != nSchema && !(pClassRef->m_wSchema & VERSIONABLE_SCHEMA))
            Throw(CArchiveException::badSchema);
        CheckCount();
        m_loadArray.push_back(LoadEntry{LoadEntry::Kind::Class, pClassRef, nullptr, nSchema});
        ++m_nMapCount;
    } else {
        const DWORD nClassIndex = obTag & ~dwBigClassTag;
        if (nClassIndex == 0 || nClassIndex >= m_loadArray.size() ||
            m_loadArray[nClassIndex].kind != LoadEntry::Kind::Class)
            Throw(CArchiveException::badIndex);
        pClassRef = m_loadArray[nClassIndex].cls;
        nSchema = m_loadArray[nClassIndex].schema;
    }
    if (pClassRefRequested && !pClassRef->IsDerivedFrom(pClassRefRequested))
        Throw(CArchiveException::badClass);
    if (pSchema)
        *pSchema = nSchema;
    else
        m_nObjectSchema = nSchema;
    return pClassRef;
}

void CArchive::SerializeClass(const CRuntimeClass* pClassRef)
{
    if (IsStoring())
        WriteClass(pClassRef);
    else
        ReadClass(pClassRef);
}

void CArchive::WriteObject(const CObject* pOb)
{
    CheckStoring();
    if (!pOb) {
        *this << wNullTag;
        return;
    }
    const auto it = m_storeMap.find(pOb);
    if (it != m_storeMap.end()) {
        const DWORD nObIndex = it->second;
        if (nObIndex < wBigObjectTag) {
            *this << static_cast<WORD>(nObIndex);
        } else {
            *this << wBigObjectTag;
            *this << nObIndex;
        }
        return;
    }
    WriteClass(pOb->GetRuntimeClass());
    CheckCount();
    m_storeMap[pOb] = m_nMapCount++;
    const_cast<CObject*>(pOb)->Serialize(*this);
}

CObject* CArchive::ReadObject(const CRuntimeClass* pClassRefRequested)
{
    CheckLoading();
    if (pClassRefRequested && (pClassRefRequested->m_wSchema & ~VERSIONABLE_SCHEMA) == 0xFFFF)
        AfxThrowNotSupportedException(L"The class is not serialisable.");
    UINT nSchema = 0;
    DWORD obTag = 0;
    CRuntimeClass* pClassRef = ReadClass(pClassRefRequested, &nSchema, &obTag);
    if (!pClassRef) {
        if (obTag >= m_loadArray.size())
            Throw(CArchiveException::badIndex);
        const LoadEntry& e = m_loadArray[obTag];
        if (e.kind == LoadEntry::Kind::Null)
            return nullptr;
        if (e.kind != LoadEntry::Kind::Object)
            Throw(CArchiveException::badIndex);
        if (e.obj && pClassRefRequested && !e.obj->IsKindOf(pClassRefRequested))
            Throw(CArchiveException::badClass);
        return e.obj;
    }

    CheckCount();
    // Each nested object is a level of recursion: a crafted archive must not be able to
    // exhaust the stack.
    if (m_nDepth >= kMaxDepth)
        Throw(CArchiveException::genericException);
    struct DepthGuard {
        UINT& depth;
        explicit DepthGuard(UINT& d) : depth(d) { ++depth; }
        ~DepthGuard() { --depth; }
    } guard(m_nDepth);
    CObject* pOb = pClassRef->CreateObject();
    if (!pOb)
        Throw(CArchiveException::badClass);
    // Mapped before its data is read, so that the data may refer back to it.
    const size_t index = m_loadArray.size();
    m_loadArray.push_back(LoadEntry{LoadEntry::Kind::Object, pClassRef, pOb, nSchema});
    ++m_nMapCount;
    const UINT nSchemaSave = m_nObjectSchema;
    m_nObjectSchema = nSchema;
    try {
        pOb->Serialize(*this);
    } catch (...) {
        // The caller never sees the object: free it, and forget every object mapped
        // since (they belong to it or are lost with it), so no reference can reach them.
        m_nObjectSchema = nSchemaSave;
        for (size_t i = index; i < m_loadArray.size(); ++i)
            if (m_loadArray[i].kind == LoadEntry::Kind::Object)
                m_loadArray[i] = LoadEntry{LoadEntry::Kind::Dead, nullptr, nullptr, 0};
        delete pOb;
        throw;
    }
    m_nObjectSchema = nSchemaSave;
    return pOb;
}

void CArchive::MapObject(const CObject* pOb)
{
    if (IsStoring()) {
        if (pOb && !m_storeMap.contains(pOb)) {
            CheckCount();
            m_storeMap[pOb] = m_nMapCount++;
        }
    } else {
        CheckCount();
        m_loadArray.push_back(LoadEntry{LoadEntry::Kind::Object, nullptr, const_cast<CObject*>(pOb), 0});
        ++m_nMapCount;
    }
}

CArchive& operator<<(CArchive& ar, const CObject* pOb)
{
    ar.WriteObject(pOb);
    return ar;
}

CArchive& operator>>(CArchive& ar, CObject*& pOb)
{
    pOb = ar.ReadObject(nullptr);
    return ar;
}

CArchive& operator>>(CArchive& ar, const CObject*& pOb)
{
    pOb = ar.ReadObject(nullptr);
    return ar;
}
