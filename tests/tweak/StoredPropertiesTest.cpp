#include <gtest/gtest.h>

#include "platform/runtime/Send.h"

#include "tests/support/BrixDevice.h"

using foundation::Value;
using runtime::Object;
using runtime::Ref;
using runtime::Selector;

namespace {

Ref<Object> make(device::Process& process, const char* className)
{
    return runtime::newObject(process.runtime().classNamed(className));
}

// Counts its own deallocation, so a test can see who releases it.
struct Tracked {
    int deallocations { 0 };
};

} // namespace

TEST(StoredProperties, unsetPropertiesAnswerNoAndNil)
{
    BrixDevice device;
    auto& process = device.launch("com.apple.springboard");
    auto controller = make(process, "NCNotificationShortLookViewController");
    ASSERT_TRUE(controller);
    for (auto* flag :
        { "hasDismissed", "autoDimissTriggered", "isDismissing", "wasExternallyDismissed", "dismissCalled" })
        EXPECT_FALSE(send<bool>(controller, flag)) << flag;
    EXPECT_FALSE(send<Ref<Object>>(controller, "brixView"));
    EXPECT_FALSE(send<Ref<Object>>(controller, "brixIdentifier"));
}

TEST(StoredProperties, flagsAreBoxedAsBoolValuesAndIndependent)
{
    BrixDevice device;
    auto& process = device.launch("com.apple.springboard");
    auto controller = make(process, "NCNotificationShortLookViewController");
    auto other = make(process, "NCNotificationShortLookViewController");
    send(controller, "setIsDismissing:", true);
    send(controller, "setDismissCalled:", true);
    send(controller, "setDismissCalled:", false);
    EXPECT_TRUE(send<bool>(controller, "isDismissing"));
    EXPECT_FALSE(send<bool>(controller, "dismissCalled"));
    EXPECT_FALSE(send<bool>(controller, "hasDismissed"));
    EXPECT_FALSE(send<bool>(other, "isDismissing"));
}

TEST(StoredProperties, brixViewHoldsTheViewUntilCleared)
{
    BrixDevice device;
    auto& process = device.launch("com.apple.springboard");
    auto controller = make(process, "NCNotificationShortLookViewController");
    runtime::WeakRef<Object> watched;
    {
        auto view = make(process, "UIView");
        watched = view;
        send(controller, "setBrixView:", view);
    }
    ASSERT_TRUE(watched.get()) << "the controller owns its banner view";
    EXPECT_EQ(send<Ref<Object>>(controller, "brixView").get(), watched.get());
    send(controller, "setBrixView:", nullptr);
    EXPECT_FALSE(watched.get()) << "clearing brixView releases the view";
    EXPECT_FALSE(send<Ref<Object>>(controller, "brixView"));
}

TEST(StoredProperties, identifiersOfControllerAndConversationListAreSeparate)
{
    BrixDevice device;
    auto& home = device.launch("com.apple.springboard");
    auto controller = make(home, "NCNotificationViewController");
    auto shortLook = make(home, "NCNotificationShortLookViewController");
    send(controller, "setBrixIdentifier:", "abcdefgh");
    send(shortLook, "setBrixIdentifier:", "zyxwvuts");
    EXPECT_EQ(send<Value>(controller, "brixIdentifier"), Value("abcdefgh"));
    EXPECT_EQ(send<Value>(shortLook, "brixIdentifier"), Value("zyxwvuts"));

    auto& messages = device.launch("com.apple.MobileSMS");
    auto list = make(messages, "CKConversationListController");
    EXPECT_FALSE(send<Ref<Object>>(list, "brixIdentifier"));
    send(list, "setBrixIdentifier:", "qwertyui");
    EXPECT_EQ(send<Value>(list, "brixIdentifier"), Value("qwertyui"));
}

TEST(StoredProperties, valuesAreReleasedWithTheirController)
{
    BrixDevice device;
    auto& process = device.launch("com.apple.springboard");
    runtime::WeakRef<Object> watched;
    {
        auto controller = make(process, "NCNotificationShortLookViewController");
        auto view = make(process, "UIView");
        watched = view;
        send(controller, "setBrixView:", view);
    }
    EXPECT_FALSE(watched.get());
}
