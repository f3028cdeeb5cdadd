// Until the IDE's objects are adapted to the vbide ports, an IDispatch is held as it is: the add-in
// then finds no VBE in it and reports that as it reports any failed connection.
#include "platform/win/vbide/adaptDispatch.h"

#include "platform/win/com/DispatchObject.h"

namespace vbide {

std::shared_ptr<vb::Object> adaptDispatch(IDispatch* p) {
    if (!p) return nullptr;
    return std::make_shared<com::DispatchObject>(p);
}

} // namespace vbide
