#include "addin/Connect.h"

#include "addin/IMgrVB.h"
#include "addin/buttonFace.h"
#include "addin/seenAs.h"
#include "engine/wkutil.h"
#include "model/objectRef.h"
#include "notify/viewAPIs.h"
#include "platform/errorhandling.h"
#include "platform/ui/MsgBox.h"
#include "platform/vbide/AddIn.h"
#include "platform/vbide/CommandBar.h"
#include "platform/vbide/CommandBarControl.h"
#include "platform/vbide/CommandBarControls.h"
#include "platform/vbide/CommandBarEvents.h"
#include "platform/vbide/CommandBars.h"
#include "platform/vbide/Constants.h"
#include "platform/vbide/Events.h"
#include "platform/vbide/VBE.h"
#include "platform/vbide/VBProjects.h"

namespace nimb {

using wkutil::getString;

namespace {

constexpr int32_t addInsEntryFace = 100;
} // namespace

void Connect::OnConnection(std::shared_ptr<vb::Object> application, int32_t, std::shared_ptr<vb::Object> addInInst,
                           std::vector<vb::Variant>&) {
    vb::reportTo(
        [&] {
            ideRoot = seenAs<vbide::VBE>(application);
            addInObject = seenAs<vbide::AddIn>(addInInst);
            auto& state = wkutil::moduleState();
            state.uiFontName = getString(100);
            state.uiFontSize = wkutil::fontSizeFromText(getString(101));
            state.uiFontCharset = wkutil::getFontCharset();
            imgr = std::make_shared<IMgrVB>();
            imgr->setupIM(ideRoot, addInObject);
            addInMenuItem = AddToAddInCommandBar(getString(200));
            MenuHandler = use(use(ideRoot).Events()).CommandBarEvents(addInMenuItem);
            use(MenuHandler).onClick([this](vb::Object& control, bool& handled, bool& cancelDefault) {
                MenuHandler_Click(control, handled, cancelDefault);
            });
        },
        vb::numberColonDescription);
}

// A kept control, unlike the temporary toolbar and popups of the start; OnDisconnection deletes it.
std::shared_ptr<vbide::CommandBarControl> Connect::AddToAddInCommandBar(const std::string& sCaption) {
    std::shared_ptr<vbide::CommandBarControl> item;
    try {
        auto menu = use(use(use(ideRoot).CommandBars()).Item(1)).FindControl({.Id = vbide::idAddInsMenu});
        if (!menu) return nullptr;
        item = use(menu->Controls()).Add({.Type = vbide::msoControlButton});
        use(item).setCaption(sCaption);
        pasteButtonFace(*item, addInsEntryFace);
        return item;
    } catch (...) {
        vb::silently([&] { use(item).Delete(); });
        throw vb::currentError();
    }
}

// The entry stays enabled until a start got through, so a refused or failed start can be retried.
void Connect::MenuHandler_Click(vb::Object&, bool&, bool&) {
    vb::reportTo([&] { startIM(); }, vb::numberThenDescription);
}

void Connect::startIM() {
    vb::reraise([&] {
        if (use(use(ideRoot).VBProjects()).Count() == 0) {
            ui::MsgBox(getString(669));
            return;
        }
        use(imgr).openWKCommunication();
        imgr->createWKUI();
        use(addInMenuItem).setEnabled(false);
    });
}

void Connect::OnDisconnection(int32_t, std::vector<vb::Variant>&) {
    vb::attemptEach({
        [&] { use(addInMenuItem).Delete(); },
        // The IDE's control goes with the entry, so that nothing of the IDE's is kept past here.
        [&] { addInMenuItem.reset(); },
        [&] { use(imgr).closeWKCommunication(); },
        [&] { use(imgr).deleteWKUI(); },
        [&] { imgr.reset(); },
        // The tree-update module keeps its manager past the tool window, as a module-level variable
        // does; past the connection it would keep the manager, and through it the IDE's objects.
        [&] { viewAPIs::setIMgr(nullptr); },
        [&] { MenuHandler.reset(); },
        [&] {
            addInObject.reset();
            ideRoot.reset();
        },
    });
}

std::shared_ptr<vbide::CommandBarControl> Connect::controlNamed(const std::string& field) const {
    if (field == "addInMenuItem") return addInMenuItem;
    return imgr ? imgr->controlNamed(field) : nullptr;
}

} // namespace nimb
