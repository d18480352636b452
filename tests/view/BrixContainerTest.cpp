#include "tests/view/BannerScene.h"

using namespace bannertest;

namespace {

Value glyphTable(BannerScene& scene)
{
    return send<Value>(scene.runtime().classNamed("BrixContainer"), "pfpBundles");
}

} // namespace

TEST(BrixContainer, constructionKeepsTheTextsAndBuildsNothing)
{
    BannerScene scene;
    auto image = scene.makeImage();
    auto banner = scene.makeBanner("Alice", "Project", "Hi", {}, image);
    EXPECT_EQ(send<Rect>(banner, "frame"), Rect {});
    EXPECT_EQ(send<Value>(banner, "originalHeader"), Value("Alice"));
    EXPECT_EQ(*runtime::ivarPointer<Value>(banner, "originalBody"), Value("Hi"));
    EXPECT_EQ(BannerScene::field(banner, "image").get(), image.get());
    EXPECT_TRUE(BannerScene::field(banner, "lBundle")) << "the asset bundle is installed";
    EXPECT_TRUE(BannerScene::subviews(banner).empty());

    auto empty = send<Ref<Object>>(runtime::alloc(scene.runtime().classNamed("BrixContainer")),
        "initWithUIImage:andHeader:andSubHeader:andBody:", nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(empty);
    EXPECT_TRUE(send<Value>(empty, "originalHeader").isNil());
    scene.show(empty);
    EXPECT_TRUE(send<Ref<Object>>(empty, "headerLabel")) << "a banner without texts is laid out all the same";
}

TEST(BrixContainer, propertiesKeepWhatTheyAreGiven)
{
    BannerScene scene;
    BannerOptions options;
    options.appSize = 45;
    options.textAlignment = 3;
    options.tinyBannerFontSize = -4;
    auto banner = scene.makeBanner("Alice", nullptr, "Hi", options);
    EXPECT_EQ(send<int64_t>(banner, "appSize"), 45);
    EXPECT_EQ(send<uint64_t>(banner, "textAlignment"), 3u);
    EXPECT_EQ(send<int64_t>(banner, "tinyBannerFontSize"), -4);
    EXPECT_EQ(send<Value>(banner, "appDetailImageBundleId"), Value("net.whatsapp.WhatsApp"));
    EXPECT_TRUE(send<bool>(banner, "enableGlyphs"));
    EXPECT_FALSE(send<bool>(banner, "isAlarm"));
    send(banner, "setIsAlarm:", true);
    EXPECT_TRUE(send<bool>(banner, "isAlarm"));
    EXPECT_EQ(send<Ref<Object>>(banner, "delegate").get(), static_cast<Object*>(&scene.delegate()));
}

TEST(BrixContainer, delegateIsNotOwned)
{
    BannerScene scene;
    auto banner = scene.makeBanner("Alice", nullptr, "Hi");
    runtime::WeakRef<Object> watched;
    {
        auto delegate = runtime::newObject(scene.runtime().classNamed("BannerTestDelegate"));
        watched = delegate;
        send(banner, "setDelegate:", delegate);
    }
    EXPECT_FALSE(watched.get());
    EXPECT_FALSE(send<Ref<Object>>(banner, "delegate"));
}

// Every construction renews the table: 18 entries, two per app.
TEST(BrixContainer, glyphTableHoldsEighteenEntriesAfterTwoConstructions)
{
    BannerScene scene;
    scene.makeBanner("Alice", nullptr, "Hi");
    scene.makeBanner("Bob", nullptr, "Yo");
    Value table = glyphTable(scene);
    EXPECT_EQ(table.count(), 18u);
    EXPECT_EQ(table["net.whatsapp.WhatsAppSMB-white"], Value("glyphs/white/whatsapp"));
    EXPECT_EQ(table["net.whatsapp.WhatsApp-white"], Value("glyphs/white/whatsapp"));
    EXPECT_EQ(table["com.apple.MobileSMS-black"], Value("glyphs/black/imessages"));
    EXPECT_EQ(table["ph.telegra.Telegraph-white"], Value("glyphs/white/telegram"));
    EXPECT_EQ(table["com.facebook.Messenger-black"], Value("glyphs/black/facebook_messenger"));
}

// The asset bundle holds a glyph for every name of the table.
TEST(BrixContainer, everyGlyphOfTheTableIsInTheAssetBundle)
{
    BannerScene scene;
    scene.makeBanner("Alice", nullptr, "Hi");
    auto bundle = send<Ref<Object>>(scene.runtime().classNamed("NSBundle"),
        "bundleWithPath:", Value("/Library/Application Support/Brix/Assets.bundle"));
    ASSERT_TRUE(bundle);
    Value table = glyphTable(scene);
    for (auto& [key, name] : table.entries()) {
        auto path = send<Value>(bundle, "pathForResource:ofType:", name, Value("png"));
        auto image = send<Ref<Object>>(scene.runtime().classNamed("UIImage"), "imageWithContentsOfFile:", path);
        ASSERT_TRUE(image) << key;
        EXPECT_NEAR(send<uikit::Size>(image, "size").width * send<double>(image, "scale"), 60, 1e-9) << key;
    }
    for (const char* key : { "CONTENT_HIDDEN", "NOW", "SNOOZE", "STOP", "CLOSE", "CLEAR", "REPLY", "OPEN" }) {
        auto text = send<Value>(bundle, "localizedStringForKey:value:table:", Value(key), Value("missing"), Value());
        EXPECT_NE(text, Value("missing")) << key;
    }
}

// The hold flag is class-wide within a process and separate between processes.
TEST(BrixContainer, dismissNotificationFlagIsPerProcess)
{
    BannerScene scene;
    auto* homeClass = scene.runtime().classNamed("BrixContainer");
    EXPECT_TRUE(send<bool>(homeClass, "DismissNotification"));
    send(homeClass, "setDismissNotification:", false);
    EXPECT_FALSE(send<bool>(homeClass, "DismissNotification"));

    auto& messages = scene.device().launch("com.apple.MobileSMS");
    auto* messagesClass = messages.runtime().classNamed("BrixContainer");
    ASSERT_NE(messagesClass, nullptr) << "Brix's own classes exist wherever it is loaded";
    EXPECT_TRUE(send<bool>(messagesClass, "DismissNotification"));
    send(homeClass, "setDismissNotification:", true);
    EXPECT_TRUE(send<bool>(homeClass, "DismissNotification"));
}

TEST(BrixContainer, textFieldIsAPlainTextField)
{
    BannerScene scene;
    auto* cls = scene.runtime().classNamed("BrixTextField");
    ASSERT_NE(cls, nullptr);
    EXPECT_EQ(cls->superclass(), scene.runtime().classNamed("UITextField"));
    auto field = runtime::newObject(cls);
    send(field, "setText:", Value("typed"));
    EXPECT_EQ(send<Value>(field, "text"), Value("typed"));
    EXPECT_EQ(runtime::classOf(field.get()), cls);
}

// Brix's classes are its own, not changes to system classes.
TEST(BrixContainer, definingTheViewClassesChangesNoSystemClass)
{
    BannerScene scene;
    for (auto& change : scene.runtime().changes()) {
        EXPECT_NE(change.className, "UIView");
        EXPECT_NE(change.className, "UITextField");
    }
    EXPECT_EQ(scene.runtime().classNamed("BrixContainer")->superclass(), scene.runtime().classNamed("UIView"));
}

TEST(BrixContainer, classesExistEvenWhenBrixIsDisabled)
{
    BrixDevice device;
    device.storePreference("enabled", Value(false));
    auto& home = device.launch("com.apple.springboard");
    EXPECT_NE(home.runtime().classNamed("BrixContainer"), nullptr);
    EXPECT_NE(home.runtime().classNamed("BrixColors"), nullptr);
    EXPECT_TRUE(home.runtime().changes().empty()) << "but no system class is changed";
}
