// PersonScript: a person's real input from outside the program. The program says what the person
// does next as a line on standard output - "CLICK x y button", "DCLICK x y", "DRAG x1 y1 x2 y2" in
// screen pixels - and the driver (scripts/winui, with xdotool on the Xvfb display) does it; the
// program meanwhile runs its messages and waits for what should follow. Windows the program itself
// is blocked in (a popup menu, a message box) are found by a watcher thread, which says where to
// click in them.
// This file holds only Win32 code.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>

namespace winviews {

void say(const std::string& line);
POINT centreOf(const RECT& r);
void click(POINT at, int button = 1);
void doubleClick(POINT at);
void drag(POINT from, POINT to);
// A key pressed where the focus is, by its X keysym name (Left, Right, Return ...).
void key(const std::string& keysym);

// Watches, on its own thread, for a popup menu and clicks its item with that caption.
std::thread chooseFromNextPopup(std::wstring caption);
// Watches for a message box titled title and clicks its button with that id (IDYES, IDOK ...).
// The box's text and buttons are written to seen before answered is set (read seen after that).
std::thread answerNextMessageBox(std::wstring title, int buttonId, std::string& seen, std::atomic<bool>& answered);

// Watches for a dialog window titled title, clicks its first edit box, replaces the text with
// text (typed), and clicks its button captioned button. answered is set once done.
std::thread fillNextDialog(std::wstring title, std::string text, std::wstring button, std::atomic<bool>& answered);

// Watches for an open or save file dialog (a dialog with a file-type list), writes its title and
// the descriptions in its file-type list to seen ("title | type; type;"), clicks its file name
// box, types text there and clicks its OK button (Open or Save). answered is set once done.
std::thread fillNextFileDialog(std::string text, std::string& seen, std::atomic<bool>& answered);

} // namespace winviews
