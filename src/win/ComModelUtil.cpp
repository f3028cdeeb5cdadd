#include "win/ComModelUtil.h"

#include "model/ModelUtilVB.h"
#include "platform/win/com/StringArray.h"
#include "win/classIds.h"

namespace nimb::win {

namespace {

constexpr DISPID firstDispid = 0x60030000;

std::vector<IID> interfacesOf(const std::shared_ptr<ModelUtil>& model) {
    if (std::dynamic_pointer_cast<ModelUtilVB>(model)) return {IID__ModelUtil, IID__ModelUtilVB};
    return {IID__ModelUtil};
}

// A list operation on argument i: the caller's array goes in, and goes back only when the
// operation changed it (the interface class leaves arrays untouched).
template <class F>
void withList(com::Args& a, size_t i, F&& operation) {
    std::vector<std::string> list = com::stringList(a.raw(i));
    const std::vector<std::string> before = list;
    operation(list);
    if (list != before) com::storeStringList(a.raw(i), list);
}

std::vector<com::Member> membersOf(ModelUtil& m) {
    const auto none = vb::Variant();
    DISPID id = firstDispid;
    std::vector<com::Member> members;
    auto add = [&](const wchar_t* name, std::function<vb::Variant(com::Args&)> call) {
        members.push_back({name, id++, std::move(call)});
    };
    add(L"insertClientCode", [&m, none](com::Args& a) {
        m.insertClientCode(a[0].toString(), a[1].toString(), a[2].toString());
        return none;
    });
    add(L"insertSQLCode", [&m, none](com::Args& a) {
        m.insertSQLCode(a[0].toString(), a[1].toLong(), a[2].toLong(), a[3].toLong(), a[4].toLong(), a[5].toString(),
                        a[6].toString());
        return none;
    });
    add(L"addADOConnection", [&m, none](com::Args& a) {
        m.addADOConnection(a[0].toString(), a[1].toString(), a[2].toString(), a[3].toString());
        return none;
    });
    add(L"AddADOCommand", [&m, none](com::Args& a) {
        m.AddADOCommand(a[0].toLong(), a[1].toString(), a[2].toString(), a[3].toString(), a[4].toString(),
                        a[5].toString());
        return none;
    });
    add(L"existsDataEnvObjs", [&m](com::Args&) { return vb::Variant(m.existsDataEnvObjs()); });
    add(L"getProjList", [&m, none](com::Args& a) {
        withList(a, 0, [&](std::vector<std::string>& list) { m.getProjList(list); });
        return none;
    });
    add(L"getDataEnvList", [&m, none](com::Args& a) {
        const std::string projName = a[1].toString();
        withList(a, 0, [&](std::vector<std::string>& list) { m.getDataEnvList(list, projName); });
        return none;
    });
    add(L"getConnectionList", [&m, none](com::Args& a) {
        const std::string dataenvName = a[1].toString();
        const std::string projName = a[2].toString();
        withList(a, 0, [&](std::vector<std::string>& list) { m.getConnectionList(list, dataenvName, projName); });
        return none;
    });
    add(L"getActiveProjName", [&m](com::Args&) { return vb::Variant(m.getActiveProjName()); });
    add(L"getSelectedcompName", [&m](com::Args&) { return vb::Variant(m.getSelectedcompName()); });
    add(L"GetDevLanguage", [&m](com::Args&) { return vb::Variant(m.GetDevLanguage()); });
    add(L"saveWKFileName", [&m, none](com::Args& a) {
        m.saveWKFileName(a[0].toString());
        return none;
    });
    return members;
}

} // namespace

com::ComPtr<IUnknown> ComModelUtil::create() {
    com::ComPtr<ComModelUtil> object = com::make<ComModelUtil>(std::make_shared<ModelUtil>());
    return com::ComPtr<IUnknown>(static_cast<IDispatch*>(object.Get()));
}

ComModelUtil::ComModelUtil(std::shared_ptr<ModelUtil> model)
    : DispatchServer(membersOf(*model), interfacesOf(model), model), model_(std::move(model)) {}

} // namespace nimb::win
