// KeyedCollection: the ordered, 1-based, optionally keyed collection behind Nodes, ListItems,
// ColumnHeaders, ListImages and ListSubItems, with the common controls' errors: a duplicate key
// raises 35602 "Key is not unique in collection", a missing key 35601 "Element not found", a key
// that reads as a number 35603 "Invalid key", an index outside 1..Count 35600 "Index out of bounds".
//
// Keys are case-sensitive and hashed. Appending and removing are O(1) (amortised): a removed
// element leaves a hole that is squeezed out when holes outnumber elements or when an index is
// needed (Item(index), indexOf), so a run of removals followed by index look-ups costs O(n) once.
// Elements derive from CollectionEntry (their place) and have an unchanging `const std::string&
// Key() const`.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace ui {

// Raises the collection errors; shared by every instantiation.
namespace keyed {
[[noreturn]] void raiseNotUnique();
[[noreturn]] void raiseNotFound();
[[noreturn]] void raiseInvalidKey();
[[noreturn]] void raiseIndexOutOfBounds();
bool isNumericKey(const std::string& key);
} // namespace keyed

// An element's place in the one collection that holds it.
class CollectionEntry {
private:
    template <class T>
    friend class KeyedCollection;
    static constexpr std::size_t nowhere = static_cast<std::size_t>(-1);
    mutable std::size_t slot_ = nowhere;
};

template <class T>
class KeyedCollection {
public:
    int32_t Count() const { return static_cast<int32_t>(live_); }

    std::shared_ptr<T> Item(int32_t index) const {
        if (index < 1 || index > Count()) keyed::raiseIndexOutOfBounds();
        compact();
        return slots_[static_cast<std::size_t>(index - 1)];
    }
    std::shared_ptr<T> Item(const std::string& key) const {
        auto found = find(key);
        if (!found) keyed::raiseNotFound();
        return found;
    }
    std::shared_ptr<T> find(const std::string& key) const {
        auto it = byKey_.find(key);
        return it == byKey_.end() ? nullptr : slots_[it->second->slot_];
    }
    bool contains(const std::string& key) const { return byKey_.count(key) != 0; }

    // Raises the error a new element with this key would meet (empty key: no key, always fine).
    void checkNewKey(const std::string& key) const {
        if (key.empty()) return;
        if (keyed::isNumericKey(key)) keyed::raiseInvalidKey();
        if (contains(key)) keyed::raiseNotUnique();
    }

    // Inserts at 1-based index (Count + 1 appends; anything else raises 35600). The element's key
    // must have passed checkNewKey.
    void insert(int32_t index, std::shared_ptr<T> element) {
        if (index < 1 || index > Count() + 1) keyed::raiseIndexOutOfBounds();
        if (index == Count() + 1) return append(std::move(element));
        compact();
        remember(*element);
        slots_.insert(slots_.begin() + (index - 1), std::move(element));
        renumberFrom(static_cast<std::size_t>(index - 1));
        ++live_;
    }
    void append(std::shared_ptr<T> element) {
        remember(*element);
        element->slot_ = slots_.size();
        slots_.push_back(std::move(element));
        ++live_;
    }

    // Removes the element (nothing happens when it is not here).
    void erase(const T& element) {
        const std::size_t slot = element.slot_;
        if (slot >= slots_.size() || slots_[slot].get() != &element) return;
        if (!element.Key().empty()) byKey_.erase(element.Key());
        element.slot_ = CollectionEntry::nowhere;
        slots_[slot].reset();
        --live_;
        ++holes_;
        if (holes_ > live_) compact();
    }

    void clear() {
        for (const auto& element : slots_)
            if (element) element->slot_ = CollectionEntry::nowhere;
        slots_.clear();
        byKey_.clear();
        live_ = holes_ = 0;
    }

    // 1-based position, 0 when the element is not here.
    int32_t indexOf(const T& element) const {
        if (element.slot_ >= slots_.size() || slots_[element.slot_].get() != &element) return 0;
        compact();
        return static_cast<int32_t>(element.slot_) + 1;
    }

    // Calls fn(const std::shared_ptr<T>&) for every element in order.
    template <class F>
    void forEach(F&& fn) const {
        for (const auto& element : slots_)
            if (element) fn(element);
    }
    std::vector<std::shared_ptr<T>> items() const {
        std::vector<std::shared_ptr<T>> out;
        out.reserve(live_);
        forEach([&](const std::shared_ptr<T>& e) { out.push_back(e); });
        return out;
    }

private:
    // The map's keys view the elements' own key strings, which live as long as the element is here.
    void remember(const T& element) {
        if (!element.Key().empty()) byKey_.emplace(std::string_view(element.Key()), &element);
    }

    void compact() const {
        if (holes_ == 0) return;
        std::size_t out = 0;
        for (std::size_t in = 0; in < slots_.size(); ++in)
            if (slots_[in]) slots_[out++] = std::move(slots_[in]);
        slots_.resize(out);
        holes_ = 0;
        renumberFrom(0);
    }
    void renumberFrom(std::size_t first) const {
        for (std::size_t i = first; i < slots_.size(); ++i) slots_[i]->slot_ = i;
    }

    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
    };
    // Compaction is invisible to callers, so it may run inside const look-ups.
    mutable std::vector<std::shared_ptr<T>> slots_;
    std::unordered_map<std::string_view, const T*, Hash, std::equal_to<>> byKey_;
    std::size_t live_ = 0;
    mutable std::size_t holes_ = 0;
};

} // namespace ui
