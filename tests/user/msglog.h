#pragma once
// A message-sequence log for window-system cases. Windows get names; a WH_CBT hook, a
// WH_CALLWNDPROC hook and the procedure of the "SeqLog" class append one line per event:
//
//   "cbt HCBT_ACTIVATE back front"                     a CBT call (the window, then the one it concerns)
//   "front WM_NCACTIVATE 0 back"                       a sent message, seen by WH_CALLWNDPROC
//   "kid WM_WINDOWPOSCHANGING {0,0,0,0 NOSIZE|NOMOVE}" a WINDOWPOS: x, y, cx, cy and its flags
//   "kid WM_NCCALCSIZE {5,6,55,46}"                    the creation's rectangle (the later form is bare)
//   "kid WM_GETMINMAXINFO max -4,-4 208x108"           the maximised position and size offered
//   "kid WM_PAINT (posted)"                            a message the procedure got without a send
//   "lost kid WM_SIZE"                                 a send the hook saw that never reached the procedure
//
// Parameters are written the way the documentation describes each message (handles by
// name, "0" for none), so a case states its expected sequence as a list of such lines and
// a mismatch prints both lists. Painting, hit testing, cursor and text queries (and
// WM_ENTERIDLE, WM_NOTIFY) are left out unless a case asks for them. Menu messages name their menus
// ("main WM_INITMENUPOPUP file 0", "main WM_MENUSELECT 101 HILITE|MOUSESELECT file",
// "main WM_MENUSELECT closed").
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/user/winuser.h"

namespace zyn::test {

class MsgLog {
public:
    static const wchar_t* kClass;   // its procedure logs and answers with DefWindowProc

    MsgLog();
    ~MsgLog();
    MsgLog(const MsgLog&) = delete;
    MsgLog& operator=(const MsgLog&) = delete;

    // Registers the class (once per reset window system) and installs the hooks on the
    // calling thread.
    void Install();
    void Uninstall();

    // The next window created on this thread is known by `name` (named from its
    // HCBT_CREATEWND on, so its creation is logged too).
    void NameNext(const std::string& name) { m_nextName = name; }
    void Name(HWND h, const std::string& name) { m_names[h] = name; }
    // Windows of a class created from now on are named `prefix` with a running number
    // ("menu1", "menu2"...), for windows the system creates (popup menus).
    // With `ownMessages` false such windows appear by name in CBT lines and parameters only.
    void NameClass(const std::wstring& cls, const std::string& prefix, bool ownMessages = true)
    {
        m_classNames[cls] = {prefix, 0};
        if (!ownMessages)
            m_silentClasses.insert(cls);
    }
    // Menus appear by name in the menu messages' parameters.
    void NameMenu(HMENU menu, const std::string& name) { m_menuNames[menu] = name; }
    std::string MenuName(HMENU menu) const;
    HWND operator[](const std::string& name) const;
    std::string NameOf(HWND h) const;

    // Logging runs between Start and Stop; `keep` are messages of the quiet set to log anyway.
    void Start(const std::vector<UINT>& keep = {});
    void Stop() { m_on = false; }
    const std::vector<std::string>& Lines() const { return m_lines; }

    // The windows named so far that still exist, newest first (for cleaning up).
    std::vector<HWND> Named() const;

    // Called by the hooks and the procedure.
    void OnCbt(int code, WPARAM wp, LPARAM lp);
    void OnSent(HWND h, UINT msg, WPARAM wp, LPARAM lp);
    void OnProc(HWND h, UINT msg, WPARAM wp, LPARAM lp);

    static MsgLog* Current();

private:
    bool Logged(HWND h, UINT msg) const;
    std::string Describe(HWND h, UINT msg, WPARAM wp, LPARAM lp) const;
    void Add(std::string line);

    struct Pending {
        HWND hwnd = nullptr;
        UINT msg = 0;
        WPARAM wp = 0;
        LPARAM lp = 0;
        bool set = false;
    };

    std::map<HWND, std::string> m_names;
    std::map<std::wstring, std::pair<std::string, int>> m_classNames;
    std::map<HMENU, std::string> m_menuNames;
    std::vector<HWND> m_order;
    std::string m_nextName;
    std::vector<std::string> m_lines;
    std::set<UINT> m_quiet;
    std::set<std::wstring> m_silentClasses;
    std::set<HWND> m_silent;   // named, but their own messages are not logged
    Pending m_pending;   // the send the WH_CALLWNDPROC hook announced, until the procedure takes it
    bool m_on = false;
    ATOM m_atom = 0;
    HHOOK m_cbt = nullptr;
    HHOOK m_cwp = nullptr;
};

// Text of a WINDOWPOS's flags ("NOSIZE|NOMOVE|SHOWWINDOW"), lowest bit first.
std::string SwpFlagsText(UINT flags);

} // namespace zyn::test
