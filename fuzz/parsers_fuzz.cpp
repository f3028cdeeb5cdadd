// The small parsers: keyToHandle and makeNodeKey, the font-size reader, the path helpers, trimNull,
// and the message box descriptions (splitFields with iconStyle and buttonStyle), which are private
// to the poller and so are driven through it: one text notification whose buttons are the input,
// checked against a model of the rules.
#include "FuzzWorld.h"

#include "engine/wkapis.h"
#include "engine/wkutil.h"
#include "notify/notificationThreadFrm.h"
#include "notify/viewAPIs.h"
#include "platform/error.h"
#include "platform/ui/EventLoop.h"
#include "platform/ui/Forms.h"
#include "platform/ui/MsgBox.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace {

using namespace nimb;

[[noreturn]] void fail(const std::string& what) {
    std::fprintf(stderr, "parser fault: %s\n", what.c_str());
    std::abort();
}

void keys(FuzzedDataProvider& in) {
    const int32_t hdl = in.ConsumeIntegral<int32_t>();
    if (viewAPIs::keyToHandle(viewAPIs::makeNodeKey(hdl)) != hdl)
        fail("key round trip of " + std::to_string(hdl));
    const std::string key = in.ConsumeRemainingBytesAsString();
    try {
        viewAPIs::keyToHandle(key);
        if (key.empty() || key[0] != 'K')
            fail("a key without K was read");
    } catch (const vb::VBError& err) {
        if (err.number() == viewAPIs::corruptKeyError && !key.empty() && key[0] == 'K')
            fail("K key called corrupt");
    }
}

void fontSize(FuzzedDataProvider& in) {
    const std::string text = in.ConsumeRemainingBytesAsString();
    try {
        const int32_t size = wkutil::fontSizeFromText(text);
        if (text.empty() && size != 9)
            fail("empty font size text gave " + std::to_string(size));
    } catch (const vb::VBError& err) {
        if (err.number() != 6)
            fail("font size error " + std::to_string(err.number()));
    }
}

void paths(FuzzedDataProvider& in) {
    const std::string path = in.ConsumeRemainingBytesAsString();
    std::string drive, rest, dir, file;
    wkutil::splitDrive(path, drive, rest);
    if (drive + rest != path)
        fail("splitDrive lost text");
    if (!drive.empty() && drive.back() != ':')
        fail("drive without colon");
    wkutil::splitPath(path, drive, dir, file);
    if (drive + dir + "\\" + file != path && !(file.empty() && drive + dir == path))
        fail("splitPath lost text");
    const std::string directory = wkutil::getDirectory(path);
    if (!directory.empty() || path.find('\\') != std::string::npos) {
        if (path.compare(0, directory.size(), directory) != 0 || path[directory.size()] != '\\')
            fail("getDirectory is not the text before a backslash");
        if (path.find('\\', directory.size() + 1) != std::string::npos)
            fail("getDirectory stopped early");
    }
}

void trim(FuzzedDataProvider& in) {
    std::string s = in.ConsumeRemainingBytesAsString();
    const auto nul = s.find('\0');
    const std::string expected = nul == std::string::npos ? std::string() : s.substr(0, nul);
    wkutil::trimNull(s);
    if (s != expected)
        fail("trimNull");
}

// ---- Message box descriptions, through the poller ----------------------------------------------

std::string description;
bool delivered = false;

int32_t WKAPI oneText(twkNotify_abi* n, wkBool* more) {
    *n = {delivered ? 0 : 2, 0, 0, 0, 7};
    delivered = true;
    *more = WK_FALSE;
    return 0;
}

int32_t WKAPI questionText(int32_t, twkText_abi* r) {
    std::strcpy(r->strText, "Question?");
    r->lTextType = 1;
    std::memcpy(r->strButtons, description.c_str(), description.size() + 1);
    return 1;
}

int32_t WKAPI noString(int32_t, char*, int32_t) {
    return 0;
}

int32_t answered = 0;
int32_t WKAPI answer(const char*, int32_t result) {
    return answered = result;
}

// The rules, written out once more: fields split at "#", a trailing "#" kept, at most five.
std::optional<std::vector<std::string>> fieldsOf(std::string s) {
    std::vector<std::string> fields;
    for (;;) {
        const auto hash = s.find('#');
        const bool last = hash == std::string::npos || hash + 1 == s.size();
        fields.push_back(last ? s : s.substr(0, hash));
        if (fields.size() > 5)
            return std::nullopt;
        if (last)
            return fields;
        s.erase(0, hash + 1);
    }
}

int32_t styleOf(const std::vector<std::string>& f) {
    if (f.size() < 2)
        return 0;
    const int32_t icon = f[0] == "IDE_CRITICAL"   ? 16
                         : f[0] == "IDE_WARNING"  ? 48
                         : f[0] == "IDE_QUESTION" ? 32
                                                  : 64;
    const int32_t buttons = f[1] == "672" ? 3 : f[1] == "67" ? 4 : 0;
    return icon + buttons;
}

void messageBox(FuzzedDataProvider& in) {
    description = in.ConsumeRandomLengthString(255);
    description.resize(std::min(description.find('\0'), description.size()));
    delivered = false;
    answered = 0;
    wkapis::FunctionTable table;
    table.WKGetNotification = oneText;
    table.WKGetText = questionText;
    table.WKGetString = noString;
    table.WKButtonDoAction = answer;
    wkapis::useTable(table);

    auto user = std::make_shared<nimbfuzz::FuzzUser>(in);
    ui::User::install(user);
    ui::EventLoop::reset();
    auto poller = ui::New<notificationThreadFrm>();
    poller->Load();
    ui::EventLoop::advance(100);
    ui::Forms::unloadAll();
    ui::User::install(nullptr);
    wkapis::useLibrary();

    const auto fields = description.empty() ? std::nullopt : fieldsOf(description);
    if (!fields) {
        if (!user->boxes.empty() || answered != 0)
            fail("a box for \"" + description + "\"");
        return;
    }
    if (user->boxes.size() != 1)
        fail("no box for \"" + description + "\"");
    const auto& box = user->boxes.front();
    const std::string title = fields->size() == 3 ? (*fields)[2] : std::string();
    if (box.style != styleOf(*fields) || box.title != title || box.prompt != "Question?")
        fail("box " + std::to_string(box.style) + " \"" + box.title + "\" for \"" + description + "\"");
    if (answered != box.answer)
        fail("answer not sent");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    switch (in.ConsumeIntegralInRange(0, 4)) {
    case 0:
        keys(in);
        break;
    case 1:
        fontSize(in);
        break;
    case 2:
        paths(in);
        break;
    case 3:
        trim(in);
        break;
    default:
        messageBox(in);
    }
    return 0;
}
