// adaptDispatch: the port object for an IDispatch the IDE hands the add-in untyped (OnConnection's
// Application and AddInInst, a component's Designer, a Variant holding an object).
#pragma once

#include "platform/variant.h"

#include <oaidl.h>

#include <memory>

namespace vbide {

// What the object answers to decides its port: VBProjects makes a vbide::VBE, ProgId a
// vbide::AddIn, Connections and Commands a vbide::DataEnvironment. Any other object is held as a
// com::DispatchObject. Nothing gives Nothing.
std::shared_ptr<vb::Object> adaptDispatch(IDispatch* object);

} // namespace vbide
