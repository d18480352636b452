#include "tools/brix/scenario/BannerObserver.h"

#include <gtest/gtest.h>

#include "platform/apps/Apps.h"
#include "platform/runtime/Send.h"
#include "platform/springboard/BannerPresenter.h"
#include "platform/springboard/NCNotificationRequest.h"
#include "platform/springboard/NCNotificationShortLookViewController.h"
#include "platform/uikit/UIImage.h"

#include "tools/brix/scenario/ScenarioDevice.h"
#include "tools/brix/scenario/ScenarioParser.h"

using foundation::Value;
using runtime::Object;
using runtime::Ref;
using runtime::send;
using tools::scenario::BannerObserver;
using tools::scenario::Json;

namespace {

// A device with Brix whose home screen is observed, showing one banner.
class ObservedHomeScreen {
public:
    ObservedHomeScreen()
        : m_scenario(tools::scenario::ScenarioParser::parseText(R"({"format": 1})", "/").value())
        , m_device(m_scenario)
    {
        if (auto prepared = m_device.prepare(); !prepared)
            throw std::runtime_error(prepared.error().message);
        m_process = &m_device.device().launch(apps::homeScreen);
        BannerObserver::observe(*m_process);
        BannerObserver::observe(*m_process);
    }

    device::Process& process() { return *m_process; }
    device::Trace& trace() { return m_device.device().trace(); }

    Ref<Object> showBanner(const char* id, const char* title, const char* message)
    {
        springboard::NCNotificationRequest::Contents contents;
        contents.sectionIdentifier = "com.apple.MobileSMS";
        contents.notificationIdentifier = id;
        contents.title = title;
        contents.message = message;
        auto request = springboard::NCNotificationRequest::make(*m_process, contents);
        auto controller = springboard::BannerPresenter::of(*m_process).presentBanner(*request);
        return send<Ref<Object>>(controller, SEL("brixView"));
    }

private:
    tools::scenario::Scenario m_scenario;
    tools::scenario::ScenarioDevice m_device;
    device::Process* m_process { nullptr };
};

} // namespace

TEST(BannerObserver, tracesABannerOnceWithTheTextsItWasBuiltWith)
{
    ObservedHomeScreen home;
    auto banner = home.showBanner("n1", "Alice", "Hi");
    ASSERT_TRUE(banner);
    auto attached = home.trace().eventsOfType("banner.attached");
    // Observing twice installs one observation.
    ASSERT_EQ(attached.size(), 1u);
    EXPECT_EQ(attached[0]["id"], "n1");
    EXPECT_EQ(attached[0]["header"], "Alice");
    EXPECT_EQ(attached[0]["body"], "Hi");
    EXPECT_TRUE(attached[0]["subheader"].is_null());
    EXPECT_EQ(attached[0]["app"], "com.apple.MobileSMS");
    EXPECT_EQ(attached[0]["brixIdentifier"].get<std::string>().size(), 8u);

    send(banner, SEL("removeFromSuperview"));
    auto removed = home.trace().eventsOfType("banner.removed");
    ASSERT_EQ(removed.size(), 1u);
    EXPECT_EQ(removed[0]["id"], "n1");
    EXPECT_EQ(home.trace().eventsOfType("banner.attached").size(), 1u);
}

TEST(BannerObserver, tracesTextChangesAndImagesThatReachABanner)
{
    ObservedHomeScreen home;
    auto banner = home.showBanner("n1", "Alice", "Hi");
    ASSERT_TRUE(banner);
    // Showing the content that is shown already changes nothing.
    send(banner, SEL("showContent"));
    send(banner, SEL("updateBannerForContinuousNotification:"), Value("Still there?"));
    auto texts = home.trace().eventsOfType("banner.text");
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0]["id"], "n1");
    EXPECT_EQ(texts[0]["header"], "Alice");
    EXPECT_EQ(texts[0]["body"], "Hi\nStill there?");

    send(banner, SEL("updateImage:"), static_cast<Object*>(nullptr));
    auto picture = uikit::UIImage::make(home.process().runtime(), { 40, 40 }, 3);
    send(banner, SEL("updateImage:"), static_cast<Object*>(picture.get()));
    auto images = home.trace().eventsOfType("banner.image");
    ASSERT_EQ(images.size(), 2u);
    EXPECT_EQ(images[0]["hasImage"], false);
    EXPECT_EQ(images[1]["hasImage"], true);
    EXPECT_EQ(images[1]["id"], "n1");
}

TEST(BannerObserver, aBannerGoingWithItsProcessIsNotTracedAsRemoved)
{
    ObservedHomeScreen home;
    ASSERT_TRUE(home.showBanner("n1", "Alice", "Hi"));
    home.process().terminate();
    EXPECT_TRUE(home.trace().eventsOfType("banner.removed").empty());
}
