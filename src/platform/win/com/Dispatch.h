// Dispatch: the calling side of IDispatch. Every call into the IDE, its command bars, its designers
// and SourceSafe goes through here, late-bound by member name (GetIDsOfNames + Invoke), so that no
// vtable layout of a library we cannot check here is compiled in. A failed call comes back as the
// vb::VBError VB itself would raise for it.
#pragma once

#include "platform/variant.h"

#include <oaidl.h>

#include <cstdint>
#include <string>
#include <vector>

namespace com {

class Dispatch;

// One argument of a call: a value the call may not change, an optional argument left out, or an
// object variable passed by reference (the callee may release what it holds and store another).
class Arg {
public:
    Arg(int32_t value);
    Arg(bool value);
    Arg(const std::string& value);
    Arg(const char* value);
    Arg(const Dispatch& object);  // Nothing passes as a null object
    Arg(const vb::Variant& value);  // an object must be one the IDE made (com::Remote, DispatchObject)
    static Arg missing();
    // slot must outlive the call; it holds a counted reference before and after.
    static Arg objectByRef(IDispatch** slot);

    Arg(const Arg& other);
    Arg(Arg&& other) noexcept;
    Arg& operator=(const Arg&) = delete;
    ~Arg();

    VARIANT& variant() { return value_; }

private:
    Arg() { VariantInit(&value_); }
    VARIANT value_;
};

using CallArgs = std::vector<Arg>;

// What a call returned. The conversions follow VB's coercion of a returned Variant; a value that
// does not convert raises 13 (type mismatch).
class Result {
public:
    Result() { VariantInit(&value_); }
    Result(Result&& other) noexcept;
    Result(const Result&) = delete;
    Result& operator=(const Result&) = delete;
    ~Result() { VariantClear(&value_); }

    VARIANT* out() { return &value_; }
    std::string toString() const;
    int32_t toLong() const;
    bool toBool() const;
    Dispatch toObject() const;  // Nothing for Empty or a null object
    bool isObject() const;
    // Numbers, text, Booleans, Empty and Null; an object raises 13 (the adapters adapt objects).
    vb::Variant toScalar() const;

private:
    VARIANT value_;
};

// A counted reference to an IDispatch with calls by member name.
class Dispatch {
public:
    Dispatch() = default;
    explicit Dispatch(IDispatch* object);  // takes a new reference
    Dispatch(const Dispatch& other);
    Dispatch(Dispatch&& other) noexcept;
    Dispatch& operator=(Dispatch other) noexcept;
    ~Dispatch();

    IDispatch* get() const { return object_; }
    explicit operator bool() const { return object_ != nullptr; }
    // The object's IUnknown: COM's identity, the same for every interface of one object.
    IUnknown* identity() const;

    // A property read, or a method call whose result is used.
    Result get(const char* member, CallArgs args = {}) const;
    // A method call whose result is not wanted.
    void call(const char* member, CallArgs args = {}) const;
    // A property assignment: value goes last, under DISPID_PROPERTYPUT.
    void put(const char* member, Arg value, CallArgs args = {}) const;

private:
    void invoke(const char* member, WORD flags, CallArgs& args, bool isPut, VARIANT* result) const;

    IDispatch* object_ = nullptr;
};

// The VBError VB raises when Invoke (or a call like it) fails with hr; info may be null.
[[noreturn]] void raiseFailedCall(HRESULT hr, EXCEPINFO* info);
// VB's error number for a failed HRESULT: 0x800Axxxx carries it; a few COM codes have their own.
int32_t vbNumberOf(HRESULT hr);

} // namespace com
