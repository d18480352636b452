#include "tools/brix/ProgressDisplay.h"

#include <gtest/gtest.h>
#include <sstream>

#include "tools/brix/scenario/Scenario.h"

using tools::ProgressDisplay;
using tools::scenario::Step;

namespace {

// What a terminal would show: erasing returns to the start of the line and clears it.
std::string shown(const std::string& written)
{
    std::string screen, line;
    for (size_t index = 0; index < written.size(); ++index) {
        if (written.compare(index, 4, "\r\033[K") == 0) {
            line.clear();
            index += 3;
        } else if (written[index] == '\n') {
            screen += line + "\n";
            line.clear();
        } else {
            line += written[index];
        }
    }
    return screen + line;
}

} // namespace

TEST(ProgressDisplay, redrawsOneLineWithTheStepsAndFramesSoFar)
{
    std::ostringstream terminal;
    ProgressDisplay progress(terminal, "brix demo", 3, 20);
    Step step;
    progress.stepPlayed(step, true);
    EXPECT_EQ(shown(terminal.str()), "brix demo: step 1 of 3 · frame 0 of 20");
    // The last frame and the last step are always drawn, however soon they come.
    for (size_t frame = 1; frame <= 20; ++frame)
        progress.frameRendered(frame, 20);
    progress.stepPlayed(step, true);
    progress.stepPlayed(step, false);
    EXPECT_EQ(shown(terminal.str()), "brix demo: step 3 of 3 · frame 20 of 20");
    progress.finish();
    EXPECT_EQ(shown(terminal.str()), "brix demo: step 3 of 3 · frame 20 of 20\n");
    // Nothing is drawn once finished, not even by the destructor.
    auto finished = terminal.str();
    progress.stepPlayed(step, true);
    progress.finish();
    EXPECT_EQ(terminal.str(), finished);
}

TEST(ProgressDisplay, putsMessagesOnLinesOfTheirOwn)
{
    std::ostringstream terminal;
    {
        ProgressDisplay progress(terminal, "brix run", 2, 0);
        Step step;
        progress.stepPlayed(step, true);
        progress.messages() << "step 1 (expect): no event matching" << 42 << "\n";
        progress.stepPlayed(step, false);
    }
    // Without frames the line counts steps only; the destructor ends it.
    EXPECT_EQ(shown(terminal.str()), "step 1 (expect): no event matching42\nbrix run: step 2 of 2\n");
}

TEST(ProgressDisplay, choosesItsStyleFromTheTerminalAndTheEnvironment)
{
    using Style = ProgressDisplay::Style;
    // Off unless standard error is a terminal, whatever the environment says.
    EXPECT_EQ(ProgressDisplay::styleFor(false, "xterm-256color", nullptr), std::nullopt);
    EXPECT_EQ(ProgressDisplay::styleFor(false, "dumb", "1"), std::nullopt);
    EXPECT_EQ(ProgressDisplay::styleFor(true, "xterm-256color", nullptr), Style::Redrawn);
    EXPECT_EQ(ProgressDisplay::styleFor(true, nullptr, nullptr), Style::Redrawn);
    // NO_COLOR counts when it is set to anything but the empty string.
    EXPECT_EQ(ProgressDisplay::styleFor(true, "xterm", "1"), Style::Plain);
    EXPECT_EQ(ProgressDisplay::styleFor(true, "xterm", ""), Style::Redrawn);
    EXPECT_EQ(ProgressDisplay::styleFor(true, "dumb", nullptr), Style::Plain);
}

TEST(ProgressDisplay, plainStyleWritesWholeLinesWithoutControlCharacters)
{
    std::ostringstream terminal;
    ProgressDisplay progress(terminal, "brix demo", 3, 20, ProgressDisplay::Style::Plain);
    Step step;
    progress.stepPlayed(step, true);
    // Within the second, only the last frame and the last step are written.
    for (size_t frame = 1; frame <= 20; ++frame)
        progress.frameRendered(frame, 20);
    progress.stepPlayed(step, true);
    progress.messages() << "brix: a failure\n";
    progress.stepPlayed(step, false);
    progress.finish();
    EXPECT_EQ(terminal.str(),
        "brix demo: step 1 of 3 · frame 0 of 20\n"
        "brix demo: step 1 of 3 · frame 20 of 20\n"
        "brix: a failure\n"
        "brix demo: step 3 of 3 · frame 20 of 20\n");
    EXPECT_EQ(terminal.str().find('\r'), std::string::npos);
    EXPECT_EQ(terminal.str().find('\033'), std::string::npos);
}
