// WKfrmAbout: the add-in's about box; every text comes from the engine's text table.
#pragma once

#include "platform/ui/CommandButton.h"
#include "platform/ui/Form.h"
#include "platform/ui/Image.h"
#include "platform/ui/Label.h"

#include <memory>

namespace nimb {

class WKfrmAbout : public ui::Form {
public:
    WKfrmAbout();

    std::shared_ptr<ui::Image> Image1;
    std::shared_ptr<ui::Label> lblTitle;
    std::shared_ptr<ui::Label> lblVersion;
    std::shared_ptr<ui::Label> lblDescription;
    std::shared_ptr<ui::CommandButton> cmdClose;

protected:
    void Form_Load() override;
};

} // namespace nimb
