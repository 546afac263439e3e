// The example console's work away from the windows: the recording server's port line,
// its process started and ended, the database made on first run with its sample events,
// the archive pass over EVENTS with its restore, progress and failure, and printed pages
// kept as pictures.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "host_printed.h"
#include "host_work.h"
#include "platform/afx/db/dbvalue.h"
#include "platform/base/exception.h"
#include "platform/base/utf16.h"
#include "platform/gdi/wingdi.h"
#include "platform/suite/utility/stdiofile_unicode.h"
#include "recorder_process.h"
#include "tests/support/golden.h"
#include "tests/support/testenv.h"

namespace {

namespace fs = std::filesystem;
using zyn::afx::DbValue;

std::string U8(const CString& s) { return zyn::base::ToUtf8(s.GetString()); }
CString W(const fs::path& p) { return CString(zyn::base::FromUtf8(p.string()).c_str()); }

TEST(HostRecorderPort, OnlyAWholePortOnTheFirstLineCounts)
{
    const struct {
        const char* text;
        uint16_t port;
    } rows[] = {
        {"port 1\n", 1},
        {"port 65535\n", 65535},
        {"port 40123\r\n", 40123},
        {"port 80", 80},                 // the line's end not read yet
        {"port 65536\n", 0},             // past the largest port
        {"port 99999999999999\n", 0},    // would overflow
        {"port 0\n", 0},
        {"port \n", 0},
        {"port 12x\n", 0},
        {"Port 5\n", 0},                 // case matters
        {" port 5\n", 0},
        {"", 0},
        {"listening\nport 5\n", 0},      // only the first line
    };
    for (const auto& row : rows)
        EXPECT_EQ(host::ParsePortLine(row.text), row.port) << '"' << row.text << '"';
}

TEST(HostRecorderProcess, TheExampleServerAnswersUntilStopped)
{
    host::RecorderProcess server;
    std::string why;
    ASSERT_TRUE(server.Start(ZYN_RECORDER_PROGRAM, 10000, &why)) << why;
    ASSERT_TRUE(server.Running());
    const uint16_t port = server.Port();
    ASSERT_NE(port, 0);
    // The server's script answers TRUE to every procedure with a boolean result.
    const host::RecorderReport report = host::AskRecorder(port);
    EXPECT_TRUE(report.started);
    EXPECT_TRUE(report.running);
    server.Stop();
    EXPECT_FALSE(server.Running());
    EXPECT_EQ(server.Port(), 0);
    // Nobody listens there any more: the call fails and says so.
    const host::RecorderReport after = host::AskRecorder(port);
    EXPECT_FALSE(after.started);
    EXPECT_NE(U8(after.status), "The call has completed successfully.");
}

TEST(HostRecorderProcess, AProgramThatTellsNoPortIsRefusedAndEnded)
{
    const struct {
        const char* program;
        const char* what;
    } rows[] = {
        {"/nonexistent/zyn_recording_server", "missing"},
        {"/bin/true", "ends at once, saying nothing"},
        {"/bin/cat", "waits on its input, saying nothing"},
    };
    for (const auto& row : rows) {
        host::RecorderProcess server;
        std::string why;
        EXPECT_FALSE(server.Start(row.program, 300, &why)) << row.what;
        EXPECT_FALSE(why.empty()) << row.what;
        EXPECT_FALSE(server.Running()) << row.what;
    }
}

class HostDatabase : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dir = fs::path(zyn::test::TempRoot()) / ::testing::UnitTest::GetInstance()->current_test_info()->name();
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
        host::OpenDatabase(m_db, W(m_dir / "console.db"), CString(), [this](const CString& line) { m_said.push_back(U8(line)); });
    }
    void TearDown() override { m_db.Close(); }

    // Lines of an archive file as the suite's text file reads them.
    static int LinesOf(const fs::path& file)
    {
        CStdioFileUnicode in;
        if (!in.Open(W(file), CFile::modeRead))
            return -1;
        int n = 0;
        CString line;
        while (in.ReadString(line))
            n += line.IsEmpty() ? 0 : 1;
        return n;
    }

    fs::path m_dir;
    CZynDatabase m_db;
    std::vector<std::string> m_said;
};

TEST_F(HostDatabase, TheFileIsMadeOnceAndSeededOnce)
{
    const std::string file = (m_dir / "console.db").string();
    EXPECT_EQ(m_said, (std::vector<std::string>{"Made a new database: " + file, "Using the SQLite database " + file}));
    m_db.Close();
    m_said.clear();
    host::OpenDatabase(m_db, W(m_dir / "console.db"), CString(), [this](const CString& line) { m_said.push_back(U8(line)); });
    EXPECT_EQ(m_said, (std::vector<std::string>{"Using the SQLite database " + file}));

    EXPECT_EQ(host::SeedEvents(m_db, 24), 24);
    EXPECT_EQ(host::SeedEvents(m_db, 24), 0) << "a table with events is left alone";
    EXPECT_EQ(host::CountRows(m_db, L"EVENTS"), 24);

    // Event i is on 2010-(1 + i % 12)-(1 + i % 28) at (8 + i % 10):00: the newest are
    // December 24th (23), December 12th (11), November 23rd (22) and November 11th (10);
    // texts cycle in sixes, doors in fours.
    std::vector<std::string> newest;
    for (const host::EventRow& row : host::RecentEvents(m_db, 4))
        newest.push_back(U8(row.time) + " | " + U8(row.text) + " | " + U8(row.door));
    EXPECT_EQ(newest, (std::vector<std::string>{"2010-12-24 11:00 | Door secured | Door 4",
                          "2010-12-12 09:00 | Door secured | Door 4", "2010-11-23 10:00 | Alarm acknowledged | Door 3",
                          "2010-11-11 08:00 | Alarm acknowledged | Door 3"}));
    EXPECT_EQ(host::RecentEvents(m_db, 100).size(), 24u);
}

TEST_F(HostDatabase, NamesAreListedAsAPersonReadsThem)
{
    // Case ignored (equal names by ID), base letters before accents, whatever the
    // database's own order of the bytes.
    m_db.ExecuteSQL(L"CREATE TABLE NAMES (ID INTEGER PRIMARY KEY, NAME VARCHAR(64) NOT NULL)");
    const struct {
        int32_t id;
        const wchar_t* name;
    } rows[] = {{1, L"Operator 2"}, {2, L"admin"}, {3, L"\u00C9mile"}, {4, L"zed"}, {5, L"Door"}, {6, L"ADMIN"},
        {7, L"emile"}};
    for (const auto& row : rows) {
        const DbValue values[] = {row.id, CString(row.name)};
        m_db.ExecuteSQL(L"INSERT INTO NAMES (ID, NAME) VALUES (?, ?)", values);
    }
    std::vector<std::string> listed;
    for (const host::NamedRow& row : host::ReadNames(m_db, L"NAMES"))
        listed.push_back(std::to_string(row.id) + " " + U8(row.name));
    EXPECT_EQ(listed, (std::vector<std::string>{"2 admin", "6 ADMIN", "5 Door", "7 emile", "3 \u00C9mile",
                          "1 Operator 2", "4 zed"}));
}

TEST_F(HostDatabase, OldEventsAreArchivedAppendedAndRestoredOnce)
{
    host::SeedEvents(m_db, 24);
    // Two events after the cutoff stay.
    for (int32_t serial : {100, 101}) {
        TIMESTAMP_STRUCT when{};
        when.year = 2030;
        when.month = 1;
        when.day = 2;
        const DbValue row[] = {serial, CString(L"recent"), when};
        m_db.ExecuteSQL(L"INSERT INTO EVENTS (SERIALNUM, EVENT_TEXT, EVENT_TIME_UTC) VALUES (?, ?, ?)", row);
    }
    const fs::path file = m_dir / "events-archive.txt";
    std::vector<std::pair<LONG, LONG>> steps;
    const auto progress = [&](LONG done, LONG total) { steps.emplace_back(done, total); };

    const host::ArchiveOutcome first = host::ArchiveAndRestore(m_db, W(file), 2020, progress);
    EXPECT_EQ(first.archived, 24);
    EXPECT_EQ(first.restored, 24);
    EXPECT_EQ(first.duplicates, 0);
    EXPECT_EQ(host::CountRows(m_db, L"EVENTS"), 2);
    EXPECT_EQ(host::CountRows(m_db, L"EVENTS_RESTORED"), 24);
    EXPECT_EQ(LinesOf(file), 24);
    // Progress runs from 0 to its total (the archive's rows, then the restore's) and
    // never goes back.
    ASSERT_FALSE(steps.empty());
    EXPECT_EQ(steps.front(), (std::pair<LONG, LONG>{0, 48}));
    EXPECT_EQ(steps.back(), (std::pair<LONG, LONG>{48, 48}));
    for (size_t i = 1; i < steps.size(); ++i) {
        EXPECT_GE(steps[i].first, steps[i - 1].first) << "step " << i;
        EXPECT_LE(steps[i].first, steps[i].second) << "step " << i;
    }

    // A second pass with nothing old appends nothing; its restore finds every row there.
    steps.clear();
    const host::ArchiveOutcome second = host::ArchiveAndRestore(m_db, W(file), 2020, progress);
    EXPECT_EQ(second.archived, 0);
    EXPECT_EQ(second.restored, 0);
    EXPECT_EQ(second.duplicates, 24);
    EXPECT_EQ(LinesOf(file), 24) << "an archive file is never replaced";
    EXPECT_EQ(host::CountRows(m_db, L"EVENTS_RESTORED"), 24);
    EXPECT_EQ(steps.back(), (std::pair<LONG, LONG>{0, 0}));
}

TEST(HostMessages, WhatHappenedIsSaidInWords)
{
    // Counts of one and of none read as a person writes them; no raw codes or status texts
    // of a call that went well.
    const struct {
        host::ArchiveOutcome outcome;
        const char* said;
    } archives[] = {
        {{24, 24, 0}, "Archived 24 events from before 2020; restored the archive file: 24 events"},
        {{1, 1, 0}, "Archived 1 event from before 2020; restored the archive file: 1 event"},
        {{24, 0, 48}, "Archived 24 events from before 2020; the archive file's 48 events were all restored before"},
        {{0, 0, 1}, "No events from before 2020 were left to archive; the archive file's 1 event was restored before"},
        {{0, 0, 0}, "No events from before 2020 were left to archive; the archive file holds nothing to restore"},
        {{2, 2, 3}, "Archived 2 events from before 2020; restored the archive file: 2 new events, 3 restored before"},
    };
    for (const auto& row : archives)
        EXPECT_EQ(U8(host::DescribeArchive(row.outcome, 2020)), row.said) << row.said;

    const struct {
        host::RecorderReport report;
        const char* said;
    } recorders[] = {
        {{true, true, 1, L"The call has completed successfully."},
            "The recording server on port 4000 started its video archive, which is running; its last purge of old "
            "video finished"},
        {{true, false, 0, L""},
            "The recording server on port 4000 started its video archive, which is not running yet; a purge of old "
            "video is under way"},
        {{true, true, static_cast<LONG>(0x80004005), L""},
            "The recording server on port 4000 started its video archive, which is running; its last purge of old "
            "video failed"},
        {{false, false, static_cast<LONG>(0x80004005), L"The RPC server is unavailable."},
            "The recording server on port 4000 did not start its video archive: The RPC server is unavailable."},
    };
    for (const auto& row : recorders)
        EXPECT_EQ(U8(host::DescribeRecorder(4000, row.report)), row.said) << row.said;
}

TEST_F(HostDatabase, AFileThatCannotBeWrittenLeavesTheEventsAlone)
{
    host::SeedEvents(m_db, 6);
    const fs::path file = m_dir / "no-such-folder" / "events-archive.txt";
    bool raised = false;
    try {
        host::ArchiveAndRestore(m_db, W(file), 2020, [](LONG, LONG) {});
    } catch (CFileException* e) {
        raised = true;
        EXPECT_EQ(U8(e->m_strFileName), file.string());
        e->Delete();
    }
    EXPECT_TRUE(raised);
    EXPECT_EQ(host::CountRows(m_db, L"EVENTS"), 6);
    EXPECT_EQ(host::CountRows(m_db, L"EVENTS_RESTORED"), 0);
    EXPECT_FALSE(fs::exists(file));
}


// A document of `pages` blank pages printed at 100 dots per inch on paper 2 by 3 inches:
// every page image 200 by 300 pixels.
std::shared_ptr<const zyn::gdi::PrintedDocument> PrintBlank(int pages)
{
    const HDC hdc = zyn::gdi::CreatePrinterDC(100, 2000, 3000);
    if (!hdc)
        return nullptr;
    const DOCINFOW info{sizeof info, L"blank", nullptr, nullptr, 0};
    StartDocW(hdc, &info);
    for (int i = 0; i < pages; ++i) {
        StartPage(hdc);
        EndPage(hdc);
    }
    EndDoc(hdc);
    auto doc = zyn::gdi::PrinterDocument(hdc);
    DeleteDC(hdc);
    return doc;
}

// A PNG file's width and height, as read back (0 x 0 when it cannot be read).
std::pair<int, int> PngSize(const fs::path& file)
{
    zyn::test::GoldenPicture picture;
    zyn::test::ReadPicturePng(file.string(), picture);
    return {picture.width, picture.height};
}

// Each page becomes <stem>-page<N>.png in the folder, made when missing; a shorter
// printing of the same kind leaves no page of the longer one behind, another kind's
// pages stay; a folder that cannot be made is said, with nothing written.
TEST(HostPrintedPages, EachPageIsAPictureAndALaterPrintingReplacesTheLast)
{
    const fs::path dir = fs::path(zyn::test::TempRoot()) / "host-printed";
    fs::remove_all(dir);
    const auto three = PrintBlank(3), one = PrintBlank(1);
    ASSERT_TRUE(three && one);
    ASSERT_EQ(three->pages.size(), 3u);

    const fs::path folder = dir / "printed";
    host::SavedPages saved = host::SavePrintedPages(*three, folder, "session");
    EXPECT_EQ(saved.error, "");
    ASSERT_EQ(saved.files.size(), 3u);
    for (int n = 1; n <= 3; ++n) {
        EXPECT_EQ(saved.files[n - 1], folder / ("session-page" + std::to_string(n) + ".png"));
        EXPECT_EQ(PngSize(saved.files[n - 1]), (std::pair<int, int>{200, 300})) << n;
    }
    EXPECT_EQ(host::SavePrintedPages(*one, folder, "session-log").files.size(), 1u);

    saved = host::SavePrintedPages(*one, folder, "session");
    EXPECT_EQ(saved.error, "");
    EXPECT_EQ(saved.files, std::vector<fs::path>{folder / "session-page1.png"});
    for (const char* gone : {"session-page2.png", "session-page3.png"})
        EXPECT_FALSE(fs::exists(folder / gone)) << gone;
    EXPECT_TRUE(fs::exists(folder / "session-log-page1.png")) << "another kind's page stays";

    // A file where the folder should be.
    std::ofstream(dir / "taken") << "x";
    saved = host::SavePrintedPages(*three, dir / "taken" / "printed", "session");
    EXPECT_TRUE(saved.files.empty());
    EXPECT_NE(saved.error.find("cannot be made"), std::string::npos) << saved.error;
    fs::remove_all(dir);
}

} // namespace
