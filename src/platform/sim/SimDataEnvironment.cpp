#include "platform/sim/SimDataEnvironment.h"

#include "platform/error.h"
#include "platform/sim/SimCollection.h"
#include "platform/sim/SimDECommand.h"
#include "platform/sim/SimDEConnection.h"
#include "platform/vbide/DECommands.h"
#include "platform/vbide/DEConnections.h"

namespace sim {

namespace {

// Connections and commands of a designer: Add makes a new member under a name not yet in use.
template <class Iface, class Elem>
class DesignerCollection : public SimCollection<Iface, Elem> {
public:
    using SimCollection<Iface, Elem>::SimCollection;

    std::shared_ptr<typename SimCollection<Iface, Elem>::Element> Add(const std::string& name, bool flag) override {
        this->enter("Add", {name, flag ? "True" : "False"});
        return create(name);
    }

    std::shared_ptr<Elem> create(const std::string& name) {
        if (name.empty()) {
            throw vb::VBError(vb::err::InvalidProcedureCall, "Invalid procedure call or argument");
        }
        if (this->find(name)) {
            throw vb::VBError(vbide::de::errObjectInCollection, "Object is already in collection. Cannot append.");
        }
        auto element = std::make_shared<Elem>(this->sharedJournal(), name);
        this->append(element);
        return element;
    }
};

} // namespace

class SimDEConnections : public DesignerCollection<vbide::DEConnections, SimDEConnection> {
public:
    using DesignerCollection::DesignerCollection;
};

class SimDECommands : public DesignerCollection<vbide::DECommands, SimDECommand> {
public:
    using DesignerCollection::DesignerCollection;
};

SimDataEnvironment::SimDataEnvironment(std::shared_ptr<Journal> journal, std::string name)
    : journal_(std::move(journal)), name_(std::move(name)) {
    auto owner = [n = name_] { return n; };
    connections_ = std::make_shared<SimDEConnections>(journal_, "DEConnections", owner, true);
    commands_ = std::make_shared<SimDECommands>(journal_, "DECommands", owner, true);
}

std::shared_ptr<vbide::DEConnections> SimDataEnvironment::Connections() {
    journal_->enter("DataEnvironment.Connections", name_);
    return connections_;
}

std::shared_ptr<vbide::DECommands> SimDataEnvironment::Commands() {
    journal_->enter("DataEnvironment.Commands", name_);
    return commands_;
}

std::shared_ptr<SimDEConnection> SimDataEnvironment::addConnection(const std::string& name, const std::string& source) {
    auto connection = connections_->create(name);
    connection->setSourceDirect(source);
    return connection;
}

std::shared_ptr<SimDECommand> SimDataEnvironment::addCommand(const std::string& name, int32_t commandType,
                                                            const std::string& text,
                                                            const std::string& connectionName) {
    auto command = commands_->create(name);
    command->setDirect(commandType, text, connectionName);
    return command;
}

std::vector<std::shared_ptr<SimDEConnection>> SimDataEnvironment::connections() const {
    return connections_->elements();
}

std::vector<std::shared_ptr<SimDECommand>> SimDataEnvironment::commands() const {
    return commands_->elements();
}

// --- members ---

std::string SimDEConnection::Name() {
    journal_->enter("DEConnection.Name", name_);
    return name_;
}

std::string SimDEConnection::ConnectionSource() {
    journal_->enter("DEConnection.ConnectionSource", name_);
    return source_;
}

void SimDEConnection::setConnectionSource(const std::string& source) {
    journal_->enter("DEConnection.setConnectionSource", name_, {source});
    source_ = source;
}

void SimDECommand::enter(const std::string& member, std::vector<std::string> args) {
    journal_->enter("DECommand." + member, name_, std::move(args));
}

std::string SimDECommand::Name() {
    enter("Name");
    return name_;
}

int32_t SimDECommand::CommandType() {
    enter("CommandType");
    return type_;
}

void SimDECommand::setCommandType(int32_t type) {
    enter("setCommandType", {std::to_string(type)});
    type_ = type;
}

std::string SimDECommand::CommandText() {
    enter("CommandText");
    return text_;
}

void SimDECommand::setCommandText(const std::string& text) {
    enter("setCommandText", {text});
    text_ = text;
}

std::string SimDECommand::ConnectionName() {
    enter("ConnectionName");
    return connectionName_;
}

void SimDECommand::setConnectionName(const std::string& name) {
    enter("setConnectionName", {name});
    connectionName_ = name;
}

} // namespace sim
