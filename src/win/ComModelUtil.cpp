#include "win/ComModelUtil.h"

#include "addin/seenAs.h"
#include "model/ModelUtilVB.h"
#include "platform/vbide/CommandBar.h"
#include "platform/vbide/CommandBars.h"
#include "platform/vbide/VBE.h"
#include "platform/win/com/ComError.h"
#include "platform/win/com/Remote.h"
#include "platform/win/vbide/adaptDispatch.h"
#include "win/callerArguments.h"
#include "win/classIds.h"

namespace nimb::win {

namespace {

// An object of the IDE's (which the model service only passes on), with a reference for the caller.
IDispatch* ideObject(const std::shared_ptr<vb::Object>& object) {
    IDispatch* dispatch = com::dispatchOf(object).get();
    if (dispatch) dispatch->AddRef();
    return dispatch;
}

} // namespace

template <class... Faces>
ModelUtilServer<Faces...>::ModelUtilServer(const CLSID& coclass, std::shared_ptr<ModelUtil> model)
    : LibraryServer<Faces...>(coclass, model), model_(std::move(model)) {}

template <class... Faces>
HRESULT ModelUtilServer<Faces...>::insertClientCode(BSTR* clientCode, BSTR* projName, BSTR* compName) {
    return com::guarded([&] { model_->insertClientCode(text(clientCode), text(projName), text(compName)); });
}

template <class... Faces>
HRESULT ModelUtilServer<Faces...>::insertSQLCode(BSTR* sqlCode, LONG* startLine, LONG* startCol, LONG* endLine,
                                                 LONG* endCol, BSTR* projName, BSTR* compName) {
    return com::guarded([&] {
        model_->insertSQLCode(text(sqlCode), number(startLine), number(startCol), number(endLine), number(endCol),
                              text(projName), text(compName));
    });
}

template <class... Faces>
HRESULT ModelUtilServer<Faces...>::addADOConnection(BSTR* conString, BSTR* conName, BSTR* dataenvName,
                                                    BSTR* projName) {
    return com::guarded(
        [&] { model_->addADOConnection(text(conString), text(conName), text(dataenvName), text(projName)); });
}

template <class... Faces>
HRESULT ModelUtilServer<Faces...>::AddADOCommand(LONG* commandType, BSTR* commandText, BSTR* commandName,
                                                 BSTR* conName, BSTR* dataenvName, BSTR* projName) {
    return com::guarded([&] {
        model_->AddADOCommand(number(commandType), text(commandText), text(commandName), text(conName),
                              text(dataenvName), text(projName));
    });
}

template <class... Faces>
HRESULT ModelUtilServer<Faces...>::existsDataEnvObjs(VARIANT_BOOL* answer) {
    return com::guarded([&] { *result(answer) = model_->existsDataEnvObjs() ? VARIANT_TRUE : VARIANT_FALSE; });
}

template <class... Faces>
HRESULT ModelUtilServer<Faces...>::getProjList(SAFEARRAY** projList) {
    return com::guarded(
        [&] { withList(projList, [&](std::vector<std::string>& list) { model_->getProjList(list); }); });
}

template <class... Faces>
HRESULT ModelUtilServer<Faces...>::getDataEnvList(SAFEARRAY** dataEnvList, BSTR* projName) {
    return com::guarded([&] {
        const std::string project = text(projName);
        withList(dataEnvList, [&](std::vector<std::string>& list) { model_->getDataEnvList(list, project); });
    });
}

template <class... Faces>
HRESULT ModelUtilServer<Faces...>::getConnectionList(SAFEARRAY** conList, BSTR* dataenvName, BSTR* projName) {
    return com::guarded([&] {
        const std::string dataEnvironment = text(dataenvName);
        const std::string project = text(projName);
        withList(conList,
                 [&](std::vector<std::string>& list) { model_->getConnectionList(list, dataEnvironment, project); });
    });
}

template <class... Faces>
HRESULT ModelUtilServer<Faces...>::getActiveProjName(BSTR* answer) {
    return com::guarded([&] { *result(answer) = com::bstrFromUtf8(model_->getActiveProjName()); });
}

template <class... Faces>
HRESULT ModelUtilServer<Faces...>::getSelectedcompName(BSTR* answer) {
    return com::guarded([&] { *result(answer) = com::bstrFromUtf8(model_->getSelectedcompName()); });
}

template <class... Faces>
HRESULT ModelUtilServer<Faces...>::GetDevLanguage(BSTR* answer) {
    return com::guarded([&] { *result(answer) = com::bstrFromUtf8(model_->GetDevLanguage()); });
}

template <class... Faces>
HRESULT ModelUtilServer<Faces...>::saveWKFileName(BSTR fileName) {
    return com::guarded([&] { model_->saveWKFileName(com::utf8FromBstr(fileName)); });
}

template class ModelUtilServer<_ModelUtil>;
template class ModelUtilServer<_ModelUtilVB, _ModelUtil>;

com::ComPtr<IUnknown> ComModelUtil::create() {
    com::ComPtr<ComModelUtil> object = com::make<ComModelUtil>(std::make_shared<ModelUtil>());
    return com::ComPtr<IUnknown>(static_cast<_ModelUtil*>(object.Get()));
}

ComModelUtil::ComModelUtil(std::shared_ptr<ModelUtil> model) : ModelUtilServer(CLSID_ModelUtil, std::move(model)) {}

ComModelUtilVB::ComModelUtilVB(std::shared_ptr<ModelUtilVB> model)
    : ModelUtilServer(__uuidof(::ModelUtilVB), model), vb_(std::move(model)) {}

HRESULT ComModelUtilVB::putref_VBInstance(IDispatch* vbInstance) {
    return com::guarded([&] { vb_->setVBInstance(seenAs<vbide::VBE>(vbide::adaptDispatch(vbInstance))); });
}

HRESULT ComModelUtilVB::get_VBInstance(IDispatch** answer) {
    return com::guarded([&] { *result(answer) = ideObject(vb_->VBInstance()); });
}

HRESULT ComModelUtilVB::getCommandBarCollection(IDispatch** answer) {
    return com::guarded([&] { *result(answer) = ideObject(vb_->getCommandBarCollection()); });
}

HRESULT ComModelUtilVB::getMainMenuBar(IDispatch** answer) {
    return com::guarded([&] { *result(answer) = ideObject(vb_->getMainMenuBar()); });
}

HRESULT ComModelUtilVB::ModelUtil_saveWKFileName(BSTR fileName) { return saveWKFileName(fileName); }

com::ComPtr<_ModelUtil> servedModel(const std::shared_ptr<ModelUtil>& model) {
    if (!model) return nullptr;
    if (auto working = std::dynamic_pointer_cast<ModelUtilVB>(model))
        return com::ComPtr<_ModelUtil>(com::make<ComModelUtilVB>(working).Get());
    return com::ComPtr<_ModelUtil>(com::make<ComModelUtil>(model).Get());
}

} // namespace nimb::win
