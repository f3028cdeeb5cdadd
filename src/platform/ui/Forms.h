// Forms: the loaded forms of the program (VB's Forms collection, which a renderer walks) and the
// default instance of each form class, the object VB code reaches by the class name
// (`Load frmVSSLogin`, `splashscrnFrm.updateProgress`).
//
//   auto splash = ui::Forms::instance<splashscrnFrm>();  // creates and loads on first use
//   if (ui::Forms::isLoaded<splashscrnFrm>()) ui::Forms::unload<splashscrnFrm>();
//
// Unloading a default instance (by any way: Forms::unload, Unload, the close box) also releases
// it, as `Unload frm: Set frm = Nothing` would: the next use makes a fresh object, and the old one
// terminates once the last outside reference goes.
#pragma once

#include "platform/ui/Control.h"
#include "platform/ui/Form.h"

#include <functional>
#include <memory>
#include <typeindex>
#include <vector>

namespace ui::Forms {

// Every loaded form, in the order they were loaded.
std::vector<FormPtr> loaded();
// The loaded form named name (its Name), or nullptr.
FormPtr find(const std::string& name);

// Unloads every loaded form (Form_QueryUnload/Form_Unload still run; a cancel is overruled) and
// releases every default instance: the program ends, or a test starts afresh.
void unloadAll();

// Told of every form as it loads (before its Form_Load runs), so that a renderer can show it and
// follow what Form_Load changes. One watcher at a time; an empty one stops watching.
void watchLoads(std::function<void(Form&)> watcher);

// Plumbing for the templates below and for Form itself.
FormPtr defaultInstance(std::type_index type);
void setDefaultInstance(std::type_index type, FormPtr form);
void noteLoaded(const FormPtr& form);
void noteUnloaded(const Form& form);

// The default instance of T, made with ui::New and loaded when needed.
template <class T>
std::shared_ptr<T> instance() {
    auto form = std::static_pointer_cast<T>(defaultInstance(typeid(T)));
    if (!form) {
        form = New<T>();
        setDefaultInstance(typeid(T), form);
    }
    form->Load();
    return form;
}

// The default instance of T if it is loaded, else nullptr (never creates one).
template <class T>
std::shared_ptr<T> existing() {
    auto form = std::static_pointer_cast<T>(defaultInstance(typeid(T)));
    return form && form->Loaded() ? form : nullptr;
}

template <class T>
bool isLoaded() {
    return existing<T>() != nullptr;
}

// Unloads the default instance of T if it is loaded. Returns false when the form cancelled.
template <class T>
bool unload() {
    auto form = existing<T>();
    return !form || form->Unload();
}

} // namespace ui::Forms
