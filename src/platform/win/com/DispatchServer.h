// The serving side of IDispatch: a COM object whose members come from a table of name -> DISPID ->
// handler, for the add-in's own COM classes and for test IDEs. Handlers see the arguments as
// vb::Variants in the caller's order, write by-reference arguments back through Args::set, and
// raise VBErrors, which reach the caller as DISP_E_EXCEPTION with EXCEPINFO filled. Every served
// object counts in a process-wide tally of live objects, which tests expect back at zero.
//
//   class Recorder : public com::DispatchServer<> {
//   public:
//       Recorder() : DispatchServer({{L"Count", 1, [this](com::Args&) { return vb::Variant(n); }}}) {}
//       int32_t n = 0;
//   };
//   com::ComPtr<Recorder> r = com::make<Recorder>();
#pragma once

#include "platform/variant.h"
#include "platform/win/com/ComObject.h"
#include "platform/win/com/NativeObject.h"

#include <oaidl.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace com {

// Served objects alive in this process.
long liveObjects();

class Args {
public:
    Args(DISPPARAMS& params, bool isPut);

    // The arguments given, in the caller's order, not counting a property put's value.
    size_t count() const;
    // Argument i; one not given (or left out) raises 449 "Argument not optional".
    vb::Variant operator[](size_t i) const;
    // Whether argument i was given and not left out.
    bool has(size_t i) const;
    VARIANT& raw(size_t i) const;
    // Writes through by-reference argument i (a by-value argument stays as it is).
    void set(size_t i, const vb::Variant& value) const;
    // The value a property put assigns.
    vb::Variant value() const;

private:
    DISPPARAMS& params_;
    bool isPut_;
};

struct Member {
    std::wstring name;  // matched without regard to case, as VB does
    DISPID id;
    std::function<vb::Variant(Args&)> call;  // method or property get
    std::function<void(Args&)> put = {};     // property put or put-by-reference
};

// What every served object shares: the table, name lookup and Invoke's argument handling.
class DispatchTable {
public:
    explicit DispatchTable(std::vector<Member> members) : members_(std::move(members)) {}
    HRESULT getIDsOfNames(LPOLESTR* names, UINT count, DISPID* ids) const;
    HRESULT invoke(DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO* info) const;

private:
    const Member* find(DISPID id) const;
    std::vector<Member> members_;
};

// Answers INativeObject for an outer object.
class NativeFace : public ComFace<INativeObject> {
public:
    NativeFace(IUnknown& outer, std::shared_ptr<vb::Object> object) : ComFace(outer), object_(std::move(object)) {}
    HRESULT STDMETHODCALLTYPE nativeObject(std::shared_ptr<vb::Object>* object) override;
    bool empty() const { return !object_; }

private:
    std::shared_ptr<vb::Object> object_;
};

// The vtable interface of a dual interface's type information (the information itself when it
// describes a vtable interface already); raises an error for anything else.
ComPtr<ITypeInfo> vtableTypeOf(ITypeInfo& info);

// IDispatch::Invoke answered by the type information of object's dual interface: the arguments
// are checked and converted against the description and the call goes through the vtable; a
// failed call comes back as DISP_E_EXCEPTION with info filled from the thread's error info (the
// system's Invoke does that, on Windows and under Wine alike).
HRESULT invokeTyped(ITypeInfo& type, void* object, DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result,
                    EXCEPINFO* info, UINT* argError);

// Counts its owner in the live-object tally.
class LiveObject {
public:
    LiveObject();
    ~LiveObject();
    LiveObject(const LiveObject&) = delete;
    LiveObject& operator=(const LiveObject&) = delete;
};

// Interface is IDispatch or a dual interface derived from it, More the object's other interfaces;
// iids are further interface IDs answered with Interface. native, when given, is the C++ object
// the wrapper stands for, handed out through INativeObject.
template <class Interface = IDispatch, class... More>
class DispatchServer : public ComObject<Interface, More...> {
public:
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (!count) return E_POINTER;
        *count = typeInfo_ ? 1 : 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID, ITypeInfo** info) override {
        if (!info) return E_POINTER;
        *info = nullptr;
        if (!typeInfo_) return E_NOTIMPL;
        if (index != 0) return DISP_E_BADINDEX;
        *info = typeInfo_.Get();
        (*info)->AddRef();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
        if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
        if (!names || !ids) return E_POINTER;
        if (typeInfo_) return typeInfo_->GetIDsOfNames(names, count, ids);
        return table_.getIDsOfNames(names, count, ids);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO* info, UINT* argError) override {
        if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
        if (vtableInfo_) {
            return invokeTyped(*vtableInfo_.Get(), static_cast<Interface*>(this), id, flags, params, result, info,
                               argError);
        }
        return table_.invoke(id, flags, params, result, info);
    }

protected:
    explicit DispatchServer(std::vector<Member> members, std::vector<IID> iids = {},
                            std::shared_ptr<vb::Object> native = nullptr)
        : table_(std::move(members)), iids_(std::move(iids)), native_(*this->identity(), std::move(native)) {}

    HRESULT queryMore(REFIID iid, void** out) override {
        for (const IID& known : iids_) {
            if (known != iid) continue;
            *out = static_cast<Interface*>(this);
            this->AddRef();
            return S_OK;
        }
        return native_.empty() ? E_NOINTERFACE : native_.query(iid, out);
    }
    // Serves IDispatch from a type library's description of Interface instead of the member
    // table: names, DISPIDs and calls then go through the vtable the library describes.
    void serveTypeInfo(ComPtr<ITypeInfo> info) {
        vtableInfo_ = vtableTypeOf(*info.Get());
        typeInfo_ = std::move(info);
    }

private:
    LiveObject counted_;
    DispatchTable table_;
    std::vector<IID> iids_;
    NativeFace native_;
    ComPtr<ITypeInfo> typeInfo_;    // as the library describes the interface
    ComPtr<ITypeInfo> vtableInfo_;  // its vtable part, which calls go through
};

} // namespace com
