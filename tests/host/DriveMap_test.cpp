// DriveMap: paths of the simulated machine to the programs and back to what the person sees (the
// round trip itself is every scenario's: paths given in a script come back in its transcript).
#include "DriveMap.h"
#include "HostError.h"

#include <gtest/gtest.h>

namespace {

class DriveMapTest : public ::testing::Test {
protected:
    host::DriveMap drives{"/tmp/nimbide-42"};
};

TEST_F(DriveMapTest, DrivePathsGoBelowTheRootInWindowsForm) {
    struct Case {
        const char* given;
        const char* system;
    } cases[] = {
        {"C:\\Work\\a.wkv", "\\tmp\\nimbide-42\\C\\Work\\a.wkv"},
        {"c:/Work/a.wkv", "\\tmp\\nimbide-42\\C\\Work\\a.wkv"},  // letter case and separators do not matter
        {"D:", "\\tmp\\nimbide-42\\D"},
        {"Work\\a.wkv", "Work\\a.wkv"},                            // no drive: unchanged
        {"C:a.wkv", "C:a.wkv"},                                    // drive-relative paths are no drive paths
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(drives.toSystem(c.given), c.system) << c.given;
}

TEST_F(DriveMapTest, DisplayTurnsEveryDriveFolderBackIntoItsLetter) {
    struct Case {
        const char* text;
        const char* shown;
    } cases[] = {
        {"saved as \\tmp\\nimbide-42\\C\\Work\\a.wkv.", "saved as C:\\Work\\a.wkv."},
        {"/tmp/nimbide-42/D/x and \\tmp\\nimbide-42\\C", "D:/x and C:"},
        {"WKInitialize(1, \"\\\\tmp\\\\nimbide-42\\\\C\\\\Work\", \"\")", "WKInitialize(1, \"C:\\\\Work\", \"\")"},
        {"\\tmp\\nimbide-421\\C\\x", "\\tmp\\nimbide-421\\C\\x"},  // another root that merely starts alike
        {"\\tmp\\nimbide-42\\Cabinet", "\\tmp\\nimbide-42\\Cabinet"},  // a folder, not a drive letter
        {"\\tmp\\nimbide-42", "\\tmp\\nimbide-42"},
    };
    for (const auto& c : cases) EXPECT_EQ(drives.toDisplay(c.text), c.shown) << c.text;
}

TEST_F(DriveMapTest, HostPathsStayOnTheirDrive) {
    EXPECT_EQ(drives.hostPath("C:\\Work\\.\\wk\\a.wkv"), std::filesystem::path("/tmp/nimbide-42/C/Work/wk/a.wkv"));
    EXPECT_THROW(drives.hostPath("C:\\Work\\..\\..\\etc\\passwd"), host::HostError);
    EXPECT_THROW(drives.hostPath("Work\\a.wkv"), host::HostError);
}

} // namespace
