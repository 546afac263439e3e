// Printing a session: the recorded text runs of each page (headers, whole lines wrapped
// on the paper, a line taller than a page continued on the next ones, tabs as blanks, the
// last line kept unless it is the empty one after a final break), the document's name,
// and the pages as PNG pictures (written to printed/ in the run's temporary folder).
#include <algorithm>

#include "frames/log_print.h"
#include "platform/afx/printdlg.h"
#include "platform/gdi/png_export.h"
#include "platform/gdi/surface.h"
#include "platform/gdi/wingdi.h"
#include "tests/frames/log_viewer_test_support.h"

namespace zyn::test {
namespace {

// A small page at a low resolution: 3 x 2 inches at 100 DPI is 300 x 200 pixels.
constexpr int kDpi = 100, kPaperWidth = 3000, kPaperHeight = 2000;

std::wstring Wide(const std::string& s) { return std::wstring(s.begin(), s.end()); }

// The runs of a page after its header (the header's three lines: prefix and path, the
// page number, an empty line).
std::vector<gdi::PrintedRun> BodyRuns(const gdi::PrintedPage& page)
{
    return std::vector<gdi::PrintedRun>(page.runs.begin() + std::min<size_t>(3, page.runs.size()), page.runs.end());
}

void SavePages(const gdi::PrintedDocument& doc, const std::string& name)
{
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "printed";
    std::filesystem::create_directories(dir);
    for (size_t i = 0; i < doc.pages.size(); ++i)
        EXPECT_TRUE(gdi::SaveSurfacePng(*doc.pages[i].image, nullptr,
            (dir / (name + "_page" + std::to_string(i + 1) + ".png")).string()));
}

class LogPrintTest : public LogViewerTest {};

TEST_F(LogPrintTest, PagesCarryHeadersAndWholeLines)
{
    // 3000 characters without a blank: the paper's width holds a few dozen, so the line
    // wraps into more rows than one page has room for.
    std::wstring longLine;
    for (int i = 0; i < 300; ++i)
        longLine += L"0123456789";
    const std::vector<CString> lines{L"first\tline", CString(longLine.c_str()), L"last"};
    HDC hdc = gdi::CreatePrinterDC(kDpi, kPaperWidth, kPaperHeight);
    ASSERT_NE(hdc, nullptr);
    const int pages = frames::PrintLogLines(hdc, L"Session log ", L"/var/log/site.log", lines);
    ::DeleteDC(hdc);

    const auto docs = gdi::PrintedDocuments();
    ASSERT_EQ(docs.size(), 1u) << "the document outlives its DC";
    const gdi::PrintedDocument& doc = *docs[0];
    EXPECT_EQ(doc.name, L"/var/log/site.log");
    ASSERT_EQ(pages, static_cast<int>(doc.pages.size()));
    ASSERT_GE(pages, 3) << "the long line needs more than one page";
    SavePages(doc, "whole_lines");

    std::wstring printed;
    for (size_t p = 0; p < doc.pages.size(); ++p) {
        const auto& runs = doc.pages[p].runs;
        ASSERT_GE(runs.size(), 3u) << p;
        EXPECT_EQ(runs[0].text, L"Session log /var/log/site.log") << p;
        EXPECT_EQ(runs[1].text, L"Page: " + std::to_wstring(p + 1)) << p;
        EXPECT_EQ(runs[2].text, L"") << p;
        // The header starts at the printable area's corner: a quarter inch in, 25 pixels.
        EXPECT_EQ(runs[0].rect.left, 25) << p;
        EXPECT_EQ(runs[0].rect.top, 25) << p;
        EXPECT_EQ(doc.printable.right, 300 - 25) << p;
        int previousBottom = runs[2].rect.bottom;
        for (const auto& run : BodyRuns(doc.pages[p])) {
            // Inside the paper, one below the other, never over each other.
            EXPECT_GE(run.rect.left, doc.printable.left) << p;
            EXPECT_LE(run.rect.right, doc.printable.right) << p;
            EXPECT_GE(run.rect.top, previousBottom) << p;
            EXPECT_LE(run.rect.bottom, doc.printable.bottom) << p;
            previousBottom = run.rect.bottom;
            printed += run.text + L"|";
        }
    }
    // Every row of the long line once, in order, between the tab-expanded first line and
    // the last line.
    std::wstring rows;
    const std::wstring body = printed;
    ASSERT_EQ(body.rfind(L"first    line|", 0), 0u) << std::string(body.begin(), body.begin() + 40);
    ASSERT_GE(body.size(), 5u);
    EXPECT_EQ(body.substr(body.size() - 5), L"last|");
    for (wchar_t c : body.substr(14, body.size() - 14 - 5))
        if (c != L'|')
            rows += c;
    EXPECT_EQ(rows, longLine);
}

TEST_F(LogPrintTest, TabsBecomeFourBlanks)
{
    const struct {
        const wchar_t* in;
        const wchar_t* out;
    } cases[] = {
        {L"", L""}, {L"\t", L"    "}, {L"a\tb", L"a    b"}, {L"\t\tx\t", L"        x    "}, {L"no tab", L"no tab"}};
    for (const auto& c : cases)
        EXPECT_EQ(TestViewer::RemoveTabs(c.in), c.out) << std::string(c.in, c.in + wcslen(c.in));
}

TEST_F(LogPrintTest, ViewerPrintsTheShownSessionByThePrintDialog)
{
    struct Case {
        const char* name;
        std::string tail;                 // the session's end, after its start line
        std::vector<std::string> printed; // the lines expected after the start line
    } cases[] = {
        {"ends with a line break", "one\r\ntwo\tx\r\nCOMPLETED\r\n", {"one", "two    x", "COMPLETED"}},
        {"last line without a break", "one\r\nCOMPLETED\r\nclosing", {"one", "COMPLETED", "closing"}},
        {"an empty line inside", "one\r\n\r\nCOMPLETED\r\n", {"one", "", "COMPLETED"}},
    };
    for (const auto& c : cases) {
        gdi::ClearPrintedDocuments();
        user::AnswerScript::Clear();
        const std::string banner = "****\r\n", start = "[07/05/2008 09:00:00] STARTED\r\n";
        const auto path = WriteLog("print.log", banner + start + c.tail);
        TestViewer viewer(path.wstring().c_str());
        Open(viewer);
        ASSERT_EQ(viewer.m_listLog.GetItemCount(), 1) << c.name;

        user::Answer answer;
        answer.code = IDOK;
        answer.dpi = kDpi;
        answer.paperWidthMils = 8500;
        answer.paperHeightMils = 11000;
        user::AnswerScript::Push(user::AnswerKind::PrintDialog, answer);
        viewer.SendMessage(WM_COMMAND, ID_LOGVIEWER_PRINT);

        const auto dialogs = Shown(user::AnswerKind::PrintDialog);
        ASSERT_EQ(dialogs.size(), 1u) << c.name;
        constexpr DWORD kAsked = PD_USEDEVMODECOPIES | PD_NOPAGENUMS | PD_HIDEPRINTTOFILE | PD_NOSELECTION;
        EXPECT_EQ(dialogs[0].flags & (PD_ALLPAGES | kAsked), kAsked) << c.name << ": PD_ALLPAGES is 0";
        const auto docs = gdi::PrintedDocuments();
        ASSERT_EQ(docs.size(), 1u) << c.name;
        EXPECT_EQ(docs[0]->name, path.wstring()) << c.name;
        EXPECT_EQ(docs[0]->dpi, kDpi) << c.name;
        // The answer's paper at its resolution: 8.5 x 11 inches at 100 DPI.
        EXPECT_EQ(docs[0]->widthPx, 850) << c.name;
        EXPECT_EQ(docs[0]->heightPx, 1100) << c.name;
        ASSERT_EQ(docs[0]->pages.size(), 1u) << c.name;
        const auto& runs = docs[0]->pages[0].runs;
        ASSERT_GE(runs.size(), 3u) << c.name;
        EXPECT_EQ(runs[0].text, Text(IDS_LOGVIEWER_PRINT_HEADER) + path.wstring()) << c.name;
        // An empty line draws no run but takes its row: the next run stands one row lower.
        const auto runsBelow = BodyRuns(docs[0]->pages[0]);
        std::vector<std::wstring> expect{L"****", L"[07/05/2008 09:00:00] STARTED"};
        std::vector<int> rowsBefore{1, 1}; // rows from the previous run's top to this one's
        int pendingRows = 1;
        for (const auto& l : c.printed) {
            if (l.empty()) {
                ++pendingRows;
                continue;
            }
            expect.push_back(Wide(l));
            rowsBefore.push_back(pendingRows);
            pendingRows = 1;
        }
        std::vector<std::wstring> body;
        for (const auto& r : runsBelow)
            body.push_back(r.text);
        EXPECT_EQ(body, expect) << c.name;
        for (size_t i = 1; i < runsBelow.size() && i < rowsBefore.size(); ++i) {
            const int row = runsBelow[i - 1].rect.bottom - runsBelow[i - 1].rect.top;
            EXPECT_EQ(runsBelow[i].rect.top - runsBelow[i - 1].rect.top, rowsBefore[i] * row) << c.name << " run " << i;
        }
        if (std::string(c.name) == "ends with a line break")
            SavePages(*docs[0], "session");
        viewer.DestroyWindow();
    }
}

TEST_F(LogPrintTest, CancelledPrintDialogPrintsNothing)
{
    const auto path = WriteLog("noprint.log", Joined(ThreeSessions()));
    TestViewer viewer(path.wstring().c_str());
    Open(viewer);
    user::AnswerScript::Push(user::AnswerKind::PrintDialog, IDCANCEL);
    viewer.SendMessage(WM_COMMAND, ID_LOGVIEWER_PRINT);
    EXPECT_TRUE(gdi::PrintedDocuments().empty());
    viewer.DestroyWindow();
}

} // namespace
} // namespace zyn::test
