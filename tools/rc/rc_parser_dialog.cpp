// MENU, MENUEX, DIALOG and DIALOGEX statements.
#include <array>

#include "tools/rc/rc_parser.h"

namespace zyn::rc {
namespace {

constexpr uint16_t kRtMenu = 4, kRtDialog = 5;
constexpr int kMaxMenuDepth = 64;

constexpr uint32_t WS_POPUP = 0x80000000u, WS_CHILD = 0x40000000u, WS_VISIBLE = 0x10000000u,
                   WS_CAPTION = 0x00C00000u, WS_BORDER = 0x00800000u, WS_SYSMENU = 0x00080000u,
                   WS_GROUP = 0x00020000u, WS_TABSTOP = 0x00010000u;

constexpr uint16_t kButton = 0x80, kEdit = 0x81, kStatic = 0x82, kListBox = 0x83, kScrollBar = 0x84,
                   kComboBox = 0x85;

// The predefined control classes, by their names and ordinals.
struct ClassName {
    const wchar_t* name;
    uint16_t ordinal;
};
constexpr std::array<ClassName, 6> kClasses = {{
    {L"BUTTON", kButton},
    {L"EDIT", kEdit},
    {L"STATIC", kStatic},
    {L"LISTBOX", kListBox},
    {L"SCROLLBAR", kScrollBar},
    {L"COMBOBOX", kComboBox},
}};

// The control statements other than CONTROL: class, default style, whether they take a
// text, and the bits of the class's style that hold its kind (SS_TYPEMASK, BS_TYPEMASK,
// the combo box's CBS_SIMPLE/CBS_DROPDOWN/CBS_DROPDOWNLIST field, the edit's alignment).
// A style written after the rectangle adds to the default, except that a kind it names
// replaces the default kind: "COMBOBOX ..., CBS_DROPDOWN" is a drop-down combo, not the
// CBS_DROPDOWNLIST that CBS_SIMPLE | CBS_DROPDOWN would make. The other default bits
// (WS_TABSTOP, WS_GROUP, WS_BORDER, LBS_NOTIFY) stay unless NOT removes them.
constexpr uint32_t kStaticKinds = 0x1F, kButtonKinds = 0x0F, kComboKinds = 0x03, kEditAlign = 0x03;
struct ControlKind {
    const wchar_t* keyword;
    uint16_t cls;
    uint32_t style;
    bool hasText;
    uint32_t kindMask;
};
constexpr ControlKind kControls[] = {
    {L"LTEXT", kStatic, 0x0000 /*SS_LEFT*/ | WS_GROUP, true, kStaticKinds},
    {L"RTEXT", kStatic, 0x0002 /*SS_RIGHT*/ | WS_GROUP, true, kStaticKinds},
    {L"CTEXT", kStatic, 0x0001 /*SS_CENTER*/ | WS_GROUP, true, kStaticKinds},
    {L"ICON", kStatic, 0x0003 /*SS_ICON*/, true, kStaticKinds},
    {L"PUSHBUTTON", kButton, 0x0 /*BS_PUSHBUTTON*/ | WS_TABSTOP, true, kButtonKinds},
    {L"DEFPUSHBUTTON", kButton, 0x1 /*BS_DEFPUSHBUTTON*/ | WS_TABSTOP, true, kButtonKinds},
    {L"CHECKBOX", kButton, 0x2 /*BS_CHECKBOX*/ | WS_TABSTOP, true, kButtonKinds},
    {L"AUTOCHECKBOX", kButton, 0x3 /*BS_AUTOCHECKBOX*/ | WS_TABSTOP, true, kButtonKinds},
    {L"RADIOBUTTON", kButton, 0x4 /*BS_RADIOBUTTON*/ | WS_TABSTOP, true, kButtonKinds},
    {L"STATE3", kButton, 0x5 /*BS_3STATE*/ | WS_TABSTOP, true, kButtonKinds},
    {L"AUTO3STATE", kButton, 0x6 /*BS_AUTO3STATE*/ | WS_TABSTOP, true, kButtonKinds},
    {L"GROUPBOX", kButton, 0x7 /*BS_GROUPBOX*/, true, kButtonKinds},
    {L"AUTORADIOBUTTON", kButton, 0x9 /*BS_AUTORADIOBUTTON*/ | WS_TABSTOP, true, kButtonKinds},
    {L"PUSHBOX", kButton, 0xA /*BS_PUSHBOX*/ | WS_TABSTOP, true, kButtonKinds},
    {L"EDITTEXT", kEdit, 0x0 /*ES_LEFT*/ | WS_BORDER | WS_TABSTOP, false, kEditAlign},
    {L"LISTBOX", kListBox, 0x1 /*LBS_NOTIFY*/ | WS_BORDER, false, 0},
    {L"COMBOBOX", kComboBox, 0x1 /*CBS_SIMPLE*/ | WS_TABSTOP, false, kComboKinds},
    {L"SCROLLBAR", kScrollBar, 0x0 /*SBS_HORZ*/, false, 0},
};

bool EqualsUpper(std::wstring_view s, const wchar_t* upper)
{
    return UpperAscii(s) == upper;
}

} // namespace

// ---- menus ----------------------------------------------------------------------------------

void Parser::Menu(const ResId& name, bool ex, Location where)
{
    uint16_t lang = m_lang;
    CommonOptions(lang);
    const std::vector<MenuItem> items = MenuItems(ex, 0);
    Add(ResId::Number(kRtMenu), name, lang, ex ? BuildMenuEx(items) : BuildMenu(items), where);
}

std::vector<MenuItem> Parser::MenuItems(bool ex, int depth)
{
    if (depth > kMaxMenuDepth)
        throw CompileError(Peek().where, "menus nested more than " + std::to_string(kMaxMenuDepth) + " levels deep");
    ExpectBegin(depth ? "after POPUP" : (ex ? "after MENUEX" : "after MENU"));
    std::vector<MenuItem> items;
    // MENUEX parameters: optional expressions separated by commas, any of them empty.
    auto optionalParams = [this](size_t max) {
        std::vector<std::optional<uint32_t>> params;
        while (params.size() < max && AcceptPunct(L",")) {
            if (Peek().IsPunct(L",") || !AtExpressionStart() || Peek().IsKeyword(L"MENUITEM") ||
                Peek().IsKeyword(L"POPUP") || Peek().IsKeyword(L"BEGIN") || Peek().IsKeyword(L"END"))
                params.push_back(std::nullopt);
            else
                params.push_back(Expr().v);
        }
        return params;
    };
    // MENU options: keywords after commas or spaces.
    auto options = [this]() {
        uint16_t flags = 0;
        for (;;) {
            const bool comma = AcceptPunct(L",");
            const Token& o = Peek();
            if (o.IsKeyword(L"GRAYED"))
                flags |= kMfGrayed;
            else if (o.IsKeyword(L"INACTIVE"))
                flags |= kMfDisabled;
            else if (o.IsKeyword(L"CHECKED"))
                flags |= kMfChecked;
            else if (o.IsKeyword(L"MENUBARBREAK"))
                flags |= kMfMenuBarBreak;
            else if (o.IsKeyword(L"MENUBREAK"))
                flags |= kMfMenuBreak;
            else if (o.IsKeyword(L"HELP"))
                flags |= kMfHelp;
            else if (comma)
                throw CompileError(o.where, "unknown menu option '" + Narrow(o.text) + "'");
            else
                return flags;
            Next();
        }
    };
    while (!AcceptEnd()) {
        const Location at = Peek().where;
        MenuItem item;
        if (AcceptKeyword(L"MENUITEM")) {
            if (AcceptKeyword(L"SEPARATOR")) {
                item.separator = true;
                if (ex)
                    item.type = kMftSeparator;
            } else {
                item.text = StringLit("the menu item's text");
                if (ex) {
                    const auto p = optionalParams(3);
                    item.id = p.size() > 0 && p[0] ? *p[0] : 0;
                    item.type = p.size() > 1 && p[1] ? *p[1] : 0;
                    item.state = p.size() > 2 && p[2] ? *p[2] : 0;
                } else {
                    ExpectPunct(L",", "after the menu item's text");
                    item.id = Word("menu item ID");
                    item.options = options();
                }
            }
        } else if (AcceptKeyword(L"POPUP")) {
            item.popup = true;
            item.text = StringLit("the popup's text");
            if (ex) {
                const auto p = optionalParams(4);
                item.id = p.size() > 0 && p[0] ? *p[0] : 0;
                item.type = p.size() > 1 && p[1] ? *p[1] : 0;
                item.state = p.size() > 2 && p[2] ? *p[2] : 0;
                item.helpId = p.size() > 3 && p[3] ? *p[3] : 0;
            } else {
                item.options = options();
            }
            item.children = MenuItems(ex, depth + 1);
            if (item.children.empty())
                throw CompileError(at, "POPUP \"" + Narrow(item.text) + "\" has no items");
        } else {
            Unexpected("MENUITEM, POPUP or END");
        }
        items.push_back(std::move(item));
    }
    return items;
}

// ---- dialogs --------------------------------------------------------------------------------

void Parser::DialogStatement(const ResId& name, bool ex, Location where)
{
    SkipMemoryOptions();
    Dialog d;
    d.ex = ex;
    d.x = Coord("dialog x");
    ExpectPunct(L",", "after the dialog's x");
    d.y = Coord("dialog y");
    ExpectPunct(L",", "after the dialog's y");
    d.cx = Coord("dialog width");
    ExpectPunct(L",", "after the dialog's width");
    d.cy = Coord("dialog height");
    if (ex && AcceptPunct(L","))
        d.helpId = Expr().v;
    uint16_t lang = m_lang;
    bool styleGiven = false, captionGiven = false;
    while (!AtBegin()) {
        if (AcceptKeyword(L"STYLE")) {
            d.style = Style(0);
            styleGiven = true;
        } else if (AcceptKeyword(L"EXSTYLE")) {
            d.exStyle = Style(0);
        } else if (AcceptKeyword(L"CAPTION")) {
            d.caption = StringLit("the caption");
            captionGiven = true;
        } else if (AcceptKeyword(L"FONT")) {
            d.hasFont = true;
            d.pointSize = Word("font size");
            ExpectPunct(L",", "after the font size");
            d.face = StringLit("the font's face name");
            const Location fontAt = Peek().where;
            if (AcceptPunct(L",")) {
                d.weight = Word("font weight");
                if (AcceptPunct(L",")) {
                    d.italic = Expr().v ? 1 : 0;
                    if (AcceptPunct(L","))
                        d.charset = static_cast<uint8_t>(Expr().v);
                }
                // A DIALOG template has no place for them (its font is only size and face).
                if (!ex)
                    m_ctx.Warn(fontAt, "a DIALOG font has no weight, italic or charset; they are ignored "
                                       "(DIALOGEX keeps them)");
            }
        } else if (AcceptKeyword(L"MENU")) {
            d.menu = TextOrOrdinal("the dialog's menu");
            if (d.menu.kind == NameOrOrd::Kind::Text)
                d.menu.text = UpperAscii(d.menu.text);
        } else if (AcceptKeyword(L"CLASS")) {
            d.cls = TextOrOrdinal("the dialog's class");
        } else if (AcceptKeyword(L"LANGUAGE")) {
            lang = Language();
        } else if (AcceptKeyword(L"CHARACTERISTICS") || AcceptKeyword(L"VERSION")) {
            Expr();
        } else if (Peek().kind == TokKind::End) {
            throw CompileError(Peek().where, "unexpected end of file: the dialog has no BEGIN");
        } else {
            Unexpected("BEGIN or a dialog option (STYLE, EXSTYLE, CAPTION, FONT, MENU, CLASS)");
        }
    }
    // Without a STYLE a dialog is a bordered popup with a system menu, and a title bar when
    // it has a caption; a STYLE given says everything itself (a child page keeps its
    // caption text without a title bar).
    if (!styleGiven)
        d.style = WS_POPUP | WS_BORDER | WS_SYSMENU | (captionGiven ? WS_CAPTION : 0);
    if (!d.hasFont && (d.style & kDsSetFont))
        m_ctx.Warn(where, "DS_SETFONT without a FONT statement is ignored");
    ExpectBegin("after the dialog's options");
    while (!AcceptEnd()) {
        d.controls.push_back(Control(ex));
        if (d.controls.size() > 0xFFFF)
            throw CompileError(where, "too many controls in one dialog");
    }
    Add(ResId::Number(kRtDialog), name, lang, BuildDialog(d), where);
}

// A keyword control's written style on top of its default (see kControls).
uint32_t Parser::ControlStyle(uint32_t defaults, uint32_t kindMask)
{
    std::vector<std::pair<bool, uint32_t>> terms; // (NOT, value)
    uint32_t named = 0;
    do {
        const bool negate = AcceptKeyword(L"NOT");
        terms.emplace_back(negate, XorExpr().v);
        if (!negate)
            named |= terms.back().second;
    } while (AcceptPunct(L"|"));
    uint32_t v = (named & kindMask) ? (defaults & ~kindMask) : defaults;
    for (const auto& [negate, term] : terms)
        v = negate ? (v & ~term) : (v | term);
    return v;
}

DialogControl Parser::Control(bool ex)
{
    const Token kw = Peek();
    if (!kw.IsIdent())
        Unexpected("a control statement or END");
    Next();
    DialogControl c;
    auto id = [&]() {
        const Location at = Peek().where;
        const uint32_t v = Expr().v;
        if (!ex && !FitsInWord(v))
            throw CompileError(at, "control ID " + std::to_string(v) + " does not fit in 16 bits (use DIALOGEX)");
        return ex ? v : (v & 0xFFFF);
    };
    auto rect = [&](bool sizeOptional) {
        c.x = Coord("control x");
        ExpectPunct(L",", "after the control's x");
        c.y = Coord("control y");
        if (sizeOptional && !Peek().IsPunct(L","))
            return false;
        ExpectPunct(L",", "after the control's y");
        if (sizeOptional && !AtExpressionStart())
            return false;
        c.cx = Coord("control width");
        ExpectPunct(L",", "after the control's width");
        c.cy = Coord("control height");
        return true;
    };
    // ", exstyle [, helpid]" after the style.
    auto tail = [&]() {
        if (AcceptPunct(L",")) {
            c.exStyle = Style(0);
            if (ex && AcceptPunct(L","))
                c.helpId = Expr().v;
        }
    };

    if (kw.IsKeyword(L"CONTROL")) {
        c.text = TextOrOrdinal("the control's text");
        ExpectPunct(L",", "after the control's text");
        c.id = id();
        ExpectPunct(L",", "after the control's ID");
        const Token& cls = Peek();
        if (cls.kind == TokKind::String) {
            const std::wstring name = StringLit("the control's class");
            c.cls = NameOrOrd::Str(name);
            for (const ClassName& k : kClasses)
                if (EqualsUpper(name, k.name))
                    c.cls = NameOrOrd::Ord(k.ordinal);
        } else {
            bool found = false;
            for (const ClassName& k : kClasses) {
                if (cls.IsKeyword(k.name)) {
                    Next();
                    c.cls = NameOrOrd::Ord(k.ordinal);
                    found = true;
                    break;
                }
            }
            if (!found)
                c.cls = NameOrOrd::Ord(Word("control class"));
        }
        ExpectPunct(L",", "after the control's class");
        c.style = Style(WS_CHILD | WS_VISIBLE);
        ExpectPunct(L",", "after the control's style");
        rect(false);
        tail();
    } else {
        const ControlKind* kind = nullptr;
        for (const ControlKind& k : kControls)
            if (kw.IsKeyword(k.keyword))
                kind = &k;
        if (!kind)
            throw CompileError(kw.where, "unknown control statement '" + Narrow(kw.text) + "'");
        c.cls = NameOrOrd::Ord(kind->cls);
        if (kind->hasText) {
            c.text = TextOrOrdinal("the control's text");
            ExpectPunct(L",", "after the control's text");
        }
        c.id = id();
        ExpectPunct(L",", "after the control's ID");
        c.style = WS_CHILD | WS_VISIBLE | kind->style;
        const bool isIcon = kind->cls == kStatic && kind->style == 0x0003;
        if (rect(isIcon) && AcceptPunct(L",")) {
            c.style = ControlStyle(c.style, kind->kindMask);
            tail();
        }
    }
    if (AtBegin()) {
        if (!ex)
            throw CompileError(Peek().where, "control data blocks need a DIALOGEX");
        Next();
        c.data = RawData("in control data");
        if (c.data.size() > 0xFFFF)
            throw CompileError(kw.where, "control data larger than 65535 bytes");
    }
    return c;
}

} // namespace zyn::rc
