#pragma once
// IUnknown and the helpers our own COM objects are built from.
//
// Every interface derives from IUnknown: QueryInterface hands out another interface of
// the same object (AddRef'd, or null and E_NOINTERFACE), AddRef and Release count
// references, and the last Release frees the object. Objects of this layer and the ones
// above derive from zyn::com::Object<Interfaces...>, which answers QueryInterface for
// IUnknown and the listed interfaces (each naming its IID through InterfaceId) and counts
// itself in one process-wide live-object counter, so a test can check that every COM
// object it made is gone (LiveObjectCount).
#include <atomic>
#include <cstddef>

#include "platform/base/wintypes.h"
#include "platform/com/guid.h"
#include "platform/com/hresult.h"

struct IUnknown {
    virtual HRESULT QueryInterface(REFIID riid, void** ppvObject) = 0;
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;

protected:
    // Objects are freed by their last Release, never deleted through an interface.
    ~IUnknown() = default;
};
using LPUNKNOWN = IUnknown*;

namespace zyn::com {

// The interface identifier of an interface type (specialised beside each interface).
template <typename I>
struct InterfaceId;
template <>
struct InterfaceId<IUnknown> {
    static constexpr const IID& value = IID_IUnknown;
};

// Live COM objects of the process: our objects, and any object that holds a LiveToken.
size_t LiveObjectCount();

// Counts an object as alive for as long as the token lives (a member of objects that are
// not zyn::com::Object, such as the class library's data sources).
class LiveToken {
public:
    LiveToken();
    LiveToken(const LiveToken&);
    LiveToken& operator=(const LiveToken&) { return *this; }
    ~LiveToken();
};

// A reference-counted object implementing the interfaces I... (each derived from
// IUnknown). The count starts at 1: the creator holds the first reference.
template <typename... I>
class Object : public I... {
public:
    Object() = default;
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;

    HRESULT QueryInterface(REFIID riid, void** ppv) override
    {
        if (!ppv)
            return E_POINTER;
        *ppv = nullptr;
        if (IsEqualIID(riid, IID_IUnknown))
            *ppv = static_cast<IUnknown*>(static_cast<FirstOf<I...>*>(this));
        else
            (void)(TryInterface<I>(riid, ppv) || ...);
        if (!*ppv)
            *ppv = QueryExtra(riid);
        if (!*ppv)
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG AddRef() override { return static_cast<ULONG>(m_refs.fetch_add(1) + 1); }
    ULONG Release() override
    {
        const LONG left = m_refs.fetch_sub(1) - 1;
        if (left == 0)
            delete this;
        return static_cast<ULONG>(left);
    }

protected:
    virtual ~Object() = default;
    // Further interfaces a derived class answers for (not AddRef'd here).
    virtual void* QueryExtra(REFIID) { return nullptr; }

private:
    template <typename F, typename...>
    struct FirstHelper {
        using type = F;
    };
    template <typename... X>
    using FirstOf = typename FirstHelper<X...>::type;

    template <typename J>
    bool TryInterface(REFIID riid, void** ppv)
    {
        if (!IsEqualIID(riid, InterfaceId<J>::value))
            return false;
        *ppv = static_cast<J*>(this);
        return true;
    }

    std::atomic<LONG> m_refs{1};
    LiveToken m_live;
};

// Holds one reference to an interface and releases it when it goes: Attach takes over a
// reference the caller owns, Share adds one of its own; copies add references.
template <typename I>
class Ref {
public:
    Ref() = default;
    Ref(std::nullptr_t) {}
    Ref(const Ref& o) : m_p(o.m_p)
    {
        if (m_p)
            m_p->AddRef();
    }
    Ref(Ref&& o) noexcept : m_p(o.m_p) { o.m_p = nullptr; }
    Ref& operator=(Ref o) noexcept
    {
        std::swap(m_p, o.m_p);
        return *this;
    }
    ~Ref()
    {
        if (m_p)
            m_p->Release();
    }
    // Takes over a reference the caller owns.
    static Ref Attach(I* p)
    {
        Ref r;
        r.m_p = p;
        return r;
    }
    // Adds a reference of its own.
    static Ref Share(I* p)
    {
        if (p)
            p->AddRef();
        return Attach(p);
    }
    I* get() const { return m_p; }
    I* operator->() const { return m_p; }
    explicit operator bool() const { return m_p != nullptr; }
    // Gives the reference up to the caller.
    I* Detach()
    {
        I* p = m_p;
        m_p = nullptr;
        return p;
    }
    // For out parameters: releases what is held and returns the slot.
    I** Put()
    {
        if (m_p)
            m_p->Release();
        m_p = nullptr;
        return &m_p;
    }

private:
    I* m_p = nullptr;
};

} // namespace zyn::com
