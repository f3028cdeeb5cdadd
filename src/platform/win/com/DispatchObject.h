// DispatchObject: a COM object (an IDispatch from elsewhere) seen as a vb::Object, so that it can
// travel in a vb::Variant. It holds one reference, released when the last shared_ptr goes.
#pragma once

#include "platform/variant.h"
#include "platform/win/com/ComPtr.h"

#include <oaidl.h>

namespace com {

class DispatchObject : public vb::Object {
public:
    explicit DispatchObject(IDispatch* dispatch) : dispatch_(dispatch) {}
    IDispatch* dispatch() const { return dispatch_.Get(); }

private:
    ComPtr<IDispatch> dispatch_;
};

} // namespace com
