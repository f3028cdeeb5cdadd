// KeyedCollection: the ordered, 1-based, optionally keyed collection behind Nodes, ListItems,
// ColumnHeaders, ListImages and ListSubItems, with the common controls' errors: a duplicate key
// raises 35602 "Key is not unique in collection", a missing key 35601 "Element not found", a key
// that reads as a number 35603 "Invalid key", an index outside 1..Count 35600 "Index out of bounds".
//
// Keys are case-sensitive and hashed (KeyIndex). Appending and removing are O(1) (amortised): a removed
// element leaves a hole that is squeezed out when holes outnumber elements or when an index is
// needed (Item(index), indexOf), so a run of removals followed by index look-ups costs O(n) once.
// Elements derive from CollectionEntry (their place) and have an unchanging `const std::string&
// Key() const`.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <string_view>
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

// The key index of a collection: open addressing with linear probing over (hash, element) slots,
// never more than half full, with a byte per slot beside them - zero for an empty slot, else seven
// bits of the hash. A look-up touches no node per element, and a key that is not there (every new
// key checked before it is added) is mostly settled in the byte array, an eighth of the slots' size:
// in a list of hundreds of thousands of items every trip to the slots is a miss in the cache.
// Elements are found by their own Key(), which must not change while they are indexed.
template <class T>
class KeyIndex {
public:
    static std::size_t hashOf(std::string_view key) { return std::hash<std::string_view>{}(key); }

    const T* find(std::string_view key) const { return find(key, hashOf(key)); }
    const T* find(std::string_view key, std::size_t hash) const {
        if (slots_.empty()) return nullptr;
        const std::uint8_t tag = tagOf(hash);
        for (std::size_t i = hash & mask(); tags_[i]; i = (i + 1) & mask()) {
            const Slot& slot = slots_[i];
            if (tags_[i] == tag && slot.hash == hash && slot.element->Key() == key) return slot.element;
        }
        return nullptr;
    }

    // The key's hash, with the byte its look-up starts at and the slot a new key would most likely
    // take already on their way from memory, so that the caller's work before the look-up and the
    // insertion hides the wait.
    std::size_t prepare(std::string_view key) const {
        const std::size_t hash = hashOf(key);
        if (!slots_.empty()) {
            __builtin_prefetch(&tags_[hash & mask()]);
            __builtin_prefetch(&slots_[hash & mask()], 1);
        }
        return hash;
    }

    // The element's key (whose hash this is) must not be in the index yet.
    void insert(const T& element, std::size_t hash) {
        if ((count_ + 1) * 2 > slots_.size()) rehash(std::max<std::size_t>(16, slots_.size() * 2));
        place({hash, &element});
        ++count_;
    }

    void erase(const T& element) {
        if (slots_.empty()) return;
        std::size_t i = hashOf(element.Key()) & mask();
        for (;; i = (i + 1) & mask()) {
            if (!tags_[i]) return;
            if (slots_[i].element == &element) break;
        }
        // Backward shift: each later slot of the run moves into the hole unless its home lies
        // between the hole and itself, so no look-up ever stops early at the emptied slot.
        for (std::size_t j = (i + 1) & mask(); tags_[j]; j = (j + 1) & mask()) {
            const std::size_t home = slots_[j].hash & mask();
            if (((j - home) & mask()) >= ((j - i) & mask())) {
                slots_[i] = slots_[j];
                tags_[i] = tags_[j];
                i = j;
            }
        }
        slots_[i] = Slot{};
        tags_[i] = 0;
        --count_;
    }

    // The arrays stay: a list cleared to be filled again (a folder listed once more) would otherwise
    // grow them anew, and every growth places every key again at a random place in memory. A slot
    // counts only where its byte says so, so only the bytes are reset.
    void clear() {
        std::fill(tags_.begin(), tags_.end(), std::uint8_t{0});
        count_ = 0;
    }

private:
    struct Slot {
        std::size_t hash = 0;
        const T* element = nullptr;
    };

    // The hash's top seven bits (the slot comes from its low bits), never zero.
    static std::uint8_t tagOf(std::size_t hash) {
        return static_cast<std::uint8_t>(0x80 | (hash >> (std::numeric_limits<std::size_t>::digits - 7)));
    }
    std::size_t mask() const { return slots_.size() - 1; }
    void place(Slot slot) {
        std::size_t i = slot.hash & mask();
        while (tags_[i]) i = (i + 1) & mask();
        tags_[i] = tagOf(slot.hash);
        slots_[i] = slot;
    }
    void rehash(std::size_t size) {
        std::vector<Slot> oldSlots(size);
        std::vector<std::uint8_t> oldTags(size, 0);
        oldSlots.swap(slots_);
        oldTags.swap(tags_);
        for (std::size_t i = 0; i < oldSlots.size(); ++i)
            if (oldTags[i]) place(oldSlots[i]);
    }

    std::vector<Slot> slots_;         // a power of two in size
    std::vector<std::uint8_t> tags_;  // as many
    std::size_t count_ = 0;
};

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
        const T* element = byKey_.find(key);
        return element ? slots_[element->slot_] : nullptr;
    }
    bool contains(const std::string& key) const { return byKey_.find(key) != nullptr; }

    // Raises the error a new element with this key would meet (empty key: no key, always fine).
    void checkNewKey(const std::string& key) const { checkNewKey(key, KeyIndex<T>::hashOf(key)); }
    // The same with the key's hash from prepareKey, whose look-up has had time to arrive.
    void checkNewKey(const std::string& key, std::size_t hash) const {
        if (key.empty()) return;
        if (keyed::isNumericKey(key)) keyed::raiseInvalidKey();
        if (byKey_.find(key, hash)) keyed::raiseNotUnique();
    }
    // For adding an element with this key: see KeyIndex::prepare.
    std::size_t prepareKey(const std::string& key) const { return byKey_.prepare(key); }

    // Inserts at 1-based index (Count + 1 appends; anything else raises 35600). The element's key
    // must have passed checkNewKey.
    void insert(int32_t index, std::shared_ptr<T> element) {
        if (index < 1 || index > Count() + 1) keyed::raiseIndexOutOfBounds();
        if (index == Count() + 1) return append(std::move(element));
        compact();
        remember(*element, KeyIndex<T>::hashOf(element->Key()));
        slots_.insert(slots_.begin() + (index - 1), std::move(element));
        renumberFrom(static_cast<std::size_t>(index - 1));
        ++live_;
    }
    void append(std::shared_ptr<T> element) {
        const std::size_t hash = KeyIndex<T>::hashOf(element->Key());
        append(std::move(element), hash);
    }
    void append(std::shared_ptr<T> element, std::size_t hash) {
        remember(*element, hash);
        element->slot_ = slots_.size();
        slots_.push_back(std::move(element));
        ++live_;
    }

    // Removes the element (nothing happens when it is not here).
    void erase(const T& element) {
        const std::size_t slot = element.slot_;
        if (slot >= slots_.size() || slots_[slot].get() != &element) return;
        if (!element.Key().empty()) byKey_.erase(element);
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

    // The collection's own pointer to the element; nullptr when the element is not here.
    std::shared_ptr<T> shared(const T& element) const {
        if (element.slot_ >= slots_.size() || slots_[element.slot_].get() != &element) return nullptr;
        return slots_[element.slot_];
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
    void remember(const T& element, std::size_t hash) {
        if (!element.Key().empty()) byKey_.insert(element, hash);
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

    // Compaction is invisible to callers, so it may run inside const look-ups.
    mutable std::vector<std::shared_ptr<T>> slots_;
    KeyIndex<T> byKey_;
    std::size_t live_ = 0;
    mutable std::size_t holes_ = 0;
};

} // namespace ui
