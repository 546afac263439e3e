// Explicit instantiations compile every member of the templates for the element, key
// and argument types the class library's code uses, including members no test calls.

#include <gtest/gtest.h>

#include "platform/base/afxcoll.h"

// Types with external linkage, so the instantiated members are not "unused".
struct InstRect {
    LONG left, top, right, bottom;
    bool operator==(const InstRect&) const = default;
};
class CInstItem : public CObject {
public:
    int n = 0;
};

template class CArray<CString, const CString&>;
template class CArray<CString, LPCTSTR>;
template class CArray<InstRect, InstRect&>;
template class CArray<COLORREF>;
template class CArray<bool, bool>;
template class CList<CString, LPCTSTR>;
template class CList<InstRect, const InstRect&>;
template class CMap<CString, LPCTSTR, int, int>;
template class CMap<CString, const CString&, CString, const CString&>;
template class CMap<LPCWSTR, LPCWSTR, CString, LPCWSTR>;
template class CMap<HWND, HWND, InstRect, const InstRect&>;
template class CMap<WCHAR, WCHAR, int, int>;
template class CMap<CStringA, LPCSTR, double, double>;
template class CTypedPtrArray<CObArray, CInstItem*>;
template class CTypedPtrArray<CPtrArray, InstRect*>;
template class CTypedPtrList<CObList, CInstItem*>;
template class CTypedPtrList<CPtrList, InstRect*>;
template class CTypedPtrMap<CMapStringToOb, CString, CInstItem*>;
template class CTypedPtrMap<CMapPtrToPtr, HWND, InstRect*>;
template class CTypedPtrMap<CMapWordToPtr, WORD, InstRect*>;
template class CTypedPtrMap<CMapWordToOb, WORD, CInstItem*>;

TEST(Collections, TextKeysWithPointerArguments)
{
    // A list of strings searched with plain text, including null (the empty string).
    CList<CString, LPCTSTR> l;
    l.AddTail(L"");
    l.AddTail(L"x");
    EXPECT_EQ(l.Find(nullptr), l.GetHeadPosition());
    EXPECT_EQ(l.Find(L"x"), l.GetTailPosition());

    // Pointer keys compare by address, even when the text is equal.
    const wchar_t a[] = L"same";
    const wchar_t b[] = L"same";
    CMap<LPCWSTR, LPCWSTR, int, int> m;
    m[a] = 1;
    m[b] = 2;
    EXPECT_EQ(m.GetCount(), 2);
    EXPECT_EQ(m[a], 1);
}
