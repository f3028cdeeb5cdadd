// ComModelUtil: the model service as other add-ins and VB programs call it, through the dual
// interface _ModelUtil of the module's type library. Early-bound callers reach the twelve
// operations through the vtable the library describes; late-bound callers through IDispatch,
// which the library's description serves (names, DISPIDs 0x60030000 to 0x6003000B, argument
// conversion), so both land in the same method. List arguments are String arrays by reference
// (SAFEARRAYs of BSTR), written back only when the operation changed them. A failed operation
// returns VB's HRESULT with the thread's error info or, late bound, EXCEPINFO.
//
// ModelUtil, created by its CLSID, is the interface class itself, whose operations do nothing.
// ComModelUtilVB is the working service the integration manager hands out (getModel): class
// ModelUtilVB, whose default interface _ModelUtilVB also reaches the IDE's root object and its
// command bars, and which implements _ModelUtil. A late-bound caller sees the default interface,
// through whichever interface it asked for IDispatch.
#pragma once

#include "nimbvbaddLib.h"
#include "win/LibraryServer.h"

#include <memory>

namespace nimb {
class ModelUtil;
class ModelUtilVB;
} // namespace nimb

namespace nimb::win {

template <class... Faces>
class ModelUtilServer : public LibraryServer<Faces...> {
public:
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

protected:
    ModelUtilServer(const CLSID& coclass, std::shared_ptr<ModelUtil> model);

    std::shared_ptr<ModelUtil> model_;
};

class ComModelUtil final : public ModelUtilServer<_ModelUtil> {
public:
    static com::ComPtr<IUnknown> create();
    explicit ComModelUtil(std::shared_ptr<ModelUtil> model);
};

class ComModelUtilVB final : public ModelUtilServer<_ModelUtilVB, _ModelUtil> {
public:
    explicit ComModelUtilVB(std::shared_ptr<ModelUtilVB> model);

    HRESULT STDMETHODCALLTYPE putref_VBInstance(IDispatch* vbInstance) override;
    HRESULT STDMETHODCALLTYPE get_VBInstance(IDispatch** result) override;
    HRESULT STDMETHODCALLTYPE getCommandBarCollection(IDispatch** result) override;
    HRESULT STDMETHODCALLTYPE getMainMenuBar(IDispatch** result) override;
    HRESULT STDMETHODCALLTYPE ModelUtil_saveWKFileName(BSTR fileName) override;

private:
    std::shared_ptr<ModelUtilVB> vb_;
};

// The COM face of model for a caller of this module's library: a ModelUtilVB's, or the
// interface class's for any other; null for Nothing.
com::ComPtr<_ModelUtil> servedModel(const std::shared_ptr<ModelUtil>& model);

} // namespace nimb::win
