#include "tools/brix/ProgressDisplay.h"

#include <cstdlib>
#include <unistd.h>

namespace tools {

namespace {

    constexpr auto redrawInterval = std::chrono::milliseconds(100);
    constexpr auto plainInterval = std::chrono::seconds(1);
    // Back to the start of the line, and erase it.
    constexpr const char* eraseLine = "\r\033[K";

} // namespace

ProgressDisplay::ProgressDisplay(
    std::ostream& terminal, std::string title, size_t stepCount, size_t frameCount, Style style)
    : m_terminal(&terminal)
    , m_title(std::move(title))
    , m_stepCount(stepCount)
    , m_frameCount(frameCount)
    , m_style(style)
    , m_buffer(*this)
    , m_messages(&m_buffer)
{
}

ProgressDisplay::~ProgressDisplay()
{
    finish();
}

std::optional<ProgressDisplay::Style> ProgressDisplay::styleForStandardError()
{
    return styleFor(isatty(STDERR_FILENO) == 1, std::getenv("TERM"), std::getenv("NO_COLOR"));
}

std::optional<ProgressDisplay::Style> ProgressDisplay::styleFor(bool isTerminal, const char* term, const char* noColor)
{
    if (!isTerminal)
        return std::nullopt;
    if ((noColor && *noColor) || (term && std::string_view(term) == "dumb"))
        return Style::Plain;
    return Style::Redrawn;
}

std::string ProgressDisplay::line() const
{
    std::string text = m_title + ": step " + std::to_string(m_stepsPlayed) + " of " + std::to_string(m_stepCount);
    if (m_frameCount > 0)
        text += " · frame " + std::to_string(m_framesRendered) + " of " + std::to_string(m_frameCount);
    return text;
}

void ProgressDisplay::stepPlayed(const scenario::Step&, bool)
{
    ++m_stepsPlayed;
    update(m_stepsPlayed == m_stepCount);
}

void ProgressDisplay::frameRendered(size_t number, size_t total)
{
    m_framesRendered = number;
    m_frameCount = total;
    update(number == total);
}

void ProgressDisplay::update(bool force)
{
    if (m_finished)
        return;
    auto now = std::chrono::steady_clock::now();
    if (m_style == Style::Plain) {
        auto text = line();
        bool drawnBefore = !m_lastLine.empty();
        if (text == m_lastLine || (!force && drawnBefore && now - m_lastDrawn < plainInterval))
            return;
        *m_terminal << text << '\n' << std::flush;
        m_lastLine = std::move(text);
        m_lastDrawn = now;
        return;
    }
    if (!force && m_lineShown && now - m_lastDrawn < redrawInterval)
        return;
    *m_terminal << eraseLine << line() << std::flush;
    m_lineShown = true;
    m_lastDrawn = now;
}

void ProgressDisplay::clearLine()
{
    if (!m_lineShown)
        return;
    *m_terminal << eraseLine;
    m_lineShown = false;
}

void ProgressDisplay::finish()
{
    if (m_finished)
        return;
    update(true);
    if (m_style == Style::Redrawn)
        *m_terminal << '\n' << std::flush;
    m_lineShown = false;
    m_finished = true;
}

ProgressDisplay::MessageBuffer::int_type ProgressDisplay::MessageBuffer::overflow(int_type character)
{
    if (traits_type::eq_int_type(character, traits_type::eof()))
        return traits_type::not_eof(character);
    char text = traits_type::to_char_type(character);
    xsputn(&text, 1);
    return character;
}

std::streamsize ProgressDisplay::MessageBuffer::xsputn(const char* text, std::streamsize count)
{
    m_display->clearLine();
    m_display->m_terminal->write(text, count);
    return count;
}

int ProgressDisplay::MessageBuffer::sync()
{
    m_display->m_terminal->flush();
    return 0;
}

} // namespace tools
