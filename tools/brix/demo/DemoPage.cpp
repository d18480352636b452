#include "tools/brix/demo/DemoPage.h"

#include <cstdio>
#include <sstream>

#include "platform/foundation/AtomicFile.h"
#include "platform/foundation/Encoding.h"

namespace tools::demo {

namespace {

    constexpr const char* style = R"(
body { font: 15px/1.45 -apple-system, "Inter", "DejaVu Sans", sans-serif; margin: 0; background: #f4f4f6; color: #1c1c1e; }
main { max-width: 1100px; margin: 0 auto; padding: 24px; }
h1 { margin: 0 0 4px; font-size: 28px; }
h2 { margin: 32px 0 12px; font-size: 20px; }
.summary { color: #55555a; margin: 0 0 20px; }
.media { display: flex; gap: 24px; align-items: flex-start; flex-wrap: wrap; }
.media figure { margin: 0; }
.media img { border-radius: 12px; box-shadow: 0 2px 12px rgba(0,0,0,.2); max-width: 100%; }
figcaption { color: #55555a; font-size: 13px; margin-top: 6px; }
table { border-collapse: collapse; width: 100%; background: #fff; border-radius: 10px; overflow: hidden; }
th, td { text-align: left; padding: 6px 10px; border-bottom: 1px solid #e6e6ea; vertical-align: top; }
th { background: #ececf0; font-size: 13px; }
td.time, td.number { font-variant-numeric: tabular-nums; white-space: nowrap; color: #55555a; }
td.frame img { width: 150px; height: 123px; object-fit: cover; object-position: top; border-radius: 8px; display: block; }
td.frame.repeats img { opacity: .35; }
tr.expectation td { color: #55555a; font-size: 13px; }
.held { color: #1b873f; font-weight: 600; }
.failed { color: #c62828; font-weight: 600; }
.event { font-family: ui-monospace, "DejaVu Sans Mono", monospace; font-size: 12px; }
.type { font-weight: 600; white-space: nowrap; }
.type.banner { color: #0a63c9; } .type.system { color: #7a3ec8; } .type.input { color: #8a6100; }
.type.action, .type.app, .type.messages { color: #1b873f; } .type.inspect { color: #55555a; }
details summary { cursor: pointer; }
pre { white-space: pre-wrap; margin: 4px 0; }
)";

    std::string seconds(double value)
    {
        char text[32];
        std::snprintf(text, sizeof text, "%.2f s", value);
        return text;
    }

    // The class of an event's type for the timeline's colours: its first
    // word, letters only.
    std::string typeClass(const std::string& type)
    {
        std::string word;
        for (char character : type) {
            if (character == '.')
                break;
            if ((character >= 'a' && character <= 'z') || (character >= 'A' && character <= 'Z'))
                word += character;
        }
        return word;
    }

    std::string image(const std::string& file, const std::string& alt)
    {
        return "<img src=\"" + DemoPage::fileUrl(file) + "\" alt=\"" + DemoPage::escape(alt) + "\">";
    }

    void writeMedia(std::ostream& out, const DemoPage::Content& content)
    {
        out << "<section class=\"media\">\n";
        if (!content.animation.empty()) {
            out << "<figure>" << image(content.animation, "the tour, animated")
                << "<figcaption>The whole run, at the device's own pace.</figcaption></figure>\n";
        }
        if (!content.sheet.empty()) {
            out << "<figure>" << image(content.sheet, "key frames of the tour")
                << "<figcaption>Key frames.</figcaption></figure>\n";
        }
        out << "</section>\n";
    }

    void writeSteps(std::ostream& out, const DemoPage::Content& content)
    {
        out << "<h2>Steps</h2>\n<p class=\"summary\">The top of the screen after each step (a step that changes "
               "nothing shows the picture before it, faded); open a picture for the whole "
               "screen.</p>\n<table>\n<tr><th>#</th><th>Time</th><th>Step</th><th>Result</th><th>Screen</th></tr>\n";
        for (auto& step : content.steps) {
            out << "<tr" << (step.isExpectation ? " class=\"expectation\"" : "") << "><td class=\"number\">"
                << step.number << "</td><td class=\"time\">" << seconds(step.time) << "</td><td>"
                << DemoPage::escape(step.description) << "</td><td>";
            if (step.isExpectation || !step.held)
                out << (step.held ? "<span class=\"held\">✓ held</span>" : "<span class=\"failed\">✗ failed</span>");
            out << "</td><td class=\"frame" << (step.frameRepeats ? " repeats" : "") << "\">";
            if (step.frame) {
                out << "<a href=\"" << DemoPage::fileUrl(*step.frame) << "\">"
                    << image(*step.frame, "the screen after step " + std::to_string(step.number)) << "</a>";
            }
            out << "</td></tr>\n";
        }
        out << "</table>\n";
    }

    std::string eventDetails(const scenario::Json& event)
    {
        scenario::Json rest = scenario::Json::object();
        for (auto& [key, value] : event.items()) {
            if (key != "t" && key != "type" && key != "id")
                rest[key] = value;
        }
        if (rest.empty())
            return "";
        std::string compact = rest.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
        if (compact.size() <= 160)
            return DemoPage::escape(compact);
        return "<details><summary>" + DemoPage::escape(compact.substr(0, 100)) + "…</summary><pre>"
            + DemoPage::escape(rest.dump(2, ' ', false, nlohmann::json::error_handler_t::replace)) + "</pre></details>";
    }

    void writeTimeline(std::ostream& out, const DemoPage::Content& content)
    {
        out << "<h2>Trace</h2>\n";
        if (!content.trace.empty()) {
            out << "<p class=\"summary\">Every event the device traced, in order; the same as <a href=\""
                << DemoPage::fileUrl(content.trace) << "\">" << DemoPage::escape(content.trace)
                << "</a>, one JSON object a line.</p>\n";
        }
        out << "<table class=\"event\">\n<tr><th>Time</th><th>Event</th><th>Id</th><th>Details</th></tr>\n";
        for (auto& event : content.events) {
            std::string type = event.value("type", "");
            std::string id = event.contains("id") && event["id"].is_string() ? event["id"].get<std::string>() : "";
            double time = event.contains("t") && event["t"].is_number() ? event["t"].get<double>() : 0;
            out << "<tr><td class=\"time\">" << seconds(time) << "</td><td class=\"type " << typeClass(type) << "\">"
                << DemoPage::escape(type) << "</td><td>" << DemoPage::escape(id) << "</td><td>" << eventDetails(event)
                << "</td></tr>\n";
        }
        out << "</table>\n";
    }

} // namespace

std::string DemoPage::escape(const std::string& text)
{
    std::string escaped;
    escaped.reserve(text.size());
    for (char character : text) {
        switch (character) {
        case '&':
            escaped += "&amp;";
            break;
        case '<':
            escaped += "&lt;";
            break;
        case '>':
            escaped += "&gt;";
            break;
        case '"':
            escaped += "&quot;";
            break;
        case '\'':
            escaped += "&#39;";
            break;
        default:
            escaped += character;
        }
    }
    return escaped;
}

std::string DemoPage::fileUrl(const std::string& relativePath)
{
    std::string url;
    for (char character : relativePath) {
        auto byte = static_cast<unsigned char>(character);
        bool plain = (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') || (byte >= '0' && byte <= '9')
            || byte == '-' || byte == '_' || byte == '.' || byte == '~' || byte == '/';
        if (plain) {
            url += character;
        } else {
            url += '%' + foundation::hexEncode(std::span(&byte, 1), foundation::LetterCase::Upper);
        }
    }
    return url;
}

std::string DemoPage::html(const Content& content)
{
    std::ostringstream out;
    out << "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
        << "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n<title>" << escape(content.title)
        << "</title>\n<style>" << style << "</style>\n</head>\n<body>\n<main>\n<h1>" << escape(content.title)
        << "</h1>\n<p class=\"summary\">" << escape(content.summary) << "</p>\n";
    writeMedia(out, content);
    writeSteps(out, content);
    writeTimeline(out, content);
    out << "</main>\n</body>\n</html>\n";
    return out.str();
}

foundation::Result<void> DemoPage::write(const std::filesystem::path& path, const Content& content)
{
    std::string page = html(content);
    auto written = foundation::writeFileAtomically(
        path, std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(page.data()), page.size()));
    if (!written)
        return foundation::Error { "cannot write " + path.string() + ": " + written.error().message };
    return {};
}

} // namespace tools::demo
