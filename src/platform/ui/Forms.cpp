#include "platform/ui/Forms.h"

#include <algorithm>
#include <unordered_map>

namespace ui::Forms {

namespace {
struct State {
    std::vector<FormPtr> loaded;
    std::unordered_map<std::type_index, FormPtr> defaults;
    std::function<void(Form&)> watcher;
};
State& state() {
    static State s;
    return s;
}
} // namespace

std::vector<FormPtr> loaded() { return state().loaded; }

FormPtr find(const std::string& name) {
    for (const auto& form : state().loaded)
        if (form->Name() == name) return form;
    return nullptr;
}

void unloadAll() {
    // Unload hooks may load or unload other forms; work on a snapshot and repeat until none is left.
    for (auto forms = loaded(); !forms.empty(); forms = loaded())
        for (const auto& form : forms) form->unloadAtEnd();
    state().defaults.clear();
}

FormPtr defaultInstance(std::type_index type) {
    auto it = state().defaults.find(type);
    return it == state().defaults.end() ? nullptr : it->second;
}

void setDefaultInstance(std::type_index type, FormPtr form) { state().defaults[type] = std::move(form); }

void watchLoads(std::function<void(Form&)> watcher) { state().watcher = std::move(watcher); }

void noteLoaded(const FormPtr& form) {
    auto& list = state().loaded;
    if (std::find(list.begin(), list.end(), form) != list.end()) return;
    list.push_back(form);
    if (state().watcher) state().watcher(*form);
}

void noteUnloaded(const Form& form) {
    auto& list = state().loaded;
    std::erase_if(list, [&](const FormPtr& f) { return f.get() == &form; });
    std::erase_if(state().defaults, [&](const auto& entry) { return entry.second.get() == &form; });
}

} // namespace ui::Forms
