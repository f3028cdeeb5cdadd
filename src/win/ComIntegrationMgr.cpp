#include "win/ComIntegrationMgr.h"

#include "addin/IntegrationMgr.h"
#include "model/ModelUtil.h"
#include "win/ComModelUtil.h"
#include "win/callerArguments.h"

namespace nimb::win {

ComIntegrationMgr::ComIntegrationMgr(std::shared_ptr<IntegrationMgr> manager)
    : LibraryServer(__uuidof(::IntegrationMgr), manager), manager_(std::move(manager)) {}

HRESULT ComIntegrationMgr::showDevView() {
    return com::guarded([&] { manager_->showDevView(); });
}

HRESULT ComIntegrationMgr::setWKFileName(BSTR* wkFile) {
    return com::guarded([&] { manager_->setWKFileName(text(wkFile)); });
}

HRESULT ComIntegrationMgr::getWKFileName(BSTR* answer) {
    return com::guarded([&] { *result(answer) = com::bstrFromUtf8(manager_->getWKFileName()); });
}

HRESULT ComIntegrationMgr::openWKProject() {
    return com::guarded([&] { manager_->openWKProject(); });
}

HRESULT ComIntegrationMgr::getProjList(SAFEARRAY** projList) {
    return com::guarded(
        [&] { withList(projList, [&](std::vector<std::string>& list) { manager_->getProjList(list); }); });
}

HRESULT ComIntegrationMgr::getDataEnvList(SAFEARRAY** dataEnvList, BSTR* projName) {
    return com::guarded([&] {
        const std::string project = text(projName);
        withList(dataEnvList, [&](std::vector<std::string>& list) { manager_->getDataEnvList(list, project); });
    });
}

HRESULT ComIntegrationMgr::getConnectionList(SAFEARRAY** conList, BSTR* dataenvName, BSTR* projName) {
    return com::guarded([&] {
        const std::string dataEnvironment = text(dataenvName);
        const std::string project = text(projName);
        withList(conList,
                 [&](std::vector<std::string>& list) { manager_->getConnectionList(list, dataEnvironment, project); });
    });
}

HRESULT ComIntegrationMgr::get_getModel(_ModelUtil** answer) {
    return com::guarded([&] { *result(answer) = servedModel(manager_->getModel()).Detach(); });
}

HRESULT ComIntegrationMgr::get_getIdeType(LONG* answer) {
    return com::guarded([&] { *result(answer) = manager_->getIdeType(); });
}

HRESULT ComIntegrationMgr::minimizeVSAppWin() {
    return com::guarded([&] { manager_->minimizeVSAppWin(); });
}

HRESULT ComIntegrationMgr::restoreVSAppWinState() {
    return com::guarded([&] { manager_->restoreVSAppWinState(); });
}

} // namespace nimb::win
