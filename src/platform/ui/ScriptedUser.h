// ScriptedUser: a person who follows a script, for tests and the host's script mode. The script
// is a queue of expectations, consumed in order:
//
//   user->answerMsgBox(ui::mb::No);                              // next message box: press No
//   user->expectModal("conLstCtl", {ScriptedUser::setText("nameTxt", "X"),
//                                   ScriptedUser::press("okBtn")});
//   user->choosePopupItem("devObjBuildMnuItem");                 // next popup menu
//   user->answerFileDialog("C:\\work\\a.wkv");  user->cancelFileDialog();
//
// Every interaction is recorded (interactions(), and onInteraction as it happens). When the
// program asks something the script does not expect next - another kind, another form, an answer
// the message box does not offer, a menu item that cannot be chosen, a step that fails - the
// question is recorded in failures() with a clear description and gets the safest answer (Cancel /
// No / none / the close box), and the expectation stays queued. The add-in's own handlers catch
// every error, so tests must check that failures() is empty (and remaining() is 0).
#pragma once

#include "platform/ui/User.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace ui {

class Form;
class Menu;

class ScriptedUser : public User {
public:
    // One thing the person does on a modal form. fn raises (any exception) when it cannot be done.
    struct Step {
        std::string description;
        std::function<void(Form&)> fn;
    };
    // Types text into a text box or an editable combo box named control (Change runs).
    static Step setText(std::string control, std::string text);
    // Chooses the item with that text in a combo box (ListIndex is set, Click runs).
    static Step chooseItem(std::string control, std::string itemText);
    static Step chooseIndex(std::string control, int32_t index);
    // Presses a command button; it must be reachable (visible and enabled, with its containers).
    static Step press(std::string button);
    static Step pressEnter();
    static Step pressEscape();
    static Step closeBox();
    // Anything else (for instance advancing ui::EventLoop while the form is shown).
    static Step run(std::string description, std::function<void(Form&)> fn);

    enum class Kind { MsgBox, Modal, Popup, FileDialog };
    struct Interaction {
        Kind kind;
        std::string subject;  // prompt, form name, menu name, dialog title
        int32_t style = 0;    // message box style; FileDialogMode as 0 open / 1 save
        std::string title;    // message box title
        std::string answer;   // what the person did: "6", "okBtn", "devObjBuildMnuItem", a path, "cancel"
        bool expected = true; // false: the script did not foresee it (also in failures())
    };

    void answerMsgBox(int32_t result);
    // An empty form name accepts any form.
    void expectModal(std::string formName, std::vector<Step> steps);
    void choosePopupItem(std::string itemName);
    void dismissPopup();
    void answerFileDialog(std::string path);
    void cancelFileDialog();

    const std::vector<Interaction>& interactions() const { return interactions_; }
    const std::vector<std::string>& failures() const { return failures_; }
    // Expectations not yet used.
    std::size_t remaining() const { return script_.size() - head_; }
    // The message boxes shown so far, in order (a filtered view of interactions()).
    std::vector<Interaction> messageBoxes() const;
    // failures() plus one line per unused expectation; empty when the run went as scripted.
    std::vector<std::string> problems() const;
    std::function<void(const Interaction&)> onInteraction;

    int32_t msgBox(const std::string& prompt, int32_t style, const std::string& title) override;
    void showModal(Form& form) override;
    Menu* popupMenu(Menu& menu, int32_t x, int32_t y) override;
    std::optional<std::string> fileDialog(CommonDialog& dialog, FileDialogMode mode) override;

private:
    struct Expectation {
        Kind kind;
        std::string name;  // form or menu item; empty: any form / dismiss the popup
        int32_t result = 0;
        std::optional<std::string> path;  // file dialog: nullopt = cancel
        std::vector<Step> steps;
    };

    // The next expectation when it is of that kind; otherwise records the failure and returns null.
    const Expectation* next(Kind kind, const std::string& what);
    void consume();
    void record(Interaction interaction);
    void fail(std::string description);
    static std::string describe(const Expectation& e);

    std::vector<Expectation> script_;  // front = next
    std::size_t head_ = 0;
    std::vector<Interaction> interactions_;
    std::vector<std::string> failures_;
};

} // namespace ui
