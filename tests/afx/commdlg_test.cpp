// The file and print dialogs answered by the answer script: what is recorded, what the
// caller gets (paths, names, extensions, several files, the default extension), answers
// the dialog could not have given, and the printer DC the print answer describes. Then
// the dialogs' windows played by a person with the driver's mouse and keys: names typed,
// files picked from the list, folders opened, file types, the flags' checks, the page
// range and copies, OK and Cancel.
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/afx/dlgs.h"
#include "platform/base/path.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/listbox.h"
#include "platform/user/vkeys.h"
#include "tests/afx/afx_dialog_test_support.h"

namespace zyn::test {
namespace {

user::Answer FileAnswer(std::wstring path)
{
    user::Answer a;
    a.code = IDOK;
    a.text = std::move(path);
    return a;
}

class CommDlgTest : public AfxDialogTest {
protected:
    void SetUp() override
    {
        AfxDialogTest::SetUp();
        m_dir = std::filesystem::temp_directory_path() / ("zyn-commdlg-" + std::to_string(::getpid()));
        std::filesystem::create_directories(m_dir);
        std::FILE* f = std::fopen((m_dir / "present.txt").c_str(), "w");
        ASSERT_NE(f, nullptr);
        std::fclose(f);
    }
    void TearDown() override
    {
        std::filesystem::remove_all(m_dir);
        AfxDialogTest::TearDown();
    }
    std::wstring In(const char* name) const { return (m_dir / name).wstring(); }
    static std::vector<user::ShownRecord> Records(user::AnswerKind kind)
    {
        std::vector<user::ShownRecord> out;
        for (const auto& rec : user::AnswerScript::Shown())
            if (rec.kind == kind)
                out.push_back(rec);
        return out;
    }

    std::filesystem::path m_dir;
};

// ---- a person at a shown dialog -------------------------------------------------------------------------
// Each step runs on its own idle turn of the modal loop the dialog (or a box over it) runs.
using Step = std::function<void()>;
void Play(std::vector<Step> steps)
{
    for (Step& step : steps)
        user::QueueIdleAction(std::move(step));
}
HWND Item(int id) { return ::GetDlgItem(::GetActiveWindow(), id); }
void ClickAt(const RECT& r, int times = 1)
{
    for (int i = 0; i < times; ++i)
        user::InjectClick((r.left + r.right) / 2, (r.top + r.bottom) / 2);
}
Step Click(int id)
{
    return [id] {
        RECT r{};
        ::GetWindowRect(Item(id), &r);
        ClickAt(r);
    };
}
// Clicks (twice: a double click) the item of a list box with that text.
Step ClickItem(int list, std::wstring text, int times = 1)
{
    return [=] {
        const HWND box = Item(list);
        const LRESULT i = ::SendMessageW(box, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
            reinterpret_cast<LPARAM>(text.c_str()));
        ASSERT_GE(i, 0) << "no item " << std::string(text.begin(), text.end());
        RECT r{};
        ::SendMessageW(box, LB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r));
        ::MapWindowPoints(box, nullptr, reinterpret_cast<POINT*>(&r), 2);
        ClickAt(r, times);
    };
}
Step Type(std::wstring text, int thenKey = 0)
{
    return [=] {
        user::InjectText(text);
        if (thenKey)
            user::InjectKeyPress(thenKey);
    };
}
Step Key(int vk, bool alt = false)
{
    return [=] {
        if (alt)
            user::InjectKey(VK_MENU, true);
        user::InjectKeyPress(vk);
        if (alt)
            user::InjectKey(VK_MENU, false);
    };
}
// Checks what a list box of the shown dialog holds.
Step Shows(int list, std::vector<std::wstring> items)
{
    return [=] { EXPECT_EQ(AfxDialogTest::ItemsOf(Item(list)), items) << "list " << list; };
}

TEST_F(CommDlgTest, TheRecordHoldsWhatTheCallerAskedFor)
{
    CFileDialog dlg(TRUE, L"txt", L"start.txt", OFN_FILEMUSTEXIST | OFN_HIDEREADONLY,
        L"Text files (*.txt)|*.txt|All files (*.*)|*.*||");
    dlg.m_ofn.lpstrInitialDir = L"C:\\Data";
    dlg.m_ofn.lpstrTitle = L"Pick a file";
    EXPECT_EQ(dlg.DoModal(), IDCANCEL) << "no answer: a cancel";
    EXPECT_EQ(CommDlgExtendedError(), 0u);
    const auto recs = Records(user::AnswerKind::FileDialog);
    ASSERT_EQ(recs.size(), 1u);
    EXPECT_EQ(recs[0].text, L"Pick a file");
    EXPECT_EQ(recs[0].flags, OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_EXPLORER);
    EXPECT_EQ(recs[0].filter, L"Text files (*.txt)|*.txt|All files (*.*)|*.*|");
    EXPECT_EQ(recs[0].defaultExt, L"txt");
    EXPECT_EQ(recs[0].initialDir, L"C:\\Data");
    EXPECT_EQ(recs[0].fileName, L"start.txt");
    EXPECT_EQ(recs[0].result, IDCANCEL);
    EXPECT_FALSE(recs[0].scripted);
}

TEST_F(CommDlgTest, ThePartsOfTheChosenPath)
{
    struct Row {
        const char* name;
        const wchar_t* answer;
        const wchar_t* defExt;
        const wchar_t* path, *file, *ext, *title;
        bool extensionDifferent;
    } rows[] = {
        {"Windows path", L"C:\\Reports\\March.csv", L"csv", L"C:\\Reports\\March.csv", L"March.csv", L"csv", L"March",
            false},
        {"default extension added", L"/tmp/out/notes", L"txt", L"/tmp/out/notes.txt", L"notes.txt", L"txt", L"notes",
            false},
        {"other extension kept", L"/tmp/out/data.log", L"txt", L"/tmp/out/data.log", L"data.log", L"log", L"data", true},
        {"a dot in the folder only", L"C:\\v1.2\\readme", nullptr, L"C:\\v1.2\\readme", L"readme", L"", L"readme",
            false},
        {"two dots", L"C:\\a\\archive.tar.gz", nullptr, L"C:\\a\\archive.tar.gz", L"archive.tar.gz", L"gz",
            L"archive.tar", false},
    };
    for (const Row& row : rows) {
        user::AnswerScript::Push(user::AnswerKind::FileDialog, FileAnswer(row.answer));
        CFileDialog dlg(FALSE, row.defExt, nullptr, OFN_HIDEREADONLY);
        ASSERT_EQ(dlg.DoModal(), IDOK) << row.name;
        EXPECT_EQ(std::wstring(dlg.GetPathName().GetString()), row.path) << row.name;
        EXPECT_EQ(std::wstring(dlg.GetFileName().GetString()), row.file) << row.name;
        EXPECT_EQ(std::wstring(dlg.GetFileExt().GetString()), row.ext) << row.name;
        EXPECT_EQ(std::wstring(dlg.GetFileTitle().GetString()), row.title) << row.name;
        EXPECT_EQ((dlg.m_ofn.Flags & OFN_EXTENSIONDIFFERENT) != 0, row.extensionDifferent) << row.name;
        POSITION pos = dlg.GetStartPosition();
        EXPECT_EQ(std::wstring(dlg.GetNextPathName(pos).GetString()), row.path) << row.name;
        EXPECT_EQ(pos, nullptr) << row.name;
    }
}

TEST_F(CommDlgTest, SeveralFilesComeAsTheFolderAndTheirNames)
{
    user::Answer a;
    a.code = IDOK;
    a.texts = {L"C:\\In\\one.txt", L"C:\\In\\two.txt", L"C:\\In\\three"};
    user::AnswerScript::Push(user::AnswerKind::FileDialog, a);
    CFileDialog dlg(TRUE, L"txt", nullptr, OFN_ALLOWMULTISELECT);
    ASSERT_EQ(dlg.DoModal(), IDOK);
    // "C:\In\0one.txt\0two.txt\0three.txt\0\0"
    const std::wstring buffer(dlg.m_ofn.lpstrFile, 34);
    EXPECT_EQ(buffer, std::wstring(L"C:\\In\0one.txt\0two.txt\0three.txt\0\0", 34));
    EXPECT_EQ(dlg.m_ofn.nFileOffset, 6);
    EXPECT_EQ(std::wstring(dlg.GetPathName().GetString()), L"C:\\In");
    EXPECT_EQ(std::wstring(dlg.GetFolderPath().GetString()), L"C:\\In");
    std::vector<std::wstring> paths;
    for (POSITION pos = dlg.GetStartPosition(); pos;)
        paths.emplace_back(dlg.GetNextPathName(pos).GetString());
    EXPECT_EQ(paths, (std::vector<std::wstring>{L"C:\\In\\one.txt", L"C:\\In\\two.txt", L"C:\\In\\three.txt"}));
}

TEST_F(CommDlgTest, AnswersTheDialogCouldNotGiveAreACancel)
{
    struct Row {
        const char* name;
        bool open;
        DWORD flags;
        user::Answer answer;
        std::vector<int> boxAnswers; // the overwrite question's answers, if it is asked
        int result;
        bool noteExpected;
    };
    user::Answer several;
    several.code = IDOK;
    several.texts = {In("a.txt"), In("b.txt")};
    user::Answer spread;
    spread.code = IDOK;
    spread.texts = {L"C:\\x\\a.txt", L"C:\\y\\b.txt"};
    user::Answer cancel;
    cancel.code = IDCANCEL;
    cancel.text = In("present.txt");
    const std::vector<Row> rows = {
        {"a file that must exist and does not", true, OFN_FILEMUSTEXIST, FileAnswer(In("absent.txt")), {}, IDCANCEL,
            true},
        {"a file that must exist and does", true, OFN_FILEMUSTEXIST, FileAnswer(In("present.txt")), {}, IDOK, false},
        {"a folder that must exist and does not", false, OFN_PATHMUSTEXIST, FileAnswer(In("nowhere/x.txt")), {},
            IDCANCEL, true},
        {"several files without multiple selection", true, 0, several, {}, IDCANCEL, true},
        {"several files in different folders", true, OFN_ALLOWMULTISELECT, spread, {}, IDCANCEL, true},
        {"a scripted Cancel", true, 0, cancel, {}, IDCANCEL, false},
        {"replacing declined", false, OFN_OVERWRITEPROMPT, FileAnswer(In("present.txt")), {IDNO}, IDCANCEL, true},
        {"replacing accepted", false, OFN_OVERWRITEPROMPT, FileAnswer(In("present.txt")), {IDYES}, IDOK, false},
        {"a new file asks nothing", false, OFN_OVERWRITEPROMPT, FileAnswer(In("new.txt")), {}, IDOK, false},
    };
    for (const Row& row : rows) {
        user::AnswerScript::Clear();
        user::AnswerScript::Push(user::AnswerKind::FileDialog, row.answer);
        for (int box : row.boxAnswers)
            user::AnswerScript::Push(user::AnswerKind::MessageBox, box);
        CFileDialog dlg(row.open, nullptr, nullptr, row.flags);
        EXPECT_EQ(dlg.DoModal(), row.result) << row.name;
        const auto recs = Records(user::AnswerKind::FileDialog);
        ASSERT_EQ(recs.size(), 1u) << row.name;
        EXPECT_EQ(recs[0].result, row.result) << row.name;
        EXPECT_EQ(!recs[0].note.empty(), row.noteExpected) << row.name;
        EXPECT_EQ(BoxTexts().size(), row.boxAnswers.size()) << row.name;
    }
}

TEST_F(CommDlgTest, BuffersThatCannotHoldTheAnswerFail)
{
    wchar_t file[8] = L"x";
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof(ofn);
    ofn.lpstrFile = file;
    ofn.nMaxFile = 8;
    user::AnswerScript::Push(user::AnswerKind::FileDialog, FileAnswer(L"C:\\long name.txt"));
    EXPECT_FALSE(GetOpenFileNameW(&ofn));
    EXPECT_EQ(CommDlgExtendedError(), FNERR_BUFFERTOOSMALL);
    EXPECT_EQ(static_cast<int>(file[0]), 17) << "the size needed, its nul included";

    OPENFILENAMEW wrongSize{};
    wrongSize.lStructSize = 12;
    EXPECT_FALSE(GetSaveFileNameW(&wrongSize));
    EXPECT_EQ(CommDlgExtendedError(), CDERR_STRUCTSIZE);
}

// ---- printing ------------------------------------------------------------------------------------------------------------

TEST_F(CommDlgTest, APersonChoosesInTheFileDialogsWindow)
{
    std::filesystem::create_directories(m_dir / "sub");
    for (const char* name : {"other.log", "sub/inner.log", ".hidden.txt"}) {
        std::FILE* f = std::fopen((m_dir / name).c_str(), "w");
        ASSERT_NE(f, nullptr);
        std::fclose(f);
    }
    const std::wstring dir = m_dir.wstring();
    constexpr const wchar_t* kTypes = L"Text files (*.txt)|*.txt|Logs (*.log;*.LOG)|*.log;*.LOG|All files (*.*)|*.*||";
    // What the lists show: the chosen type's files (hidden names left out), the folders with
    // the parent first; after a change, the new folder's or pattern's.
    struct Row {
        const char* name;
        bool open;
        DWORD flags;
        const wchar_t* defExt;
        std::vector<Step> steps;
        int result;
        std::wstring path;      // the path chosen (IDOK)
        DWORD filterIndex;      // the type chosen (1-based)
        std::vector<std::wstring> boxes; // the message boxes shown, their texts' first lines
    } rows[] = {
        {"a name typed", true, OFN_HIDEREADONLY, nullptr, {Type(L"present.txt", VK_RETURN)}, IDOK,
            dir + L"/present.txt", 1, {}},
        {"the default extension", true, OFN_HIDEREADONLY, L"txt", {Type(L"present", VK_RETURN)}, IDOK,
            dir + L"/present.txt", 1, {}},
        {"a file picked, then OK", true, OFN_HIDEREADONLY, nullptr,
            {Shows(lst1, {L"present.txt"}), Shows(lst2, {L"..", L"sub"}), ClickItem(lst1, L"present.txt"), Click(IDOK)},
            IDOK, dir + L"/present.txt", 1, {}},
        {"a double click on a file", true, OFN_HIDEREADONLY, nullptr, {ClickItem(lst1, L"present.txt", 2)}, IDOK,
            dir + L"/present.txt", 1, {}},
        {"another type, then a folder opened", true, OFN_HIDEREADONLY, nullptr,
            {Key('T', true), Key(VK_DOWN), Shows(lst1, {L"other.log"}), ClickItem(lst2, L"sub", 2),
                Shows(lst1, {L"inner.log"}), ClickItem(lst1, L"inner.log", 2)},
            IDOK, dir + L"/sub/inner.log", 2, {}},
        {"a folder's name typed opens it", true, OFN_HIDEREADONLY, nullptr,
            {Type(L"sub", VK_RETURN), Shows(lst1, {}), Type(L"inner.log", VK_RETURN)}, IDOK,
            dir + L"/sub/inner.log", 1, {}},
        {"a pattern typed lists what it matches", true, OFN_HIDEREADONLY, nullptr,
            {Type(L"*.log", VK_RETURN), Shows(lst1, {L"other.log"}), Key(VK_ESCAPE)}, IDCANCEL, L"", 1, {}},
        {"up to the parent folder and back", true, OFN_HIDEREADONLY, nullptr,
            {ClickItem(lst2, L"sub", 2), ClickItem(lst2, L"..", 2), Shows(lst2, {L"..", L"sub"}), Click(edt1),
                Type(L"other.log", VK_RETURN)},
            IDOK, dir + L"/other.log", 1, {}},
        {"a file that must exist and does not", true, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, nullptr,
            {Type(L"missing.txt", VK_RETURN), Key(VK_RETURN), Key(VK_ESCAPE)}, IDCANCEL, L"", 1,
            {dir + L"/missing.txt"}},
        {"a folder that does not exist", false, OFN_HIDEREADONLY | OFN_PATHMUSTEXIST, nullptr,
            {Type(L"nowhere/new.txt", VK_RETURN), Key(VK_RETURN), Type(L"new.txt", VK_RETURN)}, IDOK,
            dir + L"/new.txt", 1, {dir + L"/nowhere"}},
        {"replacing a file: No, then another name", false, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, nullptr,
            {Type(L"present.txt", VK_RETURN), Key('N'), Type(L"fresh.txt", VK_RETURN)}, IDOK, dir + L"/fresh.txt",
            1, {dir + L"/present.txt already exists."}},
        {"replacing a file: Yes", false, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, nullptr,
            {Type(L"present.txt", VK_RETURN), Key('Y')}, IDOK, dir + L"/present.txt", 1,
            {dir + L"/present.txt already exists."}},
        {"the Cancel button", true, OFN_HIDEREADONLY, nullptr, {Type(L"present.txt"), Click(IDCANCEL)}, IDCANCEL,
            L"", 1, {}},
    };
    for (Row& row : rows) {
        SCOPED_TRACE(row.name);
        user::AnswerScript::Clear();
        Play(std::move(row.steps));
        CFileDialog dlg(row.open, row.defExt, nullptr, row.flags, kTypes);
        dlg.m_ofn.lpstrInitialDir = dir.c_str();
        EXPECT_EQ(dlg.DoModal(), row.result);
        EXPECT_EQ(user::PendingIdleActions(), 0u) << "every step was played";
        EXPECT_EQ(CommDlgExtendedError(), 0u);
        if (row.result == IDOK) {
            EXPECT_EQ(std::wstring(dlg.GetPathName().GetString()), row.path);
            EXPECT_EQ(dlg.m_ofn.nFilterIndex, row.filterIndex);
        }
        std::vector<std::wstring> boxes;
        for (const std::wstring& text : BoxTexts())
            boxes.push_back(text.substr(0, text.find(L'\n')));
        EXPECT_EQ(boxes, row.boxes);
        const auto recs = Records(user::AnswerKind::FileDialog);
        ASSERT_EQ(recs.size(), 1u);
        EXPECT_EQ(recs[0].result, row.result);
        EXPECT_TRUE(recs[0].scripted) << "answered by input";
        EXPECT_EQ(recs[0].note, L"answered by input");
    }
}

TEST_F(CommDlgTest, AFileDialogNobodyAnswersIsACancel)
{
    // Scripted mode with no input: shown, and ended as a cancel when the input runs dry.
    CFileDialog shown(TRUE);
    EXPECT_EQ(shown.DoModal(), IDCANCEL);
    // Headless without scripted mode: nobody is there to ask, so no window at all.
    user::SetScriptedMode(false);
    CFileDialog headless(TRUE);
    EXPECT_EQ(headless.DoModal(), IDCANCEL);
    user::SetScriptedMode(true);
    const auto recs = Records(user::AnswerKind::FileDialog);
    ASSERT_EQ(recs.size(), 2u);
    EXPECT_EQ(recs[0].note, L"no input answered it: Cancel");
    EXPECT_EQ(recs[1].note, L"");
    EXPECT_FALSE(recs[1].scripted);
}

user::Answer PrintAnswer(const wchar_t* printer, int dpi, int w, int h, int copies = 0, int from = 0, int to = 0)
{
    user::Answer a;
    a.code = IDOK;
    a.text = printer ? printer : L"";
    a.dpi = dpi;
    a.paperWidthMils = w;
    a.paperHeightMils = h;
    a.copies = copies;
    a.fromPage = from;
    a.toPage = to;
    return a;
}

TEST_F(CommDlgTest, ThePrintAnswerDescribesThePrinterDc)
{
    struct Row {
        const char* name;
        user::Answer answer;
        const wchar_t* device;
        int dpi;
        int widthPx, heightPx; // the paper at the DPI: mils * dpi / 1000
        short paperTenthsMm[2];
    } rows[] = {
        {"defaults", PrintAnswer(nullptr, 0, 0, 0), L"Zyn Printer", 300, 2550, 3300, {2159, 2794}},
        {"A4 at 600 DPI", PrintAnswer(L"Office", 600, 8268, 11693), L"Office", 600, 4961, 7016, {2100, 2970}},
        {"a label at 203 DPI", PrintAnswer(L"Labels", 203, 4000, 6000), L"Labels", 203, 812, 1218, {1016, 1524}},
    };
    for (const Row& row : rows) {
        user::AnswerScript::Push(user::AnswerKind::PrintDialog, row.answer);
        CPrintDialog dlg(FALSE);
        ASSERT_EQ(dlg.DoModal(), IDOK) << row.name;
        EXPECT_EQ(std::wstring(dlg.GetDeviceName().GetString()), row.device) << row.name;
        EXPECT_EQ(std::wstring(dlg.GetDriverName().GetString()), L"winspool") << row.name;
        const LPDEVMODE dm = dlg.GetDevMode();
        ASSERT_NE(dm, nullptr) << row.name;
        EXPECT_EQ(dm->dmPrintQuality, row.dpi) << row.name;
        EXPECT_EQ(dm->dmPaperWidth, row.paperTenthsMm[0]) << row.name;
        EXPECT_EQ(dm->dmPaperLength, row.paperTenthsMm[1]) << row.name;
        const HDC hdc = dlg.GetPrinterDC();
        ASSERT_NE(hdc, nullptr) << row.name;
        EXPECT_EQ(::GetDeviceCaps(hdc, LOGPIXELSX), row.dpi) << row.name;
        EXPECT_EQ(::GetDeviceCaps(hdc, PHYSICALWIDTH), row.widthPx) << row.name;
        EXPECT_EQ(::GetDeviceCaps(hdc, PHYSICALHEIGHT), row.heightPx) << row.name;
        ::DeleteDC(hdc);
        // A DC made again from the blocks describes the same page.
        const HDC again = dlg.CreatePrinterDC();
        EXPECT_EQ(::GetDeviceCaps(again, PHYSICALWIDTH), row.widthPx) << row.name;
        ::DeleteDC(again);
    }
    const auto recs = Records(user::AnswerKind::PrintDialog);
    ASSERT_EQ(recs.size(), 3u);
    EXPECT_EQ(recs[0].text, L"Print");
    EXPECT_EQ(recs[0].flags & PD_RETURNDC, PD_RETURNDC);
}

TEST_F(CommDlgTest, CopiesAndPageRanges)
{
    struct Row {
        const char* name;
        DWORD flags;
        user::Answer answer;
        int result;
        int copies, from, to;
        bool all;
    } rows[] = {
        {"copies by the printer", PD_USEDEVMODECOPIES, PrintAnswer(nullptr, 0, 0, 0, 3), IDOK, 3, -1, -1, true},
        {"copies by the program", 0, PrintAnswer(nullptr, 0, 0, 0, 4), IDOK, 4, -1, -1, true},
        {"a range", 0, PrintAnswer(nullptr, 0, 0, 0, 1, 2, 5), IDOK, 1, 2, 5, false},
        {"a range past the pages", 0, PrintAnswer(nullptr, 0, 0, 0, 1, 2, 12), IDCANCEL, 1, -1, -1, true},
        {"a range without page numbers", PD_NOPAGENUMS, PrintAnswer(nullptr, 0, 0, 0, 1, 1, 2), IDCANCEL, 1, -1, -1,
            true},
    };
    for (const Row& row : rows) {
        user::AnswerScript::Clear();
        user::AnswerScript::Push(user::AnswerKind::PrintDialog, row.answer);
        CPrintDialog dlg(TRUE, row.flags);
        dlg.m_pd.nMinPage = 1;
        dlg.m_pd.nMaxPage = 10;
        EXPECT_EQ(dlg.DoModal(), row.result) << row.name;
        EXPECT_EQ(dlg.GetCopies(), row.copies) << row.name;
        EXPECT_EQ(dlg.GetFromPage(), row.from) << row.name;
        EXPECT_EQ(dlg.GetToPage(), row.to) << row.name;
        EXPECT_EQ(dlg.PrintAll(), row.all) << row.name;
        EXPECT_EQ(dlg.GetPrinterDC(), nullptr) << row.name << ": print setup makes no DC";
        EXPECT_EQ(Records(user::AnswerKind::PrintDialog).at(0).text, L"Print Setup") << row.name;
    }
}

TEST_F(CommDlgTest, APersonChoosesInThePrintDialogsWindow)
{
    // Pages 1 to 10. Letter at 300 DPI is 2550 x 3300 pixels; A4 (8268 x 11693
    // thousandths of an inch) at 150 DPI is 1240 x 1754.
    struct Row {
        const char* name;
        DWORD flags;
        std::vector<Step> steps;
        int result;
        DWORD range;            // PD_PAGENUMS / PD_SELECTION / 0
        int from, to, copies;
        bool collate;
        int sheetW, sheetH;     // the DC's sheet
        size_t boxes;           // message boxes shown
    } rows[] = {
        {"OK at once: all pages, one copy, the default printer", 0, {Key(VK_RETURN)}, IDOK, 0, 0, 0, 1, false, 2550,
            3300, 0},
        {"pages typed", 0, {Click(edt1), Type(L"2"), Click(edt2), Type(L"5", VK_RETURN)}, IDOK, PD_PAGENUMS, 2, 5, 1,
            false, 2550, 3300, 0},
        {"one page: the last one left empty", 0, {Click(rad3), Click(edt1), Type(L"7", VK_RETURN)}, IDOK,
            PD_PAGENUMS, 7, 7, 1, false, 2550, 3300, 0},
        {"a page past the last is refused", 0, {Click(edt1), Type(L"11", VK_RETURN), Key(VK_RETURN), Type(L"9"),
                                                   Key(VK_RETURN)},
            IDOK, PD_PAGENUMS, 9, 9, 1, false, 2550, 3300, 1},
        {"the last page before the first is refused", 0,
            {Click(edt1), Type(L"4"), Click(edt2), Type(L"3", VK_RETURN), Key(VK_RETURN), Key(VK_ESCAPE)}, IDCANCEL,
            0, 0, 0, 1, false, 0, 0, 1},
        // A click leaves the caret after the one copy shown; Backspace takes it away.
        {"copies and collation", 0, {Click(edt3), Key(VK_BACK), Type(L"3"), Click(chx2), Click(IDOK)}, IDOK, 0, 0, 0,
            3, true, 2550, 3300, 0},
        {"no copies is refused", 0,
            {Click(edt3), Key(VK_BACK), Type(L"0", VK_RETURN), Key(VK_RETURN), Type(L"2", VK_RETURN)}, IDOK, 0, 0, 0, 2,
            false, 2550, 3300, 1},
        {"A4 at 150 DPI", 0, {Key('P', true), Key(VK_DOWN), Key('R', true), Key(VK_UP), Key(VK_RETURN)}, IDOK, 0, 0, 0,
            1, false, 1240, 1754, 0},
        {"without page numbers the pages cannot be chosen", PD_NOPAGENUMS,
            {Click(rad3), Click(edt1), Type(L"2", VK_RETURN)}, IDOK, 0, 0, 0, 1, false, 2550, 3300, 0},
        {"the selection", 0, {Click(rad2), Click(IDOK)}, IDOK, PD_SELECTION, 0, 0, 1, false, 2550, 3300, 0},
        {"Cancel", 0, {Click(edt3), Type(L"4"), Click(IDCANCEL)}, IDCANCEL, 0, 0, 0, 1, false, 0, 0, 0},
    };
    for (Row& row : rows) {
        SCOPED_TRACE(row.name);
        user::AnswerScript::Clear();
        Play(std::move(row.steps));
        CPrintDialog dlg(FALSE, PD_ALLPAGES | row.flags);
        dlg.m_pd.nMinPage = 1;
        dlg.m_pd.nMaxPage = 10;
        EXPECT_EQ(dlg.DoModal(), row.result);
        EXPECT_EQ(user::PendingIdleActions(), 0u) << "every step was played";
        EXPECT_EQ(BoxTexts().size(), row.boxes);
        const auto recs = Records(user::AnswerKind::PrintDialog);
        ASSERT_EQ(recs.size(), 1u);
        EXPECT_EQ(recs[0].note, L"answered by input");
        if (row.result != IDOK) {
            EXPECT_EQ(dlg.GetPrinterDC(), nullptr);
            continue;
        }
        EXPECT_EQ(dlg.m_pd.Flags & (PD_PAGENUMS | PD_SELECTION), row.range);
        if (row.range == PD_PAGENUMS) {
            EXPECT_EQ(dlg.GetFromPage(), row.from);
            EXPECT_EQ(dlg.GetToPage(), row.to);
        }
        EXPECT_EQ(dlg.GetCopies(), row.copies);
        EXPECT_EQ(dlg.PrintCollate() != FALSE, row.collate);
        EXPECT_EQ(std::wstring(dlg.GetDeviceName().GetString()), L"Zyn Printer");
        const HDC hdc = dlg.GetPrinterDC();
        ASSERT_NE(hdc, nullptr);
        EXPECT_EQ(::GetDeviceCaps(hdc, PHYSICALWIDTH), row.sheetW);
        EXPECT_EQ(::GetDeviceCaps(hdc, PHYSICALHEIGHT), row.sheetH);
        ::DeleteDC(hdc);
    }
}

TEST_F(CommDlgTest, DefaultsComeWithoutADialogAndADcNobodyTookIsFreed)
{
    {
        CPrintDialog dlg(FALSE);
        ASSERT_TRUE(dlg.GetDefaults());
        EXPECT_EQ(std::wstring(dlg.GetDeviceName().GetString()), L"Zyn Printer");
        EXPECT_TRUE(Records(user::AnswerKind::PrintDialog).empty()) << "no dialog was shown";
        // The DC GetDefaults made (PD_RETURNDC) is the dialog's until someone takes it.
        EXPECT_NE(dlg.m_pd.hDC, nullptr);
    }
    PRINTDLGW pd{};
    pd.lStructSize = sizeof(pd);
    pd.Flags = PD_RETURNDEFAULT;
    pd.hDevMode = ::GlobalAlloc(GMEM_MOVEABLE, 16);
    EXPECT_FALSE(PrintDlgW(&pd)) << "PD_RETURNDEFAULT takes empty slots only";
    EXPECT_EQ(CommDlgExtendedError(), PDERR_RETDEFFAILURE);
    ::GlobalFree(pd.hDevMode);
}

} // namespace
} // namespace zyn::test
