#include "tests/view/BannerScene.h"

using namespace bannertest;

namespace {

using Ranges = std::vector<std::pair<uint64_t, uint64_t>>;

struct Composed {
    std::string text;
    Ranges bold;
    bool wholeLabelBold;
};

Composed compose(const Value& header, const Value& body)
{
    BannerScene scene;
    BannerOptions options;
    options.tinyBanner = true;
    options.tinyBannerFontSize = 14;
    auto banner = scene.showBanner(header, nullptr, body, options);
    auto* label = BannerScene::label(banner, "headerLabel");
    auto* font = label->font();
    return { label->text().string(), BannerScene::boldRanges(label), font && font->isBold() };
}

} // namespace

// A header and a body: "Name: body", with the name, its colon and the blank bold.
TEST(TinyBanner, headerAndBodyBecomeOneLineWithABoldName)
{
    auto plain = compose("Alice", "Hi");
    EXPECT_EQ(plain.text, "Alice: Hi");
    EXPECT_EQ(plain.bold, (Ranges { { 0, 7 } }));

    auto colonWithoutBlank = compose("Alice:", "Hi");
    EXPECT_EQ(colonWithoutBlank.text, "Alice: Hi");
    EXPECT_EQ(colonWithoutBlank.bold, (Ranges { { 0, 7 } }));

    auto manyColons = compose("Alice:::  ", "Hi");
    EXPECT_EQ(manyColons.text, "Alice: Hi");
    EXPECT_EQ(manyColons.bold, (Ranges { { 0, 7 } }));

    // The name takes the blanks before the colons; only those after them go.
    auto blanksAroundTheColon = compose("Alice Smith :  ", "Hi");
    EXPECT_EQ(blanksAroundTheColon.text, "Alice Smith : Hi");
    EXPECT_EQ(blanksAroundTheColon.bold, (Ranges { { 0, 14 } }));
}

// The name pattern takes letters, digits and blanks only; anything else
// leaves the header as it was after the colon was added.
TEST(TinyBanner, headerWithOtherCharactersKeepsItsSeparator)
{
    auto fullStop = compose("Dr. Who", "Hi");
    EXPECT_EQ(fullStop.text, "Dr. Who: Hi");
    EXPECT_EQ(fullStop.bold, (Ranges { { 0, 9 } }));

    auto fullStopWithColons = compose("Dr. Who::", "Hi");
    EXPECT_EQ(fullStopWithColons.text, "Dr. Who::Hi");
    EXPECT_EQ(fullStopWithColons.bold, (Ranges { { 0, 9 } }));
}

// Bold ranges count UTF-16 units: an emoji takes two, an accented letter one.
TEST(TinyBanner, boldRangesCountUtf16Units)
{
    auto accent = compose("Zoë", "Hi");
    EXPECT_EQ(accent.text, "Zoë: Hi");
    EXPECT_EQ(accent.bold, (Ranges { { 0, 5 } }));

    auto emoji = compose("😀 Ann", "Hi");
    EXPECT_EQ(emoji.text, "😀 Ann: Hi");
    EXPECT_EQ(emoji.bold, (Ranges { { 0, 8 } }));

    auto emojiBody = compose("", "😀\nHello");
    EXPECT_EQ(emojiBody.text, "😀: Hello");
    EXPECT_EQ(emojiBody.bold, (Ranges { { 0, 3 } }));
}

// Without a header the body speaks for itself.
TEST(TinyBanner, bodyAloneIsSplitAtItsFirstColonOrLineBreak)
{
    auto lineBreak = compose("", "Bob\nHello\nAgain");
    EXPECT_EQ(lineBreak.text, "Bob: Hello\nAgain");
    EXPECT_EQ(lineBreak.bold, (Ranges { { 0, 4 } }));

    auto colon = compose(nullptr, "Bob: Hello");
    EXPECT_EQ(colon.text, "Bob: Hello");
    EXPECT_EQ(colon.bold, (Ranges { { 0, 4 } }));

    auto plain = compose(nullptr, "Hello");
    EXPECT_EQ(plain.text, "Hello");
    EXPECT_TRUE(plain.bold.empty());
    EXPECT_FALSE(plain.wholeLabelBold);
}

TEST(TinyBanner, headerWithoutBodyIsBold)
{
    auto headerOnly = compose("Alice", "");
    EXPECT_EQ(headerOnly.text, "Alice");
    EXPECT_TRUE(headerOnly.wholeLabelBold);

    auto nothing = compose(nullptr, nullptr);
    EXPECT_EQ(nothing.text, "");
}

TEST(TinyBanner, composedHeaderIsKeptAndFontsUseTheTinySize)
{
    BannerScene scene;
    BannerOptions options;
    options.tinyBanner = true;
    options.tinyBannerFontSize = 14;
    auto banner = scene.showBanner("Alice", nullptr, "Hi", options);
    EXPECT_EQ(*runtime::ivarPointer<Value>(banner, "header"), Value("Alice: "));
    EXPECT_EQ(send<Value>(banner, "originalHeader"), Value("Alice"));
    auto attributed = BannerScene::label(banner, "headerLabel")->attributedText();
    ASSERT_TRUE(attributed);
    for (auto& run : attributed->attributeRuns()) {
        auto* font = dynamic_cast<uikit::UIFont*>(run.value.object());
        ASSERT_NE(font, nullptr);
        EXPECT_NEAR(font->pointSize(), 14, 1e-9);
    }
}
