#pragma once
// Message maps: per-class tables of entries that bind window messages, commands and
// notifications to member functions. A class declares its map with
// DECLARE_MESSAGE_MAP() and defines it between BEGIN_MESSAGE_MAP(theClass, baseClass)
// (BEGIN_TEMPLATE_MESSAGE_MAP for class templates) and END_MESSAGE_MAP(). Dispatch walks
// the map of the object's class (the virtual GetMessageMap), then the maps of its bases;
// the first matching entry wins.
//
// Each entry holds the member pointer converted to AFX_PMSG and a thunk that converts
// it back to its exact type, cracks wParam/lParam and calls it. The entry macros cast
// the member with static_cast to the exact signature their message needs, so a handler
// with the wrong parameters or result does not compile.
//
// Lookups go through an index built once per class at first use (every entry of the
// class and its bases, keyed by message and code), so a dispatch costs one hash probe
// however deep the class hierarchy is. Entries for registered messages
// (ON_REGISTERED_MESSAGE) read their message-number variable when the index is built,
// that is, at first use, after static initialisation has registered the message.
//
// The command and notification forms are here; the window-message forms (ON_WM_*,
// ON_MESSAGE, ON_REGISTERED_MESSAGE and the reflection forms of window messages) are in
// platform/afx/msgmap_wnd.h.
#include <atomic>
#include <bit>

#include "platform/afx/afxpriv.h"
#include "platform/base/wintypes.h"
#include "platform/user/messages.h"

class CCmdTarget;
class CCmdUI;
class CWinThread;
struct NMHDR;

// Marks message handlers in class declarations.
#define afx_msg

// The generic member pointer every entry stores.
using AFX_PMSG = void (CCmdTarget::*)();
using AFX_PMSGT = void (CWinThread::*)();

namespace zyn::afx {

// What one dispatch reads and writes. Window messages use message/wParam/lParam and set
// lResult; command routing uses nID/nCode/pExtra.
struct MsgCall {
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    LRESULT lResult = 0;
    UINT nID = 0;
    int nCode = 0;
    void* pExtra = nullptr;
};

// Converts pfn back to the handler's real type, cracks the call and runs the handler.
// Returns whether the handler took the message (FALSE only from the _EX forms).
using MsgThunk = BOOL (*)(CCmdTarget* pTarget, AFX_PMSG pfn, MsgCall& call);
// The same for a window message: the message's parameters go straight to the handler,
// and its answer comes back.
using WmThunk = LRESULT (*)(CCmdTarget* pTarget, AFX_PMSG pfn, UINT message, WPARAM wParam, LPARAM lParam);

// nSig of an entry: the end marker, the kind of entry, or (ON_REGISTERED_MESSAGE) the
// address of the variable holding the registered message number.
enum : UINT_PTR {
    AfxSig_end = 0,
    AfxSig_msg = 1,      // a window message
    AfxSig_cmd = 2,      // a command or control notification (WM_COMMAND routing)
    AfxSig_cmdUI = 3,    // CN_UPDATE_COMMAND_UI
    AfxSig_notify = 4,   // a WM_NOTIFY notification
};

class MsgMapIndex;

// The per-class lookup index, built at first use and published atomically (never freed:
// the map lives as long as the program and messages may still arrive during exit).
struct MsgMapCache {
    std::atomic<const MsgMapIndex*> index{nullptr};
};

// Member pointers of every type have one size and layout, so an entry keeps the bits of
// the handler's member pointer and its thunk takes them back as the same type.
template <class Pmf>
inline AFX_PMSG ToPmsg(Pmf pmf) noexcept
{
    static_assert(sizeof(Pmf) == sizeof(AFX_PMSG), "member pointers of one size");
    return std::bit_cast<AFX_PMSG>(pmf);
}

template <class Pmf>
inline Pmf FromPmsg(AFX_PMSG pfn) noexcept
{
    static_assert(sizeof(Pmf) == sizeof(AFX_PMSG), "member pointers of one size");
    return std::bit_cast<Pmf>(pfn);
}

inline UINT_PTR RegisteredMessageSig(const UINT* pnMessage) noexcept { return reinterpret_cast<UINT_PTR>(pnMessage); }

// Thunks of the command routing forms (platform/afx/msgmap.cpp).
BOOL ThunkCmd(CCmdTarget*, AFX_PMSG, MsgCall&);             // void ()
BOOL ThunkCmdEx(CCmdTarget*, AFX_PMSG, MsgCall&);           // BOOL (UINT nID)
BOOL ThunkCmdRange(CCmdTarget*, AFX_PMSG, MsgCall&);        // void (UINT nID)
BOOL ThunkCmdBool(CCmdTarget*, AFX_PMSG, MsgCall&);         // BOOL ()
BOOL ThunkCmdUI(CCmdTarget*, AFX_PMSG, MsgCall&);           // void (CCmdUI*)
BOOL ThunkNotify(CCmdTarget*, AFX_PMSG, MsgCall&);          // void (NMHDR*, LRESULT*)
BOOL ThunkNotifyRange(CCmdTarget*, AFX_PMSG, MsgCall&);     // void (UINT nID, NMHDR*, LRESULT*)
BOOL ThunkNotifyEx(CCmdTarget*, AFX_PMSG, MsgCall&);        // BOOL (UINT nID, NMHDR*, LRESULT*)
BOOL ThunkNotifyBool(CCmdTarget*, AFX_PMSG, MsgCall&);      // BOOL (NMHDR*, LRESULT*)
BOOL ThunkThreadMessage(CCmdTarget*, AFX_PMSG, MsgCall&);   // void (CWinThread::*)(WPARAM, LPARAM)

} // namespace zyn::afx

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;   // window message (0xC000 for a registered one), or WM_COMMAND / WM_NOTIFY
                     // (+ WM_REFLECT_BASE when reflected) for command routing
    UINT nCode;      // control notification code, CN_COMMAND or CN_UPDATE_COMMAND_UI
    UINT nID;        // first control or command ID (0 for window messages)
    UINT nLastID;    // last ID of the range
    UINT_PTR nSig;   // see zyn::afx::AfxSig_*; the message variable for registered messages
    AFX_PMSG pfn;    // the handler, converted
    union {
        zyn::afx::MsgThunk pfnThunk;     // command routing and thread messages
        zyn::afx::WmThunk pfnWmThunk;    // window messages (AfxSig_msg and registered ones)
    };
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
    zyn::afx::MsgMapCache* pCache;
};

// What OnCmdMsg fills instead of calling a handler when asked only whether one exists.
struct AFX_CMDHANDLERINFO {
    CCmdTarget* pTarget;
    AFX_PMSG pmf;
};

namespace zyn::afx {
// The first entry, in the map chain starting at pMap, for the message and code whose ID
// range holds nID; null when there is none.
const AFX_MSGMAP_ENTRY* FindMessageEntry(const AFX_MSGMAP* pMap, UINT nMessage, UINT nCode, UINT nID);
// Entries the index of pMap holds (the class and all its bases), for tests.
size_t MessageMapEntryCount(const AFX_MSGMAP* pMap);
} // namespace zyn::afx

// ---- declaring and defining maps -----------------------------------------------------------------------
#define DECLARE_MESSAGE_MAP()                         \
protected:                                            \
    static const AFX_MSGMAP* GetThisMessageMap();     \
    const AFX_MSGMAP* GetMessageMap() const override;

#define ZYN_MSGMAP_BODY(theClass, baseClass)                \
    {                                                       \
        using ThisClass [[maybe_unused]] = theClass;        \
        using TheBaseClass [[maybe_unused]] = baseClass;    \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                        \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
    const AFX_MSGMAP* theClass::GetThisMessageMap() ZYN_MSGMAP_BODY(theClass, baseClass)

// A class template with one type parameter: every instantiation has its own map (and
// its own index).
#define BEGIN_TEMPLATE_MESSAGE_MAP(theClass, type_name, baseClass)                             \
    template <typename type_name>                                                              \
    const AFX_MSGMAP* theClass<type_name>::GetMessageMap() const { return GetThisMessageMap(); } \
    template <typename type_name>                                                              \
    const AFX_MSGMAP* theClass<type_name>::GetThisMessageMap() ZYN_MSGMAP_BODY(theClass<type_name>, baseClass)

// A class template with two type parameters.
#define BEGIN_TEMPLATE_MESSAGE_MAP2(theClass, type_name1, type_name2, baseClass)      \
    template <typename type_name1, typename type_name2>                               \
    const AFX_MSGMAP* theClass<type_name1, type_name2>::GetMessageMap() const         \
    {                                                                                 \
        return GetThisMessageMap();                                                   \
    }                                                                                 \
    template <typename type_name1, typename type_name2>                               \
    const AFX_MSGMAP* theClass<type_name1, type_name2>::GetThisMessageMap()           \
    {                                                                                 \
        using ThisClass [[maybe_unused]] = theClass<type_name1, type_name2>;          \
        using TheBaseClass [[maybe_unused]] = baseClass;                              \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {

#define END_MESSAGE_MAP()                                                                        \
            {0, 0, 0, 0, ::zyn::afx::AfxSig_end, nullptr, {nullptr}}};                            \
        static ::zyn::afx::MsgMapCache _messageCache;                                           \
        static const AFX_MSGMAP _messageMap = {&TheBaseClass::GetThisMessageMap, &_messageEntries[0], \
            &_messageCache};                                                                    \
        return &_messageMap;                                                                    \
    }

// ---- commands ---------------------------------------------------------------------------------------------
// Handlers are named as &Class::Member.
#define ON_COMMAND(id, memberFxn)                                                                 \
    {WM_COMMAND, static_cast<UINT>(CN_COMMAND), static_cast<WORD>(id), static_cast<WORD>(id),     \
        ::zyn::afx::AfxSig_cmd, ::zyn::afx::ToPmsg(static_cast<void (CCmdTarget::*)()>(memberFxn)), \
        {&::zyn::afx::ThunkCmd}},

// BOOL handler(UINT nID): FALSE lets the command go on to the next command target.
#define ON_COMMAND_EX(id, memberFxn)                                                                    \
    {WM_COMMAND, static_cast<UINT>(CN_COMMAND), static_cast<WORD>(id), static_cast<WORD>(id),           \
        ::zyn::afx::AfxSig_cmd, ::zyn::afx::ToPmsg(static_cast<BOOL (CCmdTarget::*)(UINT)>(memberFxn)), \
        {&::zyn::afx::ThunkCmdEx}},

#define ON_COMMAND_RANGE(id, idLast, memberFxn)                                                         \
    {WM_COMMAND, static_cast<UINT>(CN_COMMAND), static_cast<WORD>(id), static_cast<WORD>(idLast),       \
        ::zyn::afx::AfxSig_cmd, ::zyn::afx::ToPmsg(static_cast<void (CCmdTarget::*)(UINT)>(memberFxn)), \
        {&::zyn::afx::ThunkCmdRange}},

#define ON_COMMAND_EX_RANGE(id, idLast, memberFxn)                                                      \
    {WM_COMMAND, static_cast<UINT>(CN_COMMAND), static_cast<WORD>(id), static_cast<WORD>(idLast),       \
        ::zyn::afx::AfxSig_cmd, ::zyn::afx::ToPmsg(static_cast<BOOL (CCmdTarget::*)(UINT)>(memberFxn)), \
        {&::zyn::afx::ThunkCmdEx}},

#define ON_UPDATE_COMMAND_UI(id, memberFxn)                                                            \
    {WM_COMMAND, static_cast<UINT>(CN_UPDATE_COMMAND_UI), static_cast<WORD>(id), static_cast<WORD>(id), \
        ::zyn::afx::AfxSig_cmdUI,                                                                      \
        ::zyn::afx::ToPmsg(static_cast<void (CCmdTarget::*)(CCmdUI*)>(memberFxn)), {&::zyn::afx::ThunkCmdUI}},

#define ON_UPDATE_COMMAND_UI_RANGE(id, idLast, memberFxn)                                                  \
    {WM_COMMAND, static_cast<UINT>(CN_UPDATE_COMMAND_UI), static_cast<WORD>(id), static_cast<WORD>(idLast), \
        ::zyn::afx::AfxSig_cmdUI,                                                                          \
        ::zyn::afx::ToPmsg(static_cast<void (CCmdTarget::*)(CCmdUI*)>(memberFxn)), {&::zyn::afx::ThunkCmdUI}},

// ---- control notifications (WM_COMMAND from a child control) ------------------------------------------------
#define ON_CONTROL(wNotifyCode, id, memberFxn)                                                  \
    {WM_COMMAND, static_cast<WORD>(wNotifyCode), static_cast<WORD>(id), static_cast<WORD>(id),  \
        ::zyn::afx::AfxSig_cmd, ::zyn::afx::ToPmsg(static_cast<void (CCmdTarget::*)()>(memberFxn)), \
        {&::zyn::afx::ThunkCmd}},

#define ON_CONTROL_RANGE(wNotifyCode, id, idLast, memberFxn)                                            \
    {WM_COMMAND, static_cast<WORD>(wNotifyCode), static_cast<WORD>(id), static_cast<WORD>(idLast),      \
        ::zyn::afx::AfxSig_cmd, ::zyn::afx::ToPmsg(static_cast<void (CCmdTarget::*)(UINT)>(memberFxn)), \
        {&::zyn::afx::ThunkCmdRange}},

// The usual control notifications (codes from the standard controls' headers).
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_BN_DOUBLECLICKED(id, memberFxn) ON_CONTROL(BN_DOUBLECLICKED, id, memberFxn)
#define ON_BN_SETFOCUS(id, memberFxn) ON_CONTROL(BN_SETFOCUS, id, memberFxn)
#define ON_BN_KILLFOCUS(id, memberFxn) ON_CONTROL(BN_KILLFOCUS, id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn) ON_CONTROL(EN_CHANGE, id, memberFxn)
#define ON_EN_UPDATE(id, memberFxn) ON_CONTROL(EN_UPDATE, id, memberFxn)
#define ON_EN_SETFOCUS(id, memberFxn) ON_CONTROL(EN_SETFOCUS, id, memberFxn)
#define ON_EN_KILLFOCUS(id, memberFxn) ON_CONTROL(EN_KILLFOCUS, id, memberFxn)
#define ON_EN_MAXTEXT(id, memberFxn) ON_CONTROL(EN_MAXTEXT, id, memberFxn)
#define ON_EN_ERRSPACE(id, memberFxn) ON_CONTROL(EN_ERRSPACE, id, memberFxn)
#define ON_EN_HSCROLL(id, memberFxn) ON_CONTROL(EN_HSCROLL, id, memberFxn)
#define ON_EN_VSCROLL(id, memberFxn) ON_CONTROL(EN_VSCROLL, id, memberFxn)
#define ON_LBN_SELCHANGE(id, memberFxn) ON_CONTROL(LBN_SELCHANGE, id, memberFxn)
#define ON_LBN_DBLCLK(id, memberFxn) ON_CONTROL(LBN_DBLCLK, id, memberFxn)
#define ON_LBN_SELCANCEL(id, memberFxn) ON_CONTROL(LBN_SELCANCEL, id, memberFxn)
#define ON_LBN_SETFOCUS(id, memberFxn) ON_CONTROL(LBN_SETFOCUS, id, memberFxn)
#define ON_LBN_KILLFOCUS(id, memberFxn) ON_CONTROL(LBN_KILLFOCUS, id, memberFxn)
#define ON_LBN_ERRSPACE(id, memberFxn) ON_CONTROL(LBN_ERRSPACE, id, memberFxn)
#define ON_CBN_SELCHANGE(id, memberFxn) ON_CONTROL(CBN_SELCHANGE, id, memberFxn)
#define ON_CBN_DBLCLK(id, memberFxn) ON_CONTROL(CBN_DBLCLK, id, memberFxn)
#define ON_CBN_SETFOCUS(id, memberFxn) ON_CONTROL(CBN_SETFOCUS, id, memberFxn)
#define ON_CBN_KILLFOCUS(id, memberFxn) ON_CONTROL(CBN_KILLFOCUS, id, memberFxn)
#define ON_CBN_EDITCHANGE(id, memberFxn) ON_CONTROL(CBN_EDITCHANGE, id, memberFxn)
#define ON_CBN_EDITUPDATE(id, memberFxn) ON_CONTROL(CBN_EDITUPDATE, id, memberFxn)
#define ON_CBN_DROPDOWN(id, memberFxn) ON_CONTROL(CBN_DROPDOWN, id, memberFxn)
#define ON_CBN_CLOSEUP(id, memberFxn) ON_CONTROL(CBN_CLOSEUP, id, memberFxn)
#define ON_CBN_SELENDOK(id, memberFxn) ON_CONTROL(CBN_SELENDOK, id, memberFxn)
#define ON_CBN_SELENDCANCEL(id, memberFxn) ON_CONTROL(CBN_SELENDCANCEL, id, memberFxn)
#define ON_CBN_ERRSPACE(id, memberFxn) ON_CONTROL(CBN_ERRSPACE, id, memberFxn)
#define ON_STN_CLICKED(id, memberFxn) ON_CONTROL(STN_CLICKED, id, memberFxn)
#define ON_STN_DBLCLK(id, memberFxn) ON_CONTROL(STN_DBLCLK, id, memberFxn)

// ---- notifications (WM_NOTIFY) -------------------------------------------------------------------------------
// A control that sends a notification in a wide and a narrow form (TTN_NEEDTEXTW and
// TTN_NEEDTEXTA) gets one entry per form; each code is a separate key.
#define ON_NOTIFY(wNotifyCode, id, memberFxn)                                                            \
    {WM_NOTIFY, static_cast<WORD>(static_cast<int>(wNotifyCode)), static_cast<WORD>(id),                 \
        static_cast<WORD>(id), ::zyn::afx::AfxSig_notify,                                                \
        ::zyn::afx::ToPmsg(static_cast<void (CCmdTarget::*)(NMHDR*, LRESULT*)>(memberFxn)),             \
        {&::zyn::afx::ThunkNotify}},

#define ON_NOTIFY_RANGE(wNotifyCode, id, idLast, memberFxn)                                              \
    {WM_NOTIFY, static_cast<WORD>(static_cast<int>(wNotifyCode)), static_cast<WORD>(id),                 \
        static_cast<WORD>(idLast), ::zyn::afx::AfxSig_notify,                                            \
        ::zyn::afx::ToPmsg(static_cast<void (CCmdTarget::*)(UINT, NMHDR*, LRESULT*)>(memberFxn)),       \
        {&::zyn::afx::ThunkNotifyRange}},

// BOOL handler(UINT nID, NMHDR*, LRESULT*): FALSE lets the notification go on.
#define ON_NOTIFY_EX(wNotifyCode, id, memberFxn)                                                         \
    {WM_NOTIFY, static_cast<WORD>(static_cast<int>(wNotifyCode)), static_cast<WORD>(id),                 \
        static_cast<WORD>(id), ::zyn::afx::AfxSig_notify,                                                \
        ::zyn::afx::ToPmsg(static_cast<BOOL (CCmdTarget::*)(UINT, NMHDR*, LRESULT*)>(memberFxn)),       \
        {&::zyn::afx::ThunkNotifyEx}},

#define ON_NOTIFY_EX_RANGE(wNotifyCode, id, idLast, memberFxn)                                           \
    {WM_NOTIFY, static_cast<WORD>(static_cast<int>(wNotifyCode)), static_cast<WORD>(id),                 \
        static_cast<WORD>(idLast), ::zyn::afx::AfxSig_notify,                                            \
        ::zyn::afx::ToPmsg(static_cast<BOOL (CCmdTarget::*)(UINT, NMHDR*, LRESULT*)>(memberFxn)),       \
        {&::zyn::afx::ThunkNotifyEx}},

// ---- reflection: notifications a control handles itself --------------------------------------------------------
// The parent hands WM_NOTIFY and WM_COMMAND from a child with a permanent window object
// to that child first. A plain handler keeps the notification from the parent; an _EX
// handler returning FALSE lets the parent have it as well.
#define ON_NOTIFY_REFLECT(wNotifyCode, memberFxn)                                                        \
    {WM_NOTIFY + WM_REFLECT_BASE, static_cast<WORD>(static_cast<int>(wNotifyCode)), 0, 0,                \
        ::zyn::afx::AfxSig_notify,                                                                       \
        ::zyn::afx::ToPmsg(static_cast<void (CCmdTarget::*)(NMHDR*, LRESULT*)>(memberFxn)),             \
        {&::zyn::afx::ThunkNotify}},

#define ON_NOTIFY_REFLECT_EX(wNotifyCode, memberFxn)                                                     \
    {WM_NOTIFY + WM_REFLECT_BASE, static_cast<WORD>(static_cast<int>(wNotifyCode)), 0, 0,                \
        ::zyn::afx::AfxSig_notify,                                                                       \
        ::zyn::afx::ToPmsg(static_cast<BOOL (CCmdTarget::*)(NMHDR*, LRESULT*)>(memberFxn)),             \
        {&::zyn::afx::ThunkNotifyBool}},

#define ON_CONTROL_REFLECT(wNotifyCode, memberFxn)                                                       \
    {WM_COMMAND + WM_REFLECT_BASE, static_cast<WORD>(wNotifyCode), 0, 0, ::zyn::afx::AfxSig_cmd,         \
        ::zyn::afx::ToPmsg(static_cast<void (CCmdTarget::*)()>(memberFxn)), {&::zyn::afx::ThunkCmd}},

#define ON_CONTROL_REFLECT_EX(wNotifyCode, memberFxn)                                                    \
    {WM_COMMAND + WM_REFLECT_BASE, static_cast<WORD>(wNotifyCode), 0, 0, ::zyn::afx::AfxSig_cmd,         \
        ::zyn::afx::ToPmsg(static_cast<BOOL (CCmdTarget::*)()>(memberFxn)), {&::zyn::afx::ThunkCmdBool}},

// A control that updates its own command state (UpdateDialogControls asks it first).
#define ON_UPDATE_COMMAND_UI_REFLECT(memberFxn)                                                          \
    {WM_COMMAND + WM_REFLECT_BASE, static_cast<WORD>(CN_UPDATE_COMMAND_UI), 0, 0, ::zyn::afx::AfxSig_cmdUI, \
        ::zyn::afx::ToPmsg(static_cast<void (CCmdTarget::*)(CCmdUI*)>(memberFxn)), {&::zyn::afx::ThunkCmdUI}},

// ---- thread messages (posted to a CWinThread with no window) ------------------------------------------------------
#define ON_THREAD_MESSAGE(message, memberFxn)                                                            \
    {message, 0, 0, 0, ::zyn::afx::AfxSig_msg,                                                           \
        ::zyn::afx::ToPmsg(static_cast<void (CWinThread::*)(WPARAM, LPARAM)>(memberFxn)),               \
        {&::zyn::afx::ThunkThreadMessage}},

#define ON_REGISTERED_THREAD_MESSAGE(nMessageVariable, memberFxn)                                        \
    {0xC000, 0, 0, 0, ::zyn::afx::RegisteredMessageSig(&(nMessageVariable)),                             \
        ::zyn::afx::ToPmsg(static_cast<void (CWinThread::*)(WPARAM, LPARAM)>(memberFxn)),               \
        {&::zyn::afx::ThunkThreadMessage}},
