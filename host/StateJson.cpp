#include "StateJson.h"

#include "ServerView.h"
#include "TextRenderer.h"

#include "platform/sim/SimCodeModule.h"
#include "platform/sim/SimCommandBar.h"
#include "platform/sim/SimCommandBarControl.h"
#include "platform/sim/SimCommandBarControls.h"
#include "platform/sim/SimCommandBars.h"
#include "platform/sim/SimComponent.h"
#include "platform/sim/SimDECommand.h"
#include "platform/sim/SimDEConnection.h"
#include "platform/sim/SimDataEnvironment.h"
#include "platform/sim/SimProject.h"
#include "platform/sim/SimVBE.h"
#include "platform/sim/SimWindow.h"
#include "platform/ui/ComboBox.h"
#include "platform/ui/CommandButton.h"
#include "platform/ui/Form.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Frame.h"
#include "platform/ui/Image.h"
#include "platform/ui/Label.h"
#include "platform/ui/ListView.h"
#include "platform/ui/Menu.h"
#include "platform/ui/ProgressBar.h"
#include "platform/ui/TextBox.h"
#include "platform/ui/TreeView.h"
#include "platform/ui/UserControl.h"

#include <sstream>

namespace host {

using json = nlohmann::ordered_json;

namespace {

json tagJson(const vb::Variant& tag) {
    if (tag.isEmpty() || tag.isNull()) return nullptr;
    if (tag.isString()) return tag.toString();
    double d = tag.toDouble();
    if (d == static_cast<double>(static_cast<int64_t>(d))) return static_cast<int64_t>(d);
    return d;
}

json controlJson(const sim::SimCommandBarControl& c) {
    json j = {{"caption", c.caption()}, {"type", c.type() == vbide::msoControlPopup ? "popup" : "button"},
              {"id", c.id()}, {"builtIn", c.builtIn()}, {"temporary", c.temporary()}, {"enabled", c.enabled()},
              {"visible", c.visible()}, {"beginGroup", c.beginGroup()}, {"tooltip", c.tooltipText()},
              {"onAction", c.onAction()}, {"face", c.face() ? json(c.face()->name()) : json(nullptr)}};
    if (c.controls()) {
        j["controls"] = json::array();
        for (const auto& child : c.controls()->controls())
            if (!child->deleted()) j["controls"].push_back(controlJson(*child));
    }
    return j;
}

json ideJson(const sim::SimVBE& ide, const std::vector<std::pair<std::string, std::string>>& watched) {
    json projects = json::array();
    for (const auto& p : ide.projects()) {
        json components = json::array();
        for (const auto& c : p->components()) {
            json jc = {{"name", c->name()}, {"type", c->type()}, {"designerId", c->designerId()},
                       {"selected", ide.selectedComponent() == c}};
            jc["code"] = c->code() ? json(c->code()->lines()) : json(nullptr);
            if (auto de = std::dynamic_pointer_cast<sim::SimDataEnvironment>(c->designer())) {
                json jd = {{"connections", json::array()}, {"commands", json::array()}};
                for (const auto& x : de->connections()) jd["connections"].push_back({{"name", x->name()}, {"source", x->source()}});
                for (const auto& x : de->commands())
                    jd["commands"].push_back({{"name", x->name()}, {"commandType", x->commandType()},
                                              {"text", x->commandText()}, {"connection", x->connectionName()}});
                jc["dataEnvironment"] = jd;
            }
            components.push_back(jc);
        }
        json properties = json::array();
        for (const auto& [section, key] : watched)
            if (auto value = p->property(section, key))
                properties.push_back({{"section", section}, {"key", key}, {"value", *value}});
        projects.push_back({{"name", p->name()}, {"fileName", p->fileName()}, {"active", ide.activeProject() == p},
                            {"properties", properties}, {"components", components}});
    }
    json bars = json::array();
    for (const auto& bar : ide.commandBars()->bars()) {
        if (bar->deleted()) continue;
        json controls = json::array();
        for (const auto& c : bar->controls()->controls())
            if (!c->deleted()) controls.push_back(controlJson(*c));
        bars.push_back({{"name", bar->name()}, {"builtIn", bar->builtIn()}, {"temporary", bar->temporary()},
                        {"visible", bar->visible()}, {"controls", controls}});
    }
    json windows = json::array();
    for (const auto& w : ide.toolWindows())
        windows.push_back({{"caption", w->caption()}, {"visible", w->visible()}, {"width", w->width()},
                           {"height", w->height()}, {"focus", w->hasFocus()}});
    const auto& main = ide.mainWindow();
    return {{"projects", projects},
            {"lastUsedPath", ide.lastUsedPath()},
            {"mainWindow", {{"caption", main->caption()}, {"state", main->windowState()}, {"width", main->width()},
                            {"height", main->height()}, {"focus", main->hasFocus()}}},
            {"commandBars", bars},
            {"toolWindows", windows}};
}

json fontJson(const ui::Font& f) {
    return {{"name", f.Name}, {"size", f.Size}, {"charset", f.Charset}, {"bold", f.Bold}};
}

json formControls(const ui::Container& container) {
    json out = json::array();
    for (const auto& control : container.controls()) {
        json j = {{"name", control->Name()}, {"visible", control->Visible()}, {"enabled", control->Enabled()}};
        if (text::hasFont(*control)) j["font"] = fontJson(control->Font());
        if (auto* label = dynamic_cast<const ui::Label*>(control.get())) {
            j["kind"] = "label";
            j["caption"] = label->Caption();
        } else if (auto* box = dynamic_cast<const ui::TextBox*>(control.get())) {
            j["kind"] = "textBox";
            j["text"] = box->displayText();
        } else if (auto* combo = dynamic_cast<const ui::ComboBox*>(control.get())) {
            j["kind"] = "comboBox";
            j["text"] = combo->Text();
            j["listIndex"] = combo->ListIndex();
            j["items"] = json::array();
            for (int32_t i = 0; i < combo->ListCount(); ++i) j["items"].push_back(combo->List(i));
        } else if (auto* button = dynamic_cast<const ui::CommandButton*>(control.get())) {
            j["kind"] = "button";
            j["caption"] = button->Caption();
        } else if (auto* bar = dynamic_cast<const ui::ProgressBar*>(control.get())) {
            j["kind"] = "progressBar";
            j["value"] = bar->Value();
            j["max"] = bar->Max();
        } else if (auto* image = dynamic_cast<const ui::Image*>(control.get())) {
            j["kind"] = "image";
            j["picture"] = image->Picture() ? json(image->Picture()->name()) : json(nullptr);
        } else if (auto* frame = dynamic_cast<const ui::Frame*>(control.get())) {
            j["kind"] = "frame";
            j["caption"] = frame->Caption();
            j["controls"] = formControls(*frame);
        } else {
            j["kind"] = "other";
        }
        out.push_back(j);
    }
    return out;
}

json menuJson(const ui::Menu& menu) {
    json items = json::array();
    for (const auto& item : menu.items()) items.push_back(menuJson(*item));
    return {{"name", menu.Name()}, {"caption", menu.Caption()}, {"tag", menu.Tag()}, {"enabled", menu.Enabled()},
            {"visible", menu.Visible()}, {"items", items}};
}

json nodesJson(const std::vector<ui::NodePtr>& nodes) {
    json out = json::array();
    for (const auto& n : nodes)
        out.push_back({{"key", n->Key()}, {"text", n->Text()}, {"tag", tagJson(n->Tag())}, {"image", n->Image()},
                       {"expanded", n->Expanded()}, {"selected", n->Selected()}, {"children", nodesJson(n->childNodes())}});
    return out;
}

json serverViewJson(const sim::SimVBE& ide) {
    auto view = ServerView::find(ide);
    if (!view) return nullptr;
    json layout = json::array();
    for (const auto& c : view.control->controls())
    {
        json entry = {{"name", c->Name()}, {"left", c->Left()}, {"top", c->Top()}, {"width", c->Width()}, {"height", c->Height()}};
        if (text::hasFont(*c)) entry["font"] = fontJson(c->Font());
        layout.push_back(entry);
    }
    json columns = json::array();
    for (const auto& c : view.list->ColumnHeaders().items()) columns.push_back({{"text", c->Text()}, {"width", c->Width()}});
    json items = json::array();
    for (const auto& i : view.list->ListItems().items()) {
        json sub = json::array();
        for (int32_t k = 1; k <= i->ListSubItems().Count(); ++k) sub.push_back(i->ListSubItems().Item(k)->Text());
        items.push_back({{"key", i->Key()}, {"text", i->Text()}, {"subItems", sub}, {"icon", i->Icon()},
                         {"smallIcon", i->SmallIcon()}, {"bold", i->Bold()}, {"tag", tagJson(i->Tag())},
                         {"selected", i->Selected()}});
    }
    json menus = json::array();
    for (const auto& m : view.control->menus()) menus.push_back(menuJson(*m));
    return {{"width", view.control->Width()},
            {"height", view.control->Height()},
            {"font", fontJson(view.control->Font())},
            {"mousePointer", view.control->MousePointer()},
            {"layout", layout},
            {"tree", nodesJson(view.tree->Nodes().roots())},
            {"list", {{"view", view.list->View()}, {"columns", columns}, {"items", items}}},
            {"menus", menus}};
}

json journalJson(const EngineTestApi& engine) {
    if (!engine.available()) return nullptr;
    json lines = json::array();
    std::istringstream in(engine.journal());
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// Every string turned into what the person sees.
void showPaths(json& j, const DriveMap& drives) {
    if (j.is_string()) j = drives.toDisplay(j.get<std::string>());
    else if (j.is_structured())
        for (auto& child : j) showPaths(child, drives);
}

} // namespace

json stateJson(const Machine& machine, const AddinHost& addins, const HostUser& user, const EngineTestApi& engine) {
    json addInList = json::array();
    for (const auto& a : addins.registered())
        addInList.push_back({{"progId", a.progId}, {"friendlyName", a.friendlyName}, {"description", a.description},
                             {"loadBehavior", a.loadBehavior}, {"connected", addins.connected(a.progId) != nullptr}});
    json forms = json::array();
    for (const auto& f : ui::Forms::loaded())
        forms.push_back({{"name", f->Name()}, {"caption", f->Caption()}, {"visible", f->Visible()},
                         {"modal", f->ShownModally()}, {"font", fontJson(f->Font())}, {"controls", formControls(*f)}});
    json boxes = json::array();
    for (const auto& m : user.messages())
        boxes.push_back({{"text", m.prompt}, {"style", m.style}, {"title", m.title}, {"answer", m.answer}});
    json saved = machine.capture().toJson();
    json state = {{"ide", ideJson(machine.ide(), machine.watchedProperties())},
                  {"addIns", addInList},
                  {"forms", forms},
                  {"serverView", serverViewJson(machine.ide())},
                  {"messageBoxes", boxes},
                  {"registry", saved["registry"]},
                  {"sourceSafe", saved["sourceSafe"]},
                  {"engine", {{"pendingNotifications", engine.available() ? json(engine.pendingNotifications()) : json(nullptr)},
                              {"journal", journalJson(engine)}}}};
    showPaths(state, machine.drives());
    return state;
}

} // namespace host
