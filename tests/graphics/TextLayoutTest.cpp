#include "platform/graphics/TextLayout.h"

#include <cmath>
#include <gtest/gtest.h>

#include "platform/graphics/TextMeasurementCache.h"

using graphics::Font;
using graphics::FontWeight;
using graphics::TextAlignment;
using graphics::TextLayout;
using graphics::TextMetrics;
using graphics::TextRange;

namespace {

const std::string longText = "The quick brown fox jumps over the lazy dog while the band plays on and on until "
                             "the evening comes and everybody goes home to sleep.";

TextMetrics measure(std::string text, double width, int64_t lines = 0, Font font = Font(17))
{
    TextLayout layout(std::move(text), font);
    layout.setWidth(width);
    layout.setMaximumLines(lines);
    return layout.measure();
}

} // namespace

TEST(TextLayout, wrapsIntoMoreLinesAtANarrowerWidth)
{
    TextMetrics wide = measure(longText, 320);
    TextMetrics narrow = measure(longText, 120);
    EXPECT_GE(wide.lineCount, 2);
    EXPECT_GT(narrow.lineCount, wide.lineCount);
    EXPECT_GT(narrow.height, wide.height);
    EXPECT_LE(narrow.width, 120.0);
    // Lines of one font are all of one height.
    EXPECT_NEAR(narrow.height / narrow.lineCount, wide.height / wide.lineCount, 0.01);

    // Without a bounded width only line breaks start lines.
    EXPECT_EQ(measure(longText, 0).lineCount, 1);
    EXPECT_EQ(measure("one\ntwo\nthree", -5).lineCount, 3);
    EXPECT_EQ(measure("one\ntwo\nthree", NAN).lineCount, 3);
    // A word longer than the width breaks inside itself.
    EXPECT_GT(measure("Supercalifragilisticexpialidocious", 40).lineCount, 1);
    EXPECT_EQ(measure("", 100).lineCount, 0);
    EXPECT_EQ(measure("", 100).height, 0);
}

TEST(TextLayout, limitsTheLinesItTakes)
{
    TextMetrics all = measure(longText, 120);
    ASSERT_GT(all.lineCount, 3);
    TextMetrics two = measure(longText, 120, 2);
    EXPECT_EQ(two.lineCount, 2);
    EXPECT_NEAR(two.height, all.height / all.lineCount * 2, 0.5);
    EXPECT_EQ(measure(longText, 120, 1).lineCount, 1);
    // The limit counts lines across paragraphs, not per paragraph.
    EXPECT_EQ(measure("a\nb\nc\nd", 100, 2).lineCount, 2);
    EXPECT_EQ(measure("a\nb\nc\nd", 0, 3).lineCount, 3);
    // A limit above what the text needs changes nothing; none below zero exists.
    EXPECT_EQ(measure(longText, 120, 1000), all);
    EXPECT_EQ(measure(longText, 120, -4), all);
}

TEST(TextLayout, boldRangesCountUtf16UnitsPastCharactersOutsideThePlane)
{
    // "xyz😀" then "abc": the emoji is two UTF-16 units, so "abc" is the range
    // {5, 3}. Runs of different fonts shape separately, so the widths add up.
    const std::string text = "xyz😀abc";
    TextLayout partlyBold(text, Font(17));
    partlyBold.addBoldRange(TextRange { 5, 3 });
    TextLayout plainHead("xyz😀", Font(17));
    TextLayout boldTail("abc", Font(17, FontWeight::Bold));
    TextLayout plainTail("abc", Font(17));
    double expected = plainHead.measure().width + boldTail.measure().width;
    ASSERT_GT(boldTail.measure().width - plainTail.measure().width, 0.3);
    EXPECT_NEAR(partlyBold.measure().width, expected, 0.05);

    TextLayout allPlain(text, Font(17));
    EXPECT_LT(allPlain.measure().width, partlyBold.measure().width - 0.3);
}

TEST(TextLayout, laterRunsWinWhereRunsOverlap)
{
    TextLayout layered("abcdef", Font(17));
    layered.addBoldRange(TextRange { 0, 6 });
    layered.addRun(TextRange { 0, 6 }, Font(17));
    TextLayout plain("abcdef", Font(17));
    EXPECT_NEAR(layered.measure().width, plain.measure().width, 0.01);

    TextLayout larger("abcdef", Font(17));
    larger.addRun(TextRange { 3, 3 }, Font(34));
    EXPECT_GT(larger.measure().height, plain.measure().height * 1.5);
}

TEST(TextLayout, fontSizesOutsideTheUsableRangeAreClampedAndNeverFail)
{
    EXPECT_EQ(Font(-12).size(), 0);
    EXPECT_EQ(Font(NAN).size(), 0);
    EXPECT_EQ(Font(1e9).size(), Font::maximumSize);
    EXPECT_EQ(Font(INFINITY).size(), Font::maximumSize);
    TextMetrics none = measure("Hello", 200, 0, Font(-12));
    EXPECT_EQ(none.lineCount, 1);
    EXPECT_NEAR(none.height, 0, 0.01);
    TextMetrics huge = measure("Hello there", 300, 2, Font(1e9));
    EXPECT_EQ(huge.lineCount, 2);
    EXPECT_TRUE(std::isfinite(huge.height));
}

TEST(TextLayout, prefersInterAndFallsBackToAnInstalledFamily)
{
    std::string system = Font(17).resolvedFamily();
    EXPECT_FALSE(system.empty());
    // A family that does not exist falls back the same way, never to nothing.
    EXPECT_EQ(Font(17, FontWeight::Regular, "No Such Family 9000").resolvedFamily(), system);
    EXPECT_EQ(Font(-3).resolvedFamily(), system);
}

TEST(TextLayout, acceptsTextThatIsNotWellFormed)
{
    TextLayout layout("bad \xff\xfe bytes", Font(17));
    EXPECT_EQ(layout.measure().lineCount, 1);
    EXPECT_GT(layout.measure().width, 0);
}

TEST(TextLayout, repeatedMeasurementComesFromTheCacheAndChangesAreSeen)
{
    auto& cache = graphics::TextMeasurementCache::current();
    TextLayout layout(longText + " (cache)", Font(15));
    layout.setWidth(140);
    TextMetrics first = layout.measure();
    uint64_t hits = cache.hitCount();
    uint64_t misses = cache.missCount();
    EXPECT_EQ(layout.measure(), first);
    EXPECT_EQ(cache.hitCount(), hits + 1);
    EXPECT_EQ(cache.missCount(), misses);

    layout.setWidth(70);
    EXPECT_GT(layout.measure().lineCount, first.lineCount);
    layout.setWidth(140);
    layout.setFont(Font(30));
    EXPECT_GT(layout.measure().height, first.height);
}

TEST(TextLayout, cacheEvictsTheLeastRecentlyUsedEntries)
{
    graphics::TextMeasurementCache cache(2);
    TextLayout a("a", Font(17)), b("b", Font(17)), c("c", Font(17));
    cache.entryFor(a);
    cache.entryFor(b);
    cache.entryFor(a);
    cache.entryFor(c); // b goes
    EXPECT_EQ(cache.size(), 2u);
    uint64_t misses = cache.missCount();
    cache.entryFor(a);
    EXPECT_EQ(cache.missCount(), misses);
    cache.entryFor(b);
    EXPECT_EQ(cache.missCount(), misses + 1);
}
