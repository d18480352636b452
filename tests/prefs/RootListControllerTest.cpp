#include <functional>
#include <set>

#include "platform/preferences/PSSliderTableCell.h"
#include "platform/preferences/PreferenceBundleLoader.h"
#include "platform/springboard/BannerPresenter.h"
#include "platform/springboard/NCNotificationRequest.h"
#include "platform/springboard/NCNotificationShortLookViewController.h"
#include "platform/uikit/UIAlertAction.h"
#include "platform/uikit/UIAlertController.h"
#include "platform/uikit/UIBarButtonItem.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UINavigationItem.h"
#include "platform/uikit/UISlider.h"

#include "tests/prefs/SettingsTestDevice.h"
#include "tweak/Settings.h"

using namespace settingstest;

namespace {

uikit::Rect frameOf(Object* view)
{
    return send<uikit::Rect>(view, SEL("frame"));
}

double alphaOf(Object* view)
{
    return send<double>(view, SEL("alpha"));
}

void expectFrame(const uikit::Rect& frame, double x, double y, double width, double height)
{
    EXPECT_NEAR(frame.minX(), x, 1e-9);
    EXPECT_NEAR(frame.minY(), y, 1e-9);
    EXPECT_NEAR(frame.width(), width, 1e-9);
    EXPECT_NEAR(frame.height(), height, 1e-9);
}

void expectColor(Object* object, double red, double green, double blue)
{
    auto* color = dynamic_cast<uikit::UIColor*>(object);
    ASSERT_NE(color, nullptr);
    EXPECT_NEAR(color->red(), red, 1e-9);
    EXPECT_NEAR(color->green(), green, 1e-9);
    EXPECT_NEAR(color->blue(), blue, 1e-9);
    EXPECT_NEAR(color->alpha(), 1, 1e-9);
}

device::Hardware hardware(std::string version, device::Hardware::Style style)
{
    device::Hardware result;
    result.systemVersion = std::move(version);
    result.style = style;
    return result;
}

} // namespace

TEST(RootListControllerTest, titleGivesWayToTheIconOnceScrolledPastTheBanner)
{
    SettingsTestDevice test;
    auto* root = test.openRoot();
    ASSERT_NE(root, nullptr);
    auto title = SettingsTestDevice::object(root, "titleLabel");
    auto icon = SettingsTestDevice::object(root, "iconView");
    EXPECT_EQ(alphaOf(title.get()), 1);
    EXPECT_EQ(alphaOf(icon.get()), 0);
    // 200 is still the banner's; one point more is past it, and back again.
    root->table()->setContentOffset({ 0, 200 });
    EXPECT_EQ(alphaOf(title.get()), 1);
    EXPECT_EQ(alphaOf(icon.get()), 0);
    root->table()->setContentOffset({ 0, 201 });
    EXPECT_EQ(alphaOf(title.get()), 0);
    EXPECT_EQ(alphaOf(icon.get()), 1);
    root->table()->setContentOffset({ 0, 150 });
    EXPECT_EQ(alphaOf(title.get()), 1);
    EXPECT_EQ(alphaOf(icon.get()), 0);
}

TEST(RootListControllerTest, pullingTheListDownStretchesTheBanner)
{
    SettingsTestDevice test;
    auto* root = test.openRoot();
    ASSERT_NE(root, nullptr);
    auto header = SettingsTestDevice::object(root, "headerView");
    auto picture = SettingsTestDevice::object(root, "headerImageView");
    double width = frameOf(header.get()).width();
    EXPECT_NEAR(width, root->table()->bounds().width(), 1e-9);
    root->table()->setContentOffset({ 0, -50 });
    expectFrame(frameOf(picture.get()), 0, -50, width, 250);
    root->table()->setContentOffset({ 0, 120 });
    expectFrame(frameOf(picture.get()), 0, 0, width, 200);
    // A release springs back to the top, and the banner with it.
    root->table()->dragTo(-80);
    expectFrame(frameOf(picture.get()), 0, 0, width, 200);
}

TEST(RootListControllerTest, showsTheBundlesPicturesTitleAndRespringButton)
{
    SettingsTestDevice test;
    auto* root = test.openRoot();
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->table()->tableHeaderView(), SettingsTestDevice::object(root, "headerView").get());
    auto* banner = dynamic_cast<uikit::UIImage*>(
        SettingsTestDevice::object(SettingsTestDevice::object(root, "headerImageView").get(), "image").get());
    ASSERT_NE(banner, nullptr);
    EXPECT_TRUE(banner->bitmap());
    auto* icon = dynamic_cast<uikit::UIImage*>(
        SettingsTestDevice::object(SettingsTestDevice::object(root, "iconView").get(), "image").get());
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(icon->scale(), 2);
    EXPECT_NEAR(icon->size().width, 29, 1e-9);

    auto* item = test.visibleBar()->topItem();
    ASSERT_EQ(item, root->navigationItem());
    EXPECT_EQ(send<Value>(SettingsTestDevice::object(root, "titleLabel"), SEL("text")), Value("Brix"));
    ASSERT_NE(item->titleView(), nullptr);
    EXPECT_EQ(item->titleView()->superview(), test.visibleBar());
    EXPECT_EQ(item->rightBarButtonItem(), SettingsTestDevice::object(root, "respringButton").get());
    EXPECT_EQ(item->rightBarButtonItem()->title(), Value("Respring"));
}

TEST(RootListControllerTest, tintsTheEnclosingBarBySystemVersionAndStyle)
{
    struct Case {
        const char* version;
        device::Hardware::Style style;
        double red, green, blue;
    };
    using Style = device::Hardware::Style;
    // Only 13.0 and later in the dark style get the lighter red; "12.10" orders after "12.9" but before 13.
    for (auto& sample : { Case { "14.4", Style::Light, 1, 0, 0 }, Case { "14.4", Style::Dark, 0.93, 0.27, 0.42 },
             Case { "13.0", Style::Dark, 0.93, 0.27, 0.42 }, Case { "12.10", Style::Dark, 1, 0, 0 } }) {
        SCOPED_TRACE(sample.version);
        SettingsTestDevice test(hardware(sample.version, sample.style));
        ASSERT_NE(test.openRoot(), nullptr);
        auto* bar = test.visibleBar();
        expectColor(SettingsTestDevice::object(bar, "tintColor").get(), sample.red, sample.green, sample.blue);
        EXPECT_NE(bar->shadowImage(), nullptr);
        EXPECT_FALSE(bar->isTranslucent());
        EXPECT_FALSE(bar->prefersLargeTitles());
        EXPECT_EQ(
            test.app().rootController()->navigationItem()->largeTitleDisplayMode(), uikit::UINavigationItem::Never);
    }
}

TEST(RootListControllerTest, leavesTheBarAloneWithoutAnEnclosingNavigationController)
{
    SettingsTestDevice test;
    auto& runtime = test.runtime();
    auto bundle = preferences::PreferenceBundleLoader::of(test.settings()).load("BrixPrefs");
    ASSERT_TRUE(bundle.isOk());
    auto page = runtime::newObject(runtime.classNamed("BRXRootListController"));
    dynamic_cast<PSListController*>(page.get())->setBundle(bundle.value().get());
    auto navigation = send<Ref<Object>>(
        runtime::alloc(runtime.classNamed("UINavigationController")), SEL("initWithRootViewController:"), page.get());
    auto bar = SettingsTestDevice::object(navigation.get(), "navigationBar");
    send(bar, SEL("setPrefersLargeTitles:"), true);
    send<Ref<Object>>(navigation, SEL("view"));
    send(navigation, SEL("viewWillAppear:"), false);
    test.runDue();
    EXPECT_EQ(SettingsTestDevice::object(bar.get(), "shadowImage"), nullptr);
    EXPECT_TRUE(send<bool>(bar, SEL("prefersLargeTitles")));
    EXPECT_TRUE(send<bool>(bar, SEL("isTranslucent")));
}

TEST(RootListControllerTest, respringAsksAndLaunchesTheCommandOnlyOnceConfirmed)
{
    SettingsTestDevice test;
    auto* root = test.openRoot();
    ASSERT_NE(root, nullptr);
    auto askAndChoose = [&](const char* title) {
        ASSERT_TRUE(test.visibleBar()->pressRightButton());
        test.runDue();
        auto* alert = dynamic_cast<uikit::UIAlertController*>(root->presented());
        ASSERT_NE(alert, nullptr);
        EXPECT_EQ(alert->title(), Value("Brix"));
        EXPECT_EQ(alert->message(), Value("Are you sure you want to respring?"));
        ASSERT_EQ(alert->actions().size(), 2u);
        EXPECT_EQ(alert->actions()[0]->title(), Value("Confirm"));
        EXPECT_EQ(alert->actions()[0]->style(), uikit::UIAlertAction::Destructive);
        EXPECT_EQ(alert->actions()[1]->title(), Value("Cancel"));
        EXPECT_EQ(alert->actions()[1]->style(), uikit::UIAlertAction::Cancel);
        ASSERT_TRUE(alert->chooseAction(*alert->actionTitled(title)));
        test.advance(1);
        EXPECT_EQ(root->presented(), nullptr);
    };
    askAndChoose("Cancel");
    EXPECT_EQ(test.count("command.launched"), 0u);
    EXPECT_EQ(test.count("process.exited"), 0u);

    askAndChoose("Confirm");
    auto launched = test.events("command.launched");
    ASSERT_EQ(launched.size(), 1u);
    EXPECT_EQ(launched[0]["path"], "/usr/bin/killall");
    EXPECT_EQ(launched[0]["arguments"], device::Trace::Event::array({ "backboardd" }));
    EXPECT_EQ(test.count("process.exited", "bundleId", "com.apple.springboard"), 1u);
    EXPECT_EQ(test.count("process.launched", "bundleId", "com.apple.springboard"), 2u);
    EXPECT_NE(test.home(), nullptr);
    EXPECT_TRUE(test.settings().isRunning());
}

TEST(RootListControllerTest, eachTestBannerRequestPostsOneNotificationWithEmptyUserInfo)
{
    SettingsTestDevice test;
    auto* root = test.openRoot();
    ASSERT_NE(root, nullptr);
    test.tap(root, "Send test banner");
    auto posted = test.events("distributed.posted");
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_EQ(posted[0]["name"], "com.mavrel.brix.receivedbannertest");
    EXPECT_EQ(posted[0]["userInfo"], device::Trace::Event::object());
    EXPECT_EQ(posted[0]["sender"], "com.apple.Preferences");
    send(root, SEL("sendTestBanner"));
    test.runDue();
    EXPECT_EQ(test.count("distributed.posted", "name", "com.mavrel.brix.receivedbannertest"), 2u);
    // The home screen answered both, with a Brix banner on screen.
    EXPECT_EQ(test.count("bulletin.published"), 2u);
    auto* banner = springboard::BannerPresenter::of(*test.home()).currentBanner();
    ASSERT_NE(banner, nullptr);
    EXPECT_NE(send<Ref<Object>>(banner, SEL("brixView")), nullptr);
}

TEST(RootListControllerTest, everyKeyIsReachableFromTheRootThroughAFittingRow)
{
    SettingsTestDevice test;
    std::map<std::string, Ref<PSSpecifier>> rows;
    std::vector<std::string> pages;
    std::function<void(PSListController*, int)> walk = [&](PSListController* page, int depth) {
        ASSERT_NE(page, nullptr);
        ASSERT_LT(depth, 3);
        pages.push_back(page->title().string());
        std::vector<std::string> links;
        for (auto& group : page->groups()) {
            for (auto& row : group.rows) {
                if (row->property("key").isString()) {
                    EXPECT_TRUE(rows.emplace(row->property("key").string(), row).second)
                        << row->property("key").string();
                }
                if (row->cellType() == PSSpecifier::LinkCell)
                    links.push_back(row->name().string());
            }
        }
        for (auto& link : links) {
            walk(test.tap(page, link), depth + 1);
            test.app().goBack();
            test.runDue();
        }
    };
    walk(test.openRoot(), 0);
    EXPECT_EQ(pages.size(), 6u);
    ASSERT_EQ(rows.size(), brix::settingKeys.size());
    for (auto& key : brix::settingKeys) {
        SCOPED_TRACE(std::string(key.key));
        auto it = rows.find(std::string(key.key));
        ASSERT_NE(it, rows.end());
        auto& row = it->second;
        EXPECT_EQ(row->property("defaults"), Value(brix::preferenceDomain));
        EXPECT_EQ(row->property("default").integer(), key.defaultValue);
        if (key.type == brix::SettingKey::Type::Boolean) {
            EXPECT_EQ(row->cellType(), PSSpecifier::SwitchCell);
            continue;
        }
        if (row->cellType() == PSSpecifier::SliderCell) {
            EXPECT_LE(row->property("min").real(), static_cast<double>(key.defaultValue));
            EXPECT_GE(row->property("max").real(), static_cast<double>(key.defaultValue));
            EXPECT_GT(row->property("max").real(), row->property("min").real());
            continue;
        }
        // Choices offer titled values, the default among them.
        EXPECT_TRUE(row->cellType() == PSSpecifier::SegmentCell || row->cellType() == PSSpecifier::LinkListCell);
        EXPECT_GE(row->values().count(), 2u);
        EXPECT_EQ(row->titles().count(), row->values().count());
        EXPECT_FALSE(row->titleForValue(Value(key.defaultValue)).isNil());
    }
    for (const char* choice : { "containerColor", "textAlignment", "appIconPfp", "messagesAutoReadMode" })
        EXPECT_GE(rows[choice]->titles().count(), 3u) << choice;
}

TEST(RootListControllerTest, aValueSetOnThePageReachesTheRunningHomeScreen)
{
    SettingsTestDevice test;
    auto* root = test.openRoot();
    ASSERT_NE(root, nullptr);
    auto* cell
        = dynamic_cast<preferences::PSSliderTableCell*>(root->cellFor(SettingsTestDevice::row(root, "Dismiss after")));
    ASSERT_NE(cell, nullptr);
    ASSERT_TRUE(cell->control()->slide(2));
    test.runDue();
    EXPECT_EQ(test.stored("timeToDismiss"), Value(2));

    auto* home = test.home();
    springboard::NCNotificationRequest::Contents contents;
    contents.notificationIdentifier = Value("n1");
    contents.sectionIdentifier = Value("com.example.chat");
    contents.title = Value("Alice");
    contents.message = Value("Hi");
    auto request = springboard::NCNotificationRequest::make(*home, std::move(contents));
    auto banner = springboard::BannerPresenter::of(*home).presentBanner(*request);
    ASSERT_NE(banner, nullptr);
    test.advance(1.9);
    EXPECT_FALSE(send<bool>(banner, SEL("isDismissing")));
    test.advance(0.2);
    EXPECT_TRUE(send<bool>(banner, SEL("isDismissing")));
}
