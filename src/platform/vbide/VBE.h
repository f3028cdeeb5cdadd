// VBE: the IDE's root object, handed to an add-in at connection. Everything the add-in sees of the
// IDE is reached from here.
#pragma once

#include "platform/variant.h"

#include <memory>
#include <string>

namespace vbide {

class VBProjects;
class VBProject;
class VBComponent;
class Window;
class Windows;
class CommandBars;
class Events;

class VBE : public vb::Object {
public:
    virtual std::shared_ptr<vbide::VBProjects> VBProjects() = 0;
    virtual std::shared_ptr<VBProject> ActiveVBProject() = 0;          // Nothing when no project is open
    virtual std::shared_ptr<VBComponent> SelectedVBComponent() = 0;    // Nothing when none is selected
    virtual std::string LastUsedPath() = 0;                            // the folder of the last file dialog
    virtual std::shared_ptr<Window> MainWindow() = 0;
    virtual std::shared_ptr<vbide::Windows> Windows() = 0;
    virtual std::shared_ptr<vbide::CommandBars> CommandBars() = 0;
    virtual std::shared_ptr<vbide::Events> Events() = 0;
};

} // namespace vbide
