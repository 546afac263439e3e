// Fuzz target: the suite's Unicode text file reader. The input is a file; the lines it
// reads are checked against lines split here by the documented rule (a byte-order mark
// or the first character decides UTF-16LE or UTF-8; lines end at LF, a CR before it
// or at the very end is dropped), then written to a new file and read back unchanged.
// The first input byte asks for a long first line that puts the input across the
// reader's 64 KiB buffer boundary (only for inputs with a mark, which decides the
// encoding whatever follows it).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/fuzz_env.h"
#include "platform/base/utf16.h"
#include "platform/base/exception.h"
#include "platform/suite/utility/stdiofile_unicode.h"

namespace {

using Encoding = CStdioFileUnicode::Encoding;

struct Expected {
    Encoding encoding = Encoding::Unknown;
    std::vector<std::wstring> lines;
    uint32_t malformed = 0;
};

Expected Split(const std::vector<uint8_t>& file)
{
    Expected e;
    size_t mark = 0;
    const size_t n = file.size();
    if (n >= 2 && file[0] == 0xFF && file[1] == 0xFE) {
        e.encoding = Encoding::Utf16LE;
        mark = 2;
    } else if (n >= 3 && file[0] == 0xEF && file[1] == 0xBB && file[2] == 0xBF) {
        e.encoding = Encoding::Utf8;
        mark = 3;
    } else if (n > 0) {
        e.encoding = (n >= 2 && file[1] == 0 && file[0] != 0) ? Encoding::Utf16LE : Encoding::Utf8;
    }
    const size_t unit = e.encoding == Encoding::Utf16LE ? 2 : 1;
    auto is = [&](size_t at, uint8_t ch) { return file[at] == ch && (unit == 1 || file[at + 1] == 0); };
    auto emit = [&](size_t from, size_t to) {
        // Only a whole unit can be the CR.
        if (to - from >= unit && (to - from) % unit == 0 && is(to - unit, '\r'))
            to -= unit;
        bool ok = true;
        const std::span<const uint8_t> bytes(file.data() + from, to - from);
        e.lines.push_back(unit == 2 ? zyn::base::FromUtf16LE(bytes, &ok)
                                    : zyn::base::FromUtf8({reinterpret_cast<const char*>(bytes.data()), bytes.size()}, &ok));
        if (!ok)
            ++e.malformed;
    };
    size_t start = mark;
    for (size_t at = mark; at + unit <= n; at += unit) {
        if (is(at, '\n')) {
            emit(start, at);
            start = at + unit;
        }
    }
    if (start < n)
        emit(start, n);
    return e;
}

std::vector<std::wstring> ReadAll(const std::filesystem::path& path, CStdioFileUnicode& f)
{
    std::vector<std::wstring> lines;
    if (!f.Open(path.wstring().c_str(), CFile::modeRead))
        std::abort();
    CString line;
    while (f.ReadString(line)) {
        lines.emplace_back(line.GetString(), static_cast<size_t>(line.GetLength()));
        if (lines.size() > 1'000'000)
            std::abort(); // more lines than bytes: the reader does not advance
    }
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    std::vector<uint8_t> file(data + 1, data + size);
    // A long first line of 'A's so that the rest of the input straddles the read buffer.
    if (data[0] & 1) {
        size_t mark = 0;
        bool wide = false;
        if (file.size() >= 2 && file[0] == 0xFF && file[1] == 0xFE)
            mark = 2, wide = true;
        else if (file.size() >= 3 && file[0] == 0xEF && file[1] == 0xBB && file[2] == 0xBF)
            mark = 3;
        if (mark) {
            const size_t lead = 65536 - mark - (data[0] >> 1) * (wide ? 2 : 1);
            std::vector<uint8_t> filler;
            for (size_t i = 0; i + (wide ? 4 : 2) <= lead; i += wide ? 2 : 1) {
                filler.push_back('A');
                if (wide)
                    filler.push_back(0);
            }
            filler.push_back('\n');
            if (wide)
                filler.push_back(0);
            file.insert(file.begin() + static_cast<std::ptrdiff_t>(mark), filler.begin(), filler.end());
        }
    }
    const Expected expected = Split(file);
    const auto path = zyn::fuzz::WriteScratch("text.txt", file.data(), file.size());

    try {
        CStdioFileUnicode reader;
        const std::vector<std::wstring> lines = ReadAll(path, reader);
        if (reader.GetEncoding() != expected.encoding || lines != expected.lines ||
            reader.GetMalformedLineCount() != expected.malformed)
            std::abort();
        reader.Close();

        // What was read writes out and reads back the same (a line is written up to
        // its first NUL, as WriteString takes a terminated string).
        const auto copy = zyn::fuzz::FuzzRoot() / "files" / "copy.txt";
        std::filesystem::remove(copy);
        {
            CStdioFileUnicode writer;
            if (!writer.Open(copy.wstring().c_str(), CFile::modeCreate | CFile::modeWrite))
                std::abort();
            for (const std::wstring& l : lines)
                writer.WriteString(l.c_str());
            writer.Close();
        }
        CStdioFileUnicode again;
        const std::vector<std::wstring> back = ReadAll(copy, again);
        if (again.GetEncoding() != (lines.empty() ? Encoding::Unknown : Encoding::Utf16LE) || back.size() != lines.size())
            std::abort();
        for (size_t i = 0; i < lines.size(); ++i)
            if (back[i] != std::wstring_view(lines[i].c_str()))
                std::abort();
        again.Close();
    } catch (CException* e) {
        // Nothing here is allowed to fail: the files are ours and readable.
        e->Delete();
        std::abort();
    }
    return 0;
}
