#include "TextTable.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace standin::TextTable {

namespace {

using Entry = std::pair<int32_t, std::string>;

// Kept in id order; find() relies on it.
const std::vector<Entry>& entries() {
    static const std::vector<Entry> table{
        // User-interface font
        {100, "Arial"},
        {101, "9"},
        // IDE menus
        {200, "NIMB Development Add-In"},
        {201, "NIMB Development"},
        {202, "Server View"},
        {203, "Output View"},
        {204, "Editor View"},
        {205, "Debugger View"},
        {206, "Velmora Development Centre"},
        {207, "Query Builder"},
        {208, "Administration Console"},
        {209, "Query Console"},
        {210, "Client Connection Wizard"},
        {211, "Documentation Library"},
        {212, "Server View Help"},
        {213, "Product Information"},
        {214, "Replication Centre"},
        {215, "Performance Monitor"},
        {216, "Journal Viewer"},
        {217, "License Centre"},
        {218, "Tool Settings"},
        {219, "Deploy Routines"},
        // Toolbar
        {300, "NIMB Development"},
        {301, "Open the Velmora Development Centre"},
        {302, "Open the Query Builder"},
        {303, "Open the Administration Console"},
        {304, "Open the Query Console"},
        {305, "Open the Client Connection Wizard"},
        {306, "Open the Documentation Library"},
        {307, "Open the Debugger View"},
        {308, "Open the Replication Centre"},
        {309, "Open the Performance Monitor"},
        {310, "Open the Journal Viewer"},
        {311, "Open the License Centre"},
        {312, "Change the tool settings"},
        {313, "Show the server view"},
        {314, "Deploy routines to another database"},
        // Server view: window, menus, folders
        {400, "NIMB Server View"},
        {401, "Add Connection"},
        {402, "Refresh"},
        {403, "Expand"},
        {404, "Collapse"},
        {405, "Paste"},
        {406, "New"},
        {407, "Import..."},
        {408, "Connect"},
        {409, "Disconnect"},
        {410, "Remove"},
        {411, "Properties"},
        {412, "Add ADO Connection Code"},
        {413, "Add ADO Connection Object"},
        {414, "View Source"},
        {415, "Build"},
        {416, "Build With Debug"},
        {417, "Run"},
        {418, "Run With Debug"},
        {419, "Run Settings..."},
        {420, "Drop From Database"},
        {421, "Copy"},
        {422, "Add ADO Command Code"},
        {423, "Add ADO Command Object"},
        {424, "Sample Contents"},
        {425, "Filter"},
        {426, "Stored Procedures"},
        {427, "User-Defined Functions"},
        {428, "Triggers"},
        {429, "Tables"},
        {430, "Views"},
        {431, "Add Project to Visual SourceSafe..."},
        {432, "Visual SourceSafe"},
        {433, "Check In"},
        {434, "Check Out"},
        {435, "Undo Check Out"},
        {436, "Get Latest Version"},
        {437, "Show History"},
        {438, "Open..."},
        {439, "Save"},
        {440, "Save As..."},
        {441, "Close"},
        {442, "New Project"},
        {443, "Add File"},
        {444, "Edit Source"},
        {445, "Remove From Project"},
        // Column headers, SourceSafe login, Data Environment dialog
        {500, "Name"},
        {501, "Schema"},
        {502, "Comment"},
        {503, "Specific Name"},
        {504, "Language"},
        {505, "Fenced"},
        {506, "Parameters"},
        {507, "Result Sets"},
        {508, "SQL Package"},
        {509, "Parameters"},
        {510, "Returns"},
        {511, "Table"},
        {512, "Table Schema"},
        {513, "Table Space"},
        {514, "Type"},
        {515, "User name:"},
        {516, "Password:"},
        {517, "Database:"},
        {518, "Log In"},
        {519, "Project:"},
        {520, "OK"},
        {521, "Cancel"},
        {522, "SourceSafe project"},
        {523, "Visual SourceSafe Login"},
        {524, "Add ADO Connection Object"},
        {525, "Add ADO Command Object"},
        {526, "Command name:"},
        {527, "Connection name:"},
        {528, "Visual Basic project:"},
        {529, "Data Environment:"},
        {530, "Connection:"},
        {531, "Choose the Data Environment that receives the new connection and give the connection a name."},
        {532,
         "Choose the Data Environment and the connection that receive the new command and give the command a "
         "name."},
        // About box, file dialogs
        {600, "About the NIMB Development Add-In"},
        {601, "Close"},
        {602, "NIMB Development Add-In"},
        {603, "for Visual Basic"},
        {604, "Version 0.1"},
        {605, "Develops stored procedures, user-defined functions and triggers"},
        {606, "and puts generated SQL and ADO code into your Visual Basic projects."},
        {607, "The engine answering here is the stand-in engine."},
        {608, "Engine project files (*.wkv)"},
        {609, "All files (*.*)"},
        {610, "Open Engine Project"},
        {611, "Save Engine Project As"},
        // Start-up progress
        {641, "Starting the NIMB Development Add-In..."},
        {642, "Ready."},
        {643, "Creating the toolbar..."},
        {644, "Creating the menus..."},
        {645, "Creating the server view..."},
        {646, "Opening the engine project..."},
        {647, "The engine project is loaded."},
        // Messages
        {655, "The connection could not be added to the Data Environment."},
        {656, "The command could not be added to the Data Environment."},
        {657, "An object reported by the engine could not be added to the server view."},
        {658, "An object could not be removed from the server view."},
        {659, "The generated SQL could not be put into the code module."},
        {660, "The generated ADO code could not be put into the code module."},
        {661, "The engine reported an object the server view does not know."},
        {662, "This is the code, to copy by hand:\n%1"},
        {663, "The engine project could not be opened."},
        {664, "This is the SQL, to copy by hand:\n%1"},
        {665, "The engine project could not be saved."},
        {666, "The engine library could not be loaded."},
        {667, "The engine did not finish starting."},
        {668, "The tool could not be started."},
        {669, "Open or create a Visual Basic project before starting the NIMB Development Add-In."},
        {670, "No open project has a Data Environment to receive an ADO connection object."},
        {671, "No open project has a Data Environment to receive an ADO command object."},
        {672, "Do you want to save the changes to the engine project?"},
        {673, "The engine project has changed on disk. Do you want to load it again?"},
        {674, "The selected object no longer exists."},
        {675, "Visual SourceSafe could not add the file %1."},
        {676, "Visual SourceSafe could not check in the file %1."},
        {677, "Visual SourceSafe could not check out the file %1."},
        {678, "Visual SourceSafe could not open the project %1"},
        {679, "Visual SourceSafe could not create the project %1"},
        {680, "Visual SourceSafe is not installed on this computer."},
        {681, "No Visual SourceSafe database is registered on this computer."},
        {682, "Log in with \"Add Project to Visual SourceSafe\" first."},
        {683, "The source file of this object is not known yet. Use \"%1\" once, then \"%2\" again."},
        // The engine's own messages
        {FileMissing, "The engine project file %1 does not exist."},
        {FileUnreadable, "The engine project file %1 cannot be read: %2\nNothing was loaded."},
        {SaveFailed, "The engine project could not be saved to %1: %2"},
        {Saved, "The engine project %1 was saved to %2."},
        {SavedAs, "The engine project %1 was saved as %2."},
        {NotConnected, "The connection %1 is not connected. Connect it first."},
        {Built, "%1 was built."},
        {BuiltWithDebug, "%1 was built with debug information."},
        {Ran, "%1 ran and returned %2 result set(s)."},
        {RanWithDebug, "%1 ran under the debugger and returned %2 result set(s)."},
        {NoDebugInfo, "%1 has no debug information. Build it with debug first."},
        {DropQuestion, "Drop %1 from the database %2? This cannot be undone."},
        {Dropped, "%1 was dropped from the database %2."},
        {NotAvailable, "The action %1 is not available for %2."},
        {UnknownHandle, "The engine object %1 does not exist (any more)."},
        {Copied, "%1 was copied."},
        {NothingToPaste, "Nothing that fits into %1 has been copied."},
        {Properties, "Properties of %1\n%2"},
        {RunSettings, "Run settings of %1\nParameters: %2\nResult sets: %3"},
        {SourceView, "Source of %1 (%2):\n\n%3"},
        {SourceMissing, "The source file of %1 (%2) could not be read."},
        {EditingSource, "%1 is open for editing in the editor view: %2"},
        {SampleRows, "Sample contents of %1:\n%2"},
        {NoSampleRows, "%1 holds no rows."},
        {ToolStarted, "%1 was started (tool %2%3)."},
        {UnknownTool, "The engine knows no tool number %1."},
        {LanguageNotSupported, "ADO code can be generated for Visual Basic only, not for language %1."},
        {Imported, "%1 was imported from the database %2."},
        {CannotBuildLanguage, "%1 is written in %2, which the engine cannot build."},
        {AdoCodeShown, "ADO code for %1:\n\n%2"},
        {DEConnectionShown, "Data Environment connection for %1: %2"},
        {DECommandShown, "Data Environment command for %1: %2"},
        {AccessCodeUnknown, "The engine project access code %1 is not known."},
        {NoProjectOpen, "No engine project is open."},
        {LabelFile, "File"},
        {LabelConnections, "Connections"},
        {LabelConnected, "Connected"},
        {LabelConnectionString, "Connection string"},
        {LabelObjects, "Objects"},
        {LabelFiltered, "Filtered"},
        {LabelSourceFile, "Source file"},
        {LabelChanged, "Changed since the last build"},
        {LabelDebug, "Debug information"},
        {Yes, "yes"},
        {No, "no"},
        {ConnectFailed, "The connection %1 could not be opened.\n%2"},
        {DatabaseAnswered, "The database %1 answered:\n%2"},
        {BuildFailed, "%1 was not built. The database %2 answered:\n%3"},
        {RanRows, "%1 ran. Its first rows:\n%2"},
        {RanNoRows, "%1 ran and returned no rows."},
        {NoDebugger, "The database %1 has no debugger: %2 can only be run without debug."},
        {ConnectionLost, "The connection %1 was closed: its database no longer answers."},
        {NoRoutineSource, "The database %2 keeps no source of %1."},
        {NoAnswer, "The connection %1 was closed: its database did not answer within %2 seconds."},
        {Working, "%1 (working...)"},
        {CannotQuote, "%2 cannot be named in SQL on the connection %1: its driver cannot quote names."},
    };
    return table;
}

} // namespace

const std::string* find(int32_t id) {
    const auto& table = entries();
    auto it = std::lower_bound(table.begin(), table.end(), id,
                               [](const Entry& e, int32_t key) { return e.first < key; });
    return it != table.end() && it->first == id ? &it->second : nullptr;
}

std::string substitute(std::string_view text, std::initializer_list<std::string_view> args) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 1 < text.size() && text[i + 1] >= '1' && text[i + 1] <= '9') {
            size_t n = static_cast<size_t>(text[i + 1] - '1');
            if (n < args.size())
                out += *(args.begin() + n);
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string format(int32_t id, std::initializer_list<std::string_view> args) {
    const std::string* text = find(id);
    return text ? substitute(*text, args) : std::string();
}

} // namespace standin::TextTable
