#include "tools/brix/demo/Demo.h"

#include <fstream>
#include <gtest/gtest.h>
#include <regex>
#include <sstream>

#include "tests/support/TempDirectory.h"
#include "tests/tools/AnimationReader.h"
#include "tools/brix/scenario/ScenarioParser.h"

using tools::demo::Demo;
using tools::scenario::FrameRecorder;
using tools::scenario::ScenarioParser;
using tools::scenario::ScenarioRunner;

namespace {

std::string readText(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

std::string percentDecoded(const std::string& url)
{
    std::string text;
    for (size_t index = 0; index < url.size(); ++index) {
        if (url[index] == '%' && index + 2 < url.size()) {
            text += static_cast<char>(std::stoi(url.substr(index + 1, 2), nullptr, 16));
            index += 2;
        } else {
            text += url[index];
        }
    }
    return text;
}

// Every src and href of the page.
std::vector<std::string> references(const std::string& html)
{
    std::vector<std::string> found;
    std::regex attribute(R"((?:src|href)\s*=\s*"([^"]*)\")");
    for (auto it = std::sregex_iterator(html.begin(), html.end(), attribute); it != std::sregex_iterator(); ++it)
        found.push_back((*it)[1]);
    return found;
}

void expectOnlyFilesOfTheFolder(const std::filesystem::path& folder)
{
    auto html = readText(folder / Demo::page);
    ASSERT_FALSE(html.empty());
    auto found = references(html);
    EXPECT_FALSE(found.empty());
    for (auto& reference : found) {
        std::filesystem::path file(percentDecoded(reference));
        EXPECT_TRUE(file.is_relative()) << reference;
        EXPECT_EQ(reference.find(':'), std::string::npos) << reference;
        EXPECT_EQ(reference.find(".."), std::string::npos) << reference;
        EXPECT_TRUE(std::filesystem::is_regular_file(folder / file)) << reference;
    }
}

tools::scenario::Scenario parsed(const std::string& text, const std::filesystem::path& folder)
{
    auto scenario = ScenarioParser::parseText(text, folder);
    if (!scenario)
        throw std::runtime_error(scenario.error().message);
    return scenario.value();
}

} // namespace

TEST(Demo, theTourPlaysWithEveryExpectationAndLeavesWhatItsPageShows)
{
    auto tour = ScenarioParser::parseFile(BRIX_DEMO_TOUR);
    ASSERT_TRUE(tour) << tour.error().message;
    TempDirectory folder;
    std::ostringstream errors;
    Demo::Options options;
    options.out = folder.path() / "demo";
    // A lower rate than the command's keeps the test short; the count follows the rate all the same.
    options.framesPerSecond = 5;
    options.errors = &errors;
    auto result = Demo(tour.value(), options).run();

    ASSERT_EQ(result.code, ScenarioRunner::Passed) << errors.str();
    EXPECT_EQ(errors.str(), "");
    EXPECT_GT(result.expectations, 20u);
    EXPECT_EQ(result.expectationsHeld, result.expectations);
    EXPECT_EQ(result.steps, tour.value().steps.size());
    expectOnlyFilesOfTheFolder(options.out);

    // As many frames as the tour lasts times the rate.
    double duration = ScenarioRunner::duration(tour.value());
    EXPECT_GT(duration, 30);
    auto animation = readAnimation(options.out / Demo::animation);
    ASSERT_TRUE(animation.ok) << animation.failure;
    EXPECT_EQ(animation.frames, static_cast<size_t>(std::ceil(duration * 5 - 1e-9)));
    EXPECT_EQ(animation.frames, result.frames);
    EXPECT_EQ(animation.declaredFrames, animation.frames);
    EXPECT_EQ(animation.timestamps.back(), static_cast<int>(animation.frames * 200));

    // One key frame per snapshot of the tour, four to a row.
    size_t snapshots = 0;
    for (auto& step : tour.value().steps) {
        if (auto* snapshot = std::get_if<tools::scenario::Snapshot>(&step.action)) {
            ++snapshots;
            EXPECT_TRUE(std::filesystem::is_regular_file(options.out / snapshot->name)) << snapshot->name;
        }
    }
    auto sheet = graphics::Image::load(options.out / Demo::sheet);
    ASSERT_TRUE(sheet) << sheet.error().message;
    int rows = static_cast<int>((snapshots + 3) / 4);
    EXPECT_EQ(sheet.value().width(), 16 + 4 * (293 + 16));
    EXPECT_EQ(sheet.value().height(), 56 + rows * (240 + 40 + 16) + 16);
}

TEST(Demo, aTourWithoutSnapshotsShowsItsStepsAndTheExpectationsThatFailed)
{
    TempDirectory folder;
    auto out = folder.path() / "demo";
    std::filesystem::create_directories(out);
    // What an earlier run left does not pass for this one's.
    std::ofstream(out / Demo::sheet) << "old";
    std::ofstream(out / Demo::animation) << "old";
    auto tour = parsed(R"({"format": 1, "steps": [
        {"notify": {"id": "a", "app": "com.apple.MobileSMS", "title": "Alice", "message": "Hi"}},
        {"expect": {"type": "banner.attached", "id": "a"}},
        {"at": 1, "tap": "banner"},
        {"expect": {"type": "app.opened", "id": "nobody"}},
        {"at": 2, "wait": 0}]})",
        folder.path());
    std::ostringstream errors;
    Demo::Options options;
    options.out = out;
    options.framesPerSecond = 4;
    options.errors = &errors;
    auto result = Demo(tour, options).run();

    EXPECT_EQ(result.code, ScenarioRunner::Failed);
    EXPECT_NE(errors.str().find("step 4 (expect)"), std::string::npos) << errors.str();
    EXPECT_EQ(result.expectations, 2u);
    EXPECT_EQ(result.expectationsHeld, 1u);
    EXPECT_EQ(result.frames, 8u);
    expectOnlyFilesOfTheFolder(out);
    auto html = readText(out / Demo::page);
    EXPECT_NE(html.find("✓ held"), std::string::npos);
    EXPECT_NE(html.find("✗ failed"), std::string::npos);
    // The two steps that do something have their pictures.
    EXPECT_TRUE(std::filesystem::is_regular_file(out / "steps/step-001.png"));
    EXPECT_TRUE(std::filesystem::is_regular_file(out / "steps/step-003.png"));
    EXPECT_FALSE(std::filesystem::exists(out / "steps/step-002.png"));
    // Those two are the key frames, in one row.
    auto sheet = graphics::Image::load(out / Demo::sheet);
    ASSERT_TRUE(sheet) << sheet.error().message;
    EXPECT_EQ(sheet.value().height(), 56 + (240 + 40 + 16) + 16);
    EXPECT_EQ(readAnimation(out / Demo::animation).frames, 8u);
}

TEST(Demo, refusesAFolderItCannotMake)
{
    TempDirectory folder;
    std::ofstream(folder.path() / "taken") << "a file, not a folder";
    auto tour = parsed(R"({"format": 1, "steps": [{"at": 1, "lock": true}]})", folder.path());
    std::ostringstream errors;
    Demo::Options options;
    options.out = folder.path() / "taken";
    options.errors = &errors;
    auto result = Demo(tour, options).run();
    EXPECT_EQ(result.code, ScenarioRunner::Refused);
    EXPECT_NE(errors.str().find("brix demo: cannot make the folder"), std::string::npos) << errors.str();
    EXPECT_TRUE(result.files.empty());
}
