#include "platform/win/vbide/adaptDispatch.h"

#include "platform/vbide/AddIn.h"
#include "platform/vbide/DataEnvironment.h"
#include "platform/vbide/VBE.h"
#include "platform/win/com/Bstr.h"
#include "platform/win/com/DispatchObject.h"
#include "platform/win/vbide/adapters.h"

#include <string>

namespace vbide {

namespace {

bool answersTo(IDispatch& object, const char* member) {
    std::wstring name = com::wideFromUtf8(member);
    LPOLESTR names[] = {name.data()};
    DISPID id = DISPID_UNKNOWN;
    return SUCCEEDED(object.GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id));
}

} // namespace

std::shared_ptr<vb::Object> adaptDispatch(IDispatch* object) {
    if (!object) return nullptr;
    com::Dispatch held(object);
    if (answersTo(*object, "VBProjects")) return win::adaptVBE(held);
    if (answersTo(*object, "ProgId")) return win::adaptAddIn(held);
    if (answersTo(*object, "Connections") && answersTo(*object, "Commands")) return win::adaptDataEnvironment(held);
    // An object none of the ports describes can still be handed back to the IDE.
    return std::make_shared<com::DispatchObject>(object);
}

} // namespace vbide
