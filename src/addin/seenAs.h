// VB's `Set x = y` into a variable of a given class: Nothing passes as Nothing, an object of
// another class is a type mismatch (13).
#pragma once

#include "platform/error.h"
#include "platform/variant.h"

#include <memory>

namespace nimb {

template <class T>
std::shared_ptr<T> seenAs(const std::shared_ptr<vb::Object>& object) {
    auto typed = std::dynamic_pointer_cast<T>(object);
    if (object && !typed) throw vb::VBError(vb::err::TypeMismatch, "Type mismatch");
    return typed;
}

} // namespace nimb
