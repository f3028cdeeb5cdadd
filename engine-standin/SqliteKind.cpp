#include "SqliteKind.h"

namespace standin {

bool SqliteKind::isSystemSchema(const std::string& schema) const {
    return schema == "temp";
}

std::string SqliteKind::triggersQuery() const {
    return "SELECT '', name, '', tbl_name, sql FROM sqlite_master WHERE type = 'trigger' ORDER BY name";
}

} // namespace standin
