// TextTable: every display text of the engine and of the add-in, by numeric id, in English. The
// add-in asks for the ids below 700 (captions, tooltips, column headers, dialog labels, messages);
// the engine's own messages use the ids from 700 up. "%1" and "%2" mark placeholders.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace standin::TextTable {

// The engine's own messages.
enum Msg : int32_t {
    FileMissing = 700,
    FileUnreadable = 701,
    SaveFailed = 702,
    Saved = 703,
    SavedAs = 704,
    NotConnected = 705,
    Built = 706,
    BuiltWithDebug = 707,
    Ran = 708,
    RanWithDebug = 709,
    NoDebugInfo = 710,
    DropQuestion = 711,
    Dropped = 712,
    NotAvailable = 713,
    UnknownHandle = 714,
    Copied = 715,
    NothingToPaste = 716,
    Properties = 717,
    RunSettings = 718,
    SourceView = 719,
    SourceMissing = 720,
    EditingSource = 721,
    SampleRows = 722,
    NoSampleRows = 723,
    ToolStarted = 724,
    UnknownTool = 725,
    LanguageNotSupported = 726,
    Imported = 727,
    CannotBuildLanguage = 728,
    AdoCodeShown = 729,
    DEConnectionShown = 730,
    DECommandShown = 731,
    AccessCodeUnknown = 732,
    NoProjectOpen = 733,
    // Labels of the property lists
    LabelFile = 740,
    LabelConnections = 741,
    LabelConnected = 742,
    LabelConnectionString = 743,
    LabelObjects = 744,
    LabelFiltered = 745,
    LabelSourceFile = 746,
    LabelChanged = 747,
    LabelDebug = 748,
    Yes = 749,
    No = 750,
    // Live database connections
    ConnectFailed = 751,
    DatabaseAnswered = 752,
    BuildFailed = 753,
    RanRows = 754,
    RanNoRows = 755,
    NoDebugger = 756,
    ConnectionLost = 757,
    NoRoutineSource = 758,
    NoAnswer = 759,
    Working = 760, // a connection's name while its database works for it
    CannotQuote = 770,
};

// The text of id, or nullptr when the table has none.
const std::string* find(int32_t id);
// The text of id with %1, %2 ... replaced by args (a single pass: a placeholder inside an argument
// stays as it is); empty for an unknown id.
std::string format(int32_t id, std::initializer_list<std::string_view> args = {});
std::string substitute(std::string_view text, std::initializer_list<std::string_view> args);

} // namespace standin::TextTable
