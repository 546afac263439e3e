// The printer DC's documents: what EndDoc files (name, pages, each page's text runs and
// their cells) outlives the DC; runs outside the clip are not noted; AbortDoc files
// nothing; the record keeps the last documents only.
#include <string>

#include "platform/gdi/printer.h"
#include "tests/gdi/gdi_test_support.h"

namespace zyn::test {
namespace {

class PrinterDocs : public GdiTest {
protected:
    void SetUp() override
    {
        GdiTest::SetUp();
        gdi::ClearPrintedDocuments();
    }
    void TearDown() override
    {
        gdi::ClearPrintedDocuments();
        GdiTest::TearDown();
    }
};

TEST_F(PrinterDocs, FinishedDocumentKeepsItsRunsAfterTheDcIsGone)
{
    // 100 DPI on 4 x 2 inch paper: pages of 400 x 200 pixels. No margins, so device and
    // sheet pixels agree.
    HDC p = gdi::CreatePrinterDC(100, 4000, 2000, 0);
    ASSERT_TRUE(p);
    DOCINFOW di{sizeof di, L"Quarterly log", nullptr, nullptr, 0};
    ASSERT_GT(StartDocW(p, &di), 0);
    EXPECT_EQ(gdi::PrinterDocument(p)->name, L"Quarterly log");
    ASSERT_GT(StartPage(p), 0);
    TEXTMETRICW tm{};
    GetTextMetricsW(p, &tm);
    SIZE hello{}, right{};
    GetTextExtentPoint32W(p, L"hello", 5, &hello);
    GetTextExtentPoint32W(p, L"right", 5, &right);
    TextOutW(p, 10, 20, L"hello", 5);
    SetTextAlign(p, TA_RIGHT | TA_TOP);
    TextOutW(p, 300, 50, L"right", 5);
    SetTextAlign(p, TA_LEFT | TA_TOP);
    // Outside the clip: drawn nowhere, noted nowhere.
    IntersectClipRect(p, 0, 0, 400, 100);
    TextOutW(p, 10, 150, L"hidden", 6);
    SelectClipRgn(p, nullptr);
    RECT box{10, 100, 390, 200};
    DrawTextW(p, L"a\tb\nsecond", -1, &box, DT_EXPANDTABS | DT_NOPREFIX);
    ASSERT_GT(EndPage(p), 0);
    ASSERT_GT(StartPage(p), 0);
    TextOutW(p, 0, 0, L"page two", 8);
    ASSERT_GT(EndDoc(p), 0);
    DeleteDC(p);

    const auto docs = gdi::PrintedDocuments();
    ASSERT_EQ(docs.size(), 1u);
    const gdi::PrintedDocument& doc = *docs[0];
    EXPECT_EQ(doc.name, L"Quarterly log");
    EXPECT_EQ(doc.dpi, 100);
    EXPECT_EQ(doc.widthPx, 400);
    EXPECT_EQ(doc.heightPx, 200);
    ASSERT_EQ(doc.pages.size(), 2u);
    ASSERT_TRUE(doc.pages[0].image);
    EXPECT_EQ(doc.pages[0].image->Width(), 400);

    const int line = tm.tmHeight;
    struct Run {
        std::wstring text;
        RECT rect;
    } expect[] = {
        {L"hello", {10, 20, 10 + hello.cx, 20 + line}},
        {L"right", {300 - right.cx, 50, 300, 50 + line}},
        {L"a\tb", {10, 100, -1, 100 + line}},  // a tab's gap shows as the tab
        {L"second", {10, 100 + line, -1, 100 + 2 * line}},
    };
    const auto& runs = doc.pages[0].runs;
    ASSERT_EQ(runs.size(), std::size(expect));
    for (size_t i = 0; i < runs.size(); ++i) {
        EXPECT_EQ(runs[i].text, expect[i].text) << i;
        EXPECT_EQ(runs[i].rect.left, expect[i].rect.left) << i;
        EXPECT_EQ(runs[i].rect.top, expect[i].rect.top) << i;
        EXPECT_EQ(runs[i].rect.bottom, expect[i].rect.bottom) << i;
        if (expect[i].rect.right >= 0)
            EXPECT_EQ(runs[i].rect.right, expect[i].rect.right) << i;
        else
            EXPECT_GT(runs[i].rect.right, runs[i].rect.left) << i;
    }
    ASSERT_EQ(doc.pages[1].runs.size(), 1u);
    EXPECT_EQ(doc.pages[1].runs[0].text, L"page two");
}

TEST_F(PrinterDocs, AbortedDocumentsAreNotFiledAndOnlyTheLastAreKept)
{
    HDC p = gdi::CreatePrinterDC(50, 1000, 1000);
    ASSERT_TRUE(p);
    DOCINFOW aborted{sizeof aborted, L"aborted", nullptr, nullptr, 0};
    ASSERT_GT(StartDocW(p, &aborted), 0);
    ASSERT_GT(StartPage(p), 0);
    TextOutW(p, 0, 0, L"x", 1);
    EXPECT_GT(AbortDoc(p), 0);
    EXPECT_TRUE(gdi::PrintedDocuments().empty());
    EXPECT_EQ(gdi::PrinterDocument(p), nullptr);

    const size_t total = gdi::kPrintedDocumentsKept + 3;
    for (size_t i = 1; i <= total; ++i) {
        const std::wstring name = L"doc" + std::to_wstring(i);
        DOCINFOW di{sizeof di, name.c_str(), nullptr, nullptr, 0};
        ASSERT_GT(StartDocW(p, &di), 0);
        ASSERT_GT(StartPage(p), 0);
        ASSERT_GT(EndDoc(p), 0) << "ends the open page too";
    }
    DeleteDC(p);
    const auto docs = gdi::PrintedDocuments();
    ASSERT_EQ(docs.size(), gdi::kPrintedDocumentsKept);
    EXPECT_EQ(docs.front()->name, L"doc4");
    EXPECT_EQ(docs.back()->name, L"doc" + std::to_wstring(total));
    EXPECT_EQ(docs.back()->pages.size(), 1u);
}

} // namespace
} // namespace zyn::test
