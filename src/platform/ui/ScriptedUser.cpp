#include "platform/ui/ScriptedUser.h"

#include "platform/error.h"
#include "platform/ui/ComboBox.h"
#include "platform/ui/CommandButton.h"
#include "platform/ui/Form.h"
#include "platform/ui/Menu.h"
#include "platform/ui/TextBox.h"

#include <stdexcept>

namespace ui {

namespace {

[[noreturn]] void cannot(const std::string& what) { throw std::runtime_error(what); }

template <class T>
std::shared_ptr<T> reachableControl(Form& form, const std::string& name, const char* kind) {
    auto control = form.control<T>(name);
    if (!control) cannot(std::string("there is no ") + kind + " named " + name);
    if (!control->reachable()) cannot(name + " cannot be reached (hidden or disabled)");
    return control;
}

std::string kindName(ScriptedUser::Kind kind) {
    switch (kind) {
    case ScriptedUser::Kind::MsgBox: return "message box";
    case ScriptedUser::Kind::Modal: return "modal form";
    case ScriptedUser::Kind::Popup: return "popup menu";
    case ScriptedUser::Kind::FileDialog: return "file dialog";
    }
    return "question";
}

} // namespace

ScriptedUser::Step ScriptedUser::setText(std::string control, std::string text) {
    std::string description = "type \"" + text + "\" into " + control;
    return {description, [control, text](Form& form) {
                if (form.control<TextBox>(control)) return reachableControl<TextBox>(form, control, "text box")->setText(text);
                auto combo = reachableControl<ComboBox>(form, control, "text box or combo box");
                if (combo->Style() == vbComboDropdownList) cannot(control + " is a drop-down list: choose an item");
                combo->setText(text);
            }};
}

ScriptedUser::Step ScriptedUser::chooseItem(std::string control, std::string itemText) {
    std::string description = "choose \"" + itemText + "\" in " + control;
    return {description, [control, itemText](Form& form) {
                auto combo = reachableControl<ComboBox>(form, control, "combo box");
                for (int32_t i = 0; i < combo->ListCount(); ++i)
                    if (combo->List(i) == itemText) return combo->setListIndex(i);
                cannot(control + " has no item \"" + itemText + "\"");
            }};
}

ScriptedUser::Step ScriptedUser::chooseIndex(std::string control, int32_t index) {
    std::string description = "choose item " + std::to_string(index) + " in " + control;
    return {description, [control, index](Form& form) {
                auto combo = reachableControl<ComboBox>(form, control, "combo box");
                if (index < 0 || index >= combo->ListCount())
                    cannot(control + " has " + std::to_string(combo->ListCount()) + " items, not an item " + std::to_string(index));
                combo->setListIndex(index);
            }};
}

ScriptedUser::Step ScriptedUser::press(std::string button) {
    return {"press " + button, [button](Form& form) { reachableControl<CommandButton>(form, button, "button")->click(); }};
}

ScriptedUser::Step ScriptedUser::pressEnter() {
    return {"press Enter", [](Form& form) {
                if (!form.pressEnter()) cannot("the form has no default button to press");
            }};
}

ScriptedUser::Step ScriptedUser::pressEscape() {
    return {"press Escape", [](Form& form) {
                if (!form.pressEscape()) cannot("the form has no cancel button to press");
            }};
}

ScriptedUser::Step ScriptedUser::closeBox() {
    return {"close the window", [](Form& form) { form.closeBox(); }};
}

ScriptedUser::Step ScriptedUser::run(std::string description, std::function<void(Form&)> fn) {
    return {std::move(description), std::move(fn)};
}

void ScriptedUser::answerMsgBox(int32_t result) { script_.push_back({Kind::MsgBox, {}, result, {}, {}}); }

void ScriptedUser::expectModal(std::string formName, std::vector<Step> steps) {
    script_.push_back({Kind::Modal, std::move(formName), 0, {}, std::move(steps)});
}

void ScriptedUser::choosePopupItem(std::string itemName) { script_.push_back({Kind::Popup, std::move(itemName), 0, {}, {}}); }

void ScriptedUser::dismissPopup() { script_.push_back({Kind::Popup, {}, 0, {}, {}}); }

void ScriptedUser::answerFileDialog(std::string path) { script_.push_back({Kind::FileDialog, {}, 0, std::move(path), {}}); }

void ScriptedUser::cancelFileDialog() { script_.push_back({Kind::FileDialog, {}, 0, std::nullopt, {}}); }

std::vector<ScriptedUser::Interaction> ScriptedUser::messageBoxes() const {
    std::vector<Interaction> out;
    for (const auto& i : interactions_)
        if (i.kind == Kind::MsgBox) out.push_back(i);
    return out;
}

std::vector<std::string> ScriptedUser::problems() const {
    auto out = failures_;
    for (std::size_t i = head_; i < script_.size(); ++i) out.push_back("the script's " + describe(script_[i]) + " was never asked for");
    return out;
}

int32_t ScriptedUser::msgBox(const std::string& prompt, int32_t style, const std::string& title) {
    Interaction shown{Kind::MsgBox, prompt, style, title, {}, true};
    int32_t answer = safestResult(style);
    if (const Expectation* e = next(Kind::MsgBox, "message box \"" + prompt + "\"")) {
        const int32_t scripted = e->result;
        consume();
        if (offersResult(style, scripted)) answer = scripted;
        else fail("message box \"" + prompt + "\" (style " + std::to_string(style) + ") has no button for the answer " + std::to_string(scripted));
    } else {
        shown.expected = false;
    }
    shown.answer = std::to_string(answer);
    record(shown);
    return answer;
}

void ScriptedUser::showModal(Form& form) {
    const std::size_t at = interactions_.size();
    record({Kind::Modal, form.Name(), 0, {}, {}, true});
    const Expectation* e = next(Kind::Modal, "modal form " + form.Name());
    if (e != nullptr && !e->name.empty() && e->name != form.Name()) {
        fail("unexpected modal form " + form.Name() + " (the script expects modal form " + e->name + ")");
        e = nullptr;
    }
    std::string done;
    if (e != nullptr) {
        const std::vector<Step> steps = e->steps;  // steps may add to the script
        consume();
        for (const Step& step : steps) {
            if (!form.Loaded() || !form.Visible()) {
                fail("modal form " + form.Name() + " was closed before the step \"" + step.description + "\"");
                break;
            }
            try {
                step.fn(form);
            } catch (const vb::VBError& error) {
                fail("modal form " + form.Name() + ": \"" + step.description + "\" raised " + vb::numberColonDescription(error));
            } catch (const std::exception& error) {
                fail("modal form " + form.Name() + ": cannot " + step.description + ": " + error.what());
            } catch (...) {
                fail("modal form " + form.Name() + ": \"" + step.description + "\" raised " + vb::numberColonDescription(vb::currentError()));
            }
            done += (done.empty() ? "" : ", ") + step.description;
        }
        if (form.Loaded() && form.Visible()) fail("modal form " + form.Name() + " is still shown after the script's steps");
    } else {
        interactions_[at].expected = false;
    }
    if (form.Loaded() && form.Visible()) {
        // A person who cannot go on closes the window; a form that refuses is put out of the way.
        form.closeBox();
        if (form.Loaded() && form.Visible()) form.Hide();
        done += (done.empty() ? "" : ", ") + std::string("close the window");
    }
    interactions_[at].answer = done;
}

Menu* ScriptedUser::popupMenu(Menu& menu, int32_t x, int32_t y) {
    (void)x, (void)y;
    Interaction shown{Kind::Popup, menu.Name(), 0, {}, "none", true};
    Menu* chosen = nullptr;
    if (const Expectation* e = next(Kind::Popup, "popup menu " + menu.Name())) {
        const std::string name = e->name;
        consume();
        Menu* item = name.empty() ? nullptr : menu.find(name);
        if (!name.empty() && item == nullptr) fail("popup menu " + menu.Name() + " has no item " + name);
        else if (item != nullptr && !item->choosableIn(menu))
            fail("popup menu " + menu.Name() + ": " + name + " cannot be chosen (disabled, hidden, a separator or a submenu)");
        else chosen = item;
    } else {
        shown.expected = false;
    }
    if (chosen != nullptr) shown.answer = chosen->Name();
    record(shown);
    return chosen;
}

std::optional<std::string> ScriptedUser::fileDialog(CommonDialog& dialog, FileDialogMode mode) {
    Interaction shown{Kind::FileDialog, dialog.DialogTitle(), mode == FileDialogMode::Save ? 1 : 0, {}, "cancel", true};
    std::optional<std::string> path;
    if (const Expectation* e = next(Kind::FileDialog, "file dialog \"" + dialog.DialogTitle() + "\"")) {
        path = e->path;
        consume();
    } else {
        shown.expected = false;
    }
    if (path) shown.answer = *path;
    record(shown);
    return path;
}

const ScriptedUser::Expectation* ScriptedUser::next(Kind kind, const std::string& what) {
    if (head_ < script_.size() && script_[head_].kind == kind) return &script_[head_];
    fail("unexpected " + what + (head_ < script_.size() ? " (the script expects " + describe(script_[head_]) + ")"
                                                         : " (the script expects nothing more)"));
    return nullptr;
}

void ScriptedUser::consume() { ++head_; }

void ScriptedUser::record(Interaction interaction) {
    interactions_.push_back(interaction);
    raise(onInteraction, interactions_.back());
}

void ScriptedUser::fail(std::string description) { failures_.push_back(std::move(description)); }

std::string ScriptedUser::describe(const Expectation& e) {
    switch (e.kind) {
    case Kind::MsgBox: return "message box answered " + std::to_string(e.result);
    case Kind::Modal: return "modal form " + (e.name.empty() ? std::string("(any)") : e.name);
    case Kind::Popup: return "popup menu choice " + (e.name.empty() ? std::string("(none)") : e.name);
    case Kind::FileDialog: return "file dialog answered " + e.path.value_or("cancel");
    }
    return kindName(e.kind);
}

} // namespace ui
