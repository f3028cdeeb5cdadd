// The one base of the COM objects written here. An object lists the interfaces it implements;
// QueryInterface answers each of them, and for each also the interfaces it extends (IDispatch for
// a dual interface, IOleWindow for the in-place ones, IPersist, IViewObject), the first listed
// that extends one answering for it. IUnknown, the object's identity, is the first listed.
//
//   class Site final : public com::ComObject<IOleClientSite, IOleInPlaceSite> { ... };
//   com::ComPtr<Site> site = com::make<Site>();   // born with the one reference make hands over
//
// ComFace is the same list answered for an outer object - a part of a larger object with the
// outer object's identity and reference count, whose QueryInterface asks the part (query) for
// what it implements.
#pragma once

#include "platform/win/com/ComPtr.h"

#include <oaidl.h>
#include <objidl.h>
#include <oleidl.h>

#include <atomic>
#include <type_traits>
#include <utility>

namespace com {

namespace detail {

template <class Interface, class Base>
bool extends(REFIID iid) {
    return std::is_base_of_v<Base, Interface> && iid == __uuidof(Base);
}

template <class Interface>
bool answersFor(REFIID iid) {
    return iid == __uuidof(Interface) || extends<Interface, IDispatch>(iid) || extends<Interface, IOleWindow>(iid) ||
           extends<Interface, IOleInPlaceUIWindow>(iid) || extends<Interface, IPersist>(iid) ||
           extends<Interface, IViewObject>(iid);
}

} // namespace detail

template <class... Interfaces>
class Implements : public Interfaces... {
protected:
    // The listed interface that answers for iid, or null (IUnknown is the caller's business).
    void* find(REFIID iid) {
        void* found = nullptr;
        ((detail::answersFor<Interfaces>(iid) && (found = static_cast<Interfaces*>(this))) || ...);
        return found;
    }
};

template <class First, class... More>
class ComObject : public Implements<First, More...> {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        *out = iid == IID_IUnknown ? static_cast<First*>(this) : this->find(iid);
        if (!*out) return queryMore(iid, out);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --refs_;
        if (left == 0) delete this;
        return left;
    }

    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;

protected:
    ComObject() = default;
    virtual ~ComObject() = default;
    // Interfaces only known at run time; *out is null on entry. AddRef what is handed out.
    virtual HRESULT queryMore(REFIID, void**) { return E_NOINTERFACE; }
    IUnknown* identity() { return static_cast<First*>(this); }

private:
    std::atomic<ULONG> refs_{1};
};

template <class... Interfaces>
class ComFace : public Implements<Interfaces...> {
public:
    explicit ComFace(IUnknown& outer) : outer_(outer) {}
    ComFace(const ComFace&) = delete;
    ComFace& operator=(const ComFace&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        return outer_.QueryInterface(iid, out);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return outer_.AddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return outer_.Release(); }

    // For the outer object's QueryInterface: the interface iid names, if this part implements it.
    HRESULT query(REFIID iid, void** out) {
        *out = this->find(iid);
        if (!*out) return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }

protected:
    IUnknown& outer() const { return outer_; }

private:
    IUnknown& outer_;
};

// A new COM object, holding the one reference it is born with.
template <class T, class... A>
ComPtr<T> make(A&&... args) {
    return adopt(new T(std::forward<A>(args)...));
}

} // namespace com
