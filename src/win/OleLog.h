// OleLog: a record of what a container does with the server view's document, for the one-time
// check of what a real IDE's tool-window host asks. Off unless the environment variable
// NIMB_OLE_LOG or the registry value HKCU\Software\nimbvbadd\OleLog (REG_SZ) names a file; then
// every interface asked of the document (answered or not), every verb it is given and every call
// it makes on its container, with the result, is appended to that file, one line each. A call's
// line is written when it returns: the calls a container makes within it come first.
#pragma once

#include <windows.h>

#include <string>

namespace nimb::win {

class OleLog {
public:
    // Reads the switch once, when the document is made.
    OleLog();

    bool on() const { return !file_.empty(); }
    void asked(REFIID iid, HRESULT answer) const;
    void verb(LONG verb) const;
    // A call on the container; returns result so that a call can be logged where it is made.
    HRESULT called(const char* what, HRESULT result) const;
    void line(const std::string& text) const;

private:
    std::wstring file_;
};

} // namespace nimb::win
