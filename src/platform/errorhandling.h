// The four ways a procedure handles an error: report it in a message box and stop, raise it again
// to the caller, attempt every step and skip the failing one, or end silently. Every handler in the
// add-in uses one of these, so a reader sees the pattern by name.
#pragma once

#include "platform/error.h"
#include "platform/ui/MsgBox.h"

#include <functional>
#include <initializer_list>
#include <string>

namespace vb {

using ErrorText = std::string (*)(const VBError&);

// Runs fn; on an error shows textOf(error) in an OK message box with the default title and stops.
// Returns true when fn completed without error.
template <class F>
bool reportTo(F&& fn, ErrorText textOf) {
    try {
        fn();
        return true;
    } catch (...) {
        ui::MsgBox(textOf(currentError()));
        return false;
    }
}

// Runs fn; on an error shows the fixed text in an OK message box and stops.
template <class F>
bool reportTo(F&& fn, const std::function<std::string()>& text) {
    try {
        fn();
        return true;
    } catch (...) {
        ui::MsgBox(text());
        return false;
    }
}

// Runs fn; any error goes to the caller as a VBError with the same number and description.
template <class F>
decltype(auto) reraise(F&& fn) {
    try {
        return fn();
    } catch (...) {
        throw currentError();
    }
}

// Runs every step in turn; a failing step is skipped and the next one still runs.
void attemptEach(std::initializer_list<std::function<void()>> steps);

// Runs fn; an error ends it without a word. Returns true when fn completed.
template <class F>
bool silently(F&& fn) {
    try {
        fn();
        return true;
    } catch (...) {
        return false;
    }
}

} // namespace vb
