// SqliteKind: SQLite keeps its triggers with their source in sqlite_master and has no stored
// routines; its one schema is unnamed.
#pragma once

#include "DatabaseKind.h"

namespace standin {

class SqliteKind : public DatabaseKind {
  public:
    bool isSystemSchema(const std::string& schema) const override;
    std::string triggersQuery() const override;
};

} // namespace standin
