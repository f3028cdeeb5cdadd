// VSSDatabase: a session on one SourceSafe database, opened by its srcsafe.ini.
#pragma once

#include "platform/variant.h"

#include <memory>
#include <string>

namespace vss {

class VSSItem;

class VSSDatabase : public vb::Object {
public:
    // Opens the database whose srcsafe.ini is srcSafeIni as user username. Errors: errIniNotFound,
    // errUserNotFound, errBadPassword (see VSSErrors.h).
    virtual void Open(const std::string& srcSafeIni, const std::string& username, const std::string& password) = 0;
    // The item of spec ("$/..."; names compare without regard to letter case). errSpecSyntax for a
    // malformed spec, errItemNotFound for none; errPermissionDenied before a successful Open.
    virtual std::shared_ptr<vss::VSSItem> VSSItem(const std::string& spec, bool deleted = false) = 0;
    virtual std::string SrcSafeIni() = 0;
    virtual std::string Username() = 0;
};

} // namespace vss
