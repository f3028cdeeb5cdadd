#include "WkvFormat.h"

#include <algorithm>
#include <charconv>
#include <set>
#include <vector>

namespace standin::WkvFormat {

using namespace nimb::VSAConstants;

namespace {

constexpr std::string_view header = "wkv 1";

// Which object kinds a key belongs to, one bit per object type.
constexpr unsigned P = 1u << WK_OBJ_PROCEDURE, F = 1u << WK_OBJ_FUNCTION, T = 1u << WK_OBJ_TRIGGER,
                   B = 1u << WK_OBJ_TABLE, V = 1u << WK_OBJ_VIEW;
constexpr unsigned ALL = P | F | T | B | V;

struct StringField {
    const char* key;
    std::string DbObject::*member;
    unsigned kinds;
};
struct IntField {
    const char* key;
    int32_t DbObject::*member;
    unsigned kinds;
};
struct BoolField {
    const char* key;
    bool DbObject::*member;
    unsigned kinds;
};

// In the order the writer puts them.
const StringField stringFields[] = {
    {"name", &DbObject::name, ALL},           {"schema", &DbObject::schema, ALL},
    {"specific", &DbObject::specific, P | F}, {"parameters", &DbObject::parameters, P | F},
    {"result", &DbObject::result, F},         {"language", &DbObject::language, P | F},
    {"sqlPackage", &DbObject::sqlPackage, P}, {"tableSchema", &DbObject::tableSchema, T},
    {"tableName", &DbObject::tableName, T},   {"tableSpace", &DbObject::tableSpace, B},
    {"comment", &DbObject::comment, ALL},     {"file", &DbObject::fileName, P | F | T},
    {"built", &DbObject::built, P | F | T},
};
const IntField intFields[] = {
    {"resultSets", &DbObject::resultSets, P},
    {"type", &DbObject::tableType, B},
};
const BoolField boolFields[] = {
    {"fenced", &DbObject::fenced, P | F},
    {"dirty", &DbObject::dirty, ALL},
    {"canDebug", &DbObject::canDebug, P | F | T},
};
constexpr const char* rowKey = "row";
constexpr unsigned rowKinds = B | V;

bool applies(unsigned kinds, int32_t objectType) {
    return (kinds & (1u << objectType)) != 0;
}

std::string trim(std::string_view s) {
    auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!s.empty() && isSpace(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isSpace(s.back()))
        s.remove_suffix(1);
    return std::string(s);
}

std::string escape(const std::string& value) {
    std::string out;
    for (size_t i = 0; i < value.size(); ++i) {
        char c = value[i];
        if (c == '\\')
            out += "\\\\";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else if (c == '\t')
            out += "\\t";
        else if (c == ' ' && (i == 0 || i + 1 == value.size()))
            out += "\\s";
        else
            out += c;
    }
    return out;
}

class Parser {
  public:
    std::shared_ptr<Project> run(std::string_view text);

  private:
    [[noreturn]] void fail(const std::string& message) const {
        throw Error("line " + std::to_string(line_) + ": " + message);
    }
    void parseLine(std::string_view raw);
    void openSection(const std::string& name);
    void closeSection();
    void setValue(const std::string& key, const std::string& value);
    void setConnectionValue(const std::string& key, const std::string& value);
    void setObjectValue(const std::string& key, const std::string& value);
    std::string unescape(std::string_view value) const;
    bool parseBool(const std::string& value) const;
    int32_t parseInt(const std::string& value) const;

    std::shared_ptr<Project> project_ = std::make_shared<Project>();
    std::shared_ptr<Connection> connection_;
    std::shared_ptr<DbObject> object_;
    std::set<std::string> keysSeen_;
    bool headerSeen_ = false;
    bool projectSeen_ = false;
    bool inSection_ = false;
    int line_ = 0;
};

std::shared_ptr<Project> Parser::run(std::string_view text) {
    for (size_t pos = 0; pos <= text.size();) {
        size_t end = std::min(text.find('\n', pos), text.size());
        ++line_;
        parseLine(text.substr(pos, end - pos));
        pos = end + 1;
    }
    if (!headerSeen_)
        fail("the file does not start with \"" + std::string(header) + "\"");
    closeSection();
    if (!projectSeen_)
        fail("the project name is missing");
    return project_;
}

void Parser::parseLine(std::string_view raw) {
    if (raw.find('\0') != std::string_view::npos)
        fail("the line holds a NUL character");
    std::string line = trim(raw);
    if (line.empty() || line.front() == '#')
        return;
    if (!headerSeen_) {
        if (line != header)
            fail("the file does not start with \"" + std::string(header) + "\"");
        headerSeen_ = true;
        return;
    }
    if (line.front() == '[') {
        if (line.back() != ']')
            fail("a section header must end with ']'");
        openSection(trim(std::string_view(line).substr(1, line.size() - 2)));
        return;
    }
    size_t eq = line.find('=');
    if (eq == std::string::npos)
        fail("expected \"key = value\"");
    std::string key = trim(std::string_view(line).substr(0, eq));
    if (key.empty())
        fail("a key is missing before '='");
    std::string value = unescape(trim(std::string_view(line).substr(eq + 1)));
    if (key != rowKey && !keysSeen_.insert(key).second)
        fail("the key \"" + key + "\" is given twice");
    setValue(key, value);
}

void Parser::openSection(const std::string& name) {
    closeSection();
    keysSeen_.clear();
    inSection_ = true;
    if (name == "connection") {
        connection_ = std::make_shared<Connection>();
        project_->connections.push_back(connection_);
        return;
    }
    for (int32_t folderType : folderTypes) {
        if (name != objectWord(folderType + 1))
            continue;
        if (!connection_)
            fail("[" + name + "] comes before any [connection]");
        object_ = std::make_shared<DbObject>();
        object_->type = folderType + 1;
        connection_->folder(folderType).objects.push_back(object_);
        return;
    }
    fail("unknown section [" + name + "]");
}

void Parser::closeSection() {
    if (object_ && object_->name.empty())
        fail("the " + std::string(objectWord(object_->type)) + " above has no name");
    if (connection_ && !object_ && inSection_ && connection_->database.empty())
        fail("the connection above has no database");
    object_.reset();
    inSection_ = false;
}

void Parser::setValue(const std::string& key, const std::string& value) {
    if (object_)
        return setObjectValue(key, value);
    if (connection_)
        return setConnectionValue(key, value);
    if (key != "project")
        fail("unknown key \"" + key + "\" before the first section");
    if (value.empty())
        fail("the project name is empty");
    project_->name = value;
    projectSeen_ = true;
}

void Parser::setConnectionValue(const std::string& key, const std::string& value) {
    if (key == "database") {
        if (value.empty())
            fail("the database name is empty");
        connection_->database = value;
    } else if (key == "connected") {
        connection_->connected = parseBool(value);
    } else if (key == "live") {
        connection_->live = parseBool(value);
    } else if (key == "timeout") {
        connection_->timeout = parseInt(value);
        if (connection_->timeout < 1 || connection_->timeout > 3600)
            fail("the timeout must be from 1 to 3600 seconds");
    } else if (key == "connectionString") {
        connection_->connectionString = value;
    } else if (key == "filtered") {
        size_t pos = 0;
        while (pos < value.size()) {
            size_t end = value.find(' ', pos);
            std::string word = value.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
            pos = end == std::string::npos ? value.size() : end + 1;
            if (word.empty())
                continue;
            auto it = std::find_if(folderTypes.begin(), folderTypes.end(),
                                   [&](int32_t t) { return word == folderWord(t); });
            if (it == folderTypes.end())
                fail("unknown folder \"" + word + "\" in filtered");
            connection_->folder(*it).filtered = true;
        }
    } else {
        fail("unknown key \"" + key + "\" in [connection]");
    }
}

void Parser::setObjectValue(const std::string& key, const std::string& value) {
    const int32_t type = object_->type;
    for (auto& f : stringFields) {
        if (key != f.key || !applies(f.kinds, type))
            continue;
        if (key == "name" && value.empty())
            fail("the name is empty");
        try {
            (*object_).*f.member = key == "file" ? checkedSourcePath(value) : value;
        } catch (const Error& e) {
            fail(e.what());
        }
        return;
    }
    for (auto& f : intFields) {
        if (key == f.key && applies(f.kinds, type))
            return void((*object_).*f.member = parseInt(value));
    }
    for (auto& f : boolFields) {
        if (key == f.key && applies(f.kinds, type))
            return void((*object_).*f.member = parseBool(value));
    }
    if (key == rowKey && applies(rowKinds, type))
        return object_->sampleRows.push_back(value);
    fail("unknown key \"" + key + "\" in [" + objectWord(type) + "]");
}

std::string Parser::unescape(std::string_view value) const {
    std::string out;
    for (size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\\') {
            out += value[i];
            continue;
        }
        if (++i == value.size())
            fail("a value ends in a lone backslash");
        switch (value[i]) {
        case '\\':
            out += '\\';
            break;
        case 'n':
            out += '\n';
            break;
        case 'r':
            out += '\r';
            break;
        case 't':
            out += '\t';
            break;
        case 's':
            out += ' ';
            break;
        default:
            fail(std::string("unknown escape \\") + value[i]);
        }
    }
    return out;
}

bool Parser::parseBool(const std::string& value) const {
    if (value == "true")
        return true;
    if (value == "false")
        return false;
    fail("expected true or false, not \"" + value + "\"");
}

int32_t Parser::parseInt(const std::string& value) const {
    int32_t n = 0;
    auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), n);
    if (value.empty() || ec != std::errc() || end != value.data() + value.size())
        fail("expected a whole number from -2147483648 to 2147483647, not \"" + value + "\"");
    return n;
}

void writeObject(std::string& out, const DbObject& object) {
    out += "\n[" + std::string(objectWord(object.type)) + "]\n";
    for (auto& f : stringFields)
        if (applies(f.kinds, object.type) && !(object.*f.member).empty())
            out += std::string(f.key) + " = " + escape(object.*f.member) + "\n";
    for (auto& f : intFields)
        if (applies(f.kinds, object.type) && object.*f.member != 0)
            out += std::string(f.key) + " = " + std::to_string(object.*f.member) + "\n";
    for (auto& f : boolFields)
        if (applies(f.kinds, object.type) && object.*f.member)
            out += std::string(f.key) + " = true\n";
    if (applies(rowKinds, object.type))
        for (auto& row : object.sampleRows)
            out += std::string(rowKey) + " = " + escape(row) + "\n";
}

} // namespace

std::shared_ptr<Project> parse(std::string_view text) {
    return Parser().run(text);
}

std::string format(const Project& project) {
    std::string out = "# Engine project file of the NIMB stand-in engine\n" + std::string(header) + "\n";
    out += "project = " + escape(project.name) + "\n";
    for (auto& connection : project.connections) {
        out += "\n[connection]\ndatabase = " + escape(connection->database) + "\n";
        out += std::string("connected = ") + (connection->connected ? "true" : "false") + "\n";
        if (connection->live)
            out += "live = true\n";
        if (connection->timeout != Connection::defaultTimeout)
            out += "timeout = " + std::to_string(connection->timeout) + "\n";
        if (!connection->connectionString.empty())
            out += "connectionString = " + escape(connection->connectionString) + "\n";
        std::string filtered;
        for (auto& folder : connection->folders)
            if (folder->filtered)
                filtered += (filtered.empty() ? "" : " ") + std::string(folderWord(folder->type));
        if (!filtered.empty())
            out += "filtered = " + filtered + "\n";
        for (auto& folder : connection->folders)
            for (auto& object : folder->objects)
                if (!connection->live || !object->fileName.empty()) // the database keeps the rest
                    writeObject(out, *object);
    }
    return out;
}

std::string checkedSourcePath(std::string_view path) {
    std::string out(path);
    std::replace(out.begin(), out.end(), '\\', '/');
    auto bad = [&](const char* why) { throw Error("the source file \"" + std::string(path) + "\" " + why); };
    if (out.empty())
        bad("is empty");
    if (out.front() == '/' || out.find(':') != std::string::npos)
        bad("must be relative to the project file");
    size_t pos = 0;
    while (pos <= out.size()) {
        size_t end = out.find('/', pos);
        std::string_view part =
            std::string_view(out).substr(pos, end == std::string::npos ? std::string::npos : end - pos);
        if (part.empty() || part == "." || part == "..")
            bad("must stay inside the project's folder");
        if (end == std::string::npos)
            break;
        pos = end + 1;
    }
    return out;
}

} // namespace standin::WkvFormat
