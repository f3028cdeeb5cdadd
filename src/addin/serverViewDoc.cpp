#include "addin/serverViewDoc.h"

#include "engine/wkutil.h"
#include "model/objectRef.h"
#include "notify/viewAPIs.h"
#include "serverview/svrViewCtl.h"

namespace nimb {

namespace {

// The server view itself until someone installs another control (tests install stand-ins).
ServerViewControlFactory& controlFactory() {
    static ServerViewControlFactory factory = [] { return ui::New<svrViewCtl>(); };
    return factory;
}

} // namespace

void setServerViewControlFactory(ServerViewControlFactory factory) { controlFactory() = std::move(factory); }

serverViewDoc::serverViewDoc() : ui::UserDocument("serverViewDoc") {
    setFont(ui::Font{.Name = "Arial", .Size = 9.0f});
    // On the document's controls too, where a host looking at the widget model finds it.
    if (const auto& make = controlFactory()) {
        if (auto control = make()) svrViewCtl1 = addExisting("svrViewCtl1", std::move(control));
    }
}

void serverViewDoc::setupGUI() {
    use(svrViewCtl1).setIMgr(IMgr_);
    svrViewCtl1->setupGUI();
}

// Name then size, and only when either differs; the character set is left as designed.
void serverViewDoc::UserDocument_Initialize() {
    const auto& name = wkutil::uiFontName();
    const auto size = static_cast<float>(wkutil::uiFontSize());
    if (Font().Name == name && Font().Size == size) return;
    ui::Font f = Font();
    f.Name = name;
    f.Size = size;
    setFont(f);
}

// Height first: the control lays itself out on each change, and the design sets them in that order.
void serverViewDoc::UserDocument_Resize() {
    if (!svrViewCtl1) return;
    svrViewCtl1->setHeight(ScaleHeight());
    svrViewCtl1->setWidth(ScaleWidth());
}

void serverViewDoc::UserDocument_Terminate() {
    viewAPIs::clearServerTreeView();
    viewAPIs::clearServerDetailsView();
    IMgr_.reset();
}

} // namespace nimb
