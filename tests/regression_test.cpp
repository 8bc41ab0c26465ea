// Replays every file kept under tests/regressions/ through the loader drill of its folder, and
// checks the answer its expected.txt gives: taken or refused, with the reason's words.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "fuzz/loaderdrills.h"
#include "support/glfixture.h"

namespace {

namespace fs = std::filesystem;

struct Regression {
    std::string folder;
    std::string file;
    bool accepted = false;
    std::string says;  // words the refusal's reason holds
};

// Names the case in the test list instead of dumping its bytes.
void PrintTo(const Regression& entry, std::ostream* out) {
    *out << entry.folder << "/" << entry.file;
}

const fs::path kRoot = VEXMORO_REGRESSIONS;

// One line: FILE accepted, or FILE refused WORDS; '#' begins a comment line. A line that says
// neither leaves its file unlisted, which the folder check reports.
bool parseLine(const std::string& folder, const std::string& line, Regression& entry) {
    std::istringstream in(line);
    std::string verdict;
    entry = Regression();
    if (!(in >> entry.file >> verdict) || entry.file[0] == '#') return false;
    if (verdict != "accepted" && verdict != "refused") return false;
    entry.folder = folder;
    entry.accepted = verdict == "accepted";
    std::getline(in >> std::ws, entry.says);
    return true;
}

std::vector<Regression> listRegressions() {
    std::vector<Regression> all;
    for (const auto& folder : fs::directory_iterator(kRoot)) {
        std::ifstream list(folder.path() / "expected.txt");
        Regression entry;
        for (std::string line; std::getline(list, line);)
            if (parseLine(folder.path().filename().string(), line, entry)) all.push_back(entry);
    }
    return all;
}

std::string testName(const ::testing::TestParamInfo<Regression>& info) {
    std::string name = info.param.folder + "_" + info.param.file;
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    return name;
}

class RegressionReplay : public GLFixture, public ::testing::WithParamInterface<Regression> {};

TEST_P(RegressionReplay, LoaderAnswersAsExpected) {
    const Regression& entry = GetParam();
    LoaderDrill drill = drillNamed(entry.folder);
    ASSERT_NE(drill, nullptr) << "no loader for the folder " << entry.folder;
    DrillVerdict verdict = drill((kRoot / entry.folder / entry.file).string());
    EXPECT_TRUE(verdict.consistent) << verdict.reasons;
    EXPECT_EQ(entry.accepted, verdict.accepted) << verdict.reasons;
    if (!entry.accepted) {
        EXPECT_NE(verdict.reasons.find(entry.says), std::string::npos) << verdict.reasons;
    }
}

INSTANTIATE_TEST_SUITE_P(Kept, RegressionReplay, ::testing::ValuesIn(listRegressions()), testName);

// A file added without a line in expected.txt would never be replayed.
TEST(RegressionFolders, EveryFileIsListedAndEveryListedFileIsThere) {
    std::set<std::string> listed;
    for (const Regression& entry : listRegressions()) {
        listed.insert(entry.folder + "/" + entry.file);
        EXPECT_TRUE(fs::is_regular_file(kRoot / entry.folder / entry.file)) << entry.file;
        EXPECT_NE(drillNamed(entry.folder), nullptr) << entry.folder;
    }
    for (const auto& file : fs::recursive_directory_iterator(kRoot)) {
        std::string relative = fs::relative(file.path(), kRoot).generic_string();
        if (file.is_regular_file() && file.path().filename() != "expected.txt") {
            EXPECT_EQ(listed.count(relative), 1u) << relative << " has no line in expected.txt";
        }
    }
}

}  // namespace
