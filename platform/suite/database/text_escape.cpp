// The archive-text escape of CDynamicRecordset (see dynamic_recordset.h).

#include "platform/suite/database/dynamic_recordset.h"

namespace {

constexpr wchar_t kEsc = CDynamicRecordset::EscapeChar;

bool IsControl(wchar_t c) { return static_cast<uint32_t>(c) < 0x20u; }

} // namespace

void CDynamicRecordset::RemoveSpecialChars(CString& text)
{
    const std::wstring& in = text.Str();
    size_t controls = 0;
    for (wchar_t c : in)
        controls += IsControl(c) ? 1 : 0;
    if (controls == 0)
        return;
    std::wstring out;
    out.reserve(in.size() + controls);
    for (wchar_t c : in) {
        if (IsControl(c)) {
            out.push_back(kEsc);
            out.push_back(static_cast<wchar_t>(c + 0x40));
        } else {
            out.push_back(c);
        }
    }
    text.Str() = std::move(out);
}

namespace {

// The unescaped form of in, appended to out.
void AppendUnescaped(std::wstring& out, const std::wstring& in)
{
    out.reserve(out.size() + in.size());
    for (size_t i = 0; i < in.size(); ++i) {
        const wchar_t c = in[i];
        if (c == kEsc && i + 1 < in.size() && in[i + 1] >= 0x40 && in[i + 1] <= 0x5F) {
            out.push_back(static_cast<wchar_t>(in[i + 1] - 0x40));
            ++i;
        } else {
            out.push_back(c);
        }
    }
}

} // namespace

void CDynamicRecordset::ReplaceSpecialChars(CString& text)
{
    const std::wstring& in = text.Str();
    if (in.find(kEsc) == std::wstring::npos)
        return;
    std::wstring out;
    AppendUnescaped(out, in);
    text.Str() = std::move(out);
}

void CDynamicRecordset::CleanupString(CString& text)
{
    for (wchar_t& c : text.Str()) {
        const uint32_t u = static_cast<uint32_t>(c);
        if ((u >= 0xD800u && u <= 0xDFFFu) || u > 0x10FFFFu)
            c = L'\xFFFD';
    }
}

CString CDynamicRecordset::RemovedSpecialChars(const CString& text)
{
    CString out(text);
    RemoveSpecialChars(out);
    return out;
}

CString CDynamicRecordset::ReplacedSpecialChars(const CString& text)
{
    // Built once, not copied and then rebuilt: restores unescape every text of every line.
    CString out;
    AppendUnescaped(out.Str(), text.Str());
    return out;
}
