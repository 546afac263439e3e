// The log viewer headless: the first fill posted after the window appears, rows with
// dates and statuses, the shown session's text, reloads after a change on disk, emptying
// the log, opening another by the file dialog, the divider and the saved position.
#include <fstream>

#include <utime.h>

#include "platform/afx/filedlg.h"
#include "platform/gdi/icon.h"
#include "platform/suite/utility/logger.h"
#include "platform/gdi/sysmetrics.h"
#include "platform/gdi/wingdi.h"
#include "tests/support/testenv.h"
#include "tests/frames/log_viewer_test_support.h"
#include "tests/support/pump.h"

namespace zyn::test {
namespace {

TEST_F(LogViewerTest, FirstFillIsPostedAndShowsTheLastSession)
{
    const auto lines = ThreeSessions();
    const auto path = WriteLog("three.log", Joined(lines));
    TestViewer viewer(path.wstring().c_str());
    ASSERT_TRUE(viewer.Create(IDD_LOGVIEWER, nullptr));
    EXPECT_TRUE(viewer.IsCreated());
    EXPECT_EQ(viewer.m_listLog.GetItemCount(), 0) << "the fill waits until the window has appeared";
    Pump();
    ASSERT_EQ(viewer.m_listLog.GetItemCount(), 3);
    EXPECT_TRUE(viewer.m_bHasSessions);
    struct Row {
        const wchar_t* date;
        const wchar_t* status;
        size_t first, end; // line indexes
    } rows[] = {
        {L"[07/05/2008 09:00:00]", L"Warning", 0, 6},
        {L"[07/05/2008 10:00:00]", L"Unknown", 6, 9},
        {L"[07/05/2008 11:00:00]", L"Success", 9, 14},
    };
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(viewer.m_listLog.GetItemText(i, 0), rows[i].date) << i;
        EXPECT_EQ(viewer.m_listLog.GetItemText(i, 1), rows[i].status) << i;
        const auto* session = reinterpret_cast<const CDistLogObject*>(viewer.m_listLog.GetItemData(i));
        ASSERT_NE(session, nullptr);
        EXPECT_EQ(session->m_start, OffsetOf(lines, rows[i].first)) << i;
        EXPECT_EQ(session->m_end, OffsetOf(lines, rows[i].end)) << i;
    }
    EXPECT_EQ(viewer.m_listLog.GetItemState(2, LVIS_SELECTED), LVIS_SELECTED);
    std::string last;
    for (size_t i = 9; i < 14; ++i)
        last += lines[i];
    EXPECT_EQ(TextOf(viewer.m_editLog.m_hWnd), std::wstring(last.begin(), last.end()));
    EXPECT_EQ(TextOf(viewer.m_hWnd), Text(IDS_LOGVIEWER_TITLE) + path.wstring());
    viewer.DestroyWindow();
}


// Appends bytes and gives the file back the modification time it had (the fixed time
// WriteLog sets), so only its size tells the change.
void AppendKeepingTime(const std::filesystem::path& path, const std::string& bytes)
{
    {
        std::ofstream out(path, std::ios::binary | std::ios::app);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    const time_t when = CTime(2008, 7, 5, 15, 4, 5).GetTime();
    utimbuf times{when, when};
    ASSERT_EQ(::utime(path.c_str(), &times), 0);
}

const std::string kFourthSession = "****\n[07/06/2008 08:00:00] STARTED\nCOMPLETED\n****\n";

// Another top-level window to take the activation away and give it back.
HWND MakeOtherWindow()
{
    static const wchar_t* kClass = L"LogViewerTestOther";
    WNDCLASSW wc{};
    wc.lpfnWndProc = &::DefWindowProcW;
    wc.lpszClassName = kClass;
    ::RegisterClassW(&wc);
    return ::CreateWindowExW(0, kClass, L"other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100, nullptr, nullptr,
        nullptr, nullptr);
}

void Reactivate(HWND viewer, HWND other)
{
    ::SetActiveWindow(other);
    ::SetActiveWindow(viewer);
    zyn::test::PumpMessages();
}

TEST_F(LogViewerTest, ChangeOnDiskAsksOnceUnlessAutoLoading)
{
    const auto path = WriteLog("grow.log", Joined(ThreeSessions()));
    HWND other = MakeOtherWindow();
    TestViewer viewer(path.wstring().c_str());
    Open(viewer);
    ASSERT_EQ(viewer.m_listLog.GetItemCount(), 3);
    const auto boxes = [] { return Shown(user::AnswerKind::MessageBox).size(); };

    Reactivate(viewer.m_hWnd, other);
    EXPECT_EQ(boxes(), 0u) << "nothing changed";

    // Grown within the second the fill recorded: only the size tells.
    AppendKeepingTime(path, kFourthSession);
    user::AnswerScript::Push(user::AnswerKind::MessageBox, IDNO);
    Reactivate(viewer.m_hWnd, other);
    ASSERT_EQ(boxes(), 1u);
    EXPECT_EQ(Shown(user::AnswerKind::MessageBox)[0].text, Text(IDS_LOGVIEWER_RELOAD));
    EXPECT_EQ(viewer.m_listLog.GetItemCount(), 3) << "No keeps the list";
    Reactivate(viewer.m_hWnd, other);
    EXPECT_EQ(boxes(), 1u) << "the change was recorded: it is not asked about again";

    AppendKeepingTime(path, kFourthSession);
    user::AnswerScript::Push(user::AnswerKind::MessageBox, IDYES);
    Reactivate(viewer.m_hWnd, other);
    EXPECT_EQ(boxes(), 2u);
    EXPECT_EQ(viewer.m_listLog.GetItemCount(), 5);

    viewer.SetAutoLoadLog(TRUE);
    AppendKeepingTime(path, kFourthSession);
    Reactivate(viewer.m_hWnd, other);
    EXPECT_EQ(boxes(), 2u) << "auto-load asks nothing";
    EXPECT_EQ(viewer.m_listLog.GetItemCount(), 6);
    viewer.DestroyWindow();
    ::DestroyWindow(other);
}

TEST_F(LogViewerTest, SelectingARowAfterAChangeRefillsAndSelectsThatRowAgain)
{
    const auto lines = ThreeSessions();
    const auto path = WriteLog("reselect.log", Joined(lines));
    TestViewer viewer(path.wstring().c_str());
    Open(viewer);
    AppendKeepingTime(path, kFourthSession);
    user::AnswerScript::Push(user::AnswerKind::MessageBox, IDYES);
    EXPECT_TRUE(viewer.m_listLog.SelectItem(0, TRUE));
    Pump();
    EXPECT_EQ(Shown(user::AnswerKind::MessageBox).size(), 1u);
    ASSERT_EQ(viewer.m_listLog.GetItemCount(), 4);
    EXPECT_EQ(viewer.m_listLog.GetItemState(0, LVIS_SELECTED), LVIS_SELECTED);
    EXPECT_EQ(viewer.m_listLog.GetItemState(3, LVIS_SELECTED), 0u);
    std::string first;
    for (size_t i = 0; i < 6; ++i)
        first += lines[i];
    EXPECT_EQ(TextOf(viewer.m_editLog.m_hWnd), std::wstring(first.begin(), first.end()));
    viewer.DestroyWindow();
}

TEST_F(LogViewerTest, NulByteShowsAsItsSymbolAndHidesNothingAfterIt)
{
    const char raw[] = "****\n[07/05/2008 09:00:00] STARTED\nbefore\0after\nCOMPLETED\n****\n";
    const std::string log(raw, sizeof raw - 1);
    const auto path = WriteLog("nul.log", log);
    TestViewer viewer(path.wstring().c_str());
    Open(viewer);
    ASSERT_EQ(viewer.m_listLog.GetItemCount(), 1);
    const std::wstring text = TextOf(viewer.m_editLog.m_hWnd);
    EXPECT_NE(text.find(L"before\x2400" L"after\nCOMPLETED\n****\n"), std::wstring::npos) << "[" << text.size() << "]";
    viewer.DestroyWindow();
}

TEST_F(LogViewerTest, MissingFileGivesAnEmptyListAndStillNamesTheFile)
{
    const std::wstring path = (std::filesystem::path(TempRoot()) / "nowhere" / "missing.log").wstring();
    TestViewer viewer(path.c_str());
    Open(viewer);
    EXPECT_EQ(viewer.m_listLog.GetItemCount(), 0);
    EXPECT_EQ(TextOf(viewer.m_hWnd), Text(IDS_LOGVIEWER_TITLE) + path);
    EXPECT_TRUE(Shown(user::AnswerKind::MessageBox).empty());
    EXPECT_TRUE(Shown(user::AnswerKind::Progress).empty()) << "no progress without a file";
    viewer.DestroyWindow();
}

TEST_F(LogViewerTest, ScriptedCancelKeepsTheSessionsReadSoFar)
{
    std::string log;
    for (int i = 0; i < 200; ++i)
        log += "****\n[07/05/2008 09:00:00] STARTED\nsome work done here\nCOMPLETED\n****\n";
    const auto path = WriteLog("long.log", log);
    user::Answer cancel;
    cancel.code = IDCANCEL;
    cancel.position = 50;
    user::AnswerScript::Push(user::AnswerKind::Progress, cancel);
    TestViewer viewer(path.wstring().c_str());
    Open(viewer);
    // Cancel is pressed at the first question once 50 % was shown: the sessions up to the
    // one being read at that point are kept (each session is 1/200 of the file).
    const int rows = viewer.m_listLog.GetItemCount();
    EXPECT_GE(rows, 99);
    EXPECT_LE(rows, 101);
    const auto progress = Shown(user::AnswerKind::Progress);
    ASSERT_EQ(progress.size(), 1u);
    EXPECT_EQ(progress[0].result, IDCANCEL);
    EXPECT_TRUE(progress[0].scripted);
    EXPECT_EQ(progress[0].text, Text(IDS_LOGVIEWER_PROGRESS));
    EXPECT_TRUE(::IsWindowEnabled(viewer.m_hWnd)) << "the viewer is enabled again after the fill";
    viewer.DestroyWindow();
}

TEST_F(LogViewerTest, ReaderMembersWalkTheFileFromItsStart)
{
    const auto lines = ThreeSessions();
    const auto path = WriteLog("walk.log", Joined(lines));
    TestViewer viewer(path.wstring().c_str());
    // No window is needed to walk the file.
    struct Session {
        size_t banner;
        const wchar_t* date;
        const wchar_t* status;
        size_t end;
    } sessions[] = {
        {0, L"[07/05/2008 09:00:00]", L"Warning", 6},
        {6, L"[07/05/2008 10:00:00]", L"Unknown", 9},
        {9, L"[07/05/2008 11:00:00]", L"Success", 14},
    };
    for (const auto& s : sessions) {
        EXPECT_EQ(viewer.GetStartPosition(), OffsetOf(lines, s.banner)) << s.banner;
        CString date, status;
        EXPECT_TRUE(viewer.GetStartDate(date)) << s.banner;
        EXPECT_EQ(date, s.date);
        EXPECT_EQ(viewer.GetStatus(status), OffsetOf(lines, s.end)) << s.banner;
        EXPECT_EQ(status, s.status);
    }
    EXPECT_EQ(viewer.GetStartPosition(), frames::kLogEnd);

    // A fill (here without a window: it fills nothing) starts the walk over.
    viewer.FillList();
    EXPECT_FALSE(viewer.m_bHasSessions);
    CString line;
    EXPECT_EQ(viewer.GetLine(line), 0u);
    EXPECT_EQ(line, L"************************\r\n");
    EXPECT_EQ(viewer.GetLine(line), OffsetOf(lines, 1));
    EXPECT_TRUE(TestViewer::IsStartPosition(line));
    CString completed = L"Import COMPLETED\r\n";
    EXPECT_TRUE(viewer.IsEndPosition(completed));
    EXPECT_EQ(completed, L"reading panel 1\r\n") << "the line after the one handed in";
    CString other = L"nothing to see";
    EXPECT_FALSE(viewer.IsEndPosition(other));
    EXPECT_EQ(other, L"nothing to see");

    TestViewer missing((std::filesystem::path(TempRoot()) / "no.log").wstring().c_str());
    CString date;
    EXPECT_EQ(missing.GetStartPosition(), frames::kLogEnd);
    EXPECT_FALSE(missing.GetStartDate(date));
}

TEST_F(LogViewerTest, LargeSessionsAreShownWholeOrSaySoWhenTooLarge)
{
    // Some megabytes in one session: every line reaches the text box.
    std::string log = "****\r\n[07/05/2008 09:00:00] STARTED\r\n";
    const std::string body = "progress line with some words in it, number ";
    constexpr int kLines = 60000;
    for (int i = 0; i < kLines; ++i)
        log += body + std::to_string(i) + "\r\n";
    log += "COMPLETED\r\n****\r\n";
    const auto path = WriteLog("big.log", log);
    TestViewer viewer(path.wstring().c_str());
    Open(viewer);
    ASSERT_EQ(viewer.m_listLog.GetItemCount(), 1);
    // The lines plus the empty one after the final break.
    EXPECT_EQ(viewer.m_editLog.GetLineCount(), kLines + 4 + 1);
    EXPECT_EQ(static_cast<size_t>(::GetWindowTextLengthW(viewer.m_editLog.m_hWnd)), log.size());

    // Beyond what the box is given: what it shows is followed by a note of the rest.
    viewer.m_nMaxShownBytes = 1000;
    viewer.m_listLog.SelectItem(0, TRUE);
    const std::wstring text = TextOf(viewer.m_editLog.m_hWnd);
    ASSERT_GT(text.size(), 1000u);
    EXPECT_EQ(text.substr(0, 1000), std::wstring(log.begin(), log.begin() + 1000));
    CString note;
    note.FormatMessage(IDS_LOGVIEWER_NOT_SHOWN, std::to_wstring(log.size() - 1000).c_str());
    EXPECT_EQ(text.substr(1000), L"\r\n" + std::wstring(note.GetString()));
    viewer.DestroyWindow();
}

// ---- emptying the log ----------------------------------------------------------------------------------------

TEST_F(LogViewerTest, EmptyingTheLogAsksFirstAndRefills)
{
    const auto path = WriteLog("purge.log", Joined(ThreeSessions()));
    TestViewer viewer(path.wstring().c_str());
    Open(viewer);

    user::AnswerScript::Push(user::AnswerKind::MessageBox, IDNO);
    viewer.SendMessage(WM_COMMAND, ID_LOGVIEWER_PURGE);
    EXPECT_EQ(std::filesystem::file_size(path), Joined(ThreeSessions()).size());
    EXPECT_EQ(viewer.m_listLog.GetItemCount(), 3);

    user::AnswerScript::Push(user::AnswerKind::MessageBox, IDYES);
    viewer.SendMessage(WM_COMMAND, ID_LOGVIEWER_PURGE);
    const auto boxes = Shown(user::AnswerKind::MessageBox);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].text, Text(IDS_LOGVIEWER_PURGE));
    EXPECT_EQ(std::filesystem::file_size(path), 0u);
    // An empty file: the one whole-file row from 0 to 0, without a status.
    ASSERT_EQ(viewer.m_listLog.GetItemCount(), 1);
    const auto* whole = reinterpret_cast<const CDistLogObject*>(viewer.m_listLog.GetItemData(0));
    ASSERT_NE(whole, nullptr);
    EXPECT_EQ(whole->m_start, 0u);
    EXPECT_EQ(whole->m_end, 0u);
    EXPECT_EQ(viewer.m_listLog.GetItemText(0, 1), L"");
    EXPECT_FALSE(viewer.m_bHasSessions);
    viewer.DestroyWindow();
}

TEST_F(LogViewerTest, EmptyingALogThatCannotBeCreatedShowsTheErrorAndKeepsTheList)
{
    // The log's folder is replaced by a plain file, so the log can neither be opened nor
    // made again (permissions would not stop the root user the tests may run as).
    const std::filesystem::path dir = std::filesystem::path(TempRoot()) / "purge_fail";
    std::filesystem::create_directories(dir);
    const std::filesystem::path path = dir / "gone.log";
    {
        std::ofstream out(path, std::ios::binary);
        out << Joined(ThreeSessions());
    }
    TestViewer viewer(path.wstring().c_str());
    Open(viewer);
    ASSERT_EQ(viewer.m_listLog.GetItemCount(), 3);
    std::filesystem::remove_all(dir);
    { std::ofstream blocker(dir); }

    user::AnswerScript::Push(user::AnswerKind::MessageBox, IDYES);
    user::AnswerScript::Push(user::AnswerKind::MessageBox, IDOK);
    viewer.SendMessage(WM_COMMAND, ID_LOGVIEWER_PURGE);
    const auto boxes = Shown(user::AnswerKind::MessageBox);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, Text(IDS_LOGVIEWER_PURGE));
    EXPECT_NE(boxes[1].text.find(path.filename().wstring()), std::wstring::npos)
        << "the file error names the file: " << std::string(boxes[1].text.begin(), boxes[1].text.end());
    EXPECT_EQ(boxes[1].type & MB_ICONMASK, static_cast<UINT>(MB_ICONEXCLAMATION));
    EXPECT_EQ(viewer.m_listLog.GetItemCount(), 3) << "the old list stays";
    viewer.DestroyWindow();
    std::filesystem::remove(dir);
}

// ---- opening another log ---------------------------------------------------------------------------------------

TEST_F(LogViewerTest, OpenAsksTheFileDialogForALogAndReadsIt)
{
    const auto first = WriteLog("first.log", Joined(ThreeSessions()));
    const auto second = WriteLog("second.log", kFourthSession);
    TestViewer viewer(first.wstring().c_str());
    Open(viewer);

    viewer.SendMessage(WM_COMMAND, ID_LOGVIEWER_OPEN); // no answer: a cancel
    EXPECT_EQ(viewer.GetLogFilePath(), first.wstring().c_str());
    EXPECT_EQ(viewer.m_listLog.GetItemCount(), 3);

    user::Answer pick;
    pick.code = IDOK;
    pick.text = second.wstring();
    user::AnswerScript::Push(user::AnswerKind::FileDialog, pick);
    viewer.SendMessage(WM_COMMAND, ID_LOGVIEWER_OPEN);
    const auto dialogs = Shown(user::AnswerKind::FileDialog);
    ASSERT_EQ(dialogs.size(), 2u);
    for (const auto& d : dialogs) {
        constexpr DWORD kAsked = OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_FILEMUSTEXIST;
        EXPECT_EQ(d.flags & ~static_cast<DWORD>(OFN_EXPLORER), kAsked);
        EXPECT_EQ(d.filter, L"Log Files (*.log)|*.log|All Files (*.*)|*.*|");
        EXPECT_EQ(d.defaultExt, L"LOG");
        EXPECT_EQ(d.initialDir, CLogger::GetLogDir().GetString());
    }
    EXPECT_EQ(viewer.GetLogFilePath(), second.wstring().c_str());
    EXPECT_EQ(TextOf(viewer.m_hWnd), Text(IDS_LOGVIEWER_TITLE) + second.wstring());
    ASSERT_EQ(viewer.m_listLog.GetItemCount(), 1);
    EXPECT_EQ(viewer.m_listLog.GetItemText(0, 0), L"[07/06/2008 08:00:00]");
    viewer.DestroyWindow();
}

// ---- the divider -------------------------------------------------------------------------------------------------

TEST_F(LogViewerTest, DividerShowsTheSizingCursorAndStaysInsideTheWindow)
{
    const auto path = WriteLog("divider.log", Joined(ThreeSessions()));
    TestViewer viewer(path.wstring().c_str());
    Open(viewer);
    auto clientRect = [&](CWnd& w) {
        CRect r;
        w.GetWindowRect(r);
        viewer.ScreenToClient(r);
        return r;
    };
    CRect window;
    viewer.GetWindowRect(window);
    viewer.ScreenToClient(window);
    const CRect list = clientRect(viewer.m_listLog);
    const CRect edit = clientRect(viewer.m_editLog);
    ASSERT_EQ(edit.left - list.right, 5) << "the text box stands 5 pixels right of the list";
    auto toScreen = [&](int x, int y) {
        CPoint p(x, y);
        viewer.ClientToScreen(&p);
        return p;
    };
    const int midY = (list.top + list.bottom) / 2;
    const CPoint inGap = toScreen(list.right + 2, midY);

    user::InjectMouseMove(inGap.x, inGap.y);
    Pump();
    EXPECT_EQ(::GetCursor(), ::LoadCursorW(nullptr, IDC_SIZEWE));
    const CPoint onList = toScreen(list.right - 10, midY);
    user::InjectMouseMove(onList.x, onList.y);
    Pump();
    EXPECT_NE(::GetCursor(), ::LoadCursorW(nullptr, IDC_SIZEWE));

    struct Drag {
        const char* name;
        int releaseX;     // client coordinates
        int expectRight;  // the list's right edge afterwards
    } drags[] = {
        {"within the window", 200, 200},
        {"beyond the right edge", window.right + 40, window.right - 15},
        {"beyond the left edge", window.left - 40, window.left + 10},
        {"inside the right margin", window.right - 5, window.right - 15},
    };
    for (const auto& d : drags) {
        const CRect now = clientRect(viewer.m_listLog);
        const CPoint start = toScreen(now.right + 2, midY);
        user::InjectMouseMove(start.x, start.y);
        user::InjectMouseButton(user::MouseButton::Left, true);
        Pump();
        EXPECT_EQ(::GetCapture(), viewer.m_hWnd) << d.name;
        const CPoint end = toScreen(d.releaseX, midY);
        user::InjectMouseMove(end.x, end.y);
        user::InjectMouseButton(user::MouseButton::Left, false);
        Pump();
        EXPECT_EQ(::GetCapture(), nullptr) << d.name;
        const CRect after = clientRect(viewer.m_listLog);
        EXPECT_EQ(after.right, d.expectRight) << d.name;
        EXPECT_EQ(clientRect(viewer.m_editLog).left, d.expectRight + 5) << d.name;
    }
    viewer.DestroyWindow();
}

// ---- the saved position -------------------------------------------------------------------------------------------

TEST_F(LogViewerTest, WindowPositionIsKeptInAcsIni)
{
    const auto path = WriteLog("pos.log", Joined(ThreeSessions()));
    // Where the template alone puts the window: a plain dialog of the same template that
    // the class library does not centre.
    struct Uncentred : CDialog {
        Uncentred() : CDialog(IDD_LOGVIEWER) {}
        BOOL CheckAutoCenter() override { return FALSE; }
    };
    CRect templateRect;
    {
        Uncentred plain;
        ASSERT_TRUE(plain.Create(IDD_LOGVIEWER, nullptr));
        plain.GetWindowRect(templateRect);
        plain.DestroyWindow();
    }
    struct Case {
        const char* name;
        bool write;
        std::vector<uint8_t> bytes; // what ACS.INI holds (through the structure functions)
        CRect expect;
    };
    RECT saved{100, 120, 700, 520};
    const auto* raw = reinterpret_cast<const uint8_t*>(&saved);
    auto bytesOf = [](const RECT& r) {
        const auto* p = reinterpret_cast<const uint8_t*>(&r);
        return std::vector<uint8_t>(p, p + sizeof r);
    };
    // Off every screen: moved the least distance onto the work area (the whole screen here).
    const int cxScreen = ::GetSystemMetrics(SM_CXSCREEN), cyScreen = ::GetSystemMetrics(SM_CYSCREEN);
    const Case cases[] = {
        {"none kept", false, {}, templateRect},
        {"kept", true, std::vector<uint8_t>(raw, raw + sizeof saved), CRect(100, 120, 700, 520)},
        {"wrong size", true, std::vector<uint8_t>(raw, raw + 8), templateRect},
        {"beyond any screen", true, bytesOf(RECT{INT_MIN + 1, 0, INT_MAX, 400}), templateRect},
        {"off every screen", true, bytesOf(RECT{9000, 9000, 9600, 9400}),
            CRect(cxScreen - 600, cyScreen - 400, cxScreen, cyScreen)},
    };
    for (const auto& c : cases) {
        ::WritePrivateProfileStringW(L"LogViewer", nullptr, nullptr, L"ACS.INI");
        if (c.write) {
            ASSERT_TRUE(::WritePrivateProfileStructW(L"LogViewer", L"WindowPos", const_cast<uint8_t*>(c.bytes.data()),
                static_cast<UINT>(c.bytes.size()), L"ACS.INI"));
        }
        TestViewer viewer(path.wstring().c_str());
        const ErrorLogMark mark;
        Open(viewer);
        CRect now;
        viewer.GetWindowRect(now);
        EXPECT_EQ(now, c.expect) << c.name;
        // Every refusal is told; nothing kept is none.
        const bool refused = std::string(c.name) == "beyond any screen" || std::string(c.name) == "wrong size";
        EXPECT_EQ(mark.NewText().find("[LogViewer] WindowPos was refused") != std::string::npos, refused)
            << c.name << ": " << mark.NewText();
        EXPECT_TRUE(viewer.IsWindowVisible()) << c.name;
        viewer.DestroyWindow();
    }

    // Round trip: the rectangle the window had is what the next viewer opens with.
    TestViewer moved(path.wstring().c_str());
    Open(moved);
    moved.SetWindowPos(nullptr, 33, 44, 512, 384, SWP_NOZORDER);
    EXPECT_TRUE(moved.DestroyWindow());
    EXPECT_FALSE(moved.IsCreated());
    RECT back{};
    ASSERT_TRUE(::GetPrivateProfileStructW(L"LogViewer", L"WindowPos", &back, sizeof back, L"ACS.INI"));
    EXPECT_EQ(CRect(back), CRect(33, 44, 33 + 512, 44 + 384));
    TestViewer again(path.wstring().c_str());
    Open(again);
    CRect now;
    again.GetWindowRect(now);
    EXPECT_EQ(now, CRect(33, 44, 33 + 512, 44 + 384));
    again.DestroyWindow();
}

TEST_F(LogViewerTest, ExitAndCancelEndTheViewerWithoutSavingItsPlace)
{
    const auto path = WriteLog("exit.log", Joined(ThreeSessions()));
    for (UINT command : {static_cast<UINT>(ID_LOGVIEWER_EXIT), static_cast<UINT>(IDCANCEL)}) {
        ::WritePrivateProfileStringW(L"LogViewer", nullptr, nullptr, L"ACS.INI");
        TestViewer viewer(path.wstring().c_str());
        Open(viewer);
        viewer.SendMessage(WM_COMMAND, command);
        EXPECT_FALSE(viewer.IsCreated()) << command;
        EXPECT_FALSE(viewer.IsWindowVisible()) << command;
        RECT back{};
        EXPECT_FALSE(::GetPrivateProfileStructW(L"LogViewer", L"WindowPos", &back, sizeof back, L"ACS.INI")) << command;
        viewer.CDialog::DestroyWindow();
    }
}

} // namespace
} // namespace zyn::test
