#include "dialogs/splashscrnFrm.h"

#include "dialogs/uiFontRule.h"
#include "engine/wkutil.h"
#include "platform/ui/LoadResPicture.h"

namespace nimb {

namespace {
constexpr int32_t twipsPerPixel = 15;
}

splashscrnFrm::splashscrnFrm() : ui::Form("splashscrnFrm") {
    setCaption("Form1");
    setClientSize(5925, 5325);
    welcomeImage = add<ui::Image>("welcomeImage");
    welcomeImage->setPicture(ui::StoredPicture("Splash"));
    welcomeImage->Move(0, 0, welcomeImage->Picture()->widthPx() * twipsPerPixel,
                       welcomeImage->Picture()->heightPx() * twipsPerPixel);
    ProgressBar1 = add<ui::ProgressBar>("ProgressBar1");
    ProgressBar1->Move(300, 4800, 5340, 165);  // over the track the picture draws for it
    ProgressBar1->setMin(0);
    ProgressBar1->setMax(6);
    ProgressBar1->setValue(0);
    statusLbl = add<ui::Label>("statusLbl");
    statusLbl->Move(120, 5040, 5775, 255);
    statusLbl->setCaption("Label3");
}

void splashscrnFrm::Form_Load() {
    applyUIFont(*this, {statusLbl.get()});
    statusLbl->setCaption(wkutil::getString(641));
}

void splashscrnFrm::setProgressBarInterval(int16_t& interval) {
    ProgressBar1->setMax(interval);
}

void splashscrnFrm::updateProgress(const std::string& status) {
    ProgressBar1->setValue(ProgressBar1->Value() + 1.0f);
    statusLbl->setCaption(status);
}

} // namespace nimb
