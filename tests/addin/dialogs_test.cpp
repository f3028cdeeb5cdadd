// The splash screen's progress and the load-time font rule the add-in's forms share. (The about box
// is shown and closed in the commands scenario.)
#include "dialogs/splashscrnFrm.h"
#include "dialogs/uiFontRule.h"
#include "engine/wkutil.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Label.h"
#include "support/EngineDouble.h"

#include <gtest/gtest.h>

namespace {

class AddinDialogsTest : public ::testing::Test {
protected:
    void SetUp() override {
        engine.setString(641, "Starting");
    }
    void TearDown() override {
        ui::Forms::unloadAll();
        nimb::wkutil::resetModuleState();
    }
    nimbtest::EngineDouble engine;
};

TEST_F(AddinDialogsTest, SixStepsFillTheSplashBarAndASeventhIsRefused) {
    auto splash = ui::Forms::instance<nimb::splashscrnFrm>();
    EXPECT_EQ(splash->statusLbl->Caption(), "Starting");
    for (int step = 1; step <= 6; ++step) {
        splash->updateProgress("step " + std::to_string(step));
        EXPECT_EQ(splash->statusLbl->Caption(), "step " + std::to_string(step));
    }
    EXPECT_EQ(splash->ProgressBar1->Value(), splash->ProgressBar1->Max());
    try {
        splash->updateProgress("step 7");
        ADD_FAILURE() << "a seventh step went through";
    } catch (const vb::VBError& e) {
        EXPECT_EQ(e.number(), vb::err::InvalidPropertyValue);
    }
    EXPECT_EQ(splash->statusLbl->Caption(), "step 6");
    EXPECT_EQ(splash->ProgressBar1->Value(), 6.0f);
}

TEST(AddinUIFontRule, AFormInTheInterfaceFontIsLeftUntouched) {
    struct Case {
        std::string uiName;
        int32_t uiSize;
        bool changes;
    } cases[] = {{"Arial", 9, false}, {"Arial", 10, true}, {"Tahoma", 9, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.uiName + " " + std::to_string(c.uiSize));
        nimb::wkutil::moduleState().uiFontName = c.uiName;
        nimb::wkutil::moduleState().uiFontSize = c.uiSize;
        ui::Label form, listed, other;
        const ui::Font own{.Name = "Arial", .Size = 9.0f, .Charset = 2, .Bold = true};
        const ui::Font courier{.Name = "Courier", .Size = 12.0f};
        form.setFont(own);
        listed.setFont(courier);
        other.setFont(courier);
        EXPECT_EQ(nimb::applyUIFont(form, {&listed}), c.changes);
        const ui::Font ui{.Name = c.uiName, .Size = static_cast<float>(c.uiSize), .Charset = 2, .Bold = true};
        EXPECT_EQ(form.Font(), c.changes ? ui : own);
        EXPECT_EQ(listed.Font().Name, c.changes ? c.uiName : "Courier");
        EXPECT_EQ(other.Font(), courier);
    }
    nimb::wkutil::resetModuleState();
}

} // namespace
