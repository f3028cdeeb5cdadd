// ModelUtilVB: the working model service. It reads and changes the projects open in the IDE through
// the IDE's root object, reading the model afresh at every call (nothing is cached).
//
// Errors: the four list queries (existsDataEnvObjs, getProjList, getDataEnvList,
// getConnectionList) pass any error on as a VBError that keeps the trapped error's number and
// source and whose description is "<number>:<description>" of the trapped error. The insertions
// report their failures in a message box and raise nothing. Everything else raises the IDE's
// errors unchanged.
#pragma once

#include "model/ModelUtil.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace vbide {
class CodeModule;
class CommandBar;
class CommandBars;
class VBComponent;
class VBE;
class VBProject;
} // namespace vbide

namespace nimb {

// Where a VB project keeps the name of its engine project file (an add-in property of the project).
inline constexpr char wkFileSection[] = "KALNIMB_WK";
inline constexpr char wkFileKey[] = "KALNIMB_WKFILENAME";

class ModelUtilVB : public ModelUtil {
public:
    void setVBInstance(std::shared_ptr<vbide::VBE> vbInstance);
    std::shared_ptr<vbide::VBE> VBInstance() const;

    std::shared_ptr<vbide::CommandBars> getCommandBarCollection();
    std::shared_ptr<vbide::CommandBar> getMainMenuBar();  // the bar named "Menu bar"

    // ModelUtil
    void insertClientCode(const std::string& clientCode, const std::string& projName,
                          const std::string& compName) override;
    void insertSQLCode(const std::string& sqlCode, int32_t startLine, int32_t startCol, int32_t endLine,
                       int32_t endCol, const std::string& projName, const std::string& compName) override;
    void addADOConnection(const std::string& conString, const std::string& conName, const std::string& dataenvName,
                          const std::string& projName) override;
    void AddADOCommand(int32_t commandType, const std::string& commandText, const std::string& commandName,
                       const std::string& conName, const std::string& dataenvName,
                       const std::string& projName) override;
    bool existsDataEnvObjs() override;
    // n entries for n open projects: the names of those holding a Data Environment first, in project
    // order, then empty strings. No project open is an error.
    void getProjList(std::vector<std::string>& projList) override;
    // The project's Data Environments in component order; none is an error.
    void getDataEnvList(std::vector<std::string>& dataEnvList, const std::string& projName) override;
    // The connections of the named designer in order; none is an error.
    void getConnectionList(std::vector<std::string>& conList, const std::string& dataenvName,
                           const std::string& projName) override;
    std::string getActiveProjName() override;
    std::string getSelectedcompName() override;
    std::string GetDevLanguage() override;
    void saveWKFileName(std::string fileName) override;

private:
    vbide::VBE& ide();
    // Exact, case-sensitive name matches; an empty name or no project finds nothing.
    std::shared_ptr<vbide::VBProject> getVBProject(const std::string& projName);
    std::shared_ptr<vbide::VBComponent> getDataEnvComponent(const std::shared_ptr<vbide::VBProject>& project,
                                                            const std::string& deName);
    bool hasDataEnvironment(const std::shared_ptr<vbide::VBProject>& project);
    // Through the IDE's own Item lookups; nothing when a name is empty or anything fails.
    std::shared_ptr<vbide::CodeModule> getCodeModule(const std::string& projName, const std::string& compName);

    std::shared_ptr<vbide::VBE> vbInstance_;
};

} // namespace nimb
