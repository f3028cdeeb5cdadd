#include "win/ComModelUtil.h"

#include "model/ModelUtil.h"
#include "platform/win/com/Bstr.h"
#include "platform/win/com/ComError.h"
#include "platform/win/com/StringArray.h"
#include "platform/win/com/VariantConvert.h"
#include "win/TypeLibrary.h"
#include "win/classIds.h"

namespace nimb::win {

namespace {

[[noreturn]] void nullArgument() { throw vb::VBError(static_cast<int32_t>(E_POINTER), "A required argument is missing"); }

std::string text(const BSTR* s) {
    if (!s) nullArgument();
    return com::utf8FromBstr(*s);
}

int32_t number(const LONG* n) {
    if (!n) nullArgument();
    return static_cast<int32_t>(*n);
}

template <class T>
T* result(T* out) {
    if (!out) nullArgument();
    return out;
}

// A list operation on the caller's array: it goes in, and goes back only when the operation
// changed it (the interface class leaves arrays untouched).
template <class F>
void withList(SAFEARRAY** array, F&& operation) {
    if (!array) nullArgument();
    VARIANT arg = com::bstrArrayRefVariant(array);
    std::vector<std::string> list = com::stringList(arg);
    const std::vector<std::string> before = list;
    operation(list);
    if (list != before) com::storeStringList(arg, list);
}

} // namespace

com::ComPtr<IUnknown> ComModelUtil::create() {
    com::ComPtr<ComModelUtil> object = com::make<ComModelUtil>(std::make_shared<ModelUtil>());
    return com::ComPtr<IUnknown>(static_cast<_ModelUtil*>(object.Get()));
}

ComModelUtil::ComModelUtil(std::shared_ptr<ModelUtil> model)
    : DispatchServer({}, {}, model), model_(std::move(model)) {
    serveTypeInfo(typeInfoOf(IID__ModelUtil));
}

HRESULT ComModelUtil::InterfaceSupportsErrorInfo(REFIID iid) { return iid == IID__ModelUtil ? S_OK : S_FALSE; }

HRESULT ComModelUtil::GetClassInfo(ITypeInfo** info) {
    if (!info) return E_POINTER;
    *info = nullptr;
    return com::guarded([&] { *info = typeInfoOf(CLSID_ModelUtil).Detach(); });
}

HRESULT ComModelUtil::insertClientCode(BSTR* clientCode, BSTR* projName, BSTR* compName) {
    return com::guarded([&] { model_->insertClientCode(text(clientCode), text(projName), text(compName)); });
}

HRESULT ComModelUtil::insertSQLCode(BSTR* sqlCode, LONG* startLine, LONG* startCol, LONG* endLine, LONG* endCol,
                                    BSTR* projName, BSTR* compName) {
    return com::guarded([&] {
        model_->insertSQLCode(text(sqlCode), number(startLine), number(startCol), number(endLine), number(endCol),
                              text(projName), text(compName));
    });
}

HRESULT ComModelUtil::addADOConnection(BSTR* conString, BSTR* conName, BSTR* dataenvName, BSTR* projName) {
    return com::guarded(
        [&] { model_->addADOConnection(text(conString), text(conName), text(dataenvName), text(projName)); });
}

HRESULT ComModelUtil::AddADOCommand(LONG* commandType, BSTR* commandText, BSTR* commandName, BSTR* conName,
                                    BSTR* dataenvName, BSTR* projName) {
    return com::guarded([&] {
        model_->AddADOCommand(number(commandType), text(commandText), text(commandName), text(conName),
                              text(dataenvName), text(projName));
    });
}

HRESULT ComModelUtil::existsDataEnvObjs(VARIANT_BOOL* answer) {
    return com::guarded([&] { *result(answer) = model_->existsDataEnvObjs() ? VARIANT_TRUE : VARIANT_FALSE; });
}

HRESULT ComModelUtil::getProjList(SAFEARRAY** projList) {
    return com::guarded([&] { withList(projList, [&](std::vector<std::string>& list) { model_->getProjList(list); }); });
}

HRESULT ComModelUtil::getDataEnvList(SAFEARRAY** dataEnvList, BSTR* projName) {
    return com::guarded([&] {
        const std::string project = text(projName);
        withList(dataEnvList, [&](std::vector<std::string>& list) { model_->getDataEnvList(list, project); });
    });
}

HRESULT ComModelUtil::getConnectionList(SAFEARRAY** conList, BSTR* dataenvName, BSTR* projName) {
    return com::guarded([&] {
        const std::string dataEnvironment = text(dataenvName);
        const std::string project = text(projName);
        withList(conList,
                 [&](std::vector<std::string>& list) { model_->getConnectionList(list, dataEnvironment, project); });
    });
}

HRESULT ComModelUtil::getActiveProjName(BSTR* answer) {
    return com::guarded([&] { *result(answer) = com::bstrFromUtf8(model_->getActiveProjName()); });
}

HRESULT ComModelUtil::getSelectedcompName(BSTR* answer) {
    return com::guarded([&] { *result(answer) = com::bstrFromUtf8(model_->getSelectedcompName()); });
}

HRESULT ComModelUtil::GetDevLanguage(BSTR* answer) {
    return com::guarded([&] { *result(answer) = com::bstrFromUtf8(model_->GetDevLanguage()); });
}

HRESULT ComModelUtil::saveWKFileName(BSTR fileName) {
    return com::guarded([&] { model_->saveWKFileName(com::utf8FromBstr(fileName)); });
}

} // namespace nimb::win
