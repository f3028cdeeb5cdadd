// MemorySourceSafe: in-memory SourceSafe databases behind vss::createVSSDatabase. A database is
// found by the folder of its srcsafe.ini (compared without regard to letter case; a trailing '\'
// does not count); it has users with passwords and a tree of projects and files under "$/".
// Every automation call enters the journal as "VSSDatabase.Open", "VSSItem.Checkout" and so on,
// with the item's spec as the object.
#pragma once

#include "platform/sim/Journal.h"
#include "platform/vss/VSSDatabase.h"

#include <memory>
#include <string>
#include <vector>

namespace sim {

class MemorySourceSafe : public std::enable_shared_from_this<MemorySourceSafe> {
public:
    struct Node;  // a project or file of a database

    static std::shared_ptr<MemorySourceSafe> create();

    // Builder. Specs are full ("$/Routines/proc1.sql"); missing projects on the way are made.
    void addDatabase(const std::string& folder);
    void addUser(const std::string& folder, const std::string& user, const std::string& password);
    void addProject(const std::string& folder, const std::string& spec);
    void addFile(const std::string& folder, const std::string& spec, const std::string& checkedOutBy = {});

    // Inspection.
    bool exists(const std::string& folder, const std::string& spec) const;
    std::string checkedOutBy(const std::string& folder, const std::string& spec) const;  // "" when not
    std::string checkoutLocal(const std::string& folder, const std::string& spec) const;  // Checkout's local path
    std::vector<std::string> children(const std::string& folder, const std::string& spec) const;
    bool isProject(const std::string& folder, const std::string& spec) const;

    // A new database session (what creating the automation class gives).
    std::shared_ptr<vss::VSSDatabase> newSession();
    // Makes vss::createVSSDatabase hand out sessions of this server.
    void install();

    Journal& journal() { return *journal_; }

    struct Database;

private:
    MemorySourceSafe();
    std::shared_ptr<Database> database(const std::string& folder) const;
    Database& databaseOrThrow(const std::string& folder) const;

    std::shared_ptr<Journal> journal_;
    std::vector<std::shared_ptr<Database>> databases_;
};

} // namespace sim
