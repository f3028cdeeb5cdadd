#include "FuzzWorld.h"

#include "HostileEngine.h"

#include "dialogs/splashscrnFrm.h"
#include "model/ModelUtilVB.h"
#include "notify/notificationThreadFrm.h"
#include "notify/viewAPIs.h"
#include "platform/errorhandling.h"
#include "platform/sim/SimDataEnvironment.h"
#include "platform/sim/SimProject.h"
#include "platform/sim/SimVBE.h"
#include "platform/ui/EventLoop.h"
#include "platform/ui/Form.h"
#include "platform/ui/Forms.h"
#include "platform/ui/ImageList.h"
#include "platform/ui/ListView.h"
#include "platform/ui/LoadResPicture.h"
#include "platform/ui/MsgBox.h"
#include "platform/ui/TreeView.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <map>

namespace nimbfuzz {

namespace {

[[noreturn]] void broken(const std::string& what) {
    std::fprintf(stderr, "invariant broken: %s\n", what.c_str());
    std::abort();
}

// A box the add-in can make: no icon and OK alone (errors, plain messages), or one of its four icons
// with OK, Yes/No or Yes/No/Cancel (questions).
bool possibleStyle(int32_t style) {
    if (style == ui::mb::OKOnly)
        return true;
    const int32_t icon = style & ~7, buttons = style & 7;
    const bool knownIcon = icon == ui::mb::Critical || icon == ui::mb::Question ||
                           icon == ui::mb::Exclamation || icon == ui::mb::Information;
    return knownIcon &&
           (buttons == ui::mb::OKOnly || buttons == ui::mb::YesNo || buttons == ui::mb::YesNoCancel);
}

void checkKey(const std::string& key) {
    if (nimb::viewAPIs::makeNodeKey(nimb::viewAPIs::keyToHandle(key)) != key)
        broken("key " + key);
}

// How many cells each kind of details item has, by its icon.
int cellsFor(const std::string& icon) {
    namespace img = nimb::viewAPIs::images;
    static const std::map<std::string, int> cells = {
        {img::StoredProcedure, 8}, {img::DirtyStoredProcedure, 8},
        {img::UserFunction, 7},    {img::DirtyUserFunction, 7},
        {img::Trigger, 4},         {img::NimbTable, 4},
        {img::NimbView, 2}};
    auto it = cells.find(icon);
    if (it == cells.end())
        broken("details icon " + icon);
    return it->second;
}

} // namespace

int32_t FuzzUser::msgBox(const std::string& prompt, int32_t style, const std::string& title) {
    if (!possibleStyle(style))
        broken("message box style " + std::to_string(style));
    std::vector<int32_t> offered;
    for (int32_t result = 1; result <= 7; ++result)
        if (ui::offersResult(style, result))
            offered.push_back(result);
    const int32_t answer = offered[input_.ConsumeIntegralInRange<std::size_t>(0, offered.size() - 1)];
    boxes.push_back({prompt, style, title, answer});
    return answer;
}

void FuzzUser::showModal(ui::Form& form) {
    form.Hide();
}

std::shared_ptr<nimb::ModelUtil> FuzzMgr::getModel() {
    return model;
}

FuzzWorld::FuzzWorld(FuzzedDataProvider& input)
    : user(std::make_shared<FuzzUser>(input)), ide_(sim::SimVBE::create()), mgr_(std::make_shared<FuzzMgr>()),
      tree_(std::make_shared<ui::TreeView>()), list_(std::make_shared<ui::ListView>()) {
    ui::User::install(user);
    ui::EventLoop::reset();

    auto project = ide_->addProject("Project1", "C:\\vb\\Project1.vbp");
    project->addModule("Module1", {"Option Explicit", "", "Sub Main()", "End Sub"});
    project->addComponent("Form1", 5, {"Private Sub Form_Load()", "End Sub"});
    project->addDataEnvironment("DataEnvironment1")->addConnection("Connection1", "Provider=X");
    ide_->addProject("Project2")->addModule("Module1");

    auto model = std::make_shared<nimb::ModelUtilVB>();
    model->setVBInstance(ide_);
    mgr_->model = model;

    auto images = std::make_shared<ui::ImageList>();
    for (const char* key : nimb::viewAPIs::images::inOrder)
        images->ListImages().Add(0, key, ui::StoredPicture(key));
    tree_->setImageList(images);
    tree_->setSorted(true);
    list_->setSmallIcons(images);
    list_->setIcons(images);
    nimb::viewAPIs::setServerTreeView(tree_);
    nimb::viewAPIs::setServerDetailsView(list_);
    nimb::viewAPIs::setIMgr(mgr_);
    buildTree(input);

    // The splash reads its texts from the engine too; a load that fails is not this target's subject.
    if (input.ConsumeBool())
        vb::silently([] { ui::Forms::instance<nimb::splashscrnFrm>()->Show(); });
    poller_ = ui::New<nimb::notificationThreadFrm>();
    poller_->Load();
    poller_->setIMMgr(mgr_);
}

FuzzWorld::~FuzzWorld() {
    ui::Forms::unloadAll();
    poller_.reset();
    nimb::viewAPIs::resetModuleState();
    ui::User::install(nullptr);
}

// Empty, or the project (10) with one connection (20) and its five folders (21 to 25), one node
// selected.
void FuzzWorld::buildTree(FuzzedDataProvider& input) {
    const int shape = input.ConsumeIntegralInRange(0, 7);
    if (shape == 0)
        return;
    auto& nodes = tree_->Nodes();
    nodes.Add({}, ui::tvw::Next, "K10", "Project")->setTag(vb::Variant("5"));
    nodes.Add(vb::Variant("K10"), ui::tvw::Child, "K20", "DB")->setTag(vb::Variant(int32_t{6}));
    const char* tags[] = {"7", "9", "11", "13", "15"};
    for (int i = 0; i < 5; ++i)
        nodes.Add(vb::Variant("K20"), ui::tvw::Child, "K" + std::to_string(21 + i), tags[i])
            ->setTag(vb::Variant(tags[i]));
    const char* selectable[] = {"K10", "K20", "K21", "K22", "K23", "K24", "K25"};
    tree_->setSelectedItem(nodes.Item(selectable[shape - 1]));
}

void FuzzWorld::tick() {
    ui::EventLoop::advance(100);
}

void FuzzWorld::check() const {
    const auto& seen = HostileEngine::instance().observed();
    if (seen.enumerationsBegun != seen.enumerationsEnded)
        broken("an enumeration was left open");

    // Every answer the engine got is the button pressed on one of the boxes, in order.
    auto box = user->boxes.begin();
    for (int32_t answer : seen.answers) {
        box =
            std::find_if(box, user->boxes.end(), [&](const FuzzUser::Box& b) { return b.answer == answer; });
        if (box == user->boxes.end())
            broken("answer " + std::to_string(answer) + " without its box");
        ++box;
    }

    if (tree_->Nodes().roots().size() > 1)
        broken("more than one root");
    for (int32_t i = 1; i <= tree_->Nodes().Count(); ++i)
        checkKey(tree_->Nodes().Item(i)->Key());
    for (const auto& item : list_->ListItems().items()) {
        checkKey(item->Key());
        if (item->ListSubItems().Count() != cellsFor(item->SmallIcon()))
            broken("half-made item " + item->Key());
    }
}

} // namespace nimbfuzz
