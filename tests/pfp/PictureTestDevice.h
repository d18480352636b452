#pragma once

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include "platform/foundation/PropertyList.h"
#include "platform/graphics/Image.h"
#include "platform/runtime/Send.h"
#include "platform/springboard/NCNotificationRequest.h"
#include "platform/uikit/UIImage.h"

#include "tests/support/BrixDevice.h"
#include "tests/support/WebFixture.h"

namespace pfptest {

using foundation::Value;
using graphics::Pixel;
using runtime::Object;
using runtime::Ref;
using runtime::send;

// The bytes of a small picture in one colour.
inline foundation::Data pictureBytes(Pixel colour, bool jpeg = false)
{
    auto image = graphics::Image::create(8, 8).value();
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            image.setPixel(x, y, colour);
    return jpeg ? image.encodeJpeg(100).value() : image.encodePng().value();
}

inline std::string pictureText(Pixel colour, bool jpeg = false)
{
    auto bytes = pictureBytes(colour, jpeg);
    return std::string(bytes.begin(), bytes.end());
}

inline constexpr Pixel red { 220, 30, 30, 255 };
inline constexpr Pixel green { 30, 200, 60, 255 };
inline constexpr Pixel blue { 30, 60, 220, 255 };

// The home screen of a device with Brix, a real web on this machine and the
// stores of other apps, and a real banner whose updateImage: calls are
// recorded on their way to the banner.
class PictureTestDevice {
public:
    static constexpr size_t maxTasks = 100000;

    explicit PictureTestDevice(WebFixture::Answers answers = {})
        : m_web(std::move(answers))
        , m_brix(m_web.hardware())
    {
        m_web.trustOn(m_brix.device());
        m_home = &m_brix.launch("com.apple.springboard");
        recordImageUpdates();
        banner = send<Ref<Object>>(runtime::alloc(runtime().classNamed("BrixContainer")),
            SEL("initWithUIImage:andHeader:andSubHeader:andBody:"), static_cast<Object*>(nullptr), Value("Ann"),
            Value(), Value("Hi"));
    }
    ~PictureTestDevice()
    {
        banner = nullptr;
        images.clear();
    }

    device::Device& device() { return m_brix.device(); }
    device::Process& home() { return *m_home; }
    runtime::Runtime& runtime() { return m_home->runtime(); }
    WebFixture& web() { return m_web; }

    // Writes a file into the device.
    void write(const std::string& devicePath, const std::string& bytes)
    {
        auto host = device().hostPath(devicePath);
        std::filesystem::create_directories(host.parent_path());
        std::ofstream(host, std::ios::binary | std::ios::trunc) << bytes;
    }

    // Another app's container with its metadata file; answers its device path.
    std::string container(const std::string& root, const std::string& name, const std::string& identifier)
    {
        std::string path = root + name;
        auto host = device().hostPath(path + "/.com.apple.mobile_container_manager.metadata.plist");
        std::filesystem::create_directories(host.parent_path());
        auto written = foundation::writePropertyList(host,
            Value(Value::Dictionary { { "MCMMetadataIdentifier", Value(identifier) } }),
            foundation::PropertyListFormat::Binary);
        EXPECT_TRUE(written);
        return path;
    }
    std::string groupContainer(const std::string& name, const std::string& identifier)
    {
        return container("/var/mobile/Containers/Shared/AppGroup/", name, identifier);
    }
    std::string dataContainer(const std::string& name, const std::string& identifier)
    {
        return container("/var/mobile/Containers/Data/Application/", name, identifier);
    }

    // A new SQLite database in the device, made by the statements.
    void database(const std::string& devicePath, const std::vector<std::string>& statements)
    {
        auto host = device().hostPath(devicePath);
        std::filesystem::create_directories(host.parent_path());
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(host.c_str(), &db), SQLITE_OK);
        for (auto& statement : statements)
            EXPECT_EQ(sqlite3_exec(db, statement.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << statement;
        sqlite3_close(db);
    }

    Ref<Object> request(const std::string& app, Value userInfo, Value thread = {})
    {
        springboard::NCNotificationRequest::Contents contents;
        contents.sectionIdentifier = Value(app);
        contents.notificationIdentifier = Value("n1");
        contents.threadIdentifier = std::move(thread);
        contents.title = Value("Ann");
        contents.message = Value("Hi");
        contents.userInfo = std::move(userInfo);
        return springboard::NCNotificationRequest::make(home(), std::move(contents));
    }

    // A new provider of the class is asked for the banner's picture, as the hosting guards ask it.
    void ask(const char* providerClass, const Ref<Object>& request)
    {
        auto provider = runtime::newObject(runtime().classNamed(providerClass));
        ASSERT_TRUE(provider) << providerClass;
        send(provider, SEL("contactPhotoForNotification:withHeader:withBody:forView:"), request, Value("Ann"),
            Value("Hi"), banner);
    }

    // Lets the device run for `seconds` (downloads included); bounded.
    void run(double seconds = 2) { ASSERT_TRUE(device().scheduler().advance(seconds, maxTasks)); }

    // The colour at the middle of each picture handed to the banner; nothing for an absent one.
    std::vector<std::optional<Pixel>> colours() const
    {
        std::vector<std::optional<Pixel>> result;
        for (auto& image : images) {
            auto* picture = dynamic_cast<uikit::UIImage*>(image.get());
            if (!picture || !picture->bitmap())
                result.push_back(std::nullopt);
            else
                result.push_back(picture->bitmap()->pixel(4, 4));
        }
        return result;
    }

    std::vector<std::string> tracedRequests()
    {
        std::vector<std::string> urls;
        for (auto& event : device().trace().eventsOfType("http.request"))
            urls.push_back(event["url"]);
        return urls;
    }

    Ref<Object> banner;
    // Every picture handed to the banner, in order (nil for an absent one).
    std::vector<Ref<Object>> images;

private:
    void recordImageUpdates()
    {
        auto* cls = runtime().classNamed("BrixContainer");
        ASSERT_NE(cls, nullptr);
        auto previous = std::make_shared<runtime::Imp>();
        *previous = runtime().hookMessage(*cls, SEL("updateImage:"),
            runtime::Imp::of([this, previous](Object* self, runtime::Selector selector, Object* image) {
                images.emplace_back(image);
                (*previous)(self, selector, image);
            }));
    }

    WebFixture m_web;
    BrixDevice m_brix;
    device::Process* m_home { nullptr };
};

// Colours survive JPEG only roughly.
inline bool near(const std::optional<Pixel>& pixel, Pixel expected)
{
    return pixel && std::abs(pixel->red - expected.red) < 12 && std::abs(pixel->green - expected.green) < 12
        && std::abs(pixel->blue - expected.blue) < 12;
}

} // namespace pfptest
