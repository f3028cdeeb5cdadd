// HostUser: the person at the simulated IDE, as the add-in meets them through ui::User. Every
// question is shown on the console as it appears (message boxes, popup menus, modal dialogs, file
// dialogs) with the answer it got. Answers come first from the queues the script or the shell
// fills, one ui::ScriptedUser per kind of question, so that "the next message box" and "the next
// popup menu" can be said in any order; when a kind's queue is empty, the interactive shell asks
// the person at the terminal (the fallback), and a script has made an error: the question is
// recorded as a problem, named, and given the answer that commits to nothing.
#pragma once

#include "Console.h"

#include "platform/ui/ScriptedUser.h"
#include "platform/ui/User.h"

#include <array>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace host {

class HostUser : public ui::User {
public:
    struct ShownMessage {
        std::string prompt;
        int32_t style;
        std::string title;
        int32_t answer;
    };

    // fallback: who answers when nothing is queued; Nothing in a script.
    HostUser(Console& console, std::shared_ptr<ui::User> fallback);

    using Kind = ui::ScriptedUser::Kind;
    // The answers queued for one kind of question.
    ui::ScriptedUser& queue(Kind kind) { return *queues_.at(index(kind)); }
    std::size_t queued() const;

    // Problems since the last call: questions nobody answered, answers that did not fit.
    std::vector<std::string> takeProblems();
    // Answers queued and never asked for.
    std::vector<std::string> unusedAnswers() const;
    // Every message box shown so far.
    const std::vector<ShownMessage>& messages() const { return messages_; }

    // Called with each modal dialog before it is answered (real windows show it then); null: none.
    void onModal(std::function<void(ui::Form&)> shown) { modalShown_ = std::move(shown); }

    int32_t msgBox(const std::string& prompt, int32_t style, const std::string& title) override;
    void showModal(ui::Form& form) override;
    ui::Menu* popupMenu(ui::Menu& menu, int32_t x, int32_t y) override;
    std::optional<std::string> fileDialog(ui::CommonDialog& dialog, ui::FileDialogMode mode) override;

private:
    static std::size_t index(Kind kind) { return static_cast<std::size_t>(kind); }
    bool fromQueue(Kind kind) const { return queues_.at(index(kind))->remaining() > 0; }
    void unanswered(const std::string& what);
    void showAnswer(Kind kind);

    Console& console_;
    std::array<std::shared_ptr<ui::ScriptedUser>, 4> queues_;  // by Kind
    std::array<std::size_t, 4> failuresSeen_{};
    std::shared_ptr<ui::User> fallback_;
    std::vector<std::string> problems_;
    std::vector<ShownMessage> messages_;
    std::function<void(ui::Form&)> modalShown_;
};

} // namespace host
