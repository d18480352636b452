#pragma once

#include <chrono>
#include <cstddef>
#include <memory>
#include <optional>
#include <ostream>
#include <streambuf>
#include <string>

#include "tools/brix/scenario/RunObserver.h"

namespace tools {

// One line on a terminal that tells how far a run has come: "brix demo: step
// 12 of 58 · frame 340 of 1290". The line is redrawn in place, at most every
// tenth of a second and always at the last step and frame. Messages written
// to `messages()` go on lines of their own above it, so a failure printed
// during the run is not run into the progress line. On a terminal that cannot
// redraw (TERM=dumb), or when NO_COLOR asks for plain output, it writes plain
// lines instead, at most one a second and always the last.
class ProgressDisplay : public scenario::RunObserver {
public:
    enum class Style { Redrawn, Plain };

    ProgressDisplay(
        std::ostream& terminal, std::string title, size_t stepCount, size_t frameCount, Style = Style::Redrawn);
    ~ProgressDisplay() override;
    ProgressDisplay(const ProgressDisplay&) = delete;
    ProgressDisplay& operator=(const ProgressDisplay&) = delete;

    // How progress is shown on standard error: not at all unless it is a
    // terminal, in plain lines when NO_COLOR is set or TERM is dumb.
    static std::optional<Style> styleForStandardError();
    static std::optional<Style> styleFor(bool isTerminal, const char* term, const char* noColor);

    std::ostream& messages() { return m_messages; }

    void stepPlayed(const scenario::Step&, bool held) override;
    void frameRendered(size_t number, size_t total) override;
    // Draws the line a last time and ends it; nothing is drawn afterwards.
    void finish();

private:
    class MessageBuffer : public std::streambuf {
    public:
        explicit MessageBuffer(ProgressDisplay& display)
            : m_display(&display)
        {
        }

    protected:
        int_type overflow(int_type) override;
        std::streamsize xsputn(const char*, std::streamsize) override;
        int sync() override;

    private:
        ProgressDisplay* m_display;
    };

    void update(bool force);
    void clearLine();
    std::string line() const;

    std::ostream* m_terminal;
    std::string m_title;
    size_t m_stepCount;
    size_t m_frameCount;
    Style m_style;
    std::string m_lastLine;
    size_t m_stepsPlayed { 0 };
    size_t m_framesRendered { 0 };
    bool m_lineShown { false };
    bool m_finished { false };
    std::chrono::steady_clock::time_point m_lastDrawn {};
    MessageBuffer m_buffer;
    std::ostream m_messages;
};

} // namespace tools
