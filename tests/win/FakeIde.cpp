#include "tests/win/FakeIde.h"

#include "platform/win/com/DispatchObject.h"

#include <algorithm>

namespace wintest {

namespace {

constexpr int32_t idAddInsMenu = 30038;

using Log = std::shared_ptr<std::vector<std::string>>;

class Served : public com::DispatchServer<> {
public:
    explicit Served(std::vector<com::Member> members) : DispatchServer(std::move(members)) {}
};

com::ComPtr<IDispatch> serve(std::vector<com::Member> members) {
    com::ComPtr<Served> object = com::make<Served>(std::move(members));
    return com::ComPtr<IDispatch>(object.Get());
}

vb::Variant objectOf(IDispatch* p) { return std::shared_ptr<vb::Object>(std::make_shared<com::DispatchObject>(p)); }

// A member that logs its call and answers with a fixed object (or Empty).
com::Member logged(const Log& log, std::wstring name, DISPID id, std::string entry, IDispatch* answer = nullptr) {
    return {std::move(name), id, [log, entry, answer](com::Args&) {
                log->push_back(entry);
                return answer ? objectOf(answer) : vb::Variant();
            }};
}

com::ComPtr<IDispatch> newControl(const Log& log) {
    auto caption = std::make_shared<std::string>();
    return serve({
        {L"Caption", 1,
         [caption](com::Args&) { return vb::Variant(*caption); },
         [log, caption](com::Args& a) {
             log->push_back("Control.Caption=");
             *caption = a.value().toString();
         }},
        logged(log, L"PasteFace", 2, "Control.PasteFace"),
        logged(log, L"Delete", 3, "Control.Delete"),
        {L"Enabled", 4, [](com::Args&) { return vb::Variant(true); },
         [log](com::Args&) { log->push_back("Control.Enabled="); }},
    });
}

} // namespace

FakeIde::FakeIde() {
    const Log log = log_;
    projects_ = serve({{L"Count", 1, [log](com::Args&) {
                            log->push_back("VBProjects.Count");
                            return vb::Variant(int32_t{0});
                        }}});
    controls_ = serve({{L"Add", 1, [log](com::Args&) {
                            log->push_back("Controls.Add");
                            auto control = newControl(log);
                            return objectOf(control.Get());
                        }}});
    addInsMenu_ = serve({logged(log, L"Controls", 1, "Popup.Controls", controls_.Get())});
    IDispatch* menu = addInsMenu_.Get();
    menuBar_ = serve({{L"FindControl", 1, [log, menu](com::Args& a) {
                           log->push_back("CommandBar.FindControl");
                           const bool wanted = a.has(1) && a[1].toLong() == idAddInsMenu;
                           return wanted ? objectOf(menu) : vb::Variant(std::shared_ptr<vb::Object>());
                       }}});
    commandBars_ = serve({logged(log, L"Item", DISPID_VALUE, "CommandBars.Item", menuBar_.Get())});
    events_ = serve({{L"CommandBarEvents", 1, [log](com::Args&) {
                          log->push_back("Events.CommandBarEvents");
                          auto sink = serve({});
                          return objectOf(sink.Get());
                      }}});
    vbe_ = serve({
        logged(log, L"CommandBars", 1, "VBE.CommandBars", commandBars_.Get()),
        logged(log, L"Events", 2, "VBE.Events", events_.Get()),
        logged(log, L"VBProjects", 3, "VBE.VBProjects", projects_.Get()),
    });
    addIn_ = serve({});
}

int FakeIde::count(const std::string& call) const {
    return static_cast<int>(std::count(log_->begin(), log_->end(), call));
}

} // namespace wintest
