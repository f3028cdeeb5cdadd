// The late-bound adapters of the IDE object model, the Office command bars and the Data
// Environment designer: each turns the IDispatch of one IDE object into the vbide:: port the add-in
// knows, calling the IDE's members by their own names. Nothing comes back as Nothing; one COM
// object is one port object while the add-in holds it (com::Remote).
#pragma once

#include "platform/win/com/Dispatch.h"

#include <memory>
#include <vector>

namespace vbide {
class AddIn;
class CodeModule;
class CommandBar;
class CommandBarControl;
class CommandBarControls;
class CommandBars;
class CommandBarEvents;
class DataEnvironment;
class DECommand;
class DECommands;
class DEConnection;
class DEConnections;
class Events;
class FileControlEvents;
class VBComponent;
class VBComponents;
class VBE;
class VBProject;
class VBProjects;
class VBProjectsEvents;
class Window;
class Windows;
} // namespace vbide

namespace vbide::win {

std::shared_ptr<VBE> adaptVBE(const com::Dispatch& object);
std::shared_ptr<VBProjects> adaptVBProjects(const com::Dispatch& object);
std::shared_ptr<VBProject> adaptVBProject(const com::Dispatch& object);
std::shared_ptr<VBComponents> adaptVBComponents(const com::Dispatch& object);
std::shared_ptr<VBComponent> adaptVBComponent(const com::Dispatch& object);
std::shared_ptr<vbide::CodeModule> adaptCodeModule(const com::Dispatch& object);
std::shared_ptr<vbide::CommandBars> adaptCommandBars(const com::Dispatch& object);
std::shared_ptr<CommandBar> adaptCommandBar(const com::Dispatch& object);
std::shared_ptr<CommandBarControls> adaptCommandBarControls(const com::Dispatch& object);
std::shared_ptr<CommandBarControl> adaptCommandBarControl(const com::Dispatch& object);
std::shared_ptr<vbide::Events> adaptEvents(const com::Dispatch& object);
std::shared_ptr<vbide::Windows> adaptWindows(const com::Dispatch& object);
std::shared_ptr<Window> adaptWindow(const com::Dispatch& object);
std::shared_ptr<AddIn> adaptAddIn(const com::Dispatch& object);
std::shared_ptr<DataEnvironment> adaptDataEnvironment(const com::Dispatch& object);
std::shared_ptr<DEConnections> adaptDEConnections(const com::Dispatch& object);
std::shared_ptr<DEConnection> adaptDEConnection(const com::Dispatch& object);
std::shared_ptr<DECommands> adaptDECommands(const com::Dispatch& object);
std::shared_ptr<DECommand> adaptDECommand(const com::Dispatch& object);

// The event sources' subscriptions: source is what Events.CommandBarEvents (...) returned.
std::shared_ptr<vbide::CommandBarEvents> subscribeCommandBarEvents(const com::Dispatch& source);
std::shared_ptr<vbide::FileControlEvents> subscribeFileControlEvents(const com::Dispatch& source);
std::shared_ptr<vbide::VBProjectsEvents> subscribeVBProjectsEvents(const com::Dispatch& source);

// For Each over a collection with Count and Item(1..Count), as a snapshot.
template <class Element>
std::vector<std::shared_ptr<Element>> itemsOf(const com::Dispatch& collection,
                                              std::shared_ptr<Element> (*adaptItem)(const com::Dispatch&)) {
    std::vector<std::shared_ptr<Element>> items;
    int32_t count = collection.get("Count").toLong();
    for (int32_t i = 1; i <= count; ++i) items.push_back(adaptItem(collection.get("Item", {i}).toObject()));
    return items;
}

} // namespace vbide::win
