// Where the program looks for its data: beside itself, then the installed folder relative to
// itself, with --root above both, and one message naming every place when none holds data/.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "show/dataroot.h"
#include "support/scratchdir.h"

namespace fs = std::filesystem;

namespace {

const char kInstalled[] = "../share/games/vexmoro";

struct Layout {
    const char* what;
    bool besideData;     // games/data exists
    bool installedData;  // share/games/vexmoro/data exists
    const char* named;   // --root, relative to the scratch folder; "" for none
    const char* found;   // the root chosen, relative to the scratch folder; nullptr: none
};

const Layout kLayouts[] = {
    {"build folder or unpacked copy", true, false, "", "games"},
    {"installed", false, true, "", "share/games/vexmoro"},
    {"beside wins over installed", true, true, "", "games"},
    {"--root wins over both", true, true, "elsewhere", "elsewhere"},
    {"--root is taken as named, data/ or not", false, false, "elsewhere", "elsewhere"},
    {"nothing anywhere", false, false, "", nullptr},
};

}  // namespace

TEST(DataRoot, LooksBesideThenInstalledAndNamedWins) {
    for (const Layout& layout : kLayouts) {
        ScratchDir scratch("dataroot");
        ASSERT_FALSE(scratch.path.empty());
        const fs::path top = scratch.path;
        fs::create_directories(top / "games");
        if (layout.besideData) fs::create_directories(top / "games/data");
        if (layout.installedData) fs::create_directories(top / "share/games/vexmoro/data");
        const std::string named = *layout.named ? (top / layout.named).string() : "";

        // The trailing separator is how the system reports the program's folder.
        fs::path root;
        std::string error;
        bool ok = CDataRoot(top / "games/", kInstalled).find(named, root, error);
        if (layout.found == nullptr) {
            EXPECT_FALSE(ok) << layout.what;
            EXPECT_NE(error.find((top / "games/data").string() + " and "), std::string::npos)
                << error;
            EXPECT_NE(error.find((top / "share/games/vexmoro/data").string()), std::string::npos)
                << error;
            EXPECT_EQ(error.find(".."), std::string::npos) << error;
        } else {
            EXPECT_TRUE(ok) << layout.what << ": " << error;
            EXPECT_EQ(root, top / layout.found) << layout.what;
        }
    }
}

// On a one-folder layout (Windows) the installed root is the program's folder: looked at once.
TEST(DataRoot, OneFolderLayoutsAreLookedAtOnce) {
    EXPECT_EQ(CDataRoot("/opt/vexmoro/", "").candidates(), (std::vector<fs::path>{"/opt/vexmoro"}));
    EXPECT_EQ(CDataRoot("/usr/games/", kInstalled).candidates(),
              (std::vector<fs::path>{"/usr/games", "/usr/share/games/vexmoro"}));
    fs::path root;
    std::string error;
    EXPECT_FALSE(CDataRoot("", kInstalled).find("", root, error));
    EXPECT_NE(error.find("cannot tell"), std::string::npos) << error;
}
