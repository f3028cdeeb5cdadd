// HandleRegistry: the one numbering of everything the engine hands out. Projects, connections,
// folders, objects, enumerations and the payloads of notifications (texts, code, Data Environment
// requests) share one space of positive 32-bit numbers, so a handle names exactly one thing and the
// add-in's "K<handle>" keys never collide. A retired handle is never given out again, so a stale
// handle finds nothing instead of someone else's object.
#pragma once

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <variant>

namespace standin {

struct Project;
struct Connection;
struct Folder;
struct DbObject;
struct Enumeration;
struct TextItem;
struct SQLItem;
struct ADOItem;
struct DEConnectionItem;
struct DECommandItem;

class HandleRegistry {
  public:
    using Target =
        std::variant<std::shared_ptr<Project>, std::shared_ptr<Connection>, std::shared_ptr<Folder>,
                     std::shared_ptr<DbObject>, std::shared_ptr<Enumeration>, std::shared_ptr<TextItem>,
                     std::shared_ptr<SQLItem>, std::shared_ptr<ADOItem>, std::shared_ptr<DEConnectionItem>,
                     std::shared_ptr<DECommandItem>>;

    static constexpr int32_t firstHandle = 1001;

    int32_t add(Target target);
    void retire(int32_t hdl);

    // The thing a handle names when it is of type T; empty for unknown, retired or other handles.
    template <class T> std::shared_ptr<T> find(int32_t hdl) const {
        auto it = targets_.find(hdl);
        if (it == targets_.end())
            return nullptr;
        if (auto p = std::get_if<std::shared_ptr<T>>(&it->second))
            return *p;
        return nullptr;
    }

    // Retires every handle of type T.
    template <class T> void retireAll() {
        std::erase_if(targets_, [](const auto& entry) {
            return std::holds_alternative<std::shared_ptr<T>>(entry.second);
        });
    }

    // Forgets everything and numbers from the start again (a fresh engine).
    void reset();

  private:
    std::unordered_map<int32_t, Target> targets_;
    int32_t next_ = firstHandle;
};

} // namespace standin
