// The IDE's Events object and the event objects it hands out, each a connection-point source.
#include "platform/sim/com/EventSource.h"
#include "platform/sim/com/memberTables.h"

#include "platform/vbide/CommandBarControl.h"
#include "platform/vbide/CommandBarEvents.h"
#include "platform/vbide/Events.h"
#include "platform/vbide/FileControlEvents.h"
#include "platform/vbide/VBProject.h"
#include "platform/vbide/VBProjectsEvents.h"
#include "platform/win/com/Bstr.h"
#include "platform/win/com/DispatchObject.h"
#include "platform/win/com/VariantConvert.h"
#include "platform/win/vbide/eventInterfaces.h"

namespace simcom {

namespace {

using vb::Variant;
using namespace vbide::win;

// A BSTR argument, freed when the call is over.
class TextArg {
public:
    explicit TextArg(const std::string& text) : text_(com::bstrFromUtf8(text)) {}
    VARIANT arg() const {
        VARIANT v;
        VariantInit(&v);
        v.vt = VT_BSTR;
        v.bstrVal = text_.get();
        return v;
    }

private:
    com::UniqueBstr text_;
};

class CommandBarEventsSource final : public EventSource {
public:
    CommandBarEventsSource(std::shared_ptr<vbide::CommandBarEvents> events, std::shared_ptr<vbide::CommandBarControl> control)
        : EventSource(events, DIID_CommandBarControlEvents) {
        events->onClick([alive = alive(), control](vb::Object&, bool& handled, bool& cancelDefault) {
            if (auto* self = static_cast<CommandBarEventsSource*>(*alive)) self->click(control, handled, cancelDefault);
        });
    }

private:
    void click(const std::shared_ptr<vbide::CommandBarControl>& control, bool& handled, bool& cancelDefault) {
        com::ComPtr<IDispatch> sender = serve(control);
        VARIANT_BOOL h = handled ? VARIANT_TRUE : VARIANT_FALSE;
        VARIANT_BOOL c = cancelDefault ? VARIANT_TRUE : VARIANT_FALSE;
        VARIANT args[] = {com::boolRefVariant(&c), com::boolRefVariant(&h), com::objectVariant(sender.Get())};
        fire(dispidClick, args, 3);
        handled = h != VARIANT_FALSE;
        cancelDefault = c != VARIANT_FALSE;
    }
};

class FileControlEventsSource final : public EventSource {
public:
    explicit FileControlEventsSource(std::shared_ptr<vbide::FileControlEvents> events)
        : EventSource(events, DIID_FileControlEvents) {
        events->onAfterCloseFile([alive = alive()](std::shared_ptr<vbide::VBProject> project, int32_t type,
                                                   const std::string& file, bool wasDirty) {
            if (auto* self = static_cast<FileControlEventsSource*>(*alive)) self->afterCloseFile(project, type, file, wasDirty);
        });
        events->onAfterRemoveFile(
            [alive = alive()](std::shared_ptr<vbide::VBProject> project, int32_t type, const std::string& file) {
                if (auto* self = static_cast<FileControlEventsSource*>(*alive)) self->afterRemoveFile(project, type, file);
            });
    }

private:
    void afterCloseFile(const std::shared_ptr<vbide::VBProject>& project, int32_t type, const std::string& file,
                        bool wasDirty) {
        com::ComPtr<IDispatch> sender = serve(project);
        TextArg name(file);
        VARIANT args[] = {com::boolVariant(wasDirty), name.arg(), com::longVariant(type),
                          com::objectVariant(sender.Get())};
        fire(dispidAfterCloseFile, args, 4);
    }
    void afterRemoveFile(const std::shared_ptr<vbide::VBProject>& project, int32_t type, const std::string& file) {
        com::ComPtr<IDispatch> sender = serve(project);
        TextArg name(file);
        VARIANT args[] = {name.arg(), com::longVariant(type), com::objectVariant(sender.Get())};
        fire(dispidAfterRemoveFile, args, 3);
    }
};

class ProjectsEventsSource final : public EventSource {
public:
    explicit ProjectsEventsSource(std::shared_ptr<vbide::VBProjectsEvents> events)
        : EventSource(events, DIID_VBProjectsEvents) {
        auto forward = [alive = alive()](DISPID id) {
            return [alive, id](std::shared_ptr<vbide::VBProject> project) {
                if (auto* self = static_cast<ProjectsEventsSource*>(*alive)) self->projectEvent(id, project);
            };
        };
        events->onItemAdded(forward(dispidItemAdded));
        events->onItemRemoved(forward(dispidItemRemoved));
        events->onItemActivated(forward(dispidItemActivated));
    }

private:
    void projectEvent(DISPID id, const std::shared_ptr<vbide::VBProject>& project) {
        com::ComPtr<IDispatch> sender = serve(project);
        VARIANT args[] = {com::objectVariant(sender.Get())};
        fire(id, args, 1);
    }
};

com::ComPtr<IDispatch> eventsServer(std::shared_ptr<vbide::Events> x) {
    Table t;
    t.get(L"CommandBarEvents", [x](com::Args& a) {
         auto control = a[0].as<vbide::CommandBarControl>();
         return Variant(std::shared_ptr<vb::Object>(std::make_shared<com::DispatchObject>(
             com::make<CommandBarEventsSource>(x->CommandBarEvents(control), control).Get())));
     })
        .get(L"FileControlEvents", [x](com::Args& a) {
            auto project = a.has(0) ? a[0].as<vbide::VBProject>() : nullptr;
            return Variant(std::shared_ptr<vb::Object>(std::make_shared<com::DispatchObject>(
                com::make<FileControlEventsSource>(x->FileControlEvents(project)).Get())));
        })
        .get(L"VBProjectsEvents", [x](com::Args&) {
            return Variant(std::shared_ptr<vb::Object>(std::make_shared<com::DispatchObject>(
                com::make<ProjectsEventsSource>(x->VBProjectsEvents()).Get())));
        });
    return tableServer(t, x);
}

} // namespace

com::ComPtr<IDispatch> serveEvents(const std::shared_ptr<vb::Object>& object) {
    if (auto x = std::dynamic_pointer_cast<vbide::Events>(object)) return eventsServer(x);
    return nullptr;
}

} // namespace simcom
