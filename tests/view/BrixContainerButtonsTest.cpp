#include "tests/view/BannerScene.h"

using namespace bannertest;

namespace {

constexpr uint64_t touchUpInside = 64;
constexpr uint64_t editingDidEndOnExit = 524288;

Value titleOf(Object* button)
{
    return send<Value>(button, "titleForState:", uint64_t(0));
}

void press(Object* button)
{
    send(button, "sendActionsForControlEvents:", touchUpInside);
}

std::vector<Object*> arrangedButtons(Object* banner)
{
    std::vector<Object*> buttons;
    Value arranged = send<Value>(BannerScene::field(banner, "buttonStackView"), "arrangedSubviews");
    for (auto& item : arranged.items())
        buttons.push_back(item.object());
    return buttons;
}

BannerOptions withButtons()
{
    BannerOptions options;
    options.enableButtons = true;
    return options;
}

} // namespace

TEST(BrixContainerButtons, ordinaryRowIsCloseClearReplyAndStartsHidden)
{
    BannerScene scene;
    auto options = withButtons();
    options.canReply = true;
    options.colorMode = 1;
    auto banner = scene.showBanner("Alice", nullptr, "Hi", options);
    auto buttons = arrangedButtons(banner);
    ASSERT_EQ(buttons.size(), 3u);
    EXPECT_EQ(buttons[0], BannerScene::field(banner, "closeButton").get());
    EXPECT_EQ(buttons[1], BannerScene::field(banner, "clearButton").get());
    EXPECT_EQ(buttons[2], BannerScene::field(banner, "replyButton").get());
    EXPECT_EQ(titleOf(buttons[0]), Value("Close"));
    EXPECT_EQ(titleOf(buttons[1]), Value("Clear"));
    EXPECT_EQ(titleOf(buttons[2]), Value("Reply"));
    for (Object* button : buttons) {
        EXPECT_TRUE(BannerScene::isHidden(button));
        EXPECT_NEAR(BannerScene::layerOf(button)->cornerRadius(), 18, 1e-9);
        expectColor(BannerScene::layerOf(button)->backgroundColor(), 1, 1, 1, 0.1, "button colour");
    }
    expectColor(colorOf(send<Ref<Object>>(buttons[1], "titleColorForState:", uint64_t(0))), 1, 0, 0, 1, "delete");
    expectColor(colorOf(send<Ref<Object>>(buttons[0], "titleColorForState:", uint64_t(0))), 1, 1, 1, 1, "text");
    EXPECT_NEAR(BannerScene::alpha(BannerScene::field(banner, "buttonStackView")), 0, 1e-9);
    EXPECT_TRUE(BannerScene::isHidden(send<Ref<Object>>(banner, "reply")));
    EXPECT_NEAR(BannerScene::alpha(send<Ref<Object>>(banner, "replyBg")), 0, 1e-9);

    send(banner, "setButtonsAlpha:", 0.5);
    for (Object* button : buttons)
        EXPECT_FALSE(BannerScene::isHidden(button));
    EXPECT_NEAR(BannerScene::alpha(BannerScene::field(banner, "buttonStackView")), 0.5, 1e-9);
    send(banner, "setButtonsAlpha:", 0.0);
    for (Object* button : buttons)
        EXPECT_TRUE(BannerScene::isHidden(button));
}

TEST(BrixContainerButtons, clearAndCloseAskTheDelegate)
{
    BannerScene scene;
    auto banner = scene.showBanner("Alice", nullptr, "Hi", withButtons());
    press(BannerScene::field(banner, "clearButton"));
    press(BannerScene::field(banner, "closeButton"));
    ASSERT_EQ(scene.delegate().calls.size(), 2u);
    EXPECT_EQ(scene.delegate().calls[0].operation, "delete");
    EXPECT_EQ(scene.delegate().calls[0].view, banner.get());
    EXPECT_EQ(scene.delegate().calls[1].operation, "dismiss");
}

// An alarm without snooze has one stop button, which asks for action 0; a
// snoozable one has snooze (0) and stop (1).
TEST(BrixContainerButtons, alarmButtonsSendTheirActionIndex)
{
    BannerScene scene;
    auto options = withButtons();
    options.isAlarm = true;
    auto single = scene.showBanner("Alarm", nullptr, "07:00", options);
    auto buttons = arrangedButtons(single);
    ASSERT_EQ(buttons.size(), 1u);
    EXPECT_EQ(titleOf(buttons[0]), Value("Stop"));
    press(buttons[0]);
    ASSERT_EQ(scene.delegate().calls.size(), 1u);
    EXPECT_EQ(scene.delegate().calls[0].operation, "alarm");
    EXPECT_EQ(scene.delegate().calls[0].action, 0u);

    options.isSnoozable = true;
    auto snoozable = scene.showBanner("Alarm", nullptr, "07:00", options);
    buttons = arrangedButtons(snoozable);
    ASSERT_EQ(buttons.size(), 2u);
    EXPECT_EQ(titleOf(buttons[0]), Value("Snooze"));
    EXPECT_EQ(titleOf(buttons[1]), Value("Stop"));
    press(buttons[0]);
    press(buttons[1]);
    ASSERT_EQ(scene.delegate().calls.size(), 3u);
    EXPECT_EQ(scene.delegate().calls[1].action, 0u);
    EXPECT_EQ(scene.delegate().calls[2].action, 1u);

    send(snoozable, "setButtonsAlpha:", 1.0);
    EXPECT_FALSE(BannerScene::isHidden(buttons[0]));
    send(snoozable, "replyButtonPressed:", nullptr);
    ASSERT_TRUE(scene.advance(0.5));
    EXPECT_FALSE(*runtime::ivarPointer<bool>(snoozable, "showingReply")) << "an alarm has no reply";
    EXPECT_NEAR(BannerScene::alpha(BannerScene::field(snoozable, "buttonStackView")), 1, 1e-9);
}

TEST(BrixContainerButtons, bannerThatCannotBeAnsweredShowsADisabledOpen)
{
    BannerScene scene;
    auto banner = scene.showBanner("Alice", nullptr, "Hi", withButtons());
    auto replyButton = BannerScene::field(banner, "replyButton");
    EXPECT_EQ(titleOf(replyButton), Value("Open"));
    EXPECT_FALSE(send<bool>(replyButton, "isEnabled"));
    EXPECT_FALSE(send<bool>(replyButton, "isUserInteractionEnabled"));
    press(replyButton);
    EXPECT_TRUE(scene.delegate().calls.empty());

    auto field = send<Ref<Object>>(banner, "reply");
    ASSERT_TRUE(field);
    EXPECT_FALSE(send<bool>(field, "isEnabled"));
    EXPECT_FALSE(send<Ref<Object>>(field, "superview")) << "no reply field on screen";
    EXPECT_FALSE(send<Ref<Object>>(send<Ref<Object>>(banner, "replyBg"), "superview"));
}

// Reply: the field takes the row's place once the animation has finished,
// and the row stays away from then on.
TEST(BrixContainerButtons, replySwapsTheRowForTheField)
{
    BannerScene scene;
    auto options = withButtons();
    options.canReply = true;
    auto banner = scene.showBanner("Alice", nullptr, "Hi", options);
    auto field = send<Ref<Object>>(banner, "reply");
    auto row = BannerScene::field(banner, "buttonStackView");
    send(banner, "setButtonsAlpha:", 1.0);
    press(BannerScene::field(banner, "replyButton"));
    EXPECT_FALSE(BannerScene::isHidden(field));
    EXPECT_NEAR(BannerScene::alpha(field), 1, 1e-9);
    EXPECT_NEAR(BannerScene::alpha(row), 0, 1e-9);
    EXPECT_FALSE(*runtime::ivarPointer<bool>(banner, "showingReply"));

    ASSERT_TRUE(scene.advance(0.2));
    EXPECT_TRUE(*runtime::ivarPointer<bool>(banner, "showingReply"));
    EXPECT_TRUE(send<bool>(field, "isFirstResponder"));
    EXPECT_TRUE(BannerScene::isHidden(BannerScene::field(banner, "closeButton")));

    send(banner, "setButtonsAlpha:", 1.0);
    EXPECT_NEAR(BannerScene::alpha(row), 0, 1e-9);
    EXPECT_TRUE(BannerScene::isHidden(BannerScene::field(banner, "clearButton")));
}

// An empty reply or a single blank closes the banner; anything else is sent.
TEST(BrixContainerButtons, sendKeyRepliesOrDismisses)
{
    BannerScene scene;
    BannerOptions options;
    options.canReply = true;
    auto banner = scene.showBanner("Alice", nullptr, "Hi", options);
    auto field = send<Ref<Object>>(banner, "reply");
    for (const char* text : { " ", "", "  ", "On my way" }) {
        send(field, "setText:", Value(text));
        send(field, "sendActionsForControlEvents:", editingDidEndOnExit);
    }
    auto& calls = scene.delegate().calls;
    ASSERT_EQ(calls.size(), 4u);
    EXPECT_EQ(calls[0].operation, "dismiss");
    EXPECT_EQ(calls[1].operation, "dismiss");
    EXPECT_EQ(calls[2].operation, "reply") << "only one blank counts as empty";
    EXPECT_EQ(calls[2].text, "  ");
    EXPECT_EQ(calls[3].operation, "reply");
    EXPECT_EQ(calls[3].text, "On my way");
    EXPECT_EQ(calls[3].view, banner.get());
}

TEST(BrixContainerButtons, tapOnTheBackdropEmptiesTheFieldAndDismisses)
{
    BannerScene scene;
    BannerOptions options;
    options.canReply = true;
    auto banner = scene.showBanner("Alice", nullptr, "Hi", options);
    auto field = send<Ref<Object>>(banner, "reply");
    send(field, "setText:", Value("draft"));
    send(banner, "dismissButtonPressed:", nullptr);
    EXPECT_EQ(send<Value>(field, "text").string(), "");
    ASSERT_EQ(scene.delegate().calls.size(), 1u);
    EXPECT_EQ(scene.delegate().calls[0].operation, "dismiss");
}

TEST(BrixContainerButtons, withoutButtonsTheReplyFieldAnswersTheRowsAlpha)
{
    BannerScene scene;
    BannerOptions options;
    options.canReply = true;
    auto banner = scene.showBanner("Alice", nullptr, "Hi", options);
    EXPECT_FALSE(BannerScene::field(banner, "buttonStackView"));
    auto field = send<Ref<Object>>(banner, "reply");
    send(banner, "setButtonsAlpha:", 1.0);
    EXPECT_FALSE(BannerScene::isHidden(field));
    EXPECT_NEAR(BannerScene::alpha(send<Ref<Object>>(banner, "replyBg")), 1, 1e-9);
    send(banner, "setButtonsAlpha:", 0.0);
    EXPECT_TRUE(BannerScene::isHidden(field));
}

TEST(BrixContainerButtons, editingMakesTheWindowKeyAndFadesInTheBackdrop)
{
    BannerScene scene;
    BannerOptions options;
    options.canReply = true;
    auto banner = scene.showBanner("Alice", nullptr, "Hi", options);
    auto other = scene.makeView("UIWindow", uikit::makeRect(0, 0, 390, 844));
    send(other, "makeKeyAndVisible");
    send(send<Ref<Object>>(banner, "reply"), "sendActionsForControlEvents:", uint64_t(65536));
    EXPECT_TRUE(send<bool>(scene.window(), "isKeyWindow"));
    auto backdrop = BannerScene::field(banner, "keyboardBackdrop");
    EXPECT_FALSE(BannerScene::isHidden(backdrop));
    EXPECT_NEAR(BannerScene::alpha(backdrop), 1, 1e-9);
}

TEST(BrixContainerButtons, boldButtonsUseTheBoldFont)
{
    BannerScene scene;
    auto options = withButtons();
    options.boldButtons = true;
    auto banner = scene.showBanner("Alice", nullptr, "Hi", options);
    auto titleLabel = send<Ref<Object>>(BannerScene::field(banner, "closeButton"), "titleLabel");
    auto* font = dynamic_cast<uikit::UILabel*>(titleLabel.get())->font();
    EXPECT_TRUE(font->isBold());
    EXPECT_NEAR(font->pointSize(), 13, 1e-9);
}

// With the delegate gone the buttons do nothing.
TEST(BrixContainerButtons, buttonsWithoutADelegateDoNothing)
{
    BannerScene scene;
    auto banner = scene.showBanner("Alice", nullptr, "Hi", withButtons());
    send(banner, "setDelegate:", nullptr);
    press(BannerScene::field(banner, "clearButton"));
    press(BannerScene::field(banner, "closeButton"));
    send(banner, "finishedEditing");
    EXPECT_TRUE(scene.delegate().calls.empty());
}

// Without the asset bundle every localised text is empty.
TEST(BrixContainerButtons, missingAssetBundleLeavesTheTitlesEmpty)
{
    BannerScene scene;
    scene.removeAssetBundle();
    auto options = withButtons();
    options.canReply = true;
    auto banner = scene.showBanner("Alice", nullptr, "Hi", options);
    EXPECT_TRUE(titleOf(BannerScene::field(banner, "replyButton")).isEmptyText());
    EXPECT_TRUE(BannerScene::labelField(banner, "nowLabel")->text().isEmptyText());
    EXPECT_FALSE(BannerScene::field(banner, "lBundle"));
}
