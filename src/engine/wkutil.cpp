#include "engine/wkutil.h"

#include "engine/ansi.h"
#include "engine/wkapis.h"
#include "platform/error.h"
#include "platform/errorhandling.h"
#include "platform/variant.h"

#include <algorithm>
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

// The caller's buffer behind one string slot: its characters plus the NUL a VB string always carries
// after them, so an engine that fills the buffer and terminates it stays inside our memory.
class SlotBuffer {
public:
    static SlotBuffer fresh(size_t chars) { return SlotBuffer(std::vector<char>(chars + 1, '\0')); }
    // The string as it stands, in a buffer of at least chars characters: the engine may write the
    // slot again in full, whatever it left in it before (nothing, when it moved the slot away).
    static SlotBuffer holding(const std::string& utf8, size_t chars) {
        std::string a = ansi::toAnsi(utf8);
        a.resize(std::max(a.size(), chars), '\0');
        a.push_back('\0');
        return SlotBuffer(std::vector<char>(a.begin(), a.end()));
    }

    char* data() { return bytes_.data(); }

    // The whole buffer as the engine left it, NULs included. A slot the engine pointed elsewhere
    // (null, or memory we did not allocate) reads as empty: we never read memory that is not ours.
    std::string readBack(const char* slot) const {
        if (slot != bytes_.data()) return {};
        return ansi::fromAnsi(std::string(bytes_.begin(), bytes_.end() - 1));
    }

private:
    explicit SlotBuffer(std::vector<char> bytes) : bytes_(std::move(bytes)) {}
    std::vector<char> bytes_;
};

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

using Buffers = std::vector<SlotBuffer>;

template <class Rec, class Abi>
Buffers freshBuffers(const Layout<Rec, Abi>& layout) {
    Buffers buffers;
    for (const auto& f : layout.strings) buffers.push_back(SlotBuffer::fresh(f.size));
    return buffers;
}

// Buffers holding the record's strings as they stand, except a fresh one of textChars for the text.
template <class Rec, class Abi>
Buffers buffersForRetry(const TextLayout<Rec, Abi>& layout, const Rec& rec, size_t textChars) {
    Buffers buffers;
    for (const auto& f : layout.strings) {
        buffers.push_back(f.field == layout.text ? SlotBuffer::fresh(textChars)
                                                 : SlotBuffer::holding(rec.*f.field, f.size));
    }
    return buffers;
}

template <class Rec, class Abi>
Abi toAbi(const Layout<Rec, Abi>& layout, const Rec& rec, Buffers& buffers) {
    Abi abi{};
    for (size_t i = 0; i < layout.strings.size(); ++i) abi.*layout.strings[i].slot = buffers[i].data();
    for (const auto& f : layout.longs) abi.*f.slot = rec.*f.field;
    for (const auto& f : layout.bools) abi.*f.slot = rec.*f.field ? WK_TRUE : WK_FALSE;
    return abi;
}

template <class Rec, class Abi>
void fromAbi(const Layout<Rec, Abi>& layout, const Abi& abi, Rec& rec, const Buffers& buffers) {
    for (size_t i = 0; i < layout.strings.size(); ++i) {
        rec.*layout.strings[i].field = buffers[i].readBack(abi.*layout.strings[i].slot);
    }
    for (const auto& f : layout.longs) rec.*f.field = abi.*f.slot;
    for (const auto& f : layout.bools) rec.*f.field = abi.*f.slot != 0;
}

template <class Rec, class Abi>
void trimStrings(const Layout<Rec, Abi>& layout, Rec& rec) {
    for (const auto& f : layout.strings) trimNull(rec.*f.field);
}

template <class Result, class Rec, class Abi>
Result call(Result (*engineCall)(int32_t, Abi*), int32_t hdl, const Layout<Rec, Abi>& layout, Rec& rec,
            Buffers& buffers) {
    Abi abi = toAbi(layout, rec, buffers);
    Result result = engineCall(hdl, &abi);
    fromAbi(layout, abi, rec, buffers);
    return result;
}

template <class Result, class Rec, class Abi>
Result exchange(Result (*engineCall)(int32_t, Abi*), int32_t hdl, const Layout<Rec, Abi>& layout, Rec& rec) {
    return vb::reraise([&] {
        Buffers buffers = freshBuffers(layout);
        Result result = call(engineCall, hdl, layout, rec, buffers);
        trimStrings(layout, rec);
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
        auto textField = std::find_if(layout.strings.begin(), layout.strings.end(),
                                      [&](const auto& f) { return f.field == layout.text; });
        const auto given = static_cast<int32_t>(textField->size);
        rec.*layout.textSize = given;
        Buffers buffers = freshBuffers(layout);
        int32_t result = call(engineCall, hdl, layout, rec, buffers);
        if (rec.*layout.textSize > given) {
            buffers = buffersForRetry(layout, rec, checkedTextSize(rec.*layout.textSize) + 1);
            result = call(engineCall, hdl, layout, rec, buffers);
        }
        trimStrings(layout, rec);
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
