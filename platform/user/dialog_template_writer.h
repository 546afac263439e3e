#pragma once
// Writing a classic dialog template (DLGTEMPLATE) in memory, for the dialogs that a
// library builds itself rather than loads from resources.
//
// The writer appends WORDs: Header() lays out the dialog (style, item count, size,
// caption and the DS_SETFONT font), then each Item() starts on a DWORD boundary with its
// style (always a visible child), rectangle, id, class (a name, or 0xFFFF and a
// predefined class ordinal), title and an empty creation-data size. Get() hands the
// words to CreateDialogIndirectParam / DialogBoxIndirectParam; the writer must outlive
// that call.
#include <cstddef>
#include <vector>

#include "platform/base/wintypes.h"
#include "platform/user/dialog.h"
#include "platform/user/styles.h"

namespace zyn::user {

class DialogTemplateWriter {
public:
    void Word(WORD w) { m_words.push_back(w); }
    void Dword(DWORD d)
    {
        Word(LOWORD(d));
        Word(HIWORD(d));
    }
    void Text(const wchar_t* text)
    {
        for (const wchar_t* p = text; *p; ++p)
            Word(static_cast<WORD>(*p));
        Word(0);
    }
    // Pads to a DWORD boundary: the words start on one.
    void Align()
    {
        if (m_words.size() % 2)
            Word(0);
    }

    // The dialog itself: no menu, the dialog class, the caption, then the font (the style
    // should carry DS_SETFONT). The item count must match the Item() calls that follow.
    void Header(DWORD style, WORD items, short cx, short cy, const wchar_t* caption, WORD pointSize,
        const wchar_t* face)
    {
        Dword(style);
        Dword(0);
        Word(items);
        Word(0);
        Word(0);
        Word(static_cast<WORD>(cx));
        Word(static_cast<WORD>(cy));
        Word(0); // no menu
        Word(0); // the dialog class
        Text(caption);
        Word(pointSize);
        Text(face);
    }

    // A control of a registered class named by text.
    void Item(DWORD style, short x, short y, short cx, short cy, WORD id, const wchar_t* className, const wchar_t* text)
    {
        ItemHead(style, x, y, cx, cy, id);
        Text(className);
        ItemTail(text);
    }
    // A control of a predefined class by its ordinal (0x0080 button, 0x0082 static, ...).
    void Item(DWORD style, short x, short y, short cx, short cy, WORD id, WORD classOrdinal, const wchar_t* text)
    {
        ItemHead(style, x, y, cx, cy, id);
        Word(0xFFFF);
        Word(classOrdinal);
        ItemTail(text);
    }

    const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(m_words.data()); }
    size_t SizeInBytes() const { return m_words.size() * sizeof(WORD); }

private:
    void ItemHead(DWORD style, short x, short y, short cx, short cy, WORD id)
    {
        Align();
        Dword(style | WS_CHILD | WS_VISIBLE);
        Dword(0);
        Word(static_cast<WORD>(x));
        Word(static_cast<WORD>(y));
        Word(static_cast<WORD>(cx));
        Word(static_cast<WORD>(cy));
        Word(id);
    }
    void ItemTail(const wchar_t* text)
    {
        Text(text);
        Word(0); // no creation data
    }

    std::vector<WORD> m_words;
};

} // namespace zyn::user
