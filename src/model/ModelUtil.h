// ModelUtil: the add-in's one gateway to the IDE's projects, components, code modules and Data
// Environments. The bodies are empty on purpose: ModelUtilVB gives the behaviour.
#pragma once

#include "platform/variant.h"

#include <cstdint>
#include <string>
#include <vector>

namespace nimb {

class ModelUtil : public vb::Object {
public:
    virtual void insertClientCode(const std::string& /*clientCode*/, const std::string& /*projName*/,
                                  const std::string& /*compName*/) {}
    virtual void insertSQLCode(const std::string& /*sqlCode*/, int32_t /*startLine*/, int32_t /*startCol*/,
                               int32_t /*endLine*/, int32_t /*endCol*/, const std::string& /*projName*/,
                               const std::string& /*compName*/) {}
    virtual void addADOConnection(const std::string& /*conString*/, const std::string& /*conName*/,
                                  const std::string& /*dataenvName*/, const std::string& /*projName*/) {}
    virtual void AddADOCommand(int32_t /*commandType*/, const std::string& /*commandText*/,
                               const std::string& /*commandName*/, const std::string& /*conName*/,
                               const std::string& /*dataenvName*/, const std::string& /*projName*/) {}
    virtual bool existsDataEnvObjs() { return false; }
    virtual void getProjList(std::vector<std::string>& /*projList*/) {}
    virtual void getDataEnvList(std::vector<std::string>& /*dataEnvList*/, const std::string& /*projName*/) {}
    virtual void getConnectionList(std::vector<std::string>& /*conList*/, const std::string& /*dataenvName*/,
                                   const std::string& /*projName*/) {}
    virtual std::string getActiveProjName() { return {}; }
    virtual std::string getSelectedcompName() { return {}; }
    virtual std::string GetDevLanguage() { return {}; }
    virtual void saveWKFileName(std::string /*fileName*/) {}
};

} // namespace nimb
