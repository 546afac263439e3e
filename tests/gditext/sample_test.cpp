// A sample sheet of text, written as a PNG for a person to look at (ZYN_TEXT_SAMPLE names
// the file; without it the sheet is drawn and checked for ink only).
#include <cstdlib>
#include <string>

#include "platform/gdi/png_export.h"
#include "tests/gditext/text_test_support.h"

using namespace zyn::test;

namespace {
class Sample : public GdiTest {};
} // namespace

TEST_F(Sample, TextSheet)
{
    Canvas c(1150, 400);
    SetBkMode(c, TRANSPARENT);
    int y = 4;
    struct Row {
        const wchar_t* face;
        int height;
        int weight;
        BYTE quality;
        bool italic, underline;
        const wchar_t* text;
    } rows[] = {
        {L"MS Shell Dlg", -11, FW_NORMAL, DEFAULT_QUALITY, false, false, L"MS Shell Dlg 8pt: The quick brown fox jumps over the lazy dog 0123456789"},
        {L"Tahoma BOLD", -11, FW_NORMAL, DEFAULT_QUALITY, false, false, L"Tahoma BOLD: Docking window caption"},
        {L"Tahoma", -11, FW_NORMAL, NONANTIALIASED_QUALITY, false, false, L"Aliased Tahoma: The quick brown fox jumps"},
        {L"Times New Roman", -16, FW_NORMAL, DEFAULT_QUALITY, true, false, L"Times New Roman italic 12pt"},
        {L"Courier New", -13, FW_NORMAL, DEFAULT_QUALITY, false, true, L"Courier New underlined: int main() { return 0; }"},
        {L"Arial", -24, FW_BOLD, DEFAULT_QUALITY, false, false, L"Arial 18pt bold \x00c5ngstr\x00f6m"},
    };
    for (const Row& r : rows) {
        Obj<HFONT> f(MakeFont(r.height, r.face, r.weight, 0, r.quality, r.italic, r.underline));
        HGDIOBJ old = SelectObject(c, f);
        TextOutW(c, 6, y, r.text, static_cast<int>(std::wcslen(r.text)));
        y += Metrics(c).tmHeight + 4;
        SelectObject(c, old);
    }
    {
        Obj<HFONT> f(MakeFont(-13));
        HGDIOBJ old = SelectObject(c, f);
        RECT r{6, y, 220, y + 60};
        DrawTextW(c, L"Word-wrapped text in a box, with a &mnemonic and an ellipsis at the very end of it",
            -1, &r, DT_WORDBREAK | DT_END_ELLIPSIS | DT_CENTER);
        RECT p{230, y, 420, y + 20};
        DrawTextW(c, L"C:\\Program Files\\Zyn\\Common\\settings.ini", -1, &p, DT_PATH_ELLIPSIS | DT_SINGLELINE | DT_VCENTER);
        SelectObject(c, old);
        Obj<HFONT> up(MakeFont(-13, L"Tahoma", FW_NORMAL, 900));
        SelectObject(c, up);
        TextOutW(c, 440, y + 140, L"Rotated 900", 11);
        Obj<HFONT> down(MakeFont(-13, L"Tahoma", FW_NORMAL, 2700));
        SelectObject(c, down);
        TextOutW(c, 480, y, L"Rotated 2700", 12);
        SelectObject(c, old);
    }
    y += 70;
    int x = 6;
    for (int em : {9, 13, 16, 24, 32}) {
        Obj<HFONT> m(CreateFontW(-em, 0, 0, 0, FW_NORMAL, 0, 0, 0, SYMBOL_CHARSET, 0, 0, 0, 0, L"Marlett"));
        HGDIOBJ old = SelectObject(c, m);
        const wchar_t* glyphs = L"0123456 78aghijklmnopqrs";
        TextOutW(c, x, y, glyphs, static_cast<int>(std::wcslen(glyphs)));
        y += em + 4;
        SelectObject(c, old);
    }
    {
        // The 9 and 13 pixel symbols, six times enlarged.
        Canvas small(200, 30);
        SetBkMode(small, TRANSPARENT);
        int sy = 1;
        for (int em : {9, 13}) {
            Obj<HFONT> m(CreateFontW(-em, 0, 0, 0, FW_NORMAL, 0, 0, 0, SYMBOL_CHARSET, 0, 0, 0, 0, L"Marlett"));
            HGDIOBJ old = SelectObject(small, m);
            TextOutW(small, 1, sy, L"012rs3456a8hn", 13);
            sy += em + 1;
            SelectObject(small, old);
        }
        StretchBlt(c, 540, 230, 6 * 100, 6 * 25, small, 0, 0, 100, 25, SRCCOPY);
    }
    EXPECT_GT(c.Count([](COLORREF p) { return p != RGB(255, 255, 255); }), 1000);
    if (const char* path = std::getenv("ZYN_TEXT_SAMPLE")) {
        EXPECT_TRUE(zyn::gdi::SaveDcPng(c, nullptr, path));
    }
}
