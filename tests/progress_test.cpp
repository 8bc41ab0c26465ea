// The progress line: only on a terminal, only after a second, at most ten a second; the
// summary always.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "offline/progress.h"

namespace {

struct Shown {
    int lines;
    std::string text;
};

// Feeds one update every `step` seconds of wall time for `seconds`.
Shown runFor(bool terminal, double seconds, double step) {
    FILE* file = std::tmpfile();
    CProgress progress(file, terminal, 1000);
    int64_t frames = 0;
    for (double t = step; t <= seconds + 1e-9; t += step) progress.update(++frames, 0.5f, t);
    progress.finish("summary");
    Shown shown{progress.linesDrawn(), ""};
    std::rewind(file);
    int c;
    while ((c = std::fgetc(file)) != EOF) shown.text += static_cast<char>(c);
    std::fclose(file);
    return shown;
}

TEST(Progress, DrawsOnlyOnATerminalAfterASecondAtMostTenTimesASecond) {
    struct Case {
        bool terminal;
        double seconds, step;
        int minLines, maxLines;
    };
    const Case cases[] = {
        {false, 5.0, 0.001, 0, 0},   // not a terminal: summary only
        {true, 0.9, 0.001, 0, 0},    // a short run: summary only
        {true, 3.0, 0.001, 19, 21},  // 2 s of display at 10 a second
        {true, 3.0, 0.5, 5, 5},      // slower updates are all drawn
    };
    for (const Case& c : cases) {
        Shown shown = runFor(c.terminal, c.seconds, c.step);
        EXPECT_GE(shown.lines, c.minLines) << c.terminal << " " << c.seconds << " " << c.step;
        EXPECT_LE(shown.lines, c.maxLines) << c.terminal << " " << c.seconds << " " << c.step;
        size_t carriageReturns = 0;
        for (char ch : shown.text) carriageReturns += ch == '\r';
        EXPECT_EQ(carriageReturns, static_cast<size_t>(shown.lines));
        std::string ending = shown.lines > 0 ? "\nsummary\n" : "summary\n";
        EXPECT_EQ(shown.text.substr(shown.text.size() - ending.size()), ending);
        if (shown.lines == 0) {
            EXPECT_EQ(shown.text, "summary\n");
        }
    }
}

TEST(Progress, LineShowsFrameRateAndTimeLeft) {
    FILE* file = std::tmpfile();
    CProgress progress(file, true, 1000);
    progress.update(200, 3.25f, 2.0);  // 100 fps, 800 frames left: 8 s
    std::rewind(file);
    char line[256] = {};
    ASSERT_NE(std::fgets(line, sizeof line, file), nullptr);
    std::fclose(file);
    std::string text = line;
    EXPECT_NE(text.find("frame 199"), std::string::npos) << text;
    EXPECT_NE(text.find("show 3.25 s"), std::string::npos) << text;
    EXPECT_NE(text.find("100.0 fps"), std::string::npos) << text;
    EXPECT_NE(text.find("0:08 left"), std::string::npos) << text;
}

}  // namespace
