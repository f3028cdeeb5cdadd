#include "engine/wkutil.h"

#include "engine/ansi.h"
#include "engine/wkapis.h"
#include "platform/error.h"
#include "platform/errorhandling.h"
#include "platform/variant.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

namespace nimb::wkutil {

ModuleState& moduleState() {
    static ModuleState state;
    return state;
}

void resetModuleState() { moduleState() = ModuleState{}; }

void trimNull(std::string& s) {
    auto nul = s.find('\0');
    if (nul == std::string::npos) {
        s.clear();
    } else {
        s.resize(nul);
    }
}

// ---- Text lookup --------------------------------------------------------------------------------

namespace {

constexpr int32_t textBufferSize = 1024;

// The engine's count is believed only inside our buffer; the text also ends at a NUL before it.
std::string textFrom(const std::vector<char>& buffer, int32_t count) {
    if (count < 1) return {};
    auto end = buffer.begin() + std::min(count, textBufferSize);
    return ansi::fromAnsi(std::string(buffer.begin(), std::find(buffer.begin(), end, '\0')));
}

template <class Call>
std::string lookUp(Call call) {
    std::vector<char> buffer(textBufferSize + 1, '\0');
    int32_t count = call(buffer.data());
    return textFrom(buffer, count);
}

} // namespace

std::string getString(int32_t id) {
    return lookUp([&](char* buffer) { return wkapis::WKGetString(id, buffer, textBufferSize); });
}

std::string getStringP1(int32_t id, const std::string& p1) {
    std::string a1 = ansi::toAnsi(p1);
    return lookUp([&](char* buffer) { return wkapis::WKGetStringP1(id, buffer, textBufferSize, a1.c_str()); });
}

std::string getStringP2(int32_t id, const std::string& p1, const std::string& p2) {
    std::string a1 = ansi::toAnsi(p1), a2 = ansi::toAnsi(p2);
    return lookUp(
        [&](char* buffer) { return wkapis::WKGetStringP2(id, buffer, textBufferSize, a1.c_str(), a2.c_str()); });
}

// ---- Font ---------------------------------------------------------------------------------------

int32_t getFontCharset() {
    // The East Asian system fonts, by the names they carry in their own scripts.
    struct Charset {
        const char* fontName;
        int32_t charset;
    };
    static const Charset charsets[] = {
        {"宋体", 134},            // SimSun: simplified Chinese
        {"ＭＳ Ｐゴシック", 128},  // MS PGothic: Japanese
        {"新細明體", 136},        // PMingLiU: traditional Chinese
        {"굴림", 129},            // Gulim: Korean
    };
    for (const auto& c : charsets) {
        if (uiFontName() == c.fontName) return c.charset;
    }
    return 1;
}

int32_t fontSizeFromText(const std::string& text) {
    constexpr int32_t defaultSize = 9;
    auto number = vb::leadingNumber(text);
    return number ? vb::roundHalfEven(*number) : defaultSize;
}

// ---- Paths --------------------------------------------------------------------------------------

void splitDrive(const std::string& path, std::string& drive, std::string& rest) {
    auto colon = path.find(':');
    if (colon == std::string::npos) {
        std::string all = path;
        drive.clear();
        rest = std::move(all);
        return;
    }
    std::string d = path.substr(0, colon + 1), r = path.substr(colon + 1);
    drive = std::move(d);
    rest = std::move(r);
}

void splitPath(const std::string& path, std::string& drive, std::string& dir, std::string& file) {
    std::string d, rest;
    splitDrive(path, d, rest);
    auto slash = rest.rfind('\\');
    std::string f;
    if (!rest.empty() && slash != std::string::npos && slash > 0) {
        f = rest.substr(slash + 1);
        rest.resize(slash);
    }
    drive = std::move(d);
    dir = std::move(rest);
    file = std::move(f);
}

std::string getDirectory(const std::string& path) {
    auto slash = path.rfind('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

// ---- Record wrappers ----------------------------------------------------------------------------

namespace {

template <class Rec, class Abi>
struct StringField {
    std::string Rec::*field;
    char* Abi::*slot;
    size_t size;  // characters of the buffer the engine gets
};

template <class Rec, class Abi>
struct LongField {
    int32_t Rec::*field;
    int32_t Abi::*slot;
};

template <class Rec, class Abi>
struct BoolField {
    bool Rec::*field;
    wkBool Abi::*slot;
};

// How one record maps onto its boundary layout.
template <class Rec, class Abi>
struct Layout {
    std::vector<StringField<Rec, Abi>> strings;
    std::vector<LongField<Rec, Abi>> longs;
    std::vector<BoolField<Rec, Abi>> bools;
};

// A record whose text the engine may find too long for the buffer: it then sets the size field to
// the size it needs, and the call is made once more.
template <class Rec, class Abi>
struct TextLayout : Layout<Rec, Abi> {
    std::string Rec::*text;
    int32_t Rec::*textSize;
};

// The caller's buffers behind a record's string slots, all in one block: each slot's characters
// plus the NUL a VB string always carries after them, so an engine that fills the room it was given
// and terminates it stays inside our memory. Every record but the three texts fits the block kept
// inside the object, so the call that lists a folder allocates nothing here.
class SlotBuffers {
public:
    static constexpr size_t maxSlots = 8;

    // Fresh buffers, all NULs; the slot textSlot (if any) gets textChars characters instead.
    template <class Rec, class Abi>
    explicit SlotBuffers(const Layout<Rec, Abi>& layout, size_t textSlot = maxSlots, size_t textChars = 0)
        : count_(layout.strings.size()) {
        size_t total = 0;
        for (size_t i = 0; i < count_; ++i) {
            chars_[i] = i == textSlot ? textChars : layout.strings[i].size;
            offset_[i] = total;
            total += chars_[i] + 1;
        }
        if (total > inline_.size()) {
            heap_.assign(total, '\0');
            base_ = heap_.data();
        } else {
            std::fill_n(inline_.begin(), total, '\0');
            base_ = inline_.data();
        }
    }
    SlotBuffers(const SlotBuffers&) = delete;
    SlotBuffers& operator=(const SlotBuffers&) = delete;

    char* data(size_t i) { return base_ + offset_[i]; }
    // Whether the engine left the slot pointing at our buffer.
    bool holds(size_t i, const char* slot) const { return slot == base_ + offset_[i]; }

    // What slot i reads as after the call: the text before the first NUL among its characters; empty
    // when there is none, and empty when the engine pointed the slot elsewhere (null, or memory we did
    // not allocate) - we never read memory that is not ours.
    void read(size_t i, const char* slot, std::string& out) const {
        const char* begin = base_ + offset_[i];
        const void* nul = holds(i, slot) ? std::memchr(begin, '\0', chars_[i]) : nullptr;
        if (nul) ansi::assignFromAnsi(out, begin, static_cast<const char*>(nul));
        else out.clear();
    }

    // Slot i as an earlier call left it in other, when it stayed on other's buffer; the slot keeps
    // its own room (and its NUL after it) whatever the engine did there.
    void carryOver(size_t i, const SlotBuffers& other, const char* slot) {
        if (other.holds(i, slot))
            std::memcpy(data(i), other.base_ + other.offset_[i], std::min(chars_[i], other.chars_[i]));
    }

private:
    std::array<char, 6 * 1024> inline_;  // filled as far as used
    std::vector<char> heap_;
    char* base_ = nullptr;
    size_t count_;
    std::array<size_t, maxSlots> chars_{};
    std::array<size_t, maxSlots> offset_{};
};

template <class Rec, class Abi>
Abi toAbi(const Layout<Rec, Abi>& layout, const Rec& rec, SlotBuffers& buffers) {
    Abi abi{};
    for (size_t i = 0; i < layout.strings.size(); ++i) abi.*layout.strings[i].slot = buffers.data(i);
    for (const auto& f : layout.longs) abi.*f.slot = rec.*f.field;
    for (const auto& f : layout.bools) abi.*f.slot = rec.*f.field ? WK_TRUE : WK_FALSE;
    return abi;
}

template <class Rec, class Abi>
void numbersFromAbi(const Layout<Rec, Abi>& layout, const Abi& abi, Rec& rec) {
    for (const auto& f : layout.longs) rec.*f.field = abi.*f.slot;
    for (const auto& f : layout.bools) rec.*f.field = abi.*f.slot != 0;
}

// The strings, cut at their first NUL as trimNull cuts them.
template <class Rec, class Abi>
void stringsFromAbi(const Layout<Rec, Abi>& layout, const Abi& abi, Rec& rec, const SlotBuffers& buffers) {
    for (size_t i = 0; i < layout.strings.size(); ++i)
        buffers.read(i, abi.*layout.strings[i].slot, rec.*layout.strings[i].field);
}

template <class Result, class Rec, class Abi>
Result exchange(Result (*engineCall)(int32_t, Abi*), int32_t hdl, const Layout<Rec, Abi>& layout, Rec& rec) {
    return vb::reraise([&] {
        SlotBuffers buffers(layout);
        Abi abi = toAbi(layout, rec, buffers);
        Result result = engineCall(hdl, &abi);
        numbersFromAbi(layout, abi, rec);
        stringsFromAbi(layout, abi, rec, buffers);
        return result;
    });
}

// A size the engine asks for is allocated only up to a sane cap, so a broken engine cannot make us
// allocate gigabytes; the refusal is VB's "out of memory", which is what the allocation would give.
size_t checkedTextSize(int32_t needed) {
    if (needed > maxEngineTextSize) {
        throw vb::VBError(vb::err::OutOfMemory,
                          "Out of memory: the engine asked for a text of " + std::to_string(needed) +
                              " characters, more than the " + std::to_string(maxEngineTextSize) + " allowed",
                          wkapis::errorSource);
    }
    return static_cast<size_t>(needed);
}

template <class Rec, class Abi>
int32_t exchangeText(int32_t (*engineCall)(int32_t, Abi*), int32_t hdl, const TextLayout<Rec, Abi>& layout,
                     Rec& rec) {
    return vb::reraise([&] {
        const auto textField = std::find_if(layout.strings.begin(), layout.strings.end(),
                                            [&](const auto& f) { return f.field == layout.text; });
        const auto textSlot = static_cast<size_t>(textField - layout.strings.begin());
        const auto given = static_cast<int32_t>(textField->size);
        rec.*layout.textSize = given;
        SlotBuffers first(layout);
        Abi abi = toAbi(layout, rec, first);
        int32_t result = engineCall(hdl, &abi);
        numbersFromAbi(layout, abi, rec);
        if (rec.*layout.textSize <= given) {
            stringsFromAbi(layout, abi, rec, first);
            return result;
        }
        // Once more with the record as it came back, and a text buffer of the size asked for.
        SlotBuffers second(layout, textSlot, checkedTextSize(rec.*layout.textSize) + 1);
        for (size_t i = 0; i < layout.strings.size(); ++i)
            if (i != textSlot) second.carryOver(i, first, abi.*layout.strings[i].slot);
        abi = toAbi(layout, rec, second);
        result = engineCall(hdl, &abi);
        numbersFromAbi(layout, abi, rec);
        stringsFromAbi(layout, abi, rec, second);
        return result;
    });
}

constexpr size_t shortText = 256;
constexpr size_t longText = 1024;

const Layout<twkProject, twkProject_abi> projectLayout{
    {{&twkProject::strName, &twkProject_abi::strName, shortText},
     {&twkProject::strPath, &twkProject_abi::strPath, longText}},
    {{&twkProject::lHdl, &twkProject_abi::lHdl}},
    {}};

const Layout<twkConnection, twkConnection_abi> connectionLayout{
    {{&twkConnection::strDatabase, &twkConnection_abi::strDatabase, shortText}},
    {{&twkConnection::lHdl, &twkConnection_abi::lHdl},
     {&twkConnection::lProceduresHdl, &twkConnection_abi::lProceduresHdl},
     {&twkConnection::lFunctionsHdl, &twkConnection_abi::lFunctionsHdl},
     {&twkConnection::lTriggersHdl, &twkConnection_abi::lTriggersHdl},
     {&twkConnection::lTablesHdl, &twkConnection_abi::lTablesHdl},
     {&twkConnection::lViewsHdl, &twkConnection_abi::lViewsHdl}},
    {{&twkConnection::bConnected, &twkConnection_abi::bConnected}}};

const Layout<twkProcedure, twkProcedure_abi> procedureLayout{
    {{&twkProcedure::strSchema, &twkProcedure_abi::strSchema, shortText},
     {&twkProcedure::strName, &twkProcedure_abi::strName, longText},
     {&twkProcedure::strSpecific, &twkProcedure_abi::strSpecific, longText},
     {&twkProcedure::strParameters, &twkProcedure_abi::strParameters, longText},
     {&twkProcedure::strLanguage, &twkProcedure_abi::strLanguage, shortText},
     {&twkProcedure::strSQLPackage, &twkProcedure_abi::strSQLPackage, shortText},
     {&twkProcedure::strComment, &twkProcedure_abi::strComment, shortText},
     {&twkProcedure::strFileName, &twkProcedure_abi::strFileName, longText}},
    {{&twkProcedure::lHdl, &twkProcedure_abi::lHdl}, {&twkProcedure::lResultSets, &twkProcedure_abi::lResultSets}},
    {{&twkProcedure::bIsDirty, &twkProcedure_abi::bIsDirty},
     {&twkProcedure::bCanDebug, &twkProcedure_abi::bCanDebug},
     {&twkProcedure::bIsFenced, &twkProcedure_abi::bIsFenced}}};

// bIsFenced is a Long in this record, unlike the procedure's Boolean.
const Layout<twkFunction, twkFunction_abi> functionLayout{
    {{&twkFunction::strSchema, &twkFunction_abi::strSchema, shortText},
     {&twkFunction::strName, &twkFunction_abi::strName, shortText},
     {&twkFunction::strSpecific, &twkFunction_abi::strSpecific, longText},
     {&twkFunction::strParameters, &twkFunction_abi::strParameters, longText},
     {&twkFunction::strResult, &twkFunction_abi::strResult, longText},
     {&twkFunction::strLanguage, &twkFunction_abi::strLanguage, shortText},
     {&twkFunction::strComment, &twkFunction_abi::strComment, shortText},
     {&twkFunction::strFileName, &twkFunction_abi::strFileName, longText}},
    {{&twkFunction::lHdl, &twkFunction_abi::lHdl}, {&twkFunction::bIsFenced, &twkFunction_abi::bIsFenced}},
    {{&twkFunction::bIsDirty, &twkFunction_abi::bIsDirty}, {&twkFunction::bCanDebug, &twkFunction_abi::bCanDebug}}};

const Layout<twkTrigger, twkTrigger_abi> triggerLayout{
    {{&twkTrigger::strSchema, &twkTrigger_abi::strSchema, shortText},
     {&twkTrigger::strName, &twkTrigger_abi::strName, shortText},
     {&twkTrigger::strTableSchema, &twkTrigger_abi::strTableSchema, shortText},
     {&twkTrigger::strTableName, &twkTrigger_abi::strTableName, shortText},
     {&twkTrigger::strComment, &twkTrigger_abi::strComment, shortText},
     {&twkTrigger::strFileName, &twkTrigger_abi::strFileName, longText}},
    {{&twkTrigger::lHdl, &twkTrigger_abi::lHdl}},
    {{&twkTrigger::bIsDirty, &twkTrigger_abi::bIsDirty}, {&twkTrigger::bCanDebug, &twkTrigger_abi::bCanDebug}}};

const Layout<twkTable, twkTable_abi> tableLayout{
    {{&twkTable::strSchema, &twkTable_abi::strSchema, shortText},
     {&twkTable::strName, &twkTable_abi::strName, shortText},
     {&twkTable::strTableSpace, &twkTable_abi::strTableSpace, shortText},
     {&twkTable::strComment, &twkTable_abi::strComment, shortText}},
    {{&twkTable::lHdl, &twkTable_abi::lHdl}, {&twkTable::lType, &twkTable_abi::lType}},
    {{&twkTable::bIsDirty, &twkTable_abi::bIsDirty}}};

const Layout<twkView, twkView_abi> viewLayout{
    {{&twkView::strSchema, &twkView_abi::strSchema, shortText},
     {&twkView::strName, &twkView_abi::strName, shortText},
     {&twkView::strComment, &twkView_abi::strComment, shortText}},
    {{&twkView::lHdl, &twkView_abi::lHdl}},
    {{&twkView::bIsDirty, &twkView_abi::bIsDirty}}};

const TextLayout<twkText, twkText_abi> textLayout{
    {{{&twkText::strText, &twkText_abi::strText, 4096}, {&twkText::strButtons, &twkText_abi::strButtons, shortText}},
     {{&twkText::lTextSz, &twkText_abi::lTextSz}, {&twkText::lTextType, &twkText_abi::lTextType}},
     {}},
    &twkText::strText,
    &twkText::lTextSz};

const TextLayout<twkSQLText, twkSQLText_abi> sqlTextLayout{
    {{{&twkSQLText::strVSProject, &twkSQLText_abi::strVSProject, longText},
      {&twkSQLText::strVSFile, &twkSQLText_abi::strVSFile, longText},
      {&twkSQLText::strText, &twkSQLText_abi::strText, 4096}},
     {{&twkSQLText::lSelFromLine, &twkSQLText_abi::lSelFromLine},
      {&twkSQLText::lSelFromColumn, &twkSQLText_abi::lSelFromColumn},
      {&twkSQLText::lSelToLine, &twkSQLText_abi::lSelToLine},
      {&twkSQLText::lSelToColumn, &twkSQLText_abi::lSelToColumn},
      {&twkSQLText::lTextSz, &twkSQLText_abi::lTextSz}},
     {}},
    &twkSQLText::strText,
    &twkSQLText::lTextSz};

const TextLayout<twkADOText, twkADOText_abi> adoTextLayout{
    {{{&twkADOText::strVSProject, &twkADOText_abi::strVSProject, longText},
      {&twkADOText::strVSFile, &twkADOText_abi::strVSFile, longText},
      {&twkADOText::strText, &twkADOText_abi::strText, 65536}},
     {{&twkADOText::lTextSz, &twkADOText_abi::lTextSz}},
     {}},
    &twkADOText::strText,
    &twkADOText::lTextSz};

const Layout<twkConnectionDE, twkConnectionDE_abi> connectionDELayout{
    {{&twkConnectionDE::strVSProject, &twkConnectionDE_abi::strVSProject, shortText},
     {&twkConnectionDE::strDEName, &twkConnectionDE_abi::strDEName, shortText},
     {&twkConnectionDE::strDEConnection, &twkConnectionDE_abi::strDEConnection, shortText},
     {&twkConnectionDE::strConnectionString, &twkConnectionDE_abi::strConnectionString, longText}},
    {},
    {}};

const Layout<twkCommandDE, twkCommandDE_abi> commandDELayout{
    {{&twkCommandDE::strVSProject, &twkCommandDE_abi::strVSProject, shortText},
     {&twkCommandDE::strDEName, &twkCommandDE_abi::strDEName, shortText},
     {&twkCommandDE::strDEConnection, &twkCommandDE_abi::strDEConnection, shortText},
     {&twkCommandDE::strDECommand, &twkCommandDE_abi::strDECommand, shortText},
     {&twkCommandDE::strCommandText, &twkCommandDE_abi::strCommandText, 4096}},
    {{&twkCommandDE::lCommandType, &twkCommandDE_abi::lCommandType}},
    {{&twkCommandDE::bHasParemeters, &twkCommandDE_abi::bHasParemeters}}};

} // namespace

int16_t wkProjectGet(int32_t hdl, twkProject& rec) { return exchange(&wkapis::WKProjectGet, hdl, projectLayout, rec); }
int16_t wkConnectionGet(int32_t hdl, twkConnection& rec) {
    return exchange(&wkapis::WKConnectionGet, hdl, connectionLayout, rec);
}
int16_t wkProcedureGet(int32_t hdl, twkProcedure& rec) {
    return exchange(&wkapis::WKProcedureGet, hdl, procedureLayout, rec);
}
int16_t wkProcedureEnumNext(int32_t enumHdl, twkProcedure& rec) {
    return exchange(&wkapis::WKProcedureEnumNext, enumHdl, procedureLayout, rec);
}
int16_t wkFunctionGet(int32_t hdl, twkFunction& rec) { return exchange(&wkapis::WKFunctionGet, hdl, functionLayout, rec); }
int16_t wkFunctionEnumNext(int32_t enumHdl, twkFunction& rec) {
    return exchange(&wkapis::WKFunctionEnumNext, enumHdl, functionLayout, rec);
}
int16_t wkTriggerGet(int32_t hdl, twkTrigger& rec) { return exchange(&wkapis::WKTriggerGet, hdl, triggerLayout, rec); }
int16_t wkTriggerEnumNext(int32_t enumHdl, twkTrigger& rec) {
    return exchange(&wkapis::WKTriggerEnumNext, enumHdl, triggerLayout, rec);
}
int16_t wkTableGet(int32_t hdl, twkTable& rec) { return exchange(&wkapis::WKTableGet, hdl, tableLayout, rec); }
int16_t wkTableEnumNext(int32_t enumHdl, twkTable& rec) {
    return exchange(&wkapis::WKTableEnumNext, enumHdl, tableLayout, rec);
}
int16_t wkViewGet(int32_t hdl, twkView& rec) { return exchange(&wkapis::WKViewGet, hdl, viewLayout, rec); }
int16_t wkViewEnumNext(int32_t enumHdl, twkView& rec) {
    return exchange(&wkapis::WKViewEnumNext, enumHdl, viewLayout, rec);
}
int32_t wkGetText(int32_t hdl, twkText& rec) { return exchangeText(&wkapis::WKGetText, hdl, textLayout, rec); }
int32_t wkGetSQLText(int32_t hdl, twkSQLText& rec) {
    return exchangeText(&wkapis::WKGetSQLText, hdl, sqlTextLayout, rec);
}
int32_t wkGetADOText(int32_t hdl, twkADOText& rec) {
    return exchangeText(&wkapis::WKGetADOText, hdl, adoTextLayout, rec);
}
int32_t wkConnectionGetDE(int32_t hdl, twkConnectionDE& rec) {
    return exchange(&wkapis::WKConnectionGetDE, hdl, connectionDELayout, rec);
}
int32_t wkCommandGetDE(int32_t hdl, twkCommandDE& rec) {
    return exchange(&wkapis::WKCommandGetDE, hdl, commandDELayout, rec);
}

} // namespace nimb::wkutil
