// Fuzz target: the log viewer's own walk over a session log (the input is the log file,
// every byte arbitrary): line by line (GetLine, IsEndPosition), and session by session
// (GetStartPosition, GetStartDate, GetStatus). Each walk ends within as many steps as the
// file has bytes, its offsets rise and stay inside the file, and no line's text is longer
// than the line.
#include <cstddef>
#include <cstdint>

#include "app/zyncmn_resources.h"
#include "frames/log_viewer.h"
#include "frames/session_log_reader.h"
#include "fuzz/fuzz_env.h"

namespace {

class Walker : public CDistLogViewer {
public:
    using CDistLogViewer::CDistLogViewer;
    using CDistLogViewer::GetLine;
    using CDistLogViewer::GetStartDate;
    using CDistLogViewer::GetStartPosition;
    using CDistLogViewer::GetStatus;
    using CDistLogViewer::IsEndPosition;
    using CDistLogViewer::IsStartPosition;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool registered = zyn::resources::RegisterZynCommonResources() != nullptr;
    zyn::fuzz::Check(registered);
    const auto path = zyn::fuzz::WriteScratch("walk.log", data, size);
    const uint64_t end = zyn::frames::kLogEnd;

    {
        // Line by line: every line starts where the last one ended.
        Walker viewer(path.wstring().c_str());
        uint64_t expected = 0;
        for (size_t step = 0;; ++step) {
            zyn::fuzz::Check(step <= size + 1);
            CString line;
            const uint64_t at = viewer.GetLine(line);
            if (at == end || at >= size)
                break;
            zyn::fuzz::Check(at >= expected);
            zyn::fuzz::Check(static_cast<uint64_t>(line.GetLength()) <= size - at);
            expected = at + 1;
            if (Walker::IsStartPosition(line))
                viewer.IsEndPosition(line);
        }
    }
    {
        // Session by session: each start lies after the last session's end.
        Walker viewer(path.wstring().c_str());
        uint64_t after = 0;
        for (size_t step = 0;; ++step) {
            zyn::fuzz::Check(step <= size + 1);
            const uint64_t start = viewer.GetStartPosition();
            if (start == end)
                break;
            zyn::fuzz::Check(start >= after && start < size);
            CString date, status;
            viewer.GetStartDate(date);
            const uint64_t stop = viewer.GetStatus(status);
            zyn::fuzz::Check(stop == end || (stop >= start && stop <= size));
            if (stop == end)
                break;
            after = stop;
        }
    }
    return 0;
}
