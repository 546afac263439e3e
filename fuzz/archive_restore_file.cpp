// Feeds whole archive files through the restore loop of every archive set, with a
// table in memory in place of the database: the file reader (encodings, line ends, a
// torn last line), the line checks, each set's parser, checks and identity, the
// acknowledgement set's history lines, the batches, the duplicate look-ups, rows the
// "database" refuses, and the progress callback.
//
// What must hold: nothing crashes or hangs; no row holding a NUL or a text longer than
// its column reaches the table; no identity is inserted twice; rows, duplicates and
// skipped lines never exceed the lines read; and a second run over the same file after
// a first that ran to its end inserts nothing.
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <set>
#include <string>

#include "archive/restore_batch.h"
#include "archive/restore_loops.h"
#include "archive/restore_run.h"
#include "platform/afx/db/dbexception.h"
#include "platform/base/exception.h"
#include "platform/suite/utility/stdiofile_unicode.h"

using namespace zyn::archive;

namespace {

void Require(bool condition)
{
    if (!condition)
        std::abort();
}

// The table: the stored keys of the rows inserted.
class MemoryTarget : public RestoreTarget {
public:
    void FindStored(std::span<const RowIdentity* const> keys, std::vector<char>& found) override
    {
        found.assign(keys.size(), 0);
        for (size_t i = 0; i < keys.size(); ++i)
            found[i] = stored.count(StoredKeyText(keys[i]->stored)) ? 1 : 0;
    }
    void Begin() override {}
    void Commit() override {}
    void Abandon() noexcept override {}
    bool IsRowRefusal(CException* e) const override { return dynamic_cast<CDBException*>(e) != nullptr; }

    // Inserts a row of this key, refusing some as a database would.
    void Insert(const RowIdentity& id, int64_t number)
    {
        if (number % 13 == 7)
            AfxThrowDBException(SQL_ERROR, L"refused");
        Require(stored.insert(StoredKeyText(id.stored)).second);
        ++rows;
    }

    std::set<std::wstring> stored;
    int64_t rows = 0;
};

const ColumnLimits& Limits()
{
    static const ColumnLimits limits = DefaultColumnLimits();
    return limits;
}

void RequireText(const CString& text, LPCWSTR column)
{
    Require(text.Find(L'\0') < 0);
    const int limit = Limits().Of(column);
    Require(limit == 0 || text.GetLength() <= limit);
}

void RequireText(const std::optional<CString>& text, LPCWSTR column)
{
    if (text)
        RequireText(*text, column);
}

// Progress of the first run: stops after `stopAt` calls (0: never).
struct Progress {
    int calls = 0;
    int stopAt = 0;
};

bool OnProgress(LONG, void* context)
{
    auto* p = static_cast<Progress*>(context);
    return p->stopAt == 0 || ++p->calls < p->stopAt;
}

LONG Identity(LPCWSTR, LONG id)
{
    return id;
}

// One run of a loop over the file; returns whether it read the file to its end.
using Loop = std::function<bool(CStdioFileUnicode&, ArchiveRestoreRun&, MemoryTarget&)>;

template <typename Row>
Loop RowLoop(bool (*parse)(const ArchiveFields&, Row&, CString&), bool (*check)(const Row&, const ColumnLimits&, CString&),
    RowIdentity (*identify)(const Row&, const IdMapper&), std::function<void(const Row&)> verify,
    std::function<int64_t(const Row&)> number)
{
    return [=](CStdioFileUnicode& file, ArchiveRestoreRun& run, MemoryTarget& target) {
        const IdMapper map = &Identity;
        RestoreBatch<Row> batch(
            run, target, [&](const Row& row) { return identify(row, map); },
            [&](const Row& row, LONG line, RowInserter& inserter) {
                return inserter.Try(line, [&] {
                    verify(row);
                    target.Insert(identify(row, map), number(row));
                });
            },
            7);
        RestoreRowLines<Row>(file, run, BlankLines::TrimTrailingWhite, parse,
            [&](const Row& row, CString& reason) { return check(row, Limits(), reason); }, batch);
        return !batch.Stopped();
    };
}

Loop AckLoop()
{
    return [](CStdioFileUnicode& file, ArchiveRestoreRun& run, MemoryTarget& target) {
        const IdMapper map = &Identity;
        RestoreBatch<AlarmAckEntry> batch(
            run, target, [&](const AlarmAckEntry& e) { return AlarmAckIdentity(e.ack, map); },
            [&](const AlarmAckEntry& e, LONG line, RowInserter& inserter) {
                const bool in = inserter.Try(line, [&] {
                    RequireText(e.ack.note, L"ACKNOTE");
                    target.Insert(AlarmAckIdentity(e.ack, map), e.ack.serialNum);
                });
                if (in) {
                    for (const AlarmAckEntry::History& h : e.history)
                        RequireText(h.row.note, L"ACKNOTE");
                }
                return in;
            },
            5);
        RestoreAlarmAckLines(file, run, Limits(), batch,
            [](const AlarmAckArchiveRow&, const AlarmAckHistoryArchiveRow& h) { RequireText(h.note, L"ACKNOTE"); });
        return !batch.Stopped();
    };
}

std::vector<Loop> Loops()
{
    return {
        RowLoop<EventArchiveRow>(&ParseEventArchiveLine, &CheckEventRow, &EventIdentity,
            [](const EventArchiveRow& r) {
                RequireText(r.eventText, L"EVENT_TEXT");
                RequireText(r.eventCode, L"EVENTCODE");
            },
            [](const EventArchiveRow& r) { return int64_t{r.serialNum}; }),
        AckLoop(),
        RowLoop<VisitArchiveRow>(&ParseVisitArchiveLine, &CheckVisitRow, &VisitIdentity,
            [](const VisitArchiveRow& r) {
                RequireText(r.visitKey, L"VISIT_KEY");
                if (r.purpose)
                    Require(r.purpose->Find(L'\0') < 0);
            },
            [](const VisitArchiveRow& r) { return int64_t{r.visitId}; }),
        RowLoop<VisitEventArchiveRow>(&ParseVisitEventArchiveLine, &CheckVisitEventRow, &VisitEventIdentity,
            [](const VisitEventArchiveRow& r) { RequireText(r.name, L"NAME"); },
            [](const VisitEventArchiveRow& r) { return int64_t{r.visitEventId}; }),
        RowLoop<VideoEventArchiveRow>(&ParseVideoEventArchiveLine, &CheckVideoEventRow, &VideoEventIdentity,
            [](const VideoEventArchiveRow& r) { RequireText(r.archiveFile, L"ARCHIVEFILE"); },
            [](const VideoEventArchiveRow& r) { return int64_t{r.serialNum}; }),
        RowLoop<ContinuousVideoArchiveRow>(&ParseContinuousVideoArchiveLine, &CheckContinuousVideoRow,
            &ContinuousVideoIdentity,
            [](const ContinuousVideoArchiveRow& r) { RequireText(r.archiveFile, L"ARCHIVEFILE"); },
            [](const ContinuousVideoArchiveRow& r) { return int64_t{r.continuousVideoId}; }),
    };
}

// The input as a file the reader can open: an anonymous file in memory.
class MemoryFile {
public:
    MemoryFile(const uint8_t* data, size_t size)
    {
        m_fd = ::memfd_create("archive", 0);
        if (m_fd < 0)
            return;
        size_t done = 0;
        while (done < size) {
            const ssize_t n = ::write(m_fd, data + done, size - done);
            if (n <= 0)
                break;
            done += static_cast<size_t>(n);
        }
        m_path = L"/proc/self/fd/" + std::to_wstring(m_fd);
    }
    ~MemoryFile()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    bool Ok() const { return m_fd >= 0; }
    const std::wstring& Path() const { return m_path; }

private:
    int m_fd = -1;
    std::wstring m_path;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1 || size > 256 * 1024)
        return 0;
    // The first byte picks the callback: its interval and when it stops the first run.
    const LONG interval = 1 + data[0] % 4;
    const int stopAt = (data[0] >> 2) % 4;
    MemoryFile input(data + 1, size - 1);
    if (!input.Ok())
        return 0;
    static const std::vector<Loop> loops = Loops();
    for (const Loop& loop : loops) {
        MemoryTarget target;
        bool firstRanToTheEnd = false;
        for (int pass = 0; pass < 2; ++pass) {
            CStdioFileUnicode file;
            if (!file.Open(input.Path().c_str(), CFile::modeRead))
                return 0;
            Progress progress{0, pass == 0 ? stopAt : 0};
            ArchiveRestoreRun run(L"Fuzz", &OnProgress, &progress, interval);
            const int64_t before = target.rows;
            bool complete = false;
            try {
                complete = loop(file, run, target);
            } catch (CException* e) {
                e->Delete();
                std::abort(); // the loops raise nothing but the database's failures
            }
            run.Finish();
            file.Close();
            Require(run.Count() == target.rows - before);
            Require(run.Count() + run.Duplicates() + run.Skipped() <= run.LineNumber());
            if (pass == 0)
                firstRanToTheEnd = complete;
            else if (firstRanToTheEnd)
                Require(run.Count() == 0); // run again after a run to the end, nothing is new
        }
    }
    return 0;
}
