// The profile-picture lookups that run on the home screen's main thread, each
// against a store of the size the targets name, with a baseline measured in
// the same run that does the same file, address-book or database work in
// plain C++: the ratio shows what the provider adds.

#include <benchmark/benchmark.h>
#include <filesystem>
#include <fstream>
#include <random>
#include <sqlite3.h>

#include "platform/contacts/VCard.h"
#include "platform/foundation/PropertyList.h"
#include "platform/graphics/Image.h"
#include "platform/runtime/Send.h"
#include "platform/springboard/NCNotificationRequest.h"

#include "tests/support/BrixDevice.h"

namespace {

namespace fs = std::filesystem;
using foundation::Value;
using runtime::Object;
using runtime::Ref;
using runtime::send;

constexpr const char* groupRoot = "/var/mobile/Containers/Shared/AppGroup/";
constexpr const char* dataRoot = "/var/mobile/Containers/Data/Application/";
constexpr const char* metadataName = ".com.apple.mobile_container_manager.metadata.plist";

std::string uuid(std::mt19937& random)
{
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string text;
    for (int position = 0; position < 32; ++position) {
        if (position == 8 || position == 12 || position == 16 || position == 20)
            text += '-';
        text += digits[random() % 16];
    }
    return text;
}

std::string picture(int size, graphics::Pixel colour, bool jpeg)
{
    auto image = graphics::Image::create(size, size).value();
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            image.setPixel(x, y, colour);
    auto bytes = jpeg ? image.encodeJpeg(80).value() : image.encodePng().value();
    return std::string(bytes.begin(), bytes.end());
}

// The home screen of a device with Brix and the stores of other apps.
class PictureBench {
public:
    PictureBench()
        : m_home(m_device.launch("com.apple.springboard"))
    {
        m_banner = send<Ref<Object>>(runtime::alloc(runtime().classNamed("BrixContainer")),
            "initWithUIImage:andHeader:andSubHeader:andBody:", static_cast<Object*>(nullptr), Value("Ann"), Value(),
            Value("Hi"));
        send(m_banner, "setEnableGlyphs:", true);
        send(m_banner, "setAppDetailImageBundleId:", Value("net.whatsapp.WhatsApp"));
    }

    runtime::Runtime& runtime() { return m_home.runtime(); }
    device::Device& device() { return m_device.device(); }
    fs::path host(const std::string& devicePath) { return device().hostPath(devicePath); }

    void write(const std::string& devicePath, const std::string& bytes)
    {
        auto path = host(devicePath);
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << bytes;
    }

    // Containers named so that the one of `identifier` is listed last, among `count`.
    std::string containers(const char* root, int count, const std::string& identifier)
    {
        std::mt19937 random(7);
        std::string match;
        for (int index = 0; index < count; ++index) {
            bool last = index == count - 1;
            std::string name = (last ? "F" : "0") + uuid(random).substr(1);
            std::string path = root + name;
            auto file = host(path + "/" + metadataName);
            fs::create_directories(file.parent_path());
            (void)foundation::writePropertyList(file,
                Value(Value::Dictionary {
                    { "MCMMetadataIdentifier", Value(last ? identifier : "app." + std::to_string(index)) },
                    { "MCMMetadataUUID", Value(name) } }),
                foundation::PropertyListFormat::Binary);
            fs::create_directories(host(path + "/Library/Caches"));
            if (last)
                match = path;
        }
        return match;
    }

    Ref<Object> request(const std::string& app, Value userInfo, Value thread = {})
    {
        springboard::NCNotificationRequest::Contents contents;
        contents.sectionIdentifier = Value(app);
        contents.threadIdentifier = std::move(thread);
        contents.userInfo = std::move(userInfo);
        return springboard::NCNotificationRequest::make(m_home, std::move(contents));
    }

    // One banner's lookup, and the work it left on the main queue.
    void ask(const char* providerClass, const Ref<Object>& request)
    {
        auto provider = runtime::newObject(runtime().classNamed(providerClass));
        send(provider, "contactPhotoForNotification:withHeader:withBody:forView:", request, Value("Ann"), Value("Hi"),
            m_banner);
        device().scheduler().runDue();
    }

private:
    BrixDevice m_device;
    device::Process& m_home;
    Ref<Object> m_banner;
};

// FolderFinder: 500 containers, the one sought listed last.
void BM_FolderFinder500Containers(benchmark::State& state)
{
    PictureBench bench;
    bench.containers(groupRoot, 500, "group.ph.telegra.Telegraph");
    auto* finder = bench.runtime().classNamed("FolderFinder");
    for (auto _ : state)
        benchmark::DoNotOptimize(send<Value>(finder, "findSharedFolder:", Value("group.ph.telegra.Telegraph")));
}
BENCHMARK(BM_FolderFinder500Containers)->Unit(benchmark::kMillisecond);

void BM_FolderFinderBaseline(benchmark::State& state)
{
    PictureBench bench;
    bench.containers(groupRoot, 500, "group.ph.telegra.Telegraph");
    auto root = bench.host(groupRoot);
    for (auto _ : state) {
        std::string found;
        for (auto& container : fs::directory_iterator(root)) {
            for (auto& file : fs::directory_iterator(container.path())) {
                if (file.path().filename() != metadataName)
                    continue;
                auto metadata = foundation::readPropertyList(file.path());
                if (metadata && (*metadata)["MCMMetadataIdentifier"].string() == "group.ph.telegra.Telegraph")
                    found = container.path().string();
            }
        }
        benchmark::DoNotOptimize(found);
    }
}
BENCHMARK(BM_FolderFinderBaseline)->Unit(benchmark::kMillisecond);

// WhatsApp: a profile folder of 2,000 pictures, 5 of them the sender's.
std::string whatsAppStore(PictureBench& bench)
{
    std::string profile = bench.containers(groupRoot, 20, "group.net.whatsapp.WhatsApp.shared") + "/Media/Profile";
    std::mt19937 random(11);
    std::string thumbnail = picture(96, { 40, 160, 90, 255 }, true);
    for (int index = 0; index < 1995; ++index)
        bench.write(
            profile + "/" + std::to_string(100000000 + random() % 900000000) + "-" + std::to_string(index) + ".thumb",
            "x");
    for (int index = 0; index < 5; ++index)
        bench.write(profile + "/491715550000-" + std::to_string(1600000000 + index) + ".jpg", thumbnail);
    return profile;
}

void BM_WhatsAppScan2000Files(benchmark::State& state)
{
    PictureBench bench;
    whatsAppStore(bench);
    auto request = bench.request("net.whatsapp.WhatsApp", Value(), Value("491715550000@s.whatsapp.net"));
    for (auto _ : state)
        bench.ask("BrixWhatsAppContactPhotoProvider", request);
}
BENCHMARK(BM_WhatsAppScan2000Files)->Unit(benchmark::kMillisecond);

void BM_WhatsAppScanBaseline(benchmark::State& state)
{
    PictureBench bench;
    auto profile = bench.host(whatsAppStore(bench));
    for (auto _ : state) {
        std::string match;
        for (auto& entry : fs::recursive_directory_iterator(profile)) {
            std::string name = entry.path().filename().string();
            if (name.starts_with("491715550000-"))
                match = name;
        }
        benchmark::DoNotOptimize(match);
    }
}
BENCHMARK(BM_WhatsAppScanBaseline)->Unit(benchmark::kMillisecond);

// Messages: an address book of 10,000 cards, one in ten with a photo.
std::string addressBook(PictureBench& bench)
{
    std::mt19937 random(5);
    std::string photo = picture(96, { 240, 140, 30, 255 }, false);
    std::vector<contacts::Card> cards;
    for (int index = 0; index < 10000; ++index) {
        contacts::Card card;
        card.identifier = uuid(random);
        card.givenName = "Person" + std::to_string(index);
        card.familyName = "Family" + std::to_string(index % 300);
        card.emailAddresses = { { "", "person" + std::to_string(index) + "@example.com" } };
        card.phoneNumbers = { { "", "+1 555 " + std::to_string(1000000 + index) } };
        if (index % 10 == 7)
            card.photo = foundation::Data(photo.begin(), photo.end());
        cards.push_back(std::move(card));
    }
    bench.write("/var/mobile/Library/AddressBook/Contacts.vcf", contacts::writeVCards(cards));
    return cards[9997].identifier;
}

void BM_MessagesProvider10000Cards(benchmark::State& state)
{
    PictureBench bench;
    auto sender = addressBook(bench);
    auto request = bench.request(
        "com.apple.MobileSMS", Value(Value::Dictionary { { "CKBBContextKeySenderPersonCentricID", Value(sender) } }));
    bench.ask("BrixMessagesContactPhotoProvider", request); // the address book is read once
    for (auto _ : state)
        bench.ask("BrixMessagesContactPhotoProvider", request);
}
BENCHMARK(BM_MessagesProvider10000Cards)->Unit(benchmark::kMillisecond);

// The baseline: the same walk over the cards in plain C++, already parsed.
void BM_MessagesBaseline(benchmark::State& state)
{
    PictureBench bench;
    auto sender = addressBook(bench);
    std::ifstream file(bench.host("/var/mobile/Library/AddressBook/Contacts.vcf"), std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    auto cards = contacts::readVCards(text).cards;
    for (auto _ : state) {
        const contacts::Card* found = nullptr;
        for (auto& card : cards) {
            if (card.identifier == sender && card.photo && !found)
                found = &card;
        }
        auto image = graphics::Image::decode(*found->photo);
        benchmark::DoNotOptimize(image);
    }
}
BENCHMARK(BM_MessagesBaseline)->Unit(benchmark::kMillisecond);

// Slack: a table of 10,000 members.
std::string slackStore(PictureBench& bench)
{
    std::string container = bench.containers(dataRoot, 20, "com.tinyspeck.chatlyio");
    std::string path = container + "/Library/Application Support/Slack/T0123ABCD/Database/main_db";
    auto host = bench.host(path);
    fs::create_directories(host.parent_path());
    sqlite3* database = nullptr;
    sqlite3_open(host.c_str(), &database);
    sqlite3_exec(database,
        "CREATE TABLE ZSLKDEPRECATEDCOREDATAUSER (Z_PK INTEGER PRIMARY KEY, ZTEAMID TEXT, ZTSID TEXT, "
        "ZAVATARHASH TEXT, ZNAME TEXT, ZREALNAME TEXT, ZTITLE TEXT); BEGIN",
        nullptr, nullptr, nullptr);
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(database, "INSERT INTO ZSLKDEPRECATEDCOREDATAUSER VALUES (?, 'T0123ABCD', ?, ?, ?, ?, ?)", -1,
        &insert, nullptr);
    for (int index = 0; index < 10000; ++index) {
        std::string id = "U" + std::to_string(1000000 + index);
        std::string hash = "h" + std::to_string(index * 7919);
        std::string name = index == 9000 ? "Ann Lee" : "member" + std::to_string(index);
        sqlite3_bind_int(insert, 1, index + 1);
        sqlite3_bind_text(insert, 2, id.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 3, hash.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 4, name.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 5, ("Real " + name).c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 6, "Engineer", -1, SQLITE_STATIC);
        sqlite3_step(insert);
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    sqlite3_exec(database, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(database);
    return host.string();
}

void BM_SlackLookup10000Rows(benchmark::State& state)
{
    PictureBench bench;
    slackStore(bench);
    Value userInfo(Value::Dictionary {
        { "aps",
            Value(Value::Dictionary { { "alert", Value(Value::Dictionary { { "body", Value("Ann Lee: hi") } }) },
                { "thread-id", Value("D024BE91L") } }) },
        { "team_id", Value("T0123ABCD") } });
    auto request = bench.request("com.tinyspeck.chatlyio", userInfo);
    for (auto _ : state)
        bench.ask("BrixSlackContactPhotoProvider", request);
}
BENCHMARK(BM_SlackLookup10000Rows)->Unit(benchmark::kMillisecond);

void BM_SlackBaseline(benchmark::State& state)
{
    PictureBench bench;
    auto path = slackStore(bench);
    for (auto _ : state) {
        sqlite3* database = nullptr;
        sqlite3_open_v2(path.c_str(), &database, SQLITE_OPEN_READONLY, nullptr);
        sqlite3_stmt* statement = nullptr;
        sqlite3_prepare_v2(database,
            "SELECT ZTEAMID || '-' || ZTSID || '-' || ZAVATARHASH FROM ZSLKDEPRECATEDCOREDATAUSER WHERE ZNAME LIKE ?1",
            -1, &statement, nullptr);
        sqlite3_bind_text(statement, 1, "%Ann Lee%", -1, SQLITE_STATIC);
        if (sqlite3_step(statement) == SQLITE_ROW)
            benchmark::DoNotOptimize(sqlite3_column_text(statement, 0));
        sqlite3_finalize(statement);
        sqlite3_close(database);
    }
}
BENCHMARK(BM_SlackBaseline)->Unit(benchmark::kMillisecond);

} // namespace
