// OleLog: a record of the add-in's COM conversations with its host, for the one-time checks of what
// a real IDE does. Off unless the environment variable NIMB_OLE_LOG or the registry value
// HKCU\Software\nimbvbadd\OleLog (REG_SZ) names a file; then every interface asked of the server
// view's document (answered or not), every verb it is given, every call it makes on its container
// and every event subscription (the events interface asked for, the one advised, the result) is
// appended to that file, one line each. A call's line is written when it returns: the calls made
// within it come first.
#pragma once

#include <windows.h>

#include <string>

namespace com {

class OleLog {
public:
    // Reads the switch once, when made.
    OleLog();
    // "{IID} name": the interface's registered name after its IID.
    static std::string nameOf(REFIID iid);

    bool on() const { return !file_.empty(); }
    void asked(REFIID iid, HRESULT answer) const;
    void verb(LONG verb) const;
    // A call on the container; returns result so that a call can be logged where it is made.
    HRESULT called(const char* what, HRESULT result) const;
    void line(const std::string& text) const;

private:
    std::wstring file_;
};

} // namespace com
