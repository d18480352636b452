// The user-info walk: a notification payload of any shape, made from the
// input, handed to each of the eight profile-picture providers of the built
// plug-in on the home screen of a sealed device (a network without servers).
// Whatever a provider reads, it must not crash, and nothing may connect to
// any address on the host: every connection the process starts is counted
// here, and one to an IP address is a fault.

#include <cerrno>
#include <cstring>
#include <string>
#include <sys/socket.h>
#include <sys/syscall.h>
#include <unistd.h>
#include <vector>

#include "platform/runtime/Send.h"
#include "platform/springboard/NCNotificationRequest.h"

#include "fuzz/FuzzCheck.h"
#include "tests/support/BrixDevice.h"

using foundation::Value;
using runtime::Object;
using runtime::Ref;
using runtime::send;

// Every connection of this process passes here instead of the C library's.
// Local (Unix-domain) sockets are let through; a network connection is a
// fault: the device has no server, so nothing may leave it.
extern "C" int connect(int socket, const sockaddr* address, socklen_t length)
{
    if (address && (address->sa_family == AF_INET || address->sa_family == AF_INET6)) {
        std::fprintf(stderr, "fuzz check failed: a connection left the sealed device\n");
        std::abort();
    }
    return static_cast<int>(syscall(SYS_connect, socket, address, length));
}

namespace {

struct Provider {
    const char* app;
    const char* className;
};

constexpr Provider providers[] = {
    { "net.whatsapp.WhatsApp", "BrixWhatsAppContactPhotoProvider" },
    { "com.apple.MobileSMS", "BrixMessagesContactPhotoProvider" },
    { "com.atebits.Tweetie2", "BrixTwitterContactPhotoProvider" },
    { "com.tinyspeck.chatlyio", "BrixSlackContactPhotoProvider" },
    { "com.hammerandchisel.discord", "BrixDiscordContactPhotoProvider" },
    { "com.burbn.instagram", "BrixInstagramContactPhotoProvider" },
    { "com.facebook.Messenger", "BrixMessengerContactPhotoProvider" },
    { "ph.telegra.Telegraph", "BrixTelegramContactPhotoProvider" },
};

// The keys and texts the providers look for, so that the fuzzer finds them quickly.
const std::vector<std::string> knownKeys = { "message", "author", "avatar", "id", "a", "AssistantContext", "msgSender",
    "displayText", "rp", "p", "aps", "alert", "body", "thread-id", "team_id", "from_id", "tweet", "profile_image_url",
    "D", "CKBBContextKeySenderPersonCentricID", "CKBBContextKeySenderName" };
const std::vector<std::string> knownTexts = { "", "bob", "80351110224678912", "8342729096ea", "T012AB3C4",
    "https://pbs.twimg.com/profile_images/1/a.png", "https://scontent.cdninstagram.com/a.jpg", "ann@example.com",
    "4915112345678@s.whatsapp.net", "../..", "%@", "Ann: hi" };

// Reads the input from the front, a byte at a time; zeros once it is used up.
class Reader {
public:
    Reader(const uint8_t* data, size_t size)
        : m_data(data)
        , m_left(size)
    {
    }
    bool done() const { return m_left == 0; }
    uint8_t byte()
    {
        if (!m_left)
            return 0;
        --m_left;
        return *m_data++;
    }
    uint64_t word()
    {
        uint64_t value = 0;
        for (int index = 0; index < 8; ++index)
            value = value << 8 | byte();
        return value;
    }
    std::string text()
    {
        size_t length = std::min<size_t>(byte() % 48, m_left);
        std::string made(reinterpret_cast<const char*>(m_data), length);
        m_data += length;
        m_left -= length;
        return made;
    }
    const std::string& pick(const std::vector<std::string>& choices) { return choices[byte() % choices.size()]; }

private:
    const uint8_t* m_data;
    size_t m_left;
};

Value valueFrom(Reader& input, runtime::Runtime& runtime, int depth)
{
    switch (input.byte() % 12) {
    case 0:
        return Value();
    case 1:
        return Value(input.byte() % 2 == 1);
    case 2:
        return Value(static_cast<int64_t>(input.word()));
    case 3: {
        uint64_t bits = input.word();
        double real;
        std::memcpy(&real, &bits, sizeof real);
        return Value(real);
    }
    case 4:
        return Value(input.pick(knownTexts));
    case 5:
        return Value(input.text());
    case 6: {
        auto text = input.text();
        return Value(foundation::Data(text.begin(), text.end()));
    }
    case 7:
        return Value(foundation::Date { static_cast<double>(static_cast<int64_t>(input.word())) / 1000 });
    case 8:
        return Value(runtime::newObject(runtime.classNamed("NSObject")));
    case 9: {
        Value::Array items;
        if (depth > 0)
            for (int count = input.byte() % 6; count > 0 && !input.done(); --count)
                items.push_back(valueFrom(input, runtime, depth - 1));
        return Value(std::move(items));
    }
    default: {
        Value::Dictionary entries;
        if (depth > 0) {
            for (int count = input.byte() % 8; count > 0 && !input.done(); --count) {
                std::string key = input.byte() < 200 ? input.pick(knownKeys) : input.text();
                entries[key] = valueFrom(input, runtime, depth - 1);
            }
        }
        return Value(std::move(entries));
    }
    }
}

// The home screen of a device with the plug-in installed and a banner to deliver to.
struct Home {
    Home()
    {
        device().trace().setKeepsEvents(false);
        home = &brix.launch("com.apple.springboard");
        banner = send<Ref<Object>>(runtime::alloc(home->runtime().classNamed("BrixContainer")),
            SEL("initWithUIImage:andHeader:andSubHeader:andBody:"), static_cast<Object*>(nullptr), Value("Ann"),
            Value(), Value("Hi"));
    }
    device::Device& device() { return brix.device(); }

    BrixDevice brix;
    device::Process* home { nullptr };
    Ref<Object> banner;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static Home* test = new Home;
    FUZZ_CHECK(test->banner, "the plug-in is loaded");
    auto& runtime = test->home->runtime();
    Reader input(data, size);
    Value thread = valueFrom(input, runtime, 1);
    Value userInfo = valueFrom(input, runtime, 6);
    for (auto& provider : providers) {
        springboard::NCNotificationRequest::Contents contents;
        contents.sectionIdentifier = Value(provider.app);
        contents.notificationIdentifier = Value("n1");
        contents.threadIdentifier = thread;
        contents.title = Value("Ann");
        contents.message = Value("Hi");
        contents.userInfo = userInfo;
        auto request = springboard::NCNotificationRequest::make(*test->home, std::move(contents));
        auto asked = runtime::newObject(runtime.classNamed(provider.className));
        FUZZ_CHECK(asked, "every provider is defined");
        send(asked, SEL("contactPhotoForNotification:withHeader:withBody:forView:"), request, Value("Ann"), Value("Hi"),
            test->banner);
    }
    FUZZ_CHECK(test->device().scheduler().advance(0.05, 100000), "the device's work comes to an end");
    return 0;
}
