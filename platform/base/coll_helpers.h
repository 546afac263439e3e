#pragma once
// Pieces shared by the collection templates (coll_array.h, coll_list.h, coll_map.h):
// CompareElements, the element comparison that CList::Find and CMap use and that code
// may specialise for its own element types, and the internal helpers of zyn::base.

#include <cstdint>
#include <new>
#include <string>
#include <type_traits>

#include "platform/base/cstring.h"
#include "platform/base/exception.h"
#include "platform/base/wintypes.h"

namespace zyn::base {

template <class T>
inline constexpr bool kIsCString = std::is_same_v<T, CStringW> || std::is_same_v<T, CStringA>;

template <class T>
inline constexpr bool kIsTextPointer = std::is_same_v<T, const wchar_t*> || std::is_same_v<T, wchar_t*> ||
                                       std::is_same_v<T, const char*> || std::is_same_v<T, char*>;

// Converts between a typed pointer container's element type and its base's element
// type (CObject* or void*): a checked static_cast where the language allows one (so a
// class with several bases is adjusted correctly), otherwise a reinterpretation.
template <class To, class From>
inline To PtrCast(const From& from)
{
    if constexpr (std::is_same_v<std::remove_cv_t<To>, std::remove_cv_t<From>>)
        return from;
    else if constexpr (requires { static_cast<To>(from); })
        return static_cast<To>(from);
    else
        return reinterpret_cast<To>(from);
}

// A reference to a stored base element seen as the typed element. The typed pointer
// containers hand out such references (ElementAt, operator[], GetHead...).
template <class To, class From>
inline To& PtrRef(From& from)
{
    static_assert(sizeof(To) == sizeof(From), "typed element and base element differ in size");
    if constexpr (std::is_same_v<To, From>)
        return from;
    else
        return *std::launder(reinterpret_cast<To*>(&from));
}
template <class To, class From>
inline const To& PtrRef(const From& from)
{
    static_assert(sizeof(To) == sizeof(From), "typed element and base element differ in size");
    if constexpr (std::is_same_v<To, From>)
        return from;
    else
        return *std::launder(reinterpret_cast<const To*>(&from));
}

// Runs an allocation; an exhausted heap becomes the class library's CMemoryException.
template <class F>
inline auto Allocating(F&& f) -> decltype(f())
{
    try {
        return f();
    } catch (const std::bad_alloc&) {
        AfxThrowMemoryException();
    }
}

} // namespace zyn::base

// Equality of a stored element and a searched value; specialise it for element types
// without operator== (template<> BOOL CompareElements<T, T>(const T*, const T*)).
// A null text pointer compares as the empty string against a stored string.
template <class TYPE, class ARG_TYPE>
inline BOOL CompareElements(const TYPE* pElement1, const ARG_TYPE* pElement2)
{
    using T = std::remove_cv_t<TYPE>;
    using A = std::remove_cv_t<ARG_TYPE>;
    if constexpr (zyn::base::kIsCString<T> && std::is_pointer_v<A>) {
        using C = typename T::XCHAR;
        if constexpr (std::is_same_v<std::remove_cv_t<std::remove_pointer_t<A>>, C>) {
            static const C empty[1] = {};
            return *pElement1 == (*pElement2 ? static_cast<const C*>(*pElement2) : empty);
        } else {
            return *pElement1 == *pElement2;
        }
    } else {
        return *pElement1 == *pElement2;
    }
}
