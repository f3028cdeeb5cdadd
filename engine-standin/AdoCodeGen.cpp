#include "AdoCodeGen.h"
#include "Caseless.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace standin::AdoCodeGen {

using namespace nimb::VSAConstants;

namespace {

constexpr const char* crlf = "\r\n";

std::string trim(const std::string& s) {
    size_t b = s.find_first_not_of(" \t\r\n");
    if (b == std::string::npos)
        return {};
    return s.substr(b, s.find_last_not_of(" \t\r\n") - b + 1);
}

// Splits at the commas that are not inside parentheses.
std::vector<std::string> splitTopLevel(const std::string& text) {
    std::vector<std::string> parts(1);
    int depth = 0;
    for (char c : text) {
        if (c == '(')
            ++depth;
        if (c == ')')
            depth = std::max(0, depth - 1);
        if (c == ',' && depth == 0)
            parts.emplace_back();
        else
            parts.back() += c;
    }
    return parts;
}

int32_t number(const std::string& text) {
    int32_t n = 0;
    std::from_chars(text.data(), text.data() + text.size(), n);
    return n;
}

RoutineParameter parseOne(const std::string& text) {
    RoutineParameter p;
    std::string rest = text;
    auto word = [&]() {
        size_t end = rest.find_first_of(" \t");
        std::string w = rest.substr(0, end);
        rest = end == std::string::npos ? std::string() : trim(rest.substr(end));
        return w;
    };
    std::string first = word();
    std::string mode = upper(first);
    if (mode == "IN" || mode == "OUT" || mode == "INOUT") {
        p.mode = mode == "IN" ? 1 : mode == "OUT" ? 2 : 3;
        p.name = word();
    } else {
        p.name = first;
    }
    p.sqlType = rest;
    size_t open = rest.find('(');
    if (open != std::string::npos) {
        std::string inner = rest.substr(open + 1, rest.find(')', open) - open - 1);
        size_t comma = inner.find(',');
        p.size = number(trim(inner.substr(0, comma)));
        if (comma != std::string::npos)
            p.precision = number(trim(inner.substr(comma + 1)));
    }
    return p;
}

std::string vbString(const std::string& text) {
    std::string out = "\"";
    for (char c : text)
        out += c == '"' ? std::string("\"\"") : std::string(1, c);
    return out + "\"";
}

std::string placeholders(const DbObject& object) {
    std::string marks;
    for (size_t i = 0; i < parameters(object.parameters).size(); ++i)
        marks += i ? ", ?" : "?";
    return "(" + marks + ")";
}

} // namespace

std::vector<RoutineParameter> parameters(const std::string& list) {
    std::string inner = trim(list);
    if (!inner.empty() && inner.front() == '(' && inner.back() == ')')
        inner = inner.substr(1, inner.size() - 2);
    std::vector<RoutineParameter> result;
    if (trim(inner).empty())
        return result;
    for (auto& part : splitTopLevel(inner))
        if (!trim(part).empty())
            result.push_back(parseOne(trim(part)));
    return result;
}

std::string vbIdentifier(const std::string& name) {
    std::string id;
    for (char c : name)
        id += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    if (id.empty() || !std::isalpha(static_cast<unsigned char>(id.front())))
        id = "x" + id;
    return id;
}

std::string connectionCode(const std::string& database, const std::string& connectionString) {
    std::string cn = "cn" + vbIdentifier(database);
    return "' ADO connection to the database " + database + crlf + "Dim " + cn + " As ADODB.Connection" +
           crlf + "Set " + cn + " = New ADODB.Connection" + crlf + cn +
           ".ConnectionString = " + vbString(connectionString) + crlf + cn + ".Open" + crlf;
}

std::string commandCode(const std::string& connectionString, const DbObject& object) {
    static const char* const adoTypes[] = {"", "adCmdStoredProc", "adCmdText", "adCmdTable"};
    std::string id = vbIdentifier(object.name);
    std::string cmd = "cmd" + id;
    std::string code = "' ADO command for the " + std::string(objectWord(object.type)) + " " +
                       object.qualifiedName() + crlf + "Dim " + cmd + " As ADODB.Command" + crlf + "Set " +
                       cmd + " = New ADODB.Command" + crlf + cmd +
                       ".ActiveConnection = " + vbString(connectionString) + crlf + cmd +
                       ".CommandType = " + adoTypes[commandType(object)] + crlf + cmd +
                       ".CommandText = " + vbString(commandText(object)) + crlf;
    if (!parameters(object.parameters).empty())
        code += cmd + ".Parameters.Refresh" + crlf;
    bool rows = object.type != WK_OBJ_PROCEDURE || object.resultSets > 0;
    if (!rows)
        return code + cmd + ".Execute" + crlf;
    return code + "Dim rs" + id + " As ADODB.Recordset" + crlf + "Set rs" + id + " = " + cmd + ".Execute" +
           crlf;
}

int32_t commandType(const DbObject& object) {
    if (object.type == WK_OBJ_PROCEDURE)
        return 1;
    return object.type == WK_OBJ_FUNCTION ? 2 : 3;
}

std::string commandText(const DbObject& object) {
    if (object.type == WK_OBJ_FUNCTION)
        return "VALUES " + object.qualifiedName() + placeholders(object);
    return object.qualifiedName();
}

std::string sqlStatement(const DbObject& object) {
    switch (object.type) {
    case WK_OBJ_PROCEDURE:
        return "CALL " + object.qualifiedName() + placeholders(object);
    case WK_OBJ_FUNCTION:
        return commandText(object);
    case WK_OBJ_TABLE:
    case WK_OBJ_VIEW:
        return "SELECT * FROM " + object.qualifiedName();
    default:
        return {};
    }
}

} // namespace standin::AdoCodeGen
