// The engine loader: the library's name, a missing entry point, a failed load tried again, and
// switching between the library and an in-process table. (A missing library's error is shown by the
// missing_engine scenario; every scenario loads the engine named in the environment.)
#include "engine/wkapis.h"
#include "engine/wkutil.h"
#include "platform/error.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

namespace {

using namespace nimb;

const std::string stubLibrary = NIMB_ENGINE_STUB;
const std::string missingLibrary = "/nonexistent/dir/libnimbvsadd-missing.so";

template <class F>
vb::VBError errorOf(F&& call) {
    try {
        call();
    } catch (const vb::VBError& e) {
        return e;
    }
    ADD_FAILURE() << "no error raised";
    return vb::VBError(0, "");
}

class EngineLibrary : public ::testing::Test {
protected:
    void SetUp() override {
        if (const char* v = std::getenv("NIMB_ENGINE_LIBRARY")) saved_ = v;
    }
    void TearDown() override {
        if (saved_) {
            setenv("NIMB_ENGINE_LIBRARY", saved_->c_str(), 1);
        } else {
            unsetenv("NIMB_ENGINE_LIBRARY");
        }
        wkapis::useLibrary();
    }
    static void pointAt(const std::string& path) {
        setenv("NIMB_ENGINE_LIBRARY", path.c_str(), 1);
        wkapis::useLibrary();
    }

private:
    std::optional<std::string> saved_;
};

TEST_F(EngineLibrary, NameComesFromTheEnvironmentElseThePlatformDefault) {
    unsetenv("NIMB_ENGINE_LIBRARY");
    EXPECT_EQ(wkapis::libraryName(), "libnimbvsadd.so");
    for (auto [value, name] : {std::pair{"", "libnimbvsadd.so"}, {"/opt/libother.so", "/opt/libother.so"}}) {
        setenv("NIMB_ENGINE_LIBRARY", value, 1);
        EXPECT_EQ(wkapis::libraryName(), name);
    }
}

TEST_F(EngineLibrary, MissingEntryPointRaises453NamingFunctionAndLibrary) {
    pointAt(stubLibrary);
    vb::VBError e = errorOf([] { wkapis::WKInitialize(1, "C:\\x\\", ""); });
    EXPECT_EQ(e.number(), 453);
    EXPECT_EQ(e.description(), "Can't find DLL entry point WKInitialize in " + stubLibrary);
    EXPECT_EQ(e.source(), "nimbvbadd");
    EXPECT_EQ(wkutil::getString(1), "stub 1");  // the other entries still work
}

TEST_F(EngineLibrary, AFailedLoadIsTriedAgainAndUseLibraryForgetsALoadedOne) {
    pointAt(missingLibrary);  // choosing the library loads nothing yet: the call fails
    vb::VBError e = errorOf([] { wkutil::getString(3); });
    EXPECT_EQ(e.number(), 53);
    EXPECT_EQ(e.source(), "nimbvbadd");
    setenv("NIMB_ENGINE_LIBRARY", stubLibrary.c_str(), 1);  // no useLibrary: the next call loads anew
    EXPECT_EQ(wkutil::getString(3), "stub 3");
    pointAt(missingLibrary);
    EXPECT_EQ(errorOf([] { wkutil::getString(5); }).number(), 53);
}

int32_t WKAPI tableGetString(int32_t, char* buffer, int32_t) {
    buffer[0] = 'T';
    return 1;
}

TEST_F(EngineLibrary, TableReplacesEntriesAlreadyResolvedFromTheLibrary) {
    pointAt(stubLibrary);
    EXPECT_EQ(wkutil::getString(9), "stub 9");
    wkapis::WKTerminate();
    wkapis::FunctionTable table;
    table.WKGetString = &tableGetString;
    wkapis::useTable(table);
    EXPECT_EQ(wkutil::getString(9), "T");
    vb::VBError e = errorOf([] { wkapis::WKTerminate(); });  // resolved before, absent from the table
    EXPECT_EQ(e.number(), 453);
    EXPECT_EQ(e.description(), "Can't find DLL entry point WKTerminate in the in-process engine table");
}

} // namespace
