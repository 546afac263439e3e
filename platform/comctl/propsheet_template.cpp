// Dialog templates of property sheets: writing a parsed template back in its own layout
// (how a page's template becomes a child's), and the sheet's own template.
#include <cstring>

#include "platform/base/utf16.h"
#include "platform/comctl/propsheet_template.h"
#include "platform/comctl/prsht.h"
#include "platform/comctl/tabctrl.h"
#include "platform/user/button.h"
#include "platform/user/msgbox.h"
#include "platform/user/styles.h"

namespace zyn::comctl::detail {
namespace {

class Writer {
public:
    void U8(uint8_t v) { m_out.push_back(v); }
    void U16(uint16_t v)
    {
        m_out.push_back(static_cast<uint8_t>(v & 0xFF));
        m_out.push_back(static_cast<uint8_t>(v >> 8));
    }
    void U32(uint32_t v)
    {
        U16(static_cast<uint16_t>(v & 0xFFFF));
        U16(static_cast<uint16_t>(v >> 16));
    }
    void I16(short v) { U16(static_cast<uint16_t>(v)); }
    void Str(const std::wstring& s)
    {
        base::AppendUtf16LE(m_out, s);
        U16(0);
    }
    void NameOrOrd(const user::NameOrOrdinal& n)
    {
        if (n.ordinal) {
            U16(0xFFFF);
            U16(n.ordinal);
        } else {
            Str(n.name);
        }
    }
    void Align4()
    {
        while (m_out.size() % 4)
            m_out.push_back(0);
    }
    void Bytes(std::span<const uint8_t> b) { m_out.insert(m_out.end(), b.begin(), b.end()); }
    std::vector<uint8_t> Take() { return std::move(m_out); }

private:
    std::vector<uint8_t> m_out;
};

user::DialogItemTemplate Item(DWORD style, int id, WORD classOrdinal, const wchar_t* className,
    const std::wstring& text)
{
    user::DialogItemTemplate it;
    it.style = style | WS_CHILD;
    it.id = static_cast<DWORD>(id);
    if (classOrdinal)
        it.cls.ordinal = classOrdinal;
    else
        it.cls.name = className;
    it.title.name = text;
    it.cx = 50;
    it.cy = 14;
    return it;
}

user::DialogItemTemplate Button(int id, const wchar_t* text, DWORD style)
{
    return Item(style | WS_TABSTOP, id, 0x80, nullptr, text);
}

} // namespace

std::vector<uint8_t> WriteDialogTemplate(const user::DialogTemplate& t)
{
    Writer w;
    if (t.extended) {
        w.U16(1);
        w.U16(0xFFFF);
        w.U32(t.helpId);
        w.U32(t.exStyle);
        w.U32(t.style);
    } else {
        w.U32(t.style);
        w.U32(t.exStyle);
    }
    w.U16(static_cast<uint16_t>(t.items.size()));
    w.I16(t.x);
    w.I16(t.y);
    w.I16(t.cx);
    w.I16(t.cy);
    w.NameOrOrd(t.menu);
    w.NameOrOrd(t.cls);
    w.Str(t.title);
    if (t.style & DS_SETFONT) {
        w.U16(t.pointSize);
        if (t.extended) {
            w.U16(t.weight);
            w.U8(t.italic);
            w.U8(t.charset);
        }
        w.Str(t.face);
    }
    for (const user::DialogItemTemplate& it : t.items) {
        w.Align4();
        if (t.extended) {
            w.U32(it.helpId);
            w.U32(it.exStyle);
            w.U32(it.style);
        } else {
            w.U32(it.style);
            w.U32(it.exStyle);
        }
        w.I16(it.x);
        w.I16(it.y);
        w.I16(it.cx);
        w.I16(it.cy);
        if (t.extended)
            w.U32(it.id);
        else
            w.U16(static_cast<uint16_t>(it.id));
        w.NameOrOrd(it.cls);
        w.NameOrOrd(it.title);
        // The creation data keeps its own size word (the parser hands it over from there).
        if (it.creationData.empty())
            w.U16(0);
        else
            w.Bytes(it.creationData);
    }
    return w.Take();
}

void MakePageTemplate(user::DialogTemplate& t)
{
    // A page is a control parent inside the sheet: no frame, caption or menu of its own,
    // hidden until it is activated, placed by the sheet.
    constexpr DWORD kDropped = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX |
        WS_VISIBLE | WS_DISABLED | WS_MINIMIZE | WS_MAXIMIZE | DS_MODALFRAME | DS_SYSMODAL | DS_ABSALIGN | DS_CENTER |
        DS_CENTERMOUSE | DS_SETFOREGROUND | DS_CONTEXTHELP;
    t.style = (t.style & ~kDropped) | WS_CHILD | DS_CONTROL | DS_3DLOOK;
    t.exStyle &= ~(WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE | WS_EX_CLIENTEDGE | WS_EX_TOPMOST | WS_EX_APPWINDOW |
        WS_EX_TOOLWINDOW | WS_EX_CONTEXTHELP);
    t.x = 0;
    t.y = 0;
    t.menu = {};
}

std::vector<uint8_t> BuildSheetTemplate(DWORD pshFlags, bool child, DWORD style, DWORD exStyle,
    const std::wstring& caption)
{
    user::DialogTemplate t;
    t.style = style | DS_SETFONT;
    t.exStyle = exStyle;
    if (child)
        t.style = (t.style & ~(WS_POPUP | DS_MODALFRAME)) | WS_CHILD | DS_CONTROL;
    t.cx = 200;
    t.cy = 150;
    t.title = caption;
    t.hasFont = true;
    t.pointSize = 8;
    t.face = L"MS Shell Dlg";
    const bool wizard = (pshFlags & PSH_WIZARD) != 0;
    // The tab control is the first item, so a page placed on top of it comes first in the
    // tab order and the tab control follows.
    t.items.push_back(Item(wizard ? 0 : (WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS | TCS_MULTILINE),
        IDC_PS_TABCONTROL, 0, WC_TABCONTROLW, L""));
    if (child)
        return WriteDialogTemplate(t);
    if (wizard) {
        t.items.push_back(Button(IDC_PS_WIZBACK, L"< &Back", WS_VISIBLE | BS_PUSHBUTTON | WS_GROUP));
        t.items.push_back(Button(IDC_PS_WIZNEXT, L"&Next >", WS_VISIBLE | BS_DEFPUSHBUTTON));
        t.items.push_back(Button(IDC_PS_WIZFINISH, L"Finish",
            ((pshFlags & PSH_WIZARDHASFINISH) ? WS_VISIBLE : 0) | BS_PUSHBUTTON));
    } else {
        t.items.push_back(Button(IDOK, L"OK", WS_VISIBLE | BS_DEFPUSHBUTTON | WS_GROUP));
    }
    t.items.push_back(Button(IDCANCEL, L"Cancel", WS_VISIBLE | BS_PUSHBUTTON));
    if (!wizard && !(pshFlags & PSH_NOAPPLYNOW))
        t.items.push_back(Button(IDC_PS_APPLYNOW, L"&Apply", WS_VISIBLE | WS_DISABLED | BS_PUSHBUTTON));
    if (pshFlags & PSH_HASHELP)
        t.items.push_back(Button(IDHELP, L"Help", WS_VISIBLE | BS_PUSHBUTTON));
    return WriteDialogTemplate(t);
}

std::pair<DWORD, DWORD> TemplateStyles(std::span<const uint8_t> bytes)
{
    if (bytes.size() < 16)
        return {0, 0};
    WORD head[2];
    std::memcpy(head, bytes.data(), sizeof head);
    DWORD a = 0, b = 0;
    if (head[0] == 1 && head[1] == 0xFFFF) {
        std::memcpy(&a, bytes.data() + 12, 4); // style
        std::memcpy(&b, bytes.data() + 8, 4);  // exStyle
        return {a, b};
    }
    std::memcpy(&a, bytes.data(), 4);
    std::memcpy(&b, bytes.data() + 4, 4);
    return {a, b};
}

} // namespace zyn::comctl::detail
