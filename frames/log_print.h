#pragma once
// Printing a session's lines: the log viewer's print command without its window.
//
// The document is named after the log's path. Each page starts with a header, the print
// prefix, the path and "Page: n" followed by an empty line, drawn across the printable
// area (the page's clip box); then the lines follow, each drawn whole: wrapped at word
// breaks, a word wider than the page broken where the page ends, every tab shown as four
// blanks. A line that does not fit below the text already on a page starts the next
// page; a line taller than a whole page fills the page and continues on the next ones,
// cut between its wrapped rows. The text is a fixed-pitch 10-point font at the printer's
// resolution, so columns of a log stay aligned.
#include <vector>

#include "platform/base/cstring.h"
#include "platform/base/wintypes.h"

namespace zyn::frames {

// Each tab as four blanks.
CString RemoveLogTabs(const wchar_t* text);

// Prints the lines on a printer DC as one document; the number of pages printed, or -1
// when the printer refused the document or a page (the document is abandoned then).
int PrintLogLines(HDC hdc, const CString& headerPrefix, const CString& path, const std::vector<CString>& lines);

} // namespace zyn::frames
