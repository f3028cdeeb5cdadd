// ComModelUtil: the model service as other add-ins and VB programs call it, through the dual
// interface _ModelUtil of the module's type library. Early-bound callers reach the twelve
// operations through the vtable the library describes; late-bound callers through IDispatch,
// which the library's description serves (names, DISPIDs 0x60030000 to 0x6003000B, argument
// conversion), so both land in the same method. List arguments are String arrays by reference
// (SAFEARRAYs of BSTR), written back only when the operation changed them. A failed operation
// returns VB's HRESULT with the thread's error info (ISupportErrorInfo) or, late bound, EXCEPINFO.
// Created by its CLSID it is the interface class itself, whose operations do nothing.
#pragma once

#include "nimbvbaddLib.h"
#include "platform/win/com/DispatchServer.h"
#include "win/ServerModule.h"

#include <ocidl.h>

#include <memory>

namespace nimb {
class ModelUtil;
}

namespace nimb::win {

class ComModelUtil : public com::DispatchServer<_ModelUtil, ISupportErrorInfo, IProvideClassInfo> {
public:
    static com::ComPtr<IUnknown> create();
    explicit ComModelUtil(std::shared_ptr<ModelUtil> model);

    HRESULT STDMETHODCALLTYPE insertClientCode(BSTR* clientCode, BSTR* projName, BSTR* compName) override;
    HRESULT STDMETHODCALLTYPE insertSQLCode(BSTR* sqlCode, LONG* startLine, LONG* startCol, LONG* endLine,
                                            LONG* endCol, BSTR* projName, BSTR* compName) override;
    HRESULT STDMETHODCALLTYPE addADOConnection(BSTR* conString, BSTR* conName, BSTR* dataenvName,
                                               BSTR* projName) override;
    HRESULT STDMETHODCALLTYPE AddADOCommand(LONG* commandType, BSTR* commandText, BSTR* commandName, BSTR* conName,
                                            BSTR* dataenvName, BSTR* projName) override;
    HRESULT STDMETHODCALLTYPE existsDataEnvObjs(VARIANT_BOOL* result) override;
    HRESULT STDMETHODCALLTYPE getProjList(SAFEARRAY** projList) override;
    HRESULT STDMETHODCALLTYPE getDataEnvList(SAFEARRAY** dataEnvList, BSTR* projName) override;
    HRESULT STDMETHODCALLTYPE getConnectionList(SAFEARRAY** conList, BSTR* dataenvName, BSTR* projName) override;
    HRESULT STDMETHODCALLTYPE getActiveProjName(BSTR* result) override;
    HRESULT STDMETHODCALLTYPE getSelectedcompName(BSTR* result) override;
    HRESULT STDMETHODCALLTYPE GetDevLanguage(BSTR* result) override;
    HRESULT STDMETHODCALLTYPE saveWKFileName(BSTR fileName) override;

    HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID iid) override;
    HRESULT STDMETHODCALLTYPE GetClassInfo(ITypeInfo** info) override;

private:
    std::shared_ptr<ModelUtil> model_;
    ModuleObject counted_;
};

} // namespace nimb::win
