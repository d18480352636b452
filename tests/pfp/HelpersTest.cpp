#include <algorithm>
#include <gtest/gtest.h>
#include <set>

#include "tests/pfp/PictureTestDevice.h"
#include "tweak/pfp/ParentViewController.h"
#include "tweak/pfp/StringHelpers.h"

using namespace pfptest;

namespace {

Value typeOf(PictureTestDevice& test, const Value& object)
{
    return send<Value>(test.runtime().classNamed("TypeCheckHelper"), SEL("getTypeOf:"), object);
}

Value findFolder(PictureTestDevice& test, const Value& identifier, const char* root)
{
    return send<Value>(test.runtime().classNamed("FolderFinder"), SEL("findFolder:folder:"), identifier, Value(root));
}

} // namespace

// Lengths of 8, 0 and below; every letter lies in a to z.
TEST(PictureHelpers, randomStringsHaveTheLengthAskedForInLowerCaseLetters)
{
    std::string identifier = brix::pfp::generateRandomString(8);
    EXPECT_EQ(identifier.size(), 8u);
    EXPECT_TRUE(std::all_of(identifier.begin(), identifier.end(), [](char c) { return c >= 'a' && c <= 'z'; }));
    EXPECT_EQ(brix::pfp::generateRandomString(0), "");
    EXPECT_EQ(brix::pfp::generateRandomString(-5), "");
    std::string many = brix::pfp::generateRandomString(2000);
    EXPECT_EQ(std::set<char>(many.begin(), many.end()).size(), 26u) << "every letter turns up";
    EXPECT_NE(brix::pfp::generateRandomString(16), brix::pfp::generateRandomString(16));
}

TEST(PictureHelpers, md5StringDigestsUpToTheFirstZeroInUpperCase)
{
    EXPECT_EQ(brix::pfp::MD5String("abc"), "900150983CD24FB0D6963F7D28E17F72");
    EXPECT_EQ(brix::pfp::MD5String(""), "D41D8CD98F00B204E9800998ECF8427E");
    EXPECT_EQ(brix::pfp::MD5String(std::string("abc\0def", 7)), "900150983CD24FB0D6963F7D28E17F72");
    EXPECT_EQ(brix::pfp::MD5String("The quick brown fox jumps over the lazy dog"), "9E107D9D372BB6826BD81D3542A419D6");
}

TEST(PictureHelpers, getTypeOfNamesTheKindOfMutableAndImmutableCollections)
{
    PictureTestDevice test;
    auto& runtime = test.runtime();
    auto mutableArray = send<Ref<Object>>(runtime.classNamed("NSMutableArray"), SEL("array"));
    auto mutableDictionary = send<Ref<Object>>(runtime.classNamed("NSMutableDictionary"), SEL("dictionary"));
    EXPECT_EQ(typeOf(test, Value(mutableArray)), Value("NSArray"));
    EXPECT_EQ(typeOf(test, Value(Value::Array { 1 })), Value("NSArray"));
    EXPECT_EQ(typeOf(test, Value(mutableDictionary)), Value("NSMutableDictionary"));
    EXPECT_EQ(typeOf(test, Value::dictionary()), Value("NSDictionary"));
    EXPECT_EQ(typeOf(test, Value("text")), Value("NSString"));
    EXPECT_EQ(typeOf(test, Value(42)), Value("NSNumber"));
    EXPECT_EQ(typeOf(test, Value(true)), Value("NSNumber"));
    EXPECT_EQ(typeOf(test, Value(send<Ref<Object>>(runtime.classNamed("NSUUID"), SEL("UUID")))), Value("NSUUID"));
    EXPECT_EQ(typeOf(test, Value(runtime::newObject(runtime.classNamed("UIView")))), Value("Undefined(UIView)"));
    EXPECT_EQ(typeOf(test, Value(foundation::Data { 1 })), Value("Undefined(NSData)"));
    EXPECT_EQ(typeOf(test, Value()), Value("Undefined((null))"));
}

// Letter case, a missing root, the first of two matches in listing order, and metadata that does not count.
TEST(PictureHelpers, folderFinderFindsTheFirstContainerRecordingTheIdentifier)
{
    PictureTestDevice test;
    const char* root = "/var/mobile/Containers/Shared/AppGroup/";
    test.groupContainer("0001", "group.other.app");
    std::string first = test.groupContainer("0002", "Group.Net.WhatsApp.WhatsApp.Shared");
    test.groupContainer("0003", "group.net.whatsapp.WhatsApp.shared");
    EXPECT_EQ(findFolder(test, Value("group.net.whatsapp.WhatsApp.shared"), root), Value(first));
    EXPECT_EQ(send<Value>(test.runtime().classNamed("FolderFinder"), SEL("findSharedFolder:"),
                  Value("GROUP.NET.WHATSAPP.WHATSAPP.SHARED")),
        Value(first));
    EXPECT_EQ(send<Value>(test.runtime().classNamed("FolderFinder"), SEL("findPrivateSharedFolder:"),
                  Value("group.net.whatsapp.whatsapp.shared")),
        Value("/private/var/mobile/Containers/Shared/AppGroup/0002"));
    EXPECT_TRUE(findFolder(test, Value("group.net.whatsapp.WhatsApp.shared"), "/var/mobile/Nowhere/").isNil());
    EXPECT_TRUE(findFolder(test, Value("group.missing"), root).isNil());
    EXPECT_TRUE(findFolder(test, Value(7), root).isNil());

    // Metadata that is not a dictionary or lacks the identifier is passed over;
    // any file whose name holds the metadata name is read.
    test.write(std::string(root) + "0000/.com.apple.mobile_container_manager.metadata.plist", "not a property list");
    test.write(std::string(root) + "0004/file", "a container without metadata");
    auto copy
        = test.device().hostPath(std::string(root) + "0005/x.com.apple.mobile_container_manager.metadata.plist.old");
    std::filesystem::create_directories(copy.parent_path());
    ASSERT_TRUE(foundation::writePropertyList(copy,
        Value(Value::Dictionary { { "MCMMetadataIdentifier", Value("group.copied") } }),
        foundation::PropertyListFormat::Xml));
    EXPECT_EQ(findFolder(test, Value("group.copied"), root), Value(std::string(root) + "0005"));
    EXPECT_EQ(
        send<Value>(test.runtime().classNamed("FolderFinder"), SEL("findDataFolder:"), Value("group.copied")), Value());
}

TEST(PictureHelpers, parentViewControllerIsTheFirstResponderThatIsNotAView)
{
    PictureTestDevice test;
    auto& runtime = test.runtime();
    auto controller = runtime::newObject(runtime.classNamed("UIViewController"));
    auto owned = send<Ref<Object>>(controller, SEL("view"));
    auto inner = runtime::newObject(runtime.classNamed("UIView"));
    send(owned, SEL("addSubview:"), inner);
    EXPECT_EQ(brix::pfp::parentViewController(inner.get()).get(), controller.get());
    EXPECT_EQ(brix::pfp::parentViewController(owned.get()).get(), controller.get());

    // A view no controller owns passes its window, which hands on to the application.
    auto window
        = send<Ref<Object>>(runtime::alloc(runtime.classNamed("UIWindow")), SEL("initWithFrame:"), uikit::Rect {});
    auto unowned = runtime::newObject(runtime.classNamed("UIView"));
    send(window, SEL("addSubview:"), unowned);
    auto parent = brix::pfp::parentViewController(unowned.get());
    ASSERT_TRUE(parent);
    EXPECT_FALSE(runtime::isKindOf(parent.get(), "UIView"));
    EXPECT_FALSE(runtime::isKindOf(parent.get(), "UIViewController"));
    EXPECT_TRUE(runtime::isKindOf(parent.get(), "UIApplication"));

    EXPECT_FALSE(brix::pfp::parentViewController(runtime::newObject(runtime.classNamed("UIView")).get()));
    EXPECT_FALSE(brix::pfp::parentViewController(nullptr));
}
