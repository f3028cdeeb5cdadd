// IntegrationMgr: the interface through which the poller, the server view, the tree-update module
// and the Data Environment dialog reach the integration manager without knowing its class. The
// bodies are empty on purpose: IMgrVB gives the behaviour.
#pragma once

#include "platform/variant.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace nimb {

class ModelUtil;

class IntegrationMgr : public vb::Object {
public:
    virtual void showDevView() {}
    virtual void setWKFileName(const std::string& /*wkFile*/) {}
    virtual std::string getWKFileName() { return {}; }
    virtual void openWKProject() {}
    virtual void getProjList(std::vector<std::string>& /*projList*/) {}
    virtual void getDataEnvList(std::vector<std::string>& /*dataEnvList*/, const std::string& /*projName*/) {}
    virtual void getConnectionList(std::vector<std::string>& /*conList*/, const std::string& /*dataenvName*/,
                                   const std::string& /*projName*/) {}
    virtual std::shared_ptr<ModelUtil> getModel() { return nullptr; }
    virtual int32_t getIdeType() { return 0; }
    virtual void minimizeVSAppWin() {}
    virtual void restoreVSAppWinState() {}
};

} // namespace nimb
