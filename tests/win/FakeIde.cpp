#include "tests/win/FakeIde.h"

#include "platform/error.h"
#include "platform/win/com/DispatchObject.h"
#include "platform/win/vbide/eventInterfaces.h"
#include "tests/win/EventSource.h"
#include "tests/win/heldReferences.h"

#include <algorithm>

namespace wintest {

namespace {

constexpr int32_t idAddInsMenu = 30038;

class Served : public com::DispatchServer<> {
public:
    explicit Served(std::vector<com::Member> members) : DispatchServer(std::move(members)) {}
};

com::ComPtr<IDispatch> serve(std::vector<com::Member> members) {
    com::ComPtr<Served> object = com::make<Served>(std::move(members));
    return com::ComPtr<IDispatch>(object.Get());
}

vb::Variant objectOf(IDispatch* p) { return std::shared_ptr<vb::Object>(std::make_shared<com::DispatchObject>(p)); }

} // namespace

// Everything the IDE holds: each of its objects once, and what was done to them.
struct FakeIde::State {
    std::vector<std::string> log;
    std::vector<std::shared_ptr<MenuEntry>> entries;
    std::vector<std::pair<std::string, com::ComPtr<IUnknown>>> objects;
    IDispatch* lastControl = nullptr;
    EventSource* source = nullptr;

    IDispatch* keep(std::string name, com::ComPtr<IDispatch> object) {
        objects.emplace_back(std::move(name), object.Get());
        return object.Get();
    }
    // A member that logs its call and answers with a fixed object (or Empty).
    com::Member logged(std::wstring name, DISPID id, std::string entry, IDispatch* answer = nullptr) {
        return {std::move(name), id, [this, entry, answer](com::Args&) {
                    log.push_back(entry);
                    return answer ? objectOf(answer) : vb::Variant();
                }};
    }
    IDispatch* newControl() {
        auto entry = std::make_shared<MenuEntry>();
        entries.push_back(entry);
        lastControl = keep("control", serve({
            {L"Caption", 1, [entry](com::Args&) { return vb::Variant(entry->caption); },
             [this, entry](com::Args& a) {
                 log.push_back("Control.Caption=");
                 entry->caption = a.value().toString();
             }},
            logged(L"PasteFace", 2, "Control.PasteFace"),
            {L"Delete", 3,
             [this, entry](com::Args&) {
                 log.push_back("Control.Delete");
                 entry->deleted = true;
                 return vb::Variant();
             }},
            {L"Enabled", 4, [entry](com::Args&) { return vb::Variant(entry->enabled); },
             [this, entry](com::Args& a) {
                 log.push_back("Control.Enabled=");
                 entry->enabled = a.value().toBool();
             }},
        }));
        return lastControl;
    }
};

FakeIde::FakeIde() : state_(std::make_shared<State>()) {
    State& s = *state_;
    IDispatch* projects = s.keep("VBProjects", serve({{L"Count", 1, [&s](com::Args&) {
                                             s.log.push_back("VBProjects.Count");
                                             return vb::Variant(int32_t{0});
                                         }}}));
    IDispatch* controls = s.keep("Controls", serve({{L"Add", 1, [&s](com::Args& a) {
                                             s.log.push_back("Controls.Add");
                                             if (a[0].toLong() != 1) throw vb::VBError(5, "Invalid procedure call or argument");
                                             return objectOf(s.newControl());
                                         }}}));
    IDispatch* menu = s.keep("Add-Ins menu", serve({s.logged(L"Controls", 1, "Popup.Controls", controls)}));
    IDispatch* menuBar = s.keep("menu bar", serve({{L"FindControl", 1, [&s, menu](com::Args& a) {
                                            s.log.push_back("CommandBar.FindControl");
                                            const bool wanted = a.has(1) && a[1].toLong() == idAddInsMenu;
                                            return wanted ? objectOf(menu) : vb::Variant(std::shared_ptr<vb::Object>());
                                        }}}));
    IDispatch* commandBars = s.keep("CommandBars", serve({{L"Item", DISPID_VALUE, [&s, menuBar](com::Args& a) {
                                                s.log.push_back("CommandBars.Item");
                                                if (a[0].toLong() != 1) throw vb::VBError(9, "Subscript out of range");
                                                return objectOf(menuBar);
                                            }}}));
    com::ComPtr<EventSource> clicks = com::make<EventSource>(vbide::win::DIID_CommandBarControlEvents);
    s.source = clicks.Get();
    s.objects.emplace_back("CommandBarEvents", static_cast<IDispatch*>(s.source));
    IDispatch* source = s.source;
    IDispatch* events = s.keep("Events", serve({{L"CommandBarEvents", 1, [&s, source](com::Args& a) {
                                           s.log.push_back("Events.CommandBarEvents");
                                           if (!a[0].isObject()) throw vb::VBError(5, "Invalid procedure call or argument");
                                           return objectOf(source);
                                       }}}));
    vbe_ = s.keep("VBE", serve({
        s.logged(L"CommandBars", 1, "VBE.CommandBars", commandBars),
        s.logged(L"Events", 2, "VBE.Events", events),
        s.logged(L"VBProjects", 3, "VBE.VBProjects", projects),
    }));
    addIn_ = s.keep("AddInInst", serve({
        {L"ProgId", 1, [](com::Args&) { return vb::Variant("nimbvbadd.Connect"); }},
        {L"Description", 2, [](com::Args&) { return vb::Variant("NIMB Development Add-In"); }},
    }));
}

const std::vector<std::string>& FakeIde::log() const { return state_->log; }

int FakeIde::count(const std::string& call) const {
    return static_cast<int>(std::count(state_->log.begin(), state_->log.end(), call));
}

std::vector<FakeIde::MenuEntry> FakeIde::addInsMenu() const {
    std::vector<MenuEntry> entries;
    for (const auto& e : state_->entries) entries.push_back(*e);
    return entries;
}

HRESULT FakeIde::clickLastEntry() {
    return state_->lastControl ? state_->source->fireClick(state_->lastControl) : S_FALSE;
}

int FakeIde::advised() const { return state_->source->advised(); }
int FakeIde::unadvised() const { return state_->source->unadvised(); }
void FakeIde::keepSinksAfterUnadvise() { state_->source->keepSinksAfterUnadvise(); }
void FakeIde::releaseKeptSinks() { state_->source->releaseKeptSinks(); }

std::string FakeIde::referencesHeldByOthers() const { return heldByOthers(state_->objects); }

} // namespace wintest
