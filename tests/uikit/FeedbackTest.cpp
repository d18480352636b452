#include <gtest/gtest.h>

#include "platform/uikit/AudioServices.h"

#include "tests/uikit/UIKitTestProcess.h"

using runtime::send;

TEST(Feedback, hapticsAndSystemSoundsAreTracedAsTheUserWouldFeelOrHearThem)
{
    UIKitTestProcess test;
    auto generator = test.make("UINotificationFeedbackGenerator");
    send(generator, SEL("prepare"));
    send(generator, SEL("notificationOccurred:"), int64_t(0));
    // An outcome the generator does not know plays nothing.
    send(generator, SEL("notificationOccurred:"), int64_t(7));
    uikit::AudioServicesPlaySystemSound(test.process(), 1520);
    uikit::AudioServicesPlayAlertSound(test.process(), 4095);

    auto events = test.device().trace().eventsOfType("feedback");
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[0]["kind"], "notification");
    EXPECT_EQ(events[0]["value"], 0);
    EXPECT_EQ(events[1]["kind"], "systemSound");
    EXPECT_EQ(events[1]["value"], 1520);
    EXPECT_EQ(events[2]["kind"], "alertSound");
    EXPECT_EQ(events[2]["value"], 4095);
}
