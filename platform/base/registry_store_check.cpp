#include "platform/base/registry_store_check.h"

#include <sqlite3.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

namespace zyn::base::regstore {

namespace fs = std::filesystem;

namespace {

uint32_t Be32(const uint8_t* p)
{
    return (static_cast<uint32_t>(p[0]) << 24) | (static_cast<uint32_t>(p[1]) << 16) |
        (static_cast<uint32_t>(p[2]) << 8) | p[3];
}

uint32_t Le32(const uint8_t* p)
{
    return (static_cast<uint32_t>(p[3]) << 24) | (static_cast<uint32_t>(p[2]) << 16) |
        (static_cast<uint32_t>(p[1]) << 8) | p[0];
}

bool ReadAll(const fs::path& p, std::vector<uint8_t>& out)
{
    std::ifstream in(p, std::ios::binary);
    if (!in)
        return false;
    out.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

// The page size a database header gives (bytes 16-17, big-endian; 1 stands for 65536);
// 0 when it is not a valid one.
uint32_t HeaderPageSize(const uint8_t* header)
{
    const uint32_t raw = (static_cast<uint32_t>(header[16]) << 8) | header[17];
    const uint32_t size = raw == 1 ? 65536 : raw;
    const bool powerOfTwo = size != 0 && (size & (size - 1)) == 0;
    return powerOfTwo && size >= 512 && size <= 65536 ? size : 0;
}

// The running checksum of the write-ahead log: pairs of 32-bit words in the byte order
// the log's magic number names, s0 += x0 + s1, s1 += x1 + s0.
struct WalSum {
    bool bigEndian = false;
    uint32_t s0 = 0;
    uint32_t s1 = 0;
    void Add(const uint8_t* p, size_t n)
    {
        for (size_t i = 0; i + 8 <= n; i += 8) {
            const uint32_t x0 = bigEndian ? Be32(p + i) : Le32(p + i);
            const uint32_t x1 = bigEndian ? Be32(p + i + 4) : Le32(p + i + 4);
            s0 += x0 + s1;
            s1 += x1 + s0;
        }
    }
};

constexpr size_t kWalHeader = 32;
constexpr size_t kFrameHeader = 24;

// Frames of the log that SQLite would replay, and what lies after them.
FileCheck CheckWal(const std::vector<uint8_t>& wal, uint32_t dbPageSize)
{
    FileCheck result;
    if (wal.empty())
        return result;
    if (wal.size() < kWalHeader) {
        // Only a header that was being written when the writer stopped.
        result.notice = L"the write-ahead log holds only part of a header; it is ignored";
        return result;
    }
    const uint32_t magic = Be32(wal.data());
    const uint32_t pageSize = Be32(wal.data() + 8);
    const bool hasFrame = dbPageSize != 0 && wal.size() >= kWalHeader + kFrameHeader + dbPageSize;
    if (magic != 0x377f0682 && magic != 0x377f0683) {
        if (hasFrame)
            result.damage = L"the write-ahead log's header is damaged (bad magic number)";
        return result;
    }
    WalSum sum;
    sum.bigEndian = (magic & 1) != 0;
    sum.Add(wal.data(), 24);
    if (sum.s0 != Be32(wal.data() + 24) || sum.s1 != Be32(wal.data() + 28)) {
        if (hasFrame)
            result.damage = L"the write-ahead log's header is damaged (checksum)";
        return result;
    }
    if (pageSize != dbPageSize) {
        if (hasFrame)
            result.damage = L"the write-ahead log's page size does not match the database";
        return result;
    }
    const uint32_t salt1 = Be32(wal.data() + 16);
    const uint32_t salt2 = Be32(wal.data() + 20);
    const size_t frameSize = kFrameHeader + pageSize;
    const size_t frames = (wal.size() - kWalHeader) / frameSize;
    const auto frameAt = [&](size_t i) { return wal.data() + kWalHeader + i * frameSize; };
    const auto ofThisLog = [&](const uint8_t* f) { return Be32(f + 8) == salt1 && Be32(f + 12) == salt2; };

    // Replay as SQLite does: frames of this log (its salts) whose running checksum holds.
    size_t i = 0;
    for (; i < frames; ++i) {
        const uint8_t* f = frameAt(i);
        if (!ofThisLog(f))
            break;
        WalSum next = sum;
        next.Add(f, 8);
        next.Add(f + kFrameHeader, pageSize);
        if (Be32(f) == 0 || next.s0 != Be32(f + 16) || next.s1 != Be32(f + 20))
            break;
        sum = next;
    }
    // Replay stops at frame i. Frames of an earlier round of the log (other salts) may
    // follow legitimately, and a crash while the last transaction was being written
    // leaves one unfinished transaction; committed transactions of this log beyond that
    // mean the log was damaged, and replaying it would lose them.
    size_t commits = 0;
    bool ofThisLogAfter = false;
    for (size_t j = i; j < frames; ++j) {
        if (!ofThisLog(frameAt(j)))
            continue;
        ofThisLogAfter = true;
        if (Be32(frameAt(j) + 4) != 0)
            ++commits;
    }
    const size_t rest = (wal.size() - kWalHeader) % frameSize;
    if (rest >= kFrameHeader && ofThisLog(frameAt(frames)))
        ofThisLogAfter = true; // a frame that was being written
    if (commits >= 2) {
        result.damage = L"frame " + std::to_wstring(i + 1) + L" of the write-ahead log is damaged; " +
            std::to_wstring(commits - 1) + L" committed transaction(s) after it would be lost";
    } else if (ofThisLogAfter) {
        result.notice = L"the write-ahead log ends in an unfinished transaction (from frame " +
            std::to_wstring(i + 1) + L"), which is dropped";
    }
    return result;
}

} // namespace

FileCheck CheckStoreFiles(const fs::path& file)
{
    FileCheck result;
    std::vector<uint8_t> db;
    if (!ReadAll(file, db)) {
        result.damage = L"the file cannot be read";
        return result;
    }
    if (db.empty()) {
        result.damage = L"the file is empty (zero length)";
        return result;
    }
    static constexpr char kMagic[] = "SQLite format 3";
    if (db.size() < 100 || std::memcmp(db.data(), kMagic, sizeof kMagic) != 0) {
        result.damage = db.size() < 100 ? L"the file is too short to hold a database header"
                                        : L"the file is not a database (bad header)";
        return result;
    }
    const uint32_t pageSize = HeaderPageSize(db.data());
    if (pageSize == 0) {
        result.damage = L"the database header gives no valid page size";
        return result;
    }

    std::vector<uint8_t> wal;
    const fs::path walPath = fs::path(file.string() + "-wal");
    std::error_code ec;
    if (fs::exists(walPath, ec) && !ReadAll(walPath, wal)) {
        result.damage = L"the write-ahead log cannot be read";
        return result;
    }
    result = CheckWal(wal, pageSize);
    if (!result.damage.empty())
        return result;

    // The database's own size. With frames in the log the file may be mid-checkpoint
    // (the log then holds the pages), so only a file without a log is held to its header.
    if (db.size() % pageSize != 0) {
        result.damage = L"the file is truncated (it ends inside a page)";
        return result;
    }
    const uint32_t headerPages = Be32(db.data() + 28);
    const bool headerSizeValid = Be32(db.data() + 24) == Be32(db.data() + 92);
    if (wal.empty() && headerSizeValid && headerPages != 0 &&
        db.size() < static_cast<uint64_t>(headerPages) * pageSize) {
        result.damage = L"the file is truncated (" + std::to_wstring(db.size() / pageSize) + L" of " +
            std::to_wstring(headerPages) + L" pages)";
    }
    return result;
}

// ---- row sums -------------------------------------------------------------------------

void RowSum::Bytes(const void* data, size_t size)
{
    const auto* p = static_cast<const uint8_t*>(data);
    for (size_t i = 0; i < size; ++i) {
        m_hash ^= p[i];
        m_hash *= 0x100000001b3ull;
    }
}

void RowSum::Tag(int type)
{
    const auto tag = static_cast<uint8_t>(type);
    Bytes(&tag, 1);
}

void RowSum::Integer(int64_t v)
{
    uint8_t le[8];
    for (int i = 0; i < 8; ++i)
        le[i] = static_cast<uint8_t>(static_cast<uint64_t>(v) >> (8 * i));
    Bytes(le, 8);
}

void RowSum::Real(double d)
{
    uint8_t raw[8];
    std::memcpy(raw, &d, 8);
    Bytes(raw, 8);
}

void RowSum::Sized(const void* data, int size)
{
    const auto n = static_cast<uint32_t>(size);
    uint8_t len[4];
    for (int i = 0; i < 4; ++i)
        len[i] = static_cast<uint8_t>(n >> (8 * i));
    Bytes(len, 4);
    if (data)
        Bytes(data, n);
}

void RowSum::Add(sqlite3_value* value)
{
    const int type = sqlite3_value_type(value);
    Tag(type);
    switch (type) {
    case SQLITE_INTEGER: Integer(sqlite3_value_int64(value)); break;
    case SQLITE_FLOAT: Real(sqlite3_value_double(value)); break;
    case SQLITE_TEXT: {
        const unsigned char* p = sqlite3_value_text(value);
        Sized(p, sqlite3_value_bytes(value));
        break;
    }
    case SQLITE_BLOB: {
        const void* p = sqlite3_value_blob(value);
        Sized(p, sqlite3_value_bytes(value));
        break;
    }
    default: break; // NULL: the tag alone
    }
}

void RowSum::AddColumn(sqlite3_stmt* statement, int column)
{
    const int type = sqlite3_column_type(statement, column);
    Tag(type);
    switch (type) {
    case SQLITE_INTEGER: Integer(sqlite3_column_int64(statement, column)); break;
    case SQLITE_FLOAT: Real(sqlite3_column_double(statement, column)); break;
    case SQLITE_TEXT: {
        const unsigned char* p = sqlite3_column_text(statement, column);
        Sized(p, sqlite3_column_bytes(statement, column));
        break;
    }
    case SQLITE_BLOB: {
        const void* p = sqlite3_column_blob(statement, column);
        Sized(p, sqlite3_column_bytes(statement, column));
        break;
    }
    default: break;
    }
}

namespace {

void RowSumFunction(sqlite3_context* context, int argc, sqlite3_value** argv)
{
    RowSum sum;
    for (int i = 0; i < argc; ++i)
        sum.Add(argv[i]);
    sqlite3_result_int64(context, sum.Value());
}

} // namespace

int InstallRowSum(sqlite3* db)
{
    return sqlite3_create_function_v2(db, "zyn_row_sum", -1, SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS,
        nullptr, &RowSumFunction, nullptr, nullptr, nullptr);
}

} // namespace zyn::base::regstore
