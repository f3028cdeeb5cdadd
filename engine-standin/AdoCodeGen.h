// AdoCodeGen: what the engine generates for the IDE side - Visual Basic ADO code for a connection
// or a routine, the command a Data Environment gets for a routine, and the SQL that calls it.
#pragma once

#include "Catalogue.h"

#include <cstdint>
#include <string>
#include <vector>

namespace standin::AdoCodeGen {

// One parameter of a routine's parameter list "(IN ITEM INTEGER, OUT QTY DECIMAL(9,2))".
struct RoutineParameter {
    std::string name;
    int32_t mode = 1; // ADO direction: 1 in, 2 out, 3 in-out
    std::string sqlType;
    int32_t size = 0;
    int32_t precision = 0;
};

std::vector<RoutineParameter> parameters(const std::string& list);

// A Visual Basic identifier made from a database name: other characters become '_'.
std::string vbIdentifier(const std::string& name);

// Code lines end in CR LF, as in a Visual Basic code module.
std::string connectionCode(const std::string& database, const std::string& connectionString);
std::string commandCode(const std::string& connectionString, const DbObject& object);

// How a Data Environment command reaches the object: command type 1 stored procedure, 2 text,
// 3 table; and the text that goes with it.
int32_t commandType(const DbObject& object);
std::string commandText(const DbObject& object);
// The SQL statement that calls a routine or reads a table or view.
std::string sqlStatement(const DbObject& object);

} // namespace standin::AdoCodeGen
