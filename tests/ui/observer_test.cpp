// What a renderer is told: list rows in ranges with the right 1-based places, tree structure and
// node changes apart, and each control property under its own aspect - and nothing once the
// observer is gone.
#include "ui_fixture.h"

#include "platform/ui/ComboBox.h"
#include "platform/ui/Form.h"
#include "platform/ui/Label.h"
#include "platform/ui/ListView.h"
#include "platform/ui/Observer.h"
#include "platform/ui/TextBox.h"
#include "platform/ui/TreeView.h"

#include <string>
#include <vector>

namespace {

class Recorder : public ui::Observer {
public:
    void changed(ui::Control& control, ui::Aspect aspect) override {
        log.push_back(control.Name() + ":" + std::to_string(static_cast<int>(aspect)));
    }
    void itemsAdded(ui::ListView&, int32_t start, int32_t length) override { range("added", start, length); }
    void itemsRemoved(ui::ListView&, int32_t start, int32_t length) override { range("removed", start, length); }
    void itemChanged(ui::ListView&, const ui::ListItem& item) override { range("changed", item.Index(), 1); }
    void forgotten(ui::Control& control) override { log.push_back("forgotten " + control.Name()); }
    void nodesChanged(ui::TreeView&) override { log.push_back("nodes"); }
    void nodeChanged(ui::TreeView&, ui::Node& node) override { log.push_back("node " + node.Key()); }

    void range(const char* what, int32_t start, int32_t length) {
        log.push_back(std::string(what) + " " + std::to_string(start) + "+" + std::to_string(length));
    }
    std::vector<std::string> take() { return std::exchange(log, {}); }
    std::vector<std::string> log;
};

using Log = std::vector<std::string>;
constexpr auto aspect = [](ui::Aspect a) { return std::to_string(static_cast<int>(a)); };

class ObserverTest : public UiTest {
protected:
    Recorder seen;
};

TEST_F(ObserverTest, ListRowsArriveAsRangesAtTheirPlaces) {
    ui::ListView list;
    list.setName("lv");
    list.setObserver(&seen);
    auto& items = list.ListItems();
    items.Add(0, "a", "A");
    items.Add(0, "b", "B");
    items.Add(1, "c", "C");  // inserted first: rows 2.. move down
    EXPECT_EQ(seen.take(), (Log{"added 1+1", "added 2+1", "added 1+1"}));

    items.Item("b")->setSubItems(2, "x");  // row 3 now
    items.Item("a")->setText("A2");
    items.Item("a")->setBold(true);
    EXPECT_EQ(seen.take(), (Log{"changed 3+1", "changed 2+1", "changed 2+1"}));

    list.setSelectedItem(items.Item("a"));
    items.Remove("a");  // the selected row: the selection goes first, then the row
    EXPECT_EQ(seen.take(), (Log{"lv:" + aspect(ui::Aspect::Selection), "lv:" + aspect(ui::Aspect::Selection),
                                "removed 2+1"}));

    items.Clear();
    EXPECT_EQ(seen.take(), (Log{"lv:" + aspect(ui::Aspect::Selection), "removed 1+2"}));
    items.Clear();  // nothing left to remove: no empty range
    EXPECT_EQ(seen.take(), (Log{"lv:" + aspect(ui::Aspect::Selection)}));
}

TEST_F(ObserverTest, TreeStructureAndNodeChangesAreToldApart) {
    ui::TreeView tree;
    tree.setObserver(&seen);
    auto& nodes = tree.Nodes();
    nodes.Add({}, ui::tvw::Next, "p", "Project");
    nodes.Add("p", ui::tvw::Child, "f", "Folder");
    EXPECT_EQ(seen.take(), (Log{"nodes", "nodes"}));

    nodes.Item("f")->setText("Renamed");  // unsorted: stays in place
    nodes.Item("p")->setExpanded(true);
    nodes.Item("f")->setBold(true);
    EXPECT_EQ(seen.take(), (Log{"node f", "node p", "node f"}));

    tree.setSorted(true);
    nodes.Add("p", ui::tvw::Child, "g", "A folder");
    nodes.Item("g")->setText("Z folder");  // sorted: moves among its siblings
    EXPECT_EQ(seen.take(), (Log{"nodes", "nodes", "nodes"}));

    nodes.Remove("p");
    EXPECT_EQ(seen.take(), (Log{"nodes"}));
}

TEST_F(ObserverTest, ControlPropertiesComeUnderTheirAspects) {
    auto form = ui::New<ui::Form>("frm");
    form->setObserver(&seen);
    auto label = form->add<ui::Label>("lbl");
    auto text = form->add<ui::TextBox>("txt");
    auto combo = form->add<ui::ComboBox>("cbo", ui::vbComboDropdownList);
    for (auto* c : std::initializer_list<ui::Control*>{label.get(), text.get(), combo.get()}) c->setObserver(&seen);

    form->setCaption("Title");
    form->Move(0, 0, 4000, 3000);
    form->Show();
    label->setCaption("Name:");
    text->setText("x");
    text->setText("x");  // no change, nothing told
    text->setEnabled(false);
    combo->AddItem("one");
    combo->setListIndex(0);
    label->setFont({.Name = "Arial", .Size = 9, .Charset = 0, .Bold = false});
    EXPECT_EQ(seen.take(), (Log{"frm:" + aspect(ui::Aspect::Text), "frm:" + aspect(ui::Aspect::Geometry),
                                "frm:" + aspect(ui::Aspect::Visible), "lbl:" + aspect(ui::Aspect::Text),
                                "txt:" + aspect(ui::Aspect::Text), "txt:" + aspect(ui::Aspect::Enabled),
                                "cbo:" + aspect(ui::Aspect::Value), "cbo:" + aspect(ui::Aspect::Value),
                                "lbl:" + aspect(ui::Aspect::Font)}));

    for (auto* c : std::initializer_list<ui::Control*>{form.get(), label.get(), text.get(), combo.get()})
        c->setObserver(nullptr);
    label->setCaption("gone");
    form->Hide();
    EXPECT_TRUE(seen.take().empty());

    {
        ui::TreeView tree;
        tree.setName("tv");
        tree.setObserver(&seen);
    }
    EXPECT_EQ(seen.take().back(), "forgotten tv");  // last: after the nodes it held were cleared
}

} // namespace
