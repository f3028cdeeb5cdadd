#include "platform/vbide/AddIn.h"
#include "platform/vbide/Window.h"
#include "platform/vbide/Windows.h"

#include "platform/win/com/ComPtr.h"
#include "platform/win/com/DispatchObject.h"
#include "platform/win/com/NativeObject.h"
#include "platform/win/com/Remote.h"
#include "platform/win/vbide/adaptDispatch.h"
#include "platform/win/vbide/adapters.h"

namespace vbide::win {

namespace {

class ComWindows final : public Windows, public com::Remote {
public:
    using Remote::Remote;

    int32_t Count() override { return object().get("Count").toLong(); }
    std::shared_ptr<Window> Item(int32_t index) override { return adaptWindow(object().get("Item", {index}).toObject()); }
    // DocObj is an object variable passed by reference: the IDE releases what it holds and stores
    // the new document.
    std::shared_ptr<Window> CreateToolWindow(std::shared_ptr<AddIn> addInInst, const std::string& progId,
                                             const std::string& caption, const std::string& guidPosition,
                                             std::shared_ptr<vb::Object>& docObj) override {
        com::Dispatch addIn = com::dispatchOf(addInInst);
        com::ComPtr<IDispatch> document(documentGoingIn(docObj));
        auto window = object().get("CreateToolWindow", {addIn, progId, caption, guidPosition,
                                                        com::Arg::objectByRef(document.GetAddressOf())});
        docObj = adaptDocument(com::Dispatch(document.Get()));
        return adaptWindow(window.toObject());
    }

private:
    // What the variable holds when it is an object of the IDE's; a C++ document of the add-in's own
    // has no COM face here and goes in as Nothing (the IDE replaces it anyway).
    static IDispatch* documentGoingIn(const std::shared_ptr<vb::Object>& docObj) {
        if (auto* remote = dynamic_cast<com::Remote*>(docObj.get())) return remote->object().get();
        if (auto* held = dynamic_cast<com::DispatchObject*>(docObj.get())) return held->dispatch();
        return nullptr;
    }

    // The document is an object of the class the add-in registered: the C++ object behind it. A
    // document of another module is held as the IDE gave it.
    static std::shared_ptr<vb::Object> adaptDocument(const com::Dispatch& document) {
        if (auto native = com::nativeObjectOf(document.get())) return native;
        return adaptDispatch(document.get());
    }
};

} // namespace

std::shared_ptr<Windows> adaptWindows(const com::Dispatch& object) {
    return com::adapt<ComWindows, Windows>(object);
}

} // namespace vbide::win
