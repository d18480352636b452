#include "platform/foundation/FileManager.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

#include "platform/foundation/ErrorObject.h"
#include "platform/foundation/PropertyList.h"

#include "tests/foundation/Printing.h"
#include "tests/uikit/UIKitTestProcess.h"

using foundation::Value;
using runtime::Object;
using runtime::Ref;
using runtime::send;

namespace {

class FileManagerTest : public ::testing::Test {
protected:
    std::filesystem::path write(const std::string& devicePath, const std::string& contents = "x")
    {
        auto host = test.device().hostPath(devicePath);
        std::filesystem::create_directories(host.parent_path());
        std::ofstream(host, std::ios::binary) << contents;
        return host;
    }

    Ref<Object> manager()
    {
        return send<Ref<Object>>(test.runtime().classNamed("NSFileManager"), SEL("defaultManager"));
    }

    Value contents(const Value& path, Value* error = nullptr)
    {
        return send<Value>(manager(), SEL("contentsOfDirectoryAtPath:error:"), path, error);
    }

    std::vector<std::string> enumerate(const Value& path, const std::string& skipping = {})
    {
        auto enumerator = send<Ref<Object>>(manager(), SEL("enumeratorAtPath:"), path);
        std::vector<std::string> entries;
        while (true) {
            Value next = send<Value>(enumerator, SEL("nextObject"));
            if (next.isNil())
                return entries;
            entries.push_back(next.string());
            if (next.string() == skipping)
                send(enumerator, SEL("skipDescendants"));
        }
    }

    Value dictionaryAt(const std::string& path)
    {
        return send<Value>(
            test.runtime().classNamed("NSDictionary"), SEL("dictionaryWithContentsOfFile:"), Value(path));
    }

    UIKitTestProcess test;
};

} // namespace

TEST_F(FileManagerTest, listsAFolderInByteOrderWithHiddenFilesAndWithoutDotEntries)
{
    write("/var/mobile/box/b.txt");
    write("/var/mobile/box/B.txt");
    write("/var/mobile/box/.hidden");
    write("/var/mobile/box/a/inner.txt");
    Value names = contents("/var/mobile/box");
    EXPECT_EQ(names, Value(Value::Array { ".hidden", "B.txt", "a", "b.txt" }));
    // Both spellings of /var reach the same folder.
    EXPECT_EQ(contents("/private/var/mobile/box/"), names);
}

TEST_F(FileManagerTest, aFolderThatCannotBeListedGivesNilAndAnError)
{
    write("/var/mobile/file.txt");
    for (const char* path : { "/var/mobile/missing", "/var/mobile/file.txt", "/../../etc", "relative" }) {
        Value error;
        EXPECT_TRUE(contents(path, &error).isNil()) << path;
        auto* reported = dynamic_cast<foundation::ErrorObject*>(error.object());
        ASSERT_NE(reported, nullptr) << path;
        EXPECT_EQ(reported->domain(), "NSCocoaErrorDomain");
        EXPECT_EQ(reported->code(), foundation::fileReadNoSuchFileError) << path;
        EXPECT_NE(reported->localizedDescription().find(path), std::string::npos);
    }
    EXPECT_TRUE(contents(Value(42)).isNil());
    // The error argument is optional, and untouched on success.
    EXPECT_TRUE(contents("/var/mobile/missing").isNil());
    Value untouched("before");
    EXPECT_FALSE(contents("/var/mobile", &untouched).isNil());
    EXPECT_EQ(untouched, Value("before"));
}

TEST_F(FileManagerTest, enumeratesEverythingBelowAFolderDepthFirst)
{
    write("/var/mobile/Profile/b-1.jpg");
    write("/var/mobile/Profile/a/x-2.jpg");
    write("/var/mobile/Profile/a/deeper/y.jpg");
    write("/var/mobile/Profile/c/z.jpg");
    std::filesystem::create_directories(test.device().hostPath("/var/mobile/Profile/empty"));
    std::filesystem::create_directory_symlink(
        test.device().hostPath("/var/mobile/Profile/a"), test.device().hostPath("/var/mobile/Profile/link"));
    EXPECT_EQ(enumerate("/var/mobile/Profile"),
        (std::vector<std::string> {
            "a", "a/deeper", "a/deeper/y.jpg", "a/x-2.jpg", "b-1.jpg", "c", "c/z.jpg", "empty", "link" }))
        << "a folder comes before its contents; a link is listed, not followed";
    EXPECT_EQ(enumerate("/var/mobile/Profile", "a"),
        (std::vector<std::string> { "a", "b-1.jpg", "c", "c/z.jpg", "empty", "link" }));

    auto enumerator = send<Ref<Object>>(manager(), SEL("enumeratorAtPath:"), Value("/var/mobile/Profile/c"));
    EXPECT_EQ(send<Value>(enumerator, SEL("allObjects")), Value(Value::Array { "z.jpg" }));
    EXPECT_TRUE(send<Value>(enumerator, SEL("nextObject")).isNil());
    EXPECT_FALSE(send<Ref<Object>>(manager(), SEL("enumeratorAtPath:"), Value("/var/mobile/nothing")));
    EXPECT_FALSE(send<Ref<Object>>(manager(), SEL("enumeratorAtPath:"), Value("/var/mobile/Profile/b-1.jpg")));
}

TEST_F(FileManagerTest, readsPropertyListFilesAsDictionaries)
{
    Value metadata(Value::Dictionary { { "MCMMetadataIdentifier", Value("group.example") } });
    auto binary = test.device().hostPath("/var/mobile/binary.plist");
    ASSERT_TRUE(foundation::writePropertyList(binary, metadata, foundation::PropertyListFormat::Binary));
    ASSERT_TRUE(foundation::writePropertyList(
        test.device().hostPath("/var/mobile/text.plist"), metadata, foundation::PropertyListFormat::Xml));
    ASSERT_TRUE(foundation::writePropertyList(test.device().hostPath("/var/mobile/array.plist"),
        Value(Value::Array { 1, 2 }), foundation::PropertyListFormat::Xml));
    write("/var/mobile/garbage.plist", "<plist><dict><key>");
    EXPECT_EQ(dictionaryAt("/var/mobile/binary.plist"), metadata);
    EXPECT_EQ(dictionaryAt("/private/var/mobile/text.plist"), metadata);
    for (const char* notADictionary : { "/var/mobile/array.plist", "/var/mobile/garbage.plist", "/var/mobile/none" })
        EXPECT_TRUE(dictionaryAt(notADictionary).isNil()) << notADictionary;
}

TEST_F(FileManagerTest, answersWhetherFilesExistAndWhereTheyLieOnThisMachine)
{
    auto host = write("/var/mobile/Library/db");
    EXPECT_TRUE(send<bool>(manager(), SEL("fileExistsAtPath:"), Value("/var/mobile/Library/db")));
    EXPECT_FALSE(send<bool>(manager(), SEL("fileExistsAtPath:"), Value("/var/mobile/Library/none")));
    EXPECT_EQ(send<Value>(manager(), SEL("fileSystemRepresentationWithPath:"), Value("/var/mobile/Library/db")),
        Value(test.device().hostPath("/var/mobile/Library/db").string()));
    EXPECT_TRUE(send<Value>(manager(), SEL("fileSystemRepresentationWithPath:"), Value("/var/../../outside")).isNil());
    EXPECT_EQ(
        send<Ref<Object>>(test.runtime().classNamed("NSFileManager"), SEL("defaultManager")).get(), manager().get());
}

TEST(FoundationCollections, mutableCollectionsAreObjectsThatCopyToValues)
{
    UIKitTestProcess test;
    auto array = send<Ref<Object>>(test.runtime().classNamed("NSMutableArray"), SEL("array"));
    send(array, SEL("addObject:"), Value("a"));
    send(array, SEL("addObject:"), Value());
    send(array, SEL("addObject:"), Value(2));
    EXPECT_EQ(send<uint64_t>(array, SEL("count")), 2u) << "nil is refused";
    EXPECT_EQ(send<Value>(array, SEL("objectAtIndex:"), uint64_t(1)), Value(2));
    EXPECT_TRUE(send<Value>(array, SEL("objectAtIndex:"), uint64_t(5)).isNil());
    EXPECT_EQ(send<Value>(array, SEL("copy")), Value(Value::Array { "a", 2 }));
    EXPECT_TRUE(runtime::isKindOf(array.get(), "NSArray"));

    auto dictionary = send<Ref<Object>>(test.runtime().classNamed("NSMutableDictionary"), SEL("dictionary"));
    send(dictionary, SEL("setObject:forKey:"), Value(1), Value("one"));
    send(dictionary, SEL("setObject:forKey:"), Value(2), Value(7));
    EXPECT_EQ(send<Value>(dictionary, SEL("copy")), Value(Value::Dictionary { { "one", 1 } }));
    send(dictionary, SEL("removeObjectForKey:"), Value("one"));
    EXPECT_EQ(send<uint64_t>(dictionary, SEL("count")), 0u);
    EXPECT_TRUE(runtime::isKindOf(dictionary.get(), "NSDictionary"));
}

TEST(FoundationUUID, makesRandomVersionFourUuidsAndReadsThemBack)
{
    UIKitTestProcess test;
    auto* cls = test.runtime().classNamed("NSUUID");
    std::string first = send<Value>(send<Ref<Object>>(cls, SEL("UUID")), SEL("UUIDString")).string();
    std::string second = send<Value>(send<Ref<Object>>(cls, SEL("UUID")), SEL("UUIDString")).string();
    ASSERT_EQ(first.size(), 36u);
    EXPECT_NE(first, second);
    EXPECT_EQ(first[14], '4');
    EXPECT_NE(std::string("89AB").find(first[19]), std::string::npos);
    auto parsed = send<Ref<Object>>(
        runtime::alloc(cls), SEL("initWithUUIDString:"), Value("e621e1f8-c36c-495a-93fc-0c247a3e6e5f"));
    EXPECT_EQ(send<Value>(parsed, SEL("UUIDString")), Value("E621E1F8-C36C-495A-93FC-0C247A3E6E5F"));
    EXPECT_FALSE(send<Ref<Object>>(runtime::alloc(cls), SEL("initWithUUIDString:"), Value("e621e1f8-c36c-495a-93fc")));
    EXPECT_FALSE(send<Ref<Object>>(
        runtime::alloc(cls), SEL("initWithUUIDString:"), Value("g621e1f8-c36c-495a-93fc-0c247a3e6e5f")));
}
