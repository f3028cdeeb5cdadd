#include "platform/win/vbide/adaptDispatch.h"

#include "platform/vbide/AddIn.h"
#include "platform/vbide/DataEnvironment.h"
#include "platform/vbide/VBE.h"
#include "platform/win/com/Remote.h"
#include "platform/win/vbide/adapters.h"

#include <string>

namespace vbide {

namespace {

// An object none of the ports describes: it can still be handed back to the IDE.
class ComObject final : public vb::Object, public com::Remote {
public:
    using Remote::Remote;
};

bool answersTo(IDispatch& object, const char* member) {
    std::wstring name = com::toWide(member);
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
    return com::adapt<ComObject, vb::Object>(held);
}

} // namespace vbide
