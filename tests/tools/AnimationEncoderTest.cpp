#include "tools/brix/scenario/AnimationEncoder.h"

#include <cmath>
#include <gtest/gtest.h>

#include "platform/graphics/Canvas.h"

#include "tests/support/TempDirectory.h"
#include "tests/tools/AnimationReader.h"

using tools::scenario::AnimationEncoder;

namespace {

// A grey frame with a red square whose left edge is at `x`.
graphics::Image frameWithSquareAt(int width, int height, double x)
{
    auto image = graphics::Image::create(width, height).value();
    graphics::Canvas canvas(image);
    canvas.fill({ { 0, 0, double(width), double(height) } }, { 0.5, 0.5, 0.5, 1 });
    canvas.fill({ { x, 10, 20, 20 } }, { 0.9, 0.1, 0.1, 1 });
    canvas.flush();
    return image;
}

std::unique_ptr<AnimationEncoder> encoder(int width, int height, double rate)
{
    auto made = AnimationEncoder::create({ width, height, rate });
    EXPECT_TRUE(made) << (made ? "" : made.error().message);
    return made ? std::move(made.value()) : nullptr;
}

} // namespace

TEST(AnimationEncoder, writesEveryFrameAtItsTimeAndLoopsForever)
{
    TempDirectory folder;
    auto animation = encoder(80, 40, 30);
    ASSERT_TRUE(animation);
    for (int index = 0; index < 12; ++index)
        ASSERT_TRUE(animation->addFrame(frameWithSquareAt(80, 40, 4.0 * index)));
    EXPECT_EQ(animation->frameCount(), 12u);
    ASSERT_TRUE(animation->finish(folder.path() / "moving.webp"));

    auto read = readAnimation(folder.path() / "moving.webp", { 0, 11 });
    ASSERT_TRUE(read.ok) << read.failure;
    EXPECT_EQ(read.width, 80);
    EXPECT_EQ(read.height, 40);
    EXPECT_EQ(read.loopCount, 0u);
    EXPECT_EQ(read.declaredFrames, 12u);
    ASSERT_EQ(read.frames, 12u);
    // Frame k ends at (k + 1) / 30 s, rounded to the millisecond.
    for (size_t index = 0; index < read.timestamps.size(); ++index)
        EXPECT_EQ(read.timestamps[index], std::lround((index + 1) * 1000.0 / 30)) << "frame " << index;
    // Lossy, but the square is where each frame put it.
    auto first = read.kept.at(0).pixel(12, 20);
    auto last = read.kept.at(11).pixel(12, 20);
    auto lastSquare = read.kept.at(11).pixel(52, 20);
    EXPECT_NEAR(first.red, 230, 25);
    EXPECT_NEAR(first.green, 25, 25);
    EXPECT_NEAR(last.red, 128, 25);
    EXPECT_NEAR(lastSquare.red, 230, 25);
}

TEST(AnimationEncoder, refusesWhatItCannotWrite)
{
    // Sizes and rates WebP cannot hold.
    for (auto settings : { AnimationEncoder::Settings { 0, 10, 30 }, AnimationEncoder::Settings { 10, -1, 30 },
             AnimationEncoder::Settings { 20000, 10, 30 }, AnimationEncoder::Settings { 10, 10, 0 },
             AnimationEncoder::Settings { 10, 10, std::nan("") }, AnimationEncoder::Settings { 10, 10, 5000 } }) {
        auto made = AnimationEncoder::create(settings);
        ASSERT_FALSE(made) << settings.width << " × " << settings.height << " at " << settings.framesPerSecond;
        EXPECT_FALSE(made.error().message.empty());
    }

    // A frame of another size, an empty animation, a second finish, a folder that is a file.
    TempDirectory folder;
    auto animation = encoder(40, 40, 10);
    ASSERT_TRUE(animation);
    auto wrongSize = animation->addFrame(frameWithSquareAt(41, 40, 0));
    ASSERT_FALSE(wrongSize);
    EXPECT_NE(wrongSize.error().message.find("41 × 40"), std::string::npos) << wrongSize.error().message;
    auto empty = animation->finish(folder.path() / "empty.webp");
    ASSERT_FALSE(empty);
    EXPECT_NE(empty.error().message.find("at least one frame"), std::string::npos) << empty.error().message;
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "empty.webp"));
    EXPECT_FALSE(animation->addFrame(frameWithSquareAt(40, 40, 0)));

    auto unwritable = encoder(40, 40, 10);
    ASSERT_TRUE(unwritable);
    ASSERT_TRUE(unwritable->addFrame(frameWithSquareAt(40, 40, 0)));
    std::ofstream(folder.path() / "file") << "not a folder";
    auto finished = unwritable->finish(folder.path() / "file" / "out.webp");
    ASSERT_FALSE(finished);
    EXPECT_NE(finished.error().message.find("cannot write"), std::string::npos) << finished.error().message;
}
