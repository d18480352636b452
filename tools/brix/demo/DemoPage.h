#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/foundation/Result.h"

#include "tools/brix/scenario/Scenario.h"

namespace tools::demo {

// A step as the page lists it.
struct StepRecord {
    size_t number { 0 };
    double time { 0 };
    std::string kind;
    std::string description;
    bool isExpectation { false };
    bool held { true };
    // The picture of the screen after the step, relative to the page's folder.
    std::optional<std::string> frame;
    // The step changed nothing, and `frame` is the picture of an earlier step.
    bool frameRepeats { false };
};

// index.html of a demo: one static page, with nothing but files of its own
// folder referred to (no scripts, fonts or styles from elsewhere), so it opens
// from the disk in any browser. It shows a summary, the animation, the
// contact sheet, the steps with a picture of each, and the trace as a
// timeline.
class DemoPage {
public:
    struct Content {
        std::string title;
        std::string summary;
        // File names relative to the page's folder; empty for a file not written.
        std::string animation;
        std::string sheet;
        std::string trace;
        std::vector<StepRecord> steps;
        std::vector<scenario::Json> events;
    };

    static std::string html(const Content&);
    // Writes the page atomically; fails with the reason.
    static foundation::Result<void> write(const std::filesystem::path&, const Content&);

    // Text made safe for HTML content and attribute values.
    static std::string escape(const std::string&);
    // A relative file name made safe for a URL (each path segment percent-encoded).
    static std::string fileUrl(const std::string& relativePath);
};

} // namespace tools::demo
