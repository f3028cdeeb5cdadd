#include "HostUser.h"

#include "TextRenderer.h"

#include "platform/ui/Form.h"
#include "platform/ui/Menu.h"

#include <utility>

namespace host {

namespace {

std::string firstLine(const std::string& text) {
    auto end = text.find('\n');
    return end == std::string::npos ? text : text.substr(0, end) + " ...";
}

} // namespace

HostUser::HostUser(Console& console, std::shared_ptr<ui::User> fallback)
    : console_(console), fallback_(std::move(fallback)) {
    for (auto& q : queues_) q = std::make_shared<ui::ScriptedUser>();
}

std::size_t HostUser::queued() const {
    std::size_t n = 0;
    for (const auto& q : queues_) n += q->remaining();
    return n;
}

std::vector<std::string> HostUser::takeProblems() {
    for (std::size_t k = 0; k < queues_.size(); ++k) {
        const auto& failures = queues_[k]->failures();
        for (; failuresSeen_[k] < failures.size(); ++failuresSeen_[k]) problems_.push_back(failures[failuresSeen_[k]]);
    }
    return std::exchange(problems_, {});
}

std::vector<std::string> HostUser::unusedAnswers() const {
    std::vector<std::string> out;
    for (const auto& q : queues_) {
        auto all = q->problems();  // its failures, then one line per unused expectation
        out.insert(out.end(), all.begin() + static_cast<std::ptrdiff_t>(q->failures().size()), all.end());
    }
    return out;
}

void HostUser::unanswered(const std::string& what) { problems_.push_back(what + " came with no answer queued"); }

void HostUser::showAnswer(Kind kind) {
    const auto& last = queue(kind).interactions().back();
    console_.line("  -> " + (last.answer.empty() ? std::string("nothing") : last.answer));
}

int32_t HostUser::msgBox(const std::string& prompt, int32_t style, const std::string& title) {
    console_.lines(text::msgBox(prompt, style, title));
    int32_t answer;
    if (fromQueue(Kind::MsgBox)) {
        answer = queue(Kind::MsgBox).msgBox(prompt, style, title);
    } else if (fallback_) {
        answer = fallback_->msgBox(prompt, style, title);
    } else {
        unanswered("the message box \"" + firstLine(prompt) + "\"");
        answer = ui::safestResult(style);
    }
    console_.line("  -> " + text::resultName(answer));
    messages_.push_back({prompt, style, title, answer});
    return answer;
}

void HostUser::showModal(ui::Form& form) {
    console_.lines(text::form(form, "dialog"));
    if (modalShown_) modalShown_(form);
    if (fromQueue(Kind::Modal)) {
        queue(Kind::Modal).showModal(form);
        showAnswer(Kind::Modal);
    } else if (fallback_) {
        fallback_->showModal(form);
    } else {
        unanswered("the dialog " + form.Name() + " \"" + form.Caption() + "\"");
        form.closeBox();
        if (form.Loaded() && form.Visible()) form.Hide();
        console_.line("  -> close the window");
    }
}

ui::Menu* HostUser::popupMenu(ui::Menu& menu, int32_t x, int32_t y) {
    console_.lines(text::popup(menu, x, y));
    ui::Menu* chosen = nullptr;
    if (fromQueue(Kind::Popup)) {
        chosen = queue(Kind::Popup).popupMenu(menu, x, y);
    } else if (fallback_) {
        chosen = fallback_->popupMenu(menu, x, y);
    } else {
        unanswered("the popup menu " + menu.Name());
    }
    console_.line("  -> " + (chosen ? chosen->Name() + " \"" + text::plainCaption(chosen->Caption()) + "\"" : "none"));
    return chosen;
}

std::optional<std::string> HostUser::fileDialog(ui::CommonDialog& dialog, ui::FileDialogMode mode) {
    console_.lines(text::fileDialog(dialog, mode));
    std::optional<std::string> path;
    if (fromQueue(Kind::FileDialog)) {
        path = queue(Kind::FileDialog).fileDialog(dialog, mode);
    } else if (fallback_) {
        path = fallback_->fileDialog(dialog, mode);
    } else {
        unanswered("the file dialog \"" + dialog.DialogTitle() + "\"");
    }
    console_.line("  -> " + (path ? *path : std::string("cancel")));
    return path;
}

} // namespace host
