#include "ChangeWatch.h"

#include "ServerView.h"
#include "TextRenderer.h"

#include "platform/sim/SimCodeModule.h"
#include "platform/sim/SimComponent.h"
#include "platform/sim/SimDataEnvironment.h"
#include "platform/sim/SimProject.h"
#include "platform/sim/SimVBE.h"
#include "platform/ui/Form.h"
#include "platform/ui/Forms.h"
#include "platform/ui/UserControl.h"

#include <algorithm>

namespace host {

namespace {

std::string joined(const std::vector<std::string>& lines) {
    std::string out;
    for (const auto& l : lines) out += l + "\n";
    return out;
}

template <class V>
const V* lookUp(const std::map<std::string, V>& entries, const std::string& key) {
    auto it = entries.find(key);
    return it == entries.end() ? nullptr : &it->second;
}

template <class V>
const V* lookUp(const std::vector<std::pair<std::string, V>>& entries, const std::string& key) {
    auto it = std::find_if(entries.begin(), entries.end(), [&](const auto& e) { return e.first == key; });
    return it == entries.end() ? nullptr : &it->second;
}

// Calls changed(key, before or nullptr, after) for new and changed entries, in the order of after,
// then gone(key) for entries that are no more.
template <class Entries, class Changed, class Gone>
void compare(const Entries& before, const Entries& after, Changed changed, Gone gone) {
    for (const auto& [key, value] : after) {
        const auto* old = lookUp(before, key);
        if (!old || *old != value) changed(key, old, value);
    }
    for (const auto& [key, value] : before)
        if (!lookUp(after, key)) gone(key);
}

} // namespace

ChangeWatch::ChangeWatch(Console& console, const sim::SimVBE& ide, std::vector<std::pair<std::string, std::string>> properties)
    : console_(console), ide_(ide), properties_(std::move(properties)) {}

ChangeWatch::State ChangeWatch::snapshot() const {
    State s;
    s.ide = text::ideSummary(ide_);
    for (const auto& form : ui::Forms::loaded())
        if (form->Visible() && !form->ShownModally()) s.forms[form->Name()] = text::form(*form, "form");
    if (auto view = ServerView::find(ide_)) s.layout = joined(text::layout(*view.control));
    for (const auto& project : ide_.projects()) {
        for (const auto& [section, key] : properties_)
            if (auto value = project->property(section, key))
                s.properties[project->name() + ": property " + section + "/" + key] = *value;
        for (const auto& c : project->components()) {
            std::string title = project->name() + "." + c->name();
            if (c->code()) s.code[title] = c->code()->lines();
            if (auto de = std::dynamic_pointer_cast<sim::SimDataEnvironment>(c->designer()))
                s.dataEnvironments[title] = text::dataEnvironment(title, *de);
        }
    }
    return s;
}

void ChangeWatch::take() { last_ = snapshot(); }

void ChangeWatch::report() {
    State now = snapshot();
    compare(last_.ide, now.ide,
            [&](const std::string& key, const std::string*, const std::string& value) { console_.line("[IDE] " + key + ": " + value); },
            [&](const std::string& key) { console_.line("[IDE] " + key + ": gone"); });
    if (!now.layout.empty() && now.layout != last_.layout) console_.line(now.layout.substr(0, now.layout.size() - 1));
    compare(last_.forms, now.forms,
            [&](const std::string&, const std::vector<std::string>*, const std::vector<std::string>& lines) { console_.lines(lines); },
            [&](const std::string& key) { console_.line("[form " + key + " closed]"); });
    compare(last_.properties, now.properties,
            [&](const std::string& key, const std::string*, const std::string& value) { console_.line("[IDE] " + key + " = " + value); },
            [](const std::string&) {});  // properties go only with their project
    compare(last_.code, now.code,
            [&](const std::string& key, const std::vector<std::string>* before, const std::vector<std::string>& lines) {
                if (before) console_.lines(text::codeModule(key, lines, *before));
            },
            [](const std::string&) {});
    compare(last_.dataEnvironments, now.dataEnvironments,
            [&](const std::string&, const std::vector<std::string>* before, const std::vector<std::string>& lines) {
                if (before) console_.lines(lines);
            },
            [](const std::string&) {});
    last_ = std::move(now);
}

} // namespace host
