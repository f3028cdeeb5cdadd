#include "model/ModelUtilVB.h"

#include "engine/wkutil.h"
#include "model/isDataEnvironment.h"
#include "model/objectRef.h"
#include "platform/errorhandling.h"
#include "platform/ui/MsgBox.h"
#include "platform/vbide/CodeModule.h"
#include "platform/vbide/CommandBars.h"
#include "platform/vbide/DECommand.h"
#include "platform/vbide/DECommands.h"
#include "platform/vbide/DEConnection.h"
#include "platform/vbide/DEConnections.h"
#include "platform/vbide/DataEnvironment.h"
#include "platform/vbide/VBComponents.h"
#include "platform/vbide/VBE.h"
#include "platform/vbide/VBProject.h"
#include "platform/vbide/VBProjects.h"

#include <functional>
#include <limits>
#include <utility>

namespace nimb {

namespace {

// The development-language code by which the engine recognises this IDE.
constexpr int32_t devLanguageVB = 2;

// Text ids of the insertion failure messages; 662 and 664 show the text that did not go in.
constexpr int32_t idClientCodeFailed = 660;
constexpr int32_t idClientCodeWas = 662;
constexpr int32_t idSQLCodeFailed = 659;
constexpr int32_t idSQLCodeWas = 664;

constexpr int32_t errOverflow = 6;

// No list the IDE can hold comes near this; a larger count is refused as VB's ReDim refuses an
// array it cannot allocate, rather than trying to allocate it.
constexpr int64_t maxListEntries = int64_t{1} << 20;

// The list queries hand errors to callers (the integration callbacks) that show only a text, so
// the number travels inside the description as "<number>:<description>"; the number and source
// are kept as they were.
template <class F>
decltype(auto) reraiseNumbered(F&& fn) {
    try {
        return vb::reraise(std::forward<F>(fn));
    } catch (const vb::VBError& e) {
        throw vb::VBError(e.number(), vb::numberColonDescription(e), e.source());
    }
}

// VB's ReDim list(0 To count - 1), with or without Preserve. An empty bound range is an error, as
// callers must not take an empty list for a valid answer.
void redim(std::vector<std::string>& list, int64_t count, bool preserve) {
    if (count < 1) {
        throw vb::VBError(vb::err::SubscriptOutOfRange, "Subscript out of range");
    }
    if (count > maxListEntries) {
        throw vb::VBError(vb::err::OutOfMemory, "Out of memory");
    }
    if (!preserve) {
        list.clear();
    }
    list.resize(static_cast<std::size_t>(count));
}

int32_t toLong(int64_t n) {
    if (n < std::numeric_limits<int32_t>::min() || n > std::numeric_limits<int32_t>::max()) {
        throw vb::VBError(errOverflow, "Overflow");
    }
    return static_cast<int32_t>(n);
}

// A component's designer seen through the Data Environment interface; another kind of designer
// fails the conversion as a Set to a typed variable does.
std::shared_ptr<vbide::DataEnvironment> dataEnvironmentOf(const std::shared_ptr<vbide::VBComponent>& component) {
    auto designer = use(component).Designer();
    use(designer);
    auto dataEnv = std::dynamic_pointer_cast<vbide::DataEnvironment>(designer);
    if (!dataEnv) {
        throw vb::VBError(vb::err::TypeMismatch, "Type mismatch");
    }
    return dataEnv;
}

// The engine reports a selection; deletion works on whole lines, and the columns only tell a caret
// (nothing selected) from a selection inside one line.
void replaceSelection(vbide::CodeModule& module, const std::string& text, int32_t startLine, int32_t startCol,
                      int32_t endLine, int32_t endCol) {
    if (startLine != endLine) {
        module.DeleteLines(startLine, toLong(int64_t{endLine} - startLine + 1));
    } else if (startCol != endCol) {
        module.DeleteLines(startLine, 1);
    }
    module.InsertLines(startLine, text);
}

} // namespace

void ModelUtilVB::setVBInstance(std::shared_ptr<vbide::VBE> vbInstance) {
    vbInstance_ = std::move(vbInstance);
}

std::shared_ptr<vbide::VBE> ModelUtilVB::VBInstance() const {
    return vbInstance_;
}

vbide::VBE& ModelUtilVB::ide() {
    return use(vbInstance_);
}

std::shared_ptr<vbide::CommandBars> ModelUtilVB::getCommandBarCollection() {
    return ide().CommandBars();
}

std::shared_ptr<vbide::CommandBar> ModelUtilVB::getMainMenuBar() {
    return use(ide().CommandBars()).Item(std::string("Menu bar"));
}

// ---- Queries ------------------------------------------------------------------------------------

bool ModelUtilVB::existsDataEnvObjs() {
    return reraiseNumbered([&] {
        for (const auto& project : use(ide().VBProjects()).items()) {
            for (const auto& component : use(use(project).VBComponents()).items()) {
                if (isDataEnvironment(component)) {
                    return true;
                }
            }
        }
        return false;
    });
}

void ModelUtilVB::getProjList(std::vector<std::string>& projList) {
    reraiseNumbered([&] {
        auto projects = ide().VBProjects();
        redim(projList, use(projects).Count(), false);
        std::size_t i = 0;
        for (const auto& project : projects->items()) {
            if (hasDataEnvironment(project)) {
                projList.at(i++) = project->Name();
            }
        }
    });
}

void ModelUtilVB::getDataEnvList(std::vector<std::string>& dataEnvList, const std::string& projName) {
    reraiseNumbered([&] {
        auto project = use(ide().VBProjects()).Item(projName);
        std::size_t i = 0;
        if (project) {
            auto components = project->VBComponents();
            redim(dataEnvList, int64_t{use(components).Count()} + 1, false);
            for (const auto& component : components->items()) {
                if (isDataEnvironment(component)) {
                    dataEnvList.at(i++) = component->Name();
                }
            }
        }
        redim(dataEnvList, static_cast<int64_t>(i), true);
    });
}

void ModelUtilVB::getConnectionList(std::vector<std::string>& conList, const std::string& dataenvName,
                                    const std::string& projName) {
    reraiseNumbered([&] {
        auto project = use(ide().VBProjects()).Item(projName);
        auto component = use(use(project).VBComponents()).Item(dataenvName);
        auto connections = dataEnvironmentOf(component)->Connections();
        redim(conList, use(connections).Count(), false);
        std::size_t i = 0;
        for (const auto& connection : connections->items()) {
            conList.at(i++) = use(connection).Name();
        }
    });
}

std::string ModelUtilVB::getActiveProjName() {
    auto project = ide().ActiveVBProject();
    return project ? project->Name() : std::string();
}

std::string ModelUtilVB::getSelectedcompName() {
    auto component = ide().SelectedVBComponent();
    return component ? component->Name() : std::string();
}

std::string ModelUtilVB::GetDevLanguage() {
    return std::to_string(devLanguageVB);
}

void ModelUtilVB::saveWKFileName(std::string fileName) {
    if (fileName.empty()) {
        return;
    }
    auto project = ide().ActiveVBProject();
    if (project) {
        project->WriteProperty(wkFileSection, wkFileKey, fileName);
    }
}

// ---- Lookups ------------------------------------------------------------------------------------

std::shared_ptr<vbide::VBProject> ModelUtilVB::getVBProject(const std::string& projName) {
    if (projName.empty()) {
        return nullptr;
    }
    for (const auto& project : use(ide().VBProjects()).items()) {
        if (use(project).Name() == projName) {
            return project;
        }
    }
    return nullptr;
}

std::shared_ptr<vbide::VBComponent> ModelUtilVB::getDataEnvComponent(const std::shared_ptr<vbide::VBProject>& project,
                                                                     const std::string& deName) {
    if (deName.empty() || !project) {
        return nullptr;
    }
    for (const auto& component : use(project->VBComponents()).items()) {
        if (isDataEnvironment(component) && component->Name() == deName) {
            return component;
        }
    }
    return nullptr;
}

bool ModelUtilVB::hasDataEnvironment(const std::shared_ptr<vbide::VBProject>& project) {
    return reraiseNumbered([&] {
        for (const auto& component : use(use(project).VBComponents()).items()) {
            if (isDataEnvironment(component)) {
                return true;
            }
        }
        return false;
    });
}

std::shared_ptr<vbide::CodeModule> ModelUtilVB::getCodeModule(const std::string& projName,
                                                              const std::string& compName) {
    std::shared_ptr<vbide::CodeModule> module;
    vb::silently([&] {
        if (projName.empty() || compName.empty()) {
            return;
        }
        auto project = use(ide().VBProjects()).Item(projName);
        if (!project) {
            return;
        }
        auto component = use(project->VBComponents()).Item(compName);
        if (component) {
            module = component->CodeModule();
        }
    });
    return module;
}

// ---- Changes ------------------------------------------------------------------------------------

void ModelUtilVB::insertClientCode(const std::string& clientCode, const std::string& projName,
                                   const std::string& compName) {
    const std::function<std::string()> failure = [&] {
        return wkutil::getString(idClientCodeFailed) + "\n" + wkutil::getStringP1(idClientCodeWas, clientCode);
    };
    vb::reportTo(
        [&] {
            if (clientCode.empty()) {
                return;
            }
            auto module = getCodeModule(projName, compName);
            if (!module) {
                ui::MsgBox(failure());
                return;
            }
            module->InsertLines(toLong(int64_t{module->CountOfLines()} + 1), clientCode);
        },
        failure);
}

void ModelUtilVB::insertSQLCode(const std::string& sqlCode, int32_t startLine, int32_t startCol, int32_t endLine,
                                int32_t endCol, const std::string& projName, const std::string& compName) {
    const std::function<std::string()> failure = [&] {
        return wkutil::getString(idSQLCodeFailed) + "\n" + wkutil::getStringP1(idSQLCodeWas, sqlCode);
    };
    vb::reportTo(
        [&] {
            if (sqlCode.empty()) {
                return;
            }
            auto module = getCodeModule(projName, compName);
            if (!module) {
                ui::MsgBox(failure());
                return;
            }
            replaceSelection(*module, sqlCode, startLine, startCol, endLine, endCol);
        },
        failure);
}

void ModelUtilVB::addADOConnection(const std::string& conString, const std::string& conName,
                                   const std::string& dataenvName, const std::string& projName) {
    auto component = getDataEnvComponent(getVBProject(projName), dataenvName);
    auto connection = use(dataEnvironmentOf(component)->Connections()).Add(conName, false);
    use(connection).setConnectionSource(conString);
}

void ModelUtilVB::AddADOCommand(int32_t commandType, const std::string& commandText, const std::string& commandName,
                                const std::string& conName, const std::string& dataenvName,
                                const std::string& projName) {
    auto component = getDataEnvComponent(getVBProject(projName), dataenvName);
    auto command = use(dataEnvironmentOf(component)->Commands()).Add(commandName, false);
    auto& c = use(command);
    c.setCommandType(commandType);
    c.setCommandText(commandText);
    c.setConnectionName(conName);
}

} // namespace nimb
