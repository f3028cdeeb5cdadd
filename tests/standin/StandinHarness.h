// The stand-in engine as its tests meet it: the built library loaded with dlopen, every function
// looked up by name, and small helpers that speak the engine's protocol (drain the notification
// queue, read a text with the second call, records with the add-in's buffer sizes and canaries).
#pragma once

#include "engine/wkabi.h"
#include "standin_api.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <dlfcn.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace standin_test {

// clang-format off
#define STANDIN_FUNCTIONS(X) \
    X(WKInitialize) X(WKTerminate) X(WKGetString) X(WKGetStringP1) X(WKGetStringP2) X(WKGetNotification) \
    X(WKGetText) X(WKGetSQLText) X(WKGetADOText) X(WKButtonDoAction) X(WKConnectionGetDE) \
    X(WKCommandGetDE) X(WKProjectGet) X(WKConnectionGet) X(WKProcedureGet) X(WKFunctionGet) \
    X(WKTriggerGet) X(WKTableGet) X(WKViewGet) X(WKProcedureEnumBegin) X(WKProcedureEnumNext) \
    X(WKProcedureEnumEnd) X(WKFunctionEnumBegin) X(WKFunctionEnumNext) X(WKFunctionEnumEnd) \
    X(WKTriggerEnumBegin) X(WKTriggerEnumNext) X(WKTriggerEnumEnd) X(WKTableEnumBegin) X(WKTableEnumNext) \
    X(WKTableEnumEnd) X(WKViewEnumBegin) X(WKViewEnumNext) X(WKViewEnumEnd) X(WKSetCurrentFolder) \
    X(WKObjectDoAction) X(WKObjectDoGetADO) X(WKConnectionDoGetDE) X(WKCommandDoGetDE) \
    X(WKProjectDoAccess) X(WKLaunchApp) X(WKLaunchNIMBTool) X(WKDoTestAction) X(WKMgrInitialize) \
    X(WKMgrTerminate) X(WKMgrSendData) X(WKMgrRecvData) X(WKGetFontInfo) X(WKGetSplashScreenBMPName) \
    X(WKBuildSQLStatement) X(WKParameterDEEnumBegin) X(WKParameterDEEnumNext) X(WKParameterDEEnumEnd) \
    X(WKObjectDoPaste) X(WKConnectionEnumBegin) X(WKConnectionEnumNext) X(WKConnectionEnumEnd) \
    X(WKSI_Reset) X(WKSI_GetJournal) X(WKSI_ClearJournal) X(WKSI_PendingNotifications) \
    X(WKSI_InjectNotification) X(WKSI_InjectText) X(WKSI_InjectSQLText) X(WKSI_InjectADOText) \
    X(WKSI_InjectDEConnection) X(WKSI_InjectDECommand) X(WKSI_InjectObjectAdded) \
    X(WKSI_InjectObjectChanged) X(WKSI_InjectObjectRemoved) X(WKSI_GenerateObjects) X(WKSI_FindHandle) X(WKSI_WaitIdle)
// clang-format on

struct Api {
#define STANDIN_POINTER(name) decltype(&::name) name = nullptr;
    STANDIN_FUNCTIONS(STANDIN_POINTER)
#undef STANDIN_POINTER
};

// The library, loaded once per test program; a missing function fails loudly at the first use.
inline const Api& api() {
    static const Api loaded = [] {
        Api a;
        void* lib = dlopen(NIMB_STANDIN_LIBRARY, RTLD_NOW | RTLD_LOCAL);
        if (!lib)
            throw std::runtime_error(std::string("cannot load the stand-in engine: ") + dlerror());
#define STANDIN_LOOKUP(name)                                                                                 \
    a.name = reinterpret_cast<decltype(&::name)>(dlsym(lib, #name));                                         \
    if (!a.name)                                                                                             \
        throw std::runtime_error("the stand-in engine does not export " #name);
        STANDIN_FUNCTIONS(STANDIN_LOOKUP)
#undef STANDIN_LOOKUP
        return a;
    }();
    return loaded;
}

// Caller buffers with eight canary bytes behind each, as a C caller would hand them over.
class Slots {
  public:
    static constexpr char canary = '\x5A';

    char* add(size_t size, char fill = '\0') {
        auto buf = std::make_unique<std::vector<char>>(size + 8, canary);
        std::fill(buf->begin(), buf->begin() + static_cast<std::ptrdiff_t>(size), fill);
        sizes_.push_back(size);
        buffers_.push_back(std::move(buf));
        return buffers_.back()->data();
    }
    bool intact() const {
        for (size_t i = 0; i < buffers_.size(); ++i)
            for (size_t j = sizes_[i]; j < sizes_[i] + 8; ++j)
                if ((*buffers_[i])[j] != canary)
                    return false;
        return true;
    }

  private:
    std::vector<std::unique_ptr<std::vector<char>>> buffers_;
    std::vector<size_t> sizes_;
};

// Records whose string slots have the add-in's wrapper sizes.
struct ProcedureRec {
    Slots slots;
    twkProcedure_abi rec{};
    explicit ProcedureRec(char f = '\0') {
        for (auto [slot, size] :
             {std::pair{&rec.strSchema, 256}, {&rec.strName, 1024}, {&rec.strSpecific, 1024},
              {&rec.strParameters, 1024}, {&rec.strLanguage, 256}, {&rec.strSQLPackage, 256},
              {&rec.strComment, 256}, {&rec.strFileName, 1024}})
            *slot = slots.add(static_cast<size_t>(size), f);
    }
};

struct FunctionRec {
    Slots slots;
    twkFunction_abi rec{};
    FunctionRec() {
        for (auto [slot, size] :
             {std::pair{&rec.strSchema, 256}, {&rec.strName, 256}, {&rec.strSpecific, 1024},
              {&rec.strParameters, 1024}, {&rec.strResult, 1024}, {&rec.strLanguage, 256},
              {&rec.strComment, 256}, {&rec.strFileName, 1024}})
            *slot = slots.add(static_cast<size_t>(size));
    }
};

struct TableRec {
    Slots slots;
    twkTable_abi rec{};
    explicit TableRec(char f = '\0') {
        for (char** slot : {&rec.strSchema, &rec.strName, &rec.strTableSpace, &rec.strComment})
            *slot = slots.add(256, f);
    }
};

struct ConnectionRec {
    Slots slots;
    twkConnection_abi rec{};
    ConnectionRec() { rec.strDatabase = slots.add(256); }
};

struct ProjectRec {
    Slots slots;
    twkProject_abi rec{};
    ProjectRec() {
        rec.strName = slots.add(256);
        rec.strPath = slots.add(1024);
    }
};

struct Text {
    int32_t result = 0;
    int32_t type = 0;
    std::string text;
    std::string buttons;
};

// A text as the add-in's wrapper reads it: 4096 characters first, then the size the engine asks.
inline Text readText(int32_t hdl) {
    std::vector<char> text(4096, '\0'), buttons(256, '\0');
    twkText_abi rec{text.data(), 4096, 0, buttons.data()};
    Text out;
    out.result = api().WKGetText(hdl, &rec);
    if (rec.lTextSz > 4096) {
        text.assign(static_cast<size_t>(rec.lTextSz) + 1, '\0');
        rec.strText = text.data();
        out.result = api().WKGetText(hdl, &rec);
    }
    out.type = rec.lTextType;
    out.text = text.data();
    out.buttons = buttons.data();
    return out;
}

// Every notification waiting, in order (the empty record at the end is not included); the work
// of live connections is let finish first, as a host in virtual time does.
inline std::vector<twkNotify_abi> drain() {
    EXPECT_EQ(api().WKSI_WaitIdle(60000), 1) << "the engine's live work did not finish";
    std::vector<twkNotify_abi> all;
    for (int guard = 0; guard < 100000; ++guard) {
        twkNotify_abi n{};
        wkBool more = WK_FALSE;
        api().WKGetNotification(&n, &more);
        if (n.lNotifyType != 0)
            all.push_back(n);
        if (!more)
            break;
    }
    return all;
}

// The texts among notifications, read at once.
inline std::vector<Text> textsOf(const std::vector<twkNotify_abi>& notes) {
    std::vector<Text> texts;
    for (auto& n : notes)
        if (n.lNotifyType == 2)
            texts.push_back(readText(n.lObjectHdl));
    return texts;
}

inline std::string engineString(int32_t id) {
    char buf[1024] = {};
    int32_t n = api().WKGetString(id, buf, sizeof buf);
    return std::string(buf, n > 0 ? static_cast<size_t>(n) : 0);
}

inline std::string journal() {
    int32_t size = api().WKSI_GetJournal(nullptr, 0);
    std::vector<char> buf(static_cast<size_t>(size) + 1);
    api().WKSI_GetJournal(buf.data(), size + 1);
    return buf.data();
}

inline int32_t find(int32_t type, const char* name) { return api().WKSI_FindHandle(type, name); }

// The names a procedure folder lists, and whether it said it was filtered.
inline std::vector<std::string> procedureNames(int32_t folder, wkBool* filteredOut = nullptr) {
    wkBool filtered = 99;
    int32_t e = -1;
    std::vector<std::string> names;
    if (api().WKProcedureEnumBegin(folder, &filtered, &e)) {
        ProcedureRec r;
        while (api().WKProcedureEnumNext(e, &r.rec))
            names.push_back(r.rec.strName);
    }
    api().WKProcedureEnumEnd(e);
    if (filteredOut)
        *filteredOut = filtered;
    return names;
}

using ::testing::AllOf;
using ::testing::HasSubstr;
using ::testing::Not;
using Names = std::vector<std::string>;

// A small project with something of every kind: routines in several languages, dirty, debuggable,
// a system procedure for the filter, and a second connection that is not connected.
constexpr const char* sampleProject = R"(wkv 1
project = Shop

[connection]
database = SHOPDB
connected = true
connectionString = DSN=SHOPDB

[procedure]
name = P_DEBUG
schema = APP
parameters = (IN A INTEGER, OUT B VARCHAR(20))
language = SQL
resultSets = 2
file = src/P_DEBUG.sql
canDebug = true

[procedure]
name = P_DIRTY
schema = APP
language = Java
file = src/P_DIRTY.java
dirty = true

[procedure]
name = P_COBOL
schema = APP
language = COBOL

[procedure]
name = SYSPROC1
schema = SYSPROC
language = SQL

[function]
name = F1
schema = APP
result = INTEGER
language = SQL
file = src/F1.sql

[trigger]
name = T1
schema = APP
tableSchema = APP
tableName = ITEMS
file = src/T1.sql

[table]
name = ITEMS
schema = APP
type = 3
row = 1 | one

[view]
name = V1
schema = APP

[connection]
database = OFFDB
connected = false

[procedure]
name = Q1
schema = OFF
language = SQL
)";

// Each test starts from a fresh engine and a folder of its own.
class StandinTest : public ::testing::Test {
  protected:
    void SetUp() override {
        api().WKSI_Reset();
        static int counter = 0;
        dir_ = std::filesystem::temp_directory_path() /
               ("standin-test-" + std::to_string(getpid()) + "-" + std::to_string(++counter));
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override {
        api().WKSI_Reset();
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }

    std::string path(const std::string& relative) const { return (dir_ / relative).string(); }

    void write(const std::string& relative, const std::string& contents) const {
        std::filesystem::create_directories((dir_ / relative).parent_path());
        std::ofstream(dir_ / relative, std::ios::binary) << contents;
    }

    static std::string readFile(const std::string& file) {
        std::ifstream in(file, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    // WKProjectDoAccess as the add-in calls it, with the name in a buffer the engine may change.
    std::vector<twkNotify_abi> access(const std::string& name, const std::string& folder, int32_t code) {
        std::vector<char> n(name.begin(), name.end()), p(folder.begin(), folder.end());
        n.push_back('\0');
        p.push_back('\0');
        api().WKProjectDoAccess(n.data(), p.data(), code);
        return drain();
    }

    // Writes the sample project and its sources and opens it; returns the project's handle.
    int32_t openSample() {
        write("shop.wkv", sampleProject);
        write("src/P_DEBUG.sql",
              "CREATE PROCEDURE APP.P_DEBUG (IN A INTEGER, OUT B VARCHAR(20))\nBEGIN\nEND\n");
        write("src/P_DIRTY.java", "public class P_DIRTY {}\n");
        write("src/F1.sql", "CREATE FUNCTION APP.F1 () RETURNS INTEGER RETURN 1\n");
        write("src/T1.sql",
              "CREATE TRIGGER APP.T1 AFTER INSERT ON APP.ITEMS FOR EACH ROW BEGIN ATOMIC END\n");
        access(path("shop.wkv"), "", 2);
        return find(5, "");
    }

    std::filesystem::path dir_;
};

} // namespace standin_test
