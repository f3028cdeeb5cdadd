// splashscrnFrm: shown without waiting while the add-in opens its engine connection and builds its
// user interface; a progress bar of six steps and a status line.
#pragma once

#include "platform/ui/Form.h"
#include "platform/ui/Image.h"
#include "platform/ui/Label.h"
#include "platform/ui/ProgressBar.h"

#include <cstdint>
#include <memory>
#include <string>

namespace nimb {

class splashscrnFrm : public ui::Form {
public:
    splashscrnFrm();

    void setProgressBarInterval(int16_t& interval);
    // One step further and the new status text. The bar refuses a step past its maximum (error 380
    // reaches the caller and the status line keeps its text), so a start that reports more steps
    // than the bar has is noticed rather than shown as a full bar.
    void updateProgress(const std::string& status);

    std::shared_ptr<ui::Image> welcomeImage;
    std::shared_ptr<ui::ProgressBar> ProgressBar1;
    std::shared_ptr<ui::Label> statusLbl;

protected:
    void Form_Load() override;
};

} // namespace nimb
