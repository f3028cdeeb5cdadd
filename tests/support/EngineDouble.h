// EngineDouble: an in-process engine for tests. While one exists, every engine call the add-in makes
// through nimb::wkapis goes to it (wkapis::useTable); its destructor points the add-in back at the
// library. Only one may exist at a time.
//
// What it serves, all scripted by the test:
//   - texts by id for WKGetString/P1/P2, with "%1" and "%2" replaced by the placeholder strings;
//   - records by handle for the Get calls, the text calls and the Data Environment calls;
//   - folder contents, with a filtered flag, for the EnumBegin/Next/End calls;
//   - a queue of notifications for WKGetNotification.
// Every call is written to a journal as readable text, e.g. WKObjectDoAction(12, 18),
// WKButtonDoAction("User response", 7), WKGetText(5, lTextSz=4096); a null string shows as null.
// Record calls show the handle, plus lTextSz as it reached the engine for the three text calls.
//
// How it behaves by default, like a careful engine:
//   - Strings go into the caller's buffers as NUL-terminated text, cut to fit. It assumes the buffer
//     sizes the add-in's wrappers are meant to give; its own copy of those sizes, so a wrapper that
//     gives a different size is caught by a test rather than agreed with.
//   - Text calls: lTextSz going in is the room for the text. A text of L characters needs L + 1; it
//     is written when that fits, else only lTextSz = L + 1 is reported (strText left as given), so
//     the caller can call again. The call returns 1 when the text was written, 0 otherwise.
//   - Get calls return -1 for a known handle and 0 (writing nothing) for an unknown one; EnumBegin
//     returns -1 when the folder has objects, 0 when it is empty or unknown (enumeration handle 0);
//     EnumNext returns -1 per record and 0 at the end.
//   - WKGetNotification hands out queued records in order, with more = True while further records
//     wait; an empty queue gives a record of zeros (kind 0) with more = False.
//   - WKGetString returns the number of characters written; an unknown id writes nothing, returns 0.
//
// Misbehaviour, per function name: failWith makes every call raise a VBError (after journaling);
// setHostility breaks the protocol (see Hostility); setReaction runs code after a call, e.g. to
// queue the notifications a real engine would queue in answer to WKObjectDoAction.
#pragma once

#include "engine/WKTypes.h"
#include "platform/error.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace nimbtest {

// Protocol breaches of one engine function; all off by default.
struct Hostility {
    bool noNul = false;         // strings written with no NUL after them, up to the buffer's full room
                                // (give a text as long as the buffer to fill it); text calls write
                                // strText even when it does not fit
    bool nullSlots = false;     // every string slot of the record set to null instead of written
    bool foreignSlots = false;  // every string slot pointed at the engine's own memory
    std::optional<int32_t> textSize = std::nullopt;  // text calls: report this lTextSz, whatever the text needs
    std::optional<int32_t> count = std::nullopt;     // WKGetString/P1/P2: return this count, whatever was written
};

class EngineDouble {
public:
    EngineDouble();
    ~EngineDouble();
    EngineDouble(const EngineDouble&) = delete;
    EngineDouble& operator=(const EngineDouble&) = delete;

    // ---- What the engine serves ----
    void setString(int32_t id, std::string text);

    void put(int32_t hdl, const nimb::twkProject& rec);
    void put(int32_t hdl, const nimb::twkConnection& rec);
    void put(int32_t hdl, const nimb::twkProcedure& rec);
    void put(int32_t hdl, const nimb::twkFunction& rec);
    void put(int32_t hdl, const nimb::twkTrigger& rec);
    void put(int32_t hdl, const nimb::twkTable& rec);
    void put(int32_t hdl, const nimb::twkView& rec);
    // The text calls ignore lTextSz here: the engine reports what the text needs.
    void put(int32_t hdl, const nimb::twkText& rec);
    void put(int32_t hdl, const nimb::twkSQLText& rec);
    void put(int32_t hdl, const nimb::twkADOText& rec);
    void put(int32_t hdl, const nimb::twkConnectionDE& rec);
    void put(int32_t hdl, const nimb::twkCommandDE& rec);

    // Folder contents for the EnumBegin/Next/End calls of the matching kind.
    void setFolder(int32_t folderHdl, std::vector<nimb::twkProcedure> items, bool filtered = false);
    void setFolder(int32_t folderHdl, std::vector<nimb::twkFunction> items, bool filtered = false);
    void setFolder(int32_t folderHdl, std::vector<nimb::twkTrigger> items, bool filtered = false);
    void setFolder(int32_t folderHdl, std::vector<nimb::twkTable> items, bool filtered = false);
    void setFolder(int32_t folderHdl, std::vector<nimb::twkView> items, bool filtered = false);
    // Enumerations begun and not yet ended.
    int openEnumerations() const;

    void queue(const nimb::twkNotify& notification);

    // What WKProjectDoAccess leaves in its in-out name buffer (cut to the name's length, never longer).
    void setAccessFileName(std::string name);

    // ---- Misbehaviour ----
    void failWith(const std::string& function, vb::VBError error);
    void stopFailing(const std::string& function);
    void setHostility(const std::string& function, Hostility hostility);
    void setReaction(const std::string& function, std::function<void()> reaction);

    // ---- Journal ----
    const std::vector<std::string>& journal() const;
    // The journal entries of one function, in order.
    std::vector<std::string> callsTo(const std::string& function) const;
    void clearJournal();

    struct State;

private:
    std::unique_ptr<State> state_;
};

} // namespace nimbtest
