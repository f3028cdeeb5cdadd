// The seam between COM and the vbide ports: the IDE objects the add-in receives as IDispatch (the
// Application and AddInInst given at connection) become objects the add-in's code can use.
#pragma once

#include "platform/variant.h"

#include <oaidl.h>

#include <memory>

namespace vbide {

// An object for p that holds its own reference to p; Nothing for a null p.
std::shared_ptr<vb::Object> adaptDispatch(IDispatch* p);

} // namespace vbide
