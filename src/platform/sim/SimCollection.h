// SimCollection: the simulated IDE's named collections (projects, components, Data Environment
// connections and commands): 1-based Item by index, Item by name, snapshot enumeration, each call
// entered in the journal as "<className>.<member>" on the collection's owner.
#pragma once

#include "platform/error.h"
#include "platform/sim/Journal.h"
#include "platform/sim/names.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace sim {

// Iface: the collection interface; Elem: the simulated element, with a journal-free name().
template <class Iface, class Elem>
class SimCollection : public Iface {
public:
    using Element = typename decltype(std::declval<Iface&>().Item(int32_t{}))::element_type;

    SimCollection(std::shared_ptr<Journal> journal, std::string className, std::function<std::string()> owner,
                  bool ignoreCase)
        : journal_(std::move(journal)), className_(std::move(className)), owner_(std::move(owner)),
          ignoreCase_(ignoreCase) {}

    int32_t Count() override {
        enter("Count");
        return static_cast<int32_t>(elements_.size());
    }
    std::shared_ptr<Element> Item(int32_t index) override {
        enter("Item", {std::to_string(index)});
        if (index < 1 || index > static_cast<int32_t>(elements_.size())) {
            throw vb::VBError(vb::err::SubscriptOutOfRange, "Subscript out of range");
        }
        return elements_[static_cast<std::size_t>(index - 1)];
    }
    std::shared_ptr<Element> Item(const std::string& name) override {
        enter("Item", {name});
        auto found = find(name);
        if (!found) {
            throw vb::VBError(vb::err::SubscriptOutOfRange, "Subscript out of range");
        }
        return found;
    }
    std::vector<std::shared_ptr<Element>> items() override {
        enter("items");
        return {elements_.begin(), elements_.end()};
    }

    // Simulation side: no journal entries.
    const std::vector<std::shared_ptr<Elem>>& elements() const { return elements_; }
    std::shared_ptr<Elem> find(const std::string& name) const {
        for (const auto& e : elements_) {
            if (ignoreCase_ ? names::equalNoCase(e->name(), name) : e->name() == name) {
                return e;
            }
        }
        return nullptr;
    }
    void append(std::shared_ptr<Elem> element) { elements_.push_back(std::move(element)); }
    void remove(const Elem* element) {
        std::erase_if(elements_, [element](const auto& e) { return e.get() == element; });
    }

protected:
    void enter(const std::string& member, std::vector<std::string> args = {}) {
        journal_->enter(className_ + "." + member, owner_(), std::move(args));
    }
    Journal& journal() { return *journal_; }
    const std::shared_ptr<Journal>& sharedJournal() const { return journal_; }

private:
    std::shared_ptr<Journal> journal_;
    std::string className_;
    std::function<std::string()> owner_;
    bool ignoreCase_;
    std::vector<std::shared_ptr<Elem>> elements_;
};

} // namespace sim
