#include "platform/ui/ComboBox.h"
#include "platform/ui/ProgressBar.h"
#include "platform/ui/TextBox.h"
#include "ui_fixture.h"

#include <string>
#include <vector>

TEST(ProgressBar, RefusesValuesOutsideItsRange) {
    ui::ProgressBar bar;
    bar.setMax(6);
    for (int step = 1; step <= 6; ++step) bar.setValue(bar.Value() + 1);
    EXPECT_FLOAT_EQ(bar.Value(), 6);
    struct Case {
        const char* what;
        std::function<void()> call;
    };
    for (const auto& c : std::vector<Case>{{"a seventh step", [&] { bar.setValue(7); }},
                                           {"below Min", [&] { bar.setValue(-0.5f); }},
                                           {"Max not above Min", [&] { bar.setMax(0); }},
                                           {"Min not below Max", [&] { bar.setMin(6); }}})
        EXPECT_EQ(errorNumberOf(c.call), 380) << c.what;
    EXPECT_FLOAT_EQ(bar.Value(), 6) << "a refused value changes nothing";
    bar.setMax(3);
    EXPECT_FLOAT_EQ(bar.Value(), 3) << "a narrower range pulls the value in";
}

TEST(ComboBox, ChoosingRunsClickAndTypingRunsChange) {
    for (int16_t style : {ui::vbComboDropdownList, ui::vbComboDropdown}) {
        ui::ComboBox combo(style);
        std::vector<std::string> events;
        combo.onClick = [&] { events.push_back("click " + combo.Text()); };
        combo.onChange = [&] { events.push_back("change " + combo.Text()); };
        combo.AddItem("Project1");
        combo.AddItem("");
        combo.AddItem("Project0", 0);
        EXPECT_EQ(combo.ListCount(), 3);
        EXPECT_EQ(combo.List(0), "Project0");
        combo.setListIndex(1);
        combo.setListIndex(1);  // again: Click again, as the runtime does
        EXPECT_EQ(combo.Text(), "Project1");
        EXPECT_EQ(errorNumberOf([&] { combo.setListIndex(3); }), 380);
        EXPECT_EQ(errorNumberOf([&] { combo.List(3); }), 381);
        if (style == ui::vbComboDropdownList) {
            EXPECT_EQ(errorNumberOf([&] { combo.setText("typed"); }), 383);
            combo.setText("Project0");
            EXPECT_EQ(combo.ListIndex(), 0);
            EXPECT_EQ(events, (std::vector<std::string>{"click Project1", "click Project1", "click Project0"}));
        } else {
            combo.setText("typed");
            EXPECT_EQ(combo.ListIndex(), 1) << "typing does not choose";
            EXPECT_EQ(events, (std::vector<std::string>{"click Project1", "click Project1", "change typed"}));
        }
        combo.Clear();
        EXPECT_EQ(combo.ListIndex(), -1);
        EXPECT_EQ(combo.Text(), "");
    }
}

TEST(TextBox, ChangeRunsOnlyWhenTheTextChanges) {
    ui::TextBox box;
    int changes = 0;
    box.onChange = [&] { ++changes; };
    box.setText("secret");
    box.setText("secret");
    EXPECT_EQ(changes, 1);
    box.setPasswordChar("*");
    box.setText("pässword");
    EXPECT_EQ(box.displayText(), "********");
}
