// ComServerViewDoc: nimbvbadd.serverViewDoc, the object the IDE puts into the server view's tool
// window. Code in this process reaches the serverViewDoc behind it through the native-object
// interface (as the integration manager does with CreateToolWindow's DocObj); late-bound callers
// see the document's IMgr (put) and setupGUI. Containers host it in place through the OLE
// interfaces of InPlaceDocument.
#pragma once

#include "platform/win/com/DispatchServer.h"
#include "win/InPlaceDocument.h"
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

protected:
    HRESULT queryOther(REFIID iid, void** out) override { return inPlace_.query(iid, out); }

private:
    std::shared_ptr<serverViewDoc> document_;
    InPlaceDocument inPlace_;
    ModuleObject counted_;
};

} // namespace nimb::win
