// ComServerViewDoc: nimbvbadd.serverViewDoc, the object the IDE puts into the server view's tool
// window. Code in this process reaches the serverViewDoc behind it through the native-object
// interface (as the integration manager does with CreateToolWindow's DocObj); late-bound callers
// see the document's IMgr (put) and setupGUI. Containers host it in place through the OLE
// interfaces of InPlaceDocument and find the rest of an ActiveX control in DocumentControl; what
// they ask goes to the OleLog when that is switched on.
#pragma once

#include "platform/win/com/DispatchServer.h"
#include "win/DocumentControl.h"
#include "win/InPlaceDocument.h"
#include "win/OleLog.h"
#include "win/ServerModule.h"

#include <memory>

namespace nimb {
class serverViewDoc;
}

namespace nimb::win {

class ComServerViewDoc : public com::DispatchServer<> {
public:
    static com::ComPtr<IUnknown> create();
    explicit ComServerViewDoc(std::shared_ptr<serverViewDoc> document);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;

protected:
    HRESULT queryMore(REFIID iid, void** out) override;

private:
    std::shared_ptr<serverViewDoc> document_;
    OleLog log_;
    InPlaceDocument inPlace_;
    DocumentControl control_;
    ModuleObject counted_;
};

} // namespace nimb::win
