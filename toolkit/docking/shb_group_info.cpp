// The group record's title ownership: copies own a copy of the title, and a record frees
// only the title it owns.
#include <algorithm>
#include <cwchar>

#include "toolkit/docking/shb_messages.h"

_tagSHB_GROUPINFO::_tagSHB_GROUPINFO(const _tagSHB_GROUPINFO& other)
    : nImage(other.nImage), nImageExpanded(other.nImageExpanded), lParam(other.lParam), nOrder(other.nOrder),
      nView(other.nView), pDescriptor(other.pDescriptor), hwndChild(other.hwndChild), nMask(other.nMask)
{
    SetText(other.pszText, other.nTextMax);
}

_tagSHB_GROUPINFO& _tagSHB_GROUPINFO::operator=(const _tagSHB_GROUPINFO& other)
{
    if (this == &other)
        return *this;
    // The other's title may live in this record's own buffer only if it is this record.
    SetText(other.pszText, other.nTextMax);
    nImage = other.nImage;
    nImageExpanded = other.nImageExpanded;
    lParam = other.lParam;
    nOrder = other.nOrder;
    nView = other.nView;
    pDescriptor = other.pDescriptor;
    hwndChild = other.hwndChild;
    nMask = other.nMask;
    return *this;
}

_tagSHB_GROUPINFO::_tagSHB_GROUPINFO(_tagSHB_GROUPINFO&& other) noexcept
    : pszText(other.pszText), nTextMax(other.nTextMax), nImage(other.nImage), nImageExpanded(other.nImageExpanded),
      lParam(other.lParam), nOrder(other.nOrder), nView(other.nView), pDescriptor(other.pDescriptor),
      hwndChild(other.hwndChild), nMask(other.nMask), m_ownedText(std::move(other.m_ownedText))
{
    other.pszText = nullptr;
    other.nTextMax = 0;
}

_tagSHB_GROUPINFO& _tagSHB_GROUPINFO::operator=(_tagSHB_GROUPINFO&& other) noexcept
{
    if (this == &other)
        return *this;
    m_ownedText = std::move(other.m_ownedText);
    pszText = other.pszText;
    nTextMax = other.nTextMax;
    nImage = other.nImage;
    nImageExpanded = other.nImageExpanded;
    lParam = other.lParam;
    nOrder = other.nOrder;
    nView = other.nView;
    pDescriptor = other.pDescriptor;
    hwndChild = other.hwndChild;
    nMask = other.nMask;
    other.pszText = nullptr;
    other.nTextMax = 0;
    return *this;
}

void _tagSHB_GROUPINFO::SetText(LPCWSTR pszSource, int nCount)
{
    // Counted copies stop at the terminator: a count larger than the text never reads past
    // the caller's string.
    size_t n = 0;
    if (pszSource)
        n = nCount < 0 ? std::wcslen(pszSource) : ::wcsnlen(pszSource, static_cast<size_t>(nCount));
    n = std::min<size_t>(n, 0x7FFFFFFE);
    std::unique_ptr<wchar_t[]> copy;
    if (n > 0) {
        copy = std::make_unique<wchar_t[]>(n + 1);
        std::copy_n(pszSource, n, copy.get());
        copy[n] = 0;
    }
    // The source may be this record's own title: copy first, free afterwards.
    m_ownedText = std::move(copy);
    pszText = m_ownedText.get();
    nTextMax = static_cast<int>(n);
}

void _tagSHB_GROUPINFO::ClearText()
{
    m_ownedText.reset();
    pszText = nullptr;
    nTextMax = 0;
}

void _tagSHB_GROUPINFO::Reset() { *this = _tagSHB_GROUPINFO(); }
