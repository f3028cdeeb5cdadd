#include "dialogs/WKfrmAbout.h"

#include "dialogs/designLayout.h"
#include "dialogs/uiFontRule.h"
#include "engine/wkutil.h"
#include "platform/ui/LoadResPicture.h"

namespace nimb {

using wkutil::getString;

WKfrmAbout::WKfrmAbout() : ui::Form("WKfrmAbout") {
    setCaption("About MyApp");
    setClientSize(8250, 8280);
    Image1 = add<ui::Image>("Image1");
    Image1->setPicture(ui::StoredPicture("Splash"));
    Image1->Move(1155, 0, 5940, 5325);
    lblTitle = add<ui::Label>("lblTitle");
    lblTitle->Move(480, 5760, 6885, 360);
    lblTitle->setCaption("Application Title");
    lblVersion = add<ui::Label>("lblVersion");
    lblVersion->Move(480, 6240, 6885, 225);
    lblVersion->setCaption("Version");
    lblDescription = add<ui::Label>("lblDescription");
    lblDescription->Move(480, 6600, 6885, 930);
    lblDescription->setCaption("App Description");
    cmdClose = add<ui::CommandButton>("cmdClose");
    cmdClose->Move(3480, 7800, 1260, 345);
    cmdClose->setCaption("Close");
    cmdClose->setDefault(true);
    cmdClose->setCancel(true);
    cmdClose->onClick = [this] { Unload(); };
}

void WKfrmAbout::Form_Load() {
    applyUIFont(*this, {cmdClose.get(), lblTitle.get(), lblVersion.get(), lblDescription.get()});
    setCaption(getString(600));
    setIcon(ui::LoadResPicture(designLayout::dialogIcon, ui::vbResIcon));
    cmdClose->setCaption(getString(601));
    lblTitle->setCaption(getString(602) + "\n" + getString(603));
    lblVersion->setCaption(getString(604));
    lblDescription->setCaption(getString(605) + "\n" + getString(606) + "\n" + getString(607));
}

} // namespace nimb
