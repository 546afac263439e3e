#pragma once
// The one modal loop and the per-thread answer script.
//
// Every modal loop (message boxes, dialogs, popup menus, drag loops, trackers, window
// moving and sizing, scroll-bar tracking) runs on RunModalLoop. In scripted mode (tests)
// a loop that finds nothing to do ends as a cancel when its script is dry: no injected
// input left, no idle action queued, no due timer, no posted or sent message. A timer that
// is not due yet does not keep the loop alive: virtual time moves only when a test moves
// it. Outside scripted mode the loop waits for messages as Windows does.
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/base/wintypes.h"
#include "platform/user/user_types.h"

namespace zyn::user {

enum class ModalEnd {
    Ended,      // the `done` predicate became true
    Cancelled,  // scripted mode and the script ran dry, or the owner window went away
    Quit,       // WM_QUIT arrived; it is posted again for the outer loop
};

struct ModalLoopParams {
    // The window the loop serves (may be null). When it is destroyed the loop ends as a
    // cancel.
    HWND owner = nullptr;
    // WH_MSGFILTER code passed to CallMsgFilter for each message (MSGF_DIALOGBOX,
    // MSGF_MENU, MSGF_SCROLLBAR, MSGF_MOVE, MSGF_SIZE...); negative: no filter call.
    int msgFilterCode = -1;
    // Checked before each message; true ends the loop.
    std::function<bool()> done;
    // Called for each message after the filter hooks; true when it handled the message
    // (it is then not translated and dispatched).
    std::function<bool(MSG&)> preTranslate;
    // Called when the queue is empty, before waiting; true asks for another round
    // without waiting (idle work left).
    std::function<bool(int idleCount)> onIdle;
    // When set, messages are taken without translating/dispatching them unless
    // preTranslate declines (drag loops read the mouse themselves).
    bool dispatch = true;
    // When set, each message is looked at before it is taken off the queue: the WH_MOUSE /
    // WH_KEYBOARD hooks run on it with HC_NOREMOVE and the WH_MSGFILTER hooks as usual
    // (a message any of them eats is taken off and dropped); then true ends the loop at
    // once (ModalEnd::Ended) and leaves the message queued for whoever reads the queue
    // next. A message the loop goes on with is taken off (the input hooks run again with
    // HC_ACTION and may still eat it) and continues to preTranslate. Popup menus end this
    // way on a click outside them, which the window under it then receives.
    std::function<bool(const MSG&)> endBeforeTaking;
};

ModalEnd RunModalLoop(const ModalLoopParams& params);

// Scripted mode is process-wide (tests switch it on; ResetWindowSystemForTests clears it).
void SetScriptedMode(bool on);
bool IsScriptedMode();

// ---- the answer script -------------------------------------------------------------------------------
// Progress: a modeless progress dialog with a Cancel button (the suite's controls library)
// takes one answer when it is created; IDCANCEL presses Cancel once the bar reaches
// `position`.
enum class AnswerKind { MessageBox, FileDialog, PrintDialog, PopupMenu, Dialog, Progress };

struct Answer {
    int code = 0;              // IDOK/IDYES/... for boxes and dialogs; the command for popup menus (0: none)
    std::wstring text;         // a file name for file dialogs; the printer's name for print dialogs
    std::vector<std::wstring> texts; // several file names
    // Print dialogs: the chosen printer's resolution and paper (thousandths of an inch),
    // copies and page range; zero takes the default printer's value.
    int dpi = 0;
    int paperWidthMils = 0;
    int paperHeightMils = 0;
    int copies = 0;
    int fromPage = 0;
    int toPage = 0;
    // Progress dialogs: the bar position at which the answer is given.
    int position = 0;
};

// What was shown, in order, on the calling thread.
struct ShownRecord {
    AnswerKind kind = AnswerKind::MessageBox;
    HWND owner = nullptr;
    std::wstring text;         // the box's text, the dialog's title
    std::wstring caption;
    UINT type = 0;             // MB_* flags for boxes
    int result = 0;            // what the caller got
    bool scripted = false;     // answered from the script (false: default answer)
    std::wstring note;         // why a scripted answer was refused, if it was
    // File and print dialogs: what the caller asked for (OFN_* / PD_* flags, the filter as
    // "name|pattern|" pairs, the default extension, the initial folder and file name).
    DWORD flags = 0;
    std::wstring filter;
    std::wstring defaultExt;
    std::wstring initialDir;
    std::wstring fileName;
};

class AnswerScript {
public:
    // Queues an answer for the next box/dialog/menu of that kind on the calling thread.
    static void Push(AnswerKind kind, Answer answer);
    static void Push(AnswerKind kind, int code)
    {
        Answer answer;
        answer.code = code;
        Push(kind, std::move(answer));
    }
    // Takes the next answer of a kind (none: the script has none left).
    static std::optional<Answer> Take(AnswerKind kind);
    static size_t Pending(AnswerKind kind);
    static size_t PendingTotal();
    static void Record(ShownRecord record);
    static std::vector<ShownRecord> Shown();
    // Clears queued answers and the record of the calling thread.
    static void Clear();
};

// Actions a modal loop runs, one per idle turn, before it would wait or end as dry: the
// way a test plays a user at a dialog it cannot reach from outside the loop.
void QueueIdleAction(std::function<void()> action);
size_t PendingIdleActions();

} // namespace zyn::user
