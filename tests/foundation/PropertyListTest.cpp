#include "platform/foundation/PropertyList.h"

#include <algorithm>
#include <cmath>
#include <csignal>
#include <cstring>
#include <fstream>
#include <gtest/gtest.h>
#include <limits>
#include <sys/resource.h>
#include <sys/stat.h>

#include "platform/runtime/Send.h"

#include "tests/foundation/Printing.h"

using foundation::Data;
using foundation::Date;
using foundation::PropertyListFormat;
using foundation::Value;

namespace {

namespace fs = std::filesystem;

class PropertyListTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto pattern = (fs::temp_directory_path() / "foundation-plist-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        m_folder = pattern;
    }
    void TearDown() override
    {
        std::error_code error;
        fs::remove_all(m_folder, error);
    }

    fs::path path(const std::string& name) const { return m_folder / name; }

    static std::string contentsOf(const fs::path& file)
    {
        std::ifstream stream(file, std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(stream)), std::istreambuf_iterator<char>());
    }
    static void writeRaw(const fs::path& file, std::string_view bytes)
    {
        std::ofstream stream(file, std::ios::binary);
        stream.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    std::vector<std::string> filesInFolder() const
    {
        std::vector<std::string> names;
        for (auto& entry : fs::directory_iterator(m_folder))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    fs::path m_folder;
};

foundation::Result<Value> parse(std::string_view text)
{
    return foundation::parsePropertyList({ reinterpret_cast<const uint8_t*>(text.data()), text.size() });
}

foundation::Result<Value> parse(const Data& bytes)
{
    return foundation::parsePropertyList(bytes);
}

// Every kind of value, at the edges of its range, nested.
Value everyKind()
{
    Data bytes;
    for (int i = 0; i < 256; ++i)
        bytes.push_back(static_cast<uint8_t>(i));
    Value numbers = Value::dictionary();
    numbers.set("zero", 0);
    numbers.set("negative", -5);
    numbers.set("largest", std::numeric_limits<int64_t>::max());
    numbers.set("smallest", std::numeric_limits<int64_t>::min());
    numbers.set("tenth", 0.1);
    numbers.set("tiny", -2.5e-300);
    numbers.set("huge", 1e300);
    numbers.set("yes", true);
    numbers.set("no", false);
    Value root = Value::dictionary();
    root.set("numbers", numbers);
    root.set("text", "Grüße <&> \"quoted\" 'single' \xF0\x9F\x98\x80");
    root.set("empty text", "");
    root.set("bytes", bytes);
    root.set("no bytes", Data {});
    root.set("launch", Date { 600000000 });
    root.set("before 2001", Date { -86400 * 365 });
    root.set("list", Value(Value::Array { 1, "two", Value(Value::Array {}), Value::dictionary(), 3.5 }));
    root.set("ключ", "value under a non-ASCII key");
    return root;
}

} // namespace

TEST_F(PropertyListTest, roundTripsEveryKindThroughFilesInBothFormats)
{
    for (auto format : { PropertyListFormat::Xml, PropertyListFormat::Binary }) {
        auto file = path(format == PropertyListFormat::Xml ? "values.xml.plist" : "values.binary.plist");
        ASSERT_TRUE(foundation::writePropertyList(file, everyKind(), format));
        auto read = foundation::loadPropertyList(file);
        ASSERT_TRUE(read) << read.error().message;
        EXPECT_EQ(read.value(), everyKind()) << describe(read.value());
        EXPECT_EQ(contentsOf(file).substr(0, 8), format == PropertyListFormat::Xml ? "<?xml ve" : "bplist00");
    }
}

TEST_F(PropertyListTest, topLevelScalarsAndEmptyCollectionsRoundTrip)
{
    for (auto format : { PropertyListFormat::Xml, PropertyListFormat::Binary }) {
        for (const Value& value : { Value("only text"), Value(-1), Value(false), Value(Value::Array {}),
                 Value::dictionary(), Value(Data { 0, 0xff }) }) {
            auto bytes = foundation::serializePropertyList(value, format);
            ASSERT_TRUE(bytes) << bytes.error().message;
            auto read = parse(bytes.value());
            ASSERT_TRUE(read) << read.error().message;
            EXPECT_EQ(read.value(), value) << describe(value);
        }
    }
}

TEST_F(PropertyListTest, datesKeepMicrosecondsInBinaryAndWholeSecondsInXml)
{
    Value date(Date { 600000000.25 });
    auto binary = parse(foundation::serializePropertyList(date, PropertyListFormat::Binary).value());
    EXPECT_EQ(binary.value(), date);
    Value early(Date { -100.5 });
    EXPECT_EQ(parse(foundation::serializePropertyList(early, PropertyListFormat::Binary).value()).value(), early);

    auto xml = foundation::serializePropertyList(date, PropertyListFormat::Xml).value();
    EXPECT_NE(std::string(xml.begin(), xml.end()).find("<date>2020-01-06T10:40:00Z</date>"), std::string::npos);
    EXPECT_EQ(parse(xml).value(), Value(Date { 600000000 }));
}

TEST_F(PropertyListTest, datesKeepEveryMicrosecondThroughBinaryWritingAndReading)
{
    // Seconds after 2001, before it, and the one just before it, whose
    // fraction the reading library gives without its sign.
    for (int64_t whole : { 135288, 600000000, -100, -1, 0 }) {
        for (int64_t micro = 0; micro < 1000000; micro += 997) {
            int64_t expected = whole * 1000000 + micro;
            Value date(Date { static_cast<double>(whole) + static_cast<double>(micro) / 1e6 });
            auto written = foundation::serializePropertyList(date, PropertyListFormat::Binary).value();
            auto read = parse(written);
            ASSERT_TRUE(read.isOk()) << read.error().message;
            EXPECT_EQ(std::llround(read.value().date().secondsSinceReferenceDate * 1e6), expected)
                << whole << " s and " << micro << " us";
            EXPECT_EQ(foundation::serializePropertyList(read.value(), PropertyListFormat::Binary).value(), written)
                << whole << " s and " << micro << " us are written the same after a reading";
        }
    }
}

TEST_F(PropertyListTest, readsXmlAsOtherWritersProduceIt)
{
    auto read = parse(R"(<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE plist PUBLIC "-//Apple//DTD PLIST 1.0//EN" "http://www.apple.com/DTDs/PropertyList-1.0.dtd">
<plist version="1.0">
<!-- display settings -->
<dict>
	<key>enabled</key>
	<true/>
	<key>style</key>
	<integer> 0x10 </integer>
	<key>delay</key>
	<real>+2.5</real>
	<key>name</key>
	<string>A&amp;B &#x41;&#66; <![CDATA[<raw>]]></string>
	<key>empty</key>
	<string/>
	<key>blob</key>
	<data>
	AAEC
	Aw==
	</data>
	<key>when</key>
	<date>2001-01-01T00:01:00Z</date>
	<key>list</key>
	<array/>
</dict>
</plist>
)");
    ASSERT_TRUE(read) << read.error().message;
    auto& value = read.value();
    EXPECT_TRUE(value["enabled"].boolean());
    EXPECT_EQ(value["style"], Value(16));
    EXPECT_EQ(value["delay"], Value(2.5));
    EXPECT_EQ(value["name"].string(), "A&B AB <raw>");
    EXPECT_EQ(value["empty"], Value(""));
    EXPECT_EQ(value["blob"], Value(Data { 0, 1, 2, 3 }));
    EXPECT_EQ(value["when"], Value(Date { 60 }));
    EXPECT_EQ(value["list"], Value(Value::Array {}));
}

TEST_F(PropertyListTest, refusesMalformedXmlThatTheParserWouldMisread)
{
    // Each of these is accepted silently by a lenient parser, with a wrong or partial result.
    const char* cases[] = {
        "",
        "garbage",
        "<plist><integer>abc</integer></plist>",
        "<plist><integer></integer></plist>",
        "<plist><integer>99999999999999999999</integer></plist>",
        "<plist><integer>9223372036854775808</integer></plist>",
        "<plist><real>1.5x</real></plist>",
        "<plist><date>garbage</date></plist>",
        "<plist><date>2001-13-01T00:00:00Z</date></plist>",
        "<plist><date>2026-02-31T12:00:00Z</date></plist>",
        "<plist><date>2025-02-29T12:00:00Z</date></plist>",
        "<plist><date>2026-04-31T12:00:00Z</date></plist>",
        "<plist><data>!!!</data></plist>",
        "<plist><true/></plist>trailing text",
        "<plist><string>a</string><string>b</string></plist>",
        "<plist><dict><key>a</key></dict></plist>",
        "<plist><dict><string>a</string></dict></plist>",
        "<plist><dict><key>a</key><key>b</key><true/></dict></plist>",
        "<plist><key>k</key></plist>",
        "<plist><array><key>k</key></array></plist>",
        "<plist><dict>loose text</dict></plist>",
        "<plist><uid>3</uid></plist>",
        "<plist><string>a<true/></string></plist>",
        "<plist><plist><true/></plist></plist>",
        "<plist></plist>",
        "<plist><dict><key>a</key><true/>",
        "<plist><string>a&unknown;b</string></plist>",
        "<plist><string>a</dict></plist>",
        "<plist><string>caf\xC3</string></plist>",
        "<plist><true>yes</true></plist>",
        "<dict/>",
    };
    for (const char* text : cases) {
        auto read = parse(text);
        EXPECT_FALSE(read) << "accepted: " << text;
        if (!read) {
            EXPECT_FALSE(read.error().message.empty());
        }
    }
    auto withNul = std::string("<plist><string>a") + '\0' + "b</string></plist>";
    EXPECT_FALSE(parse(withNul));

    auto read = parse("<plist>\n<dict>\n<key>n</key>\n<integer>twelve</integer>\n</dict>\n</plist>");
    ASSERT_FALSE(read);
    EXPECT_NE(read.error().message.find("line 4"), std::string::npos) << read.error().message;
    EXPECT_NE(read.error().message.find("twelve"), std::string::npos) << read.error().message;
}

TEST_F(PropertyListTest, xmlRefusalsNameTheEntryByItsKeys)
{
    struct Case {
        const char* text;
        const char* place;
    };
    for (auto [text, place] : {
             Case { "<plist><dict><key>big</key><integer>99999999999999999999</integer></dict></plist>",
                 "line 1, the value at \"big\": <integer> holds" },
             Case { "<plist><dict><key>a</key><true/><key>outer</key><dict><key>list</key><array><true/>"
                    "<date>2026-02-31T12:00:00Z</date></array></dict></dict></plist>",
                 "the value at \"outer\"\"list\"[1]: <date> holds" },
             Case { "<plist><dict><key>a</key><dict><key>x&bogus;</key><true/></dict></dict></plist>",
                 "a key of the value at \"a\": malformed character reference" },
             Case { "<plist><real>one</real></plist>", "the top-level value: <real> holds" },
         }) {
        auto read = parse(text);
        ASSERT_FALSE(read) << text;
        EXPECT_NE(read.error().message.find(place), std::string::npos) << read.error().message;
    }
}

TEST_F(PropertyListTest, binaryTextThatIsNotUtf8IsRefusedAsTheWriterWouldRefuseIt)
{
    // An ASCII string object of the binary format holding a byte above 0x7F,
    // as a value and as a key: read, it could never be written again.
    Value root = Value::dictionary();
    root.set("name", "plain");
    auto bytes = foundation::serializePropertyList(root, PropertyListFormat::Binary).value();
    for (std::string_view text : { "plain", "name" }) {
        auto damaged = bytes;
        auto at = std::search(damaged.begin(), damaged.end(), text.begin(), text.end());
        ASSERT_NE(at, damaged.end());
        at[1] = 0xE9;
        auto read = parse(damaged);
        ASSERT_FALSE(read) << text;
        EXPECT_NE(read.error().message.find("not valid UTF-8"), std::string::npos) << read.error().message;
    }
}

TEST_F(PropertyListTest, binaryDatesBeyondWhatCanBeWrittenAreRefused)
{
    auto written = foundation::serializePropertyList(Value(Date { 100 }), PropertyListFormat::Binary).value();
    // The date object: a marker, then the seconds as a big-endian double.
    auto marker = std::find(written.begin() + 8, written.end(), uint8_t(0x33)) - written.begin();
    ASSERT_LT(marker, static_cast<ptrdiff_t>(written.size()));
    for (double seconds : { -1.2e30, 1e300, 3e9, -3e9 }) {
        auto bytes = written;
        uint64_t bits = 0;
        std::memcpy(&bits, &seconds, sizeof bits);
        for (int index = 0; index < 8; ++index)
            bytes[marker + 1 + index] = static_cast<uint8_t>(bits >> (56 - 8 * index));
        auto read = parse(bytes);
        ASSERT_FALSE(read) << seconds << " s read as " << read.value().date().secondsSinceReferenceDate;
        EXPECT_NE(read.error().message.find("too far from 2001"), std::string::npos) << read.error().message;
    }
}

TEST_F(PropertyListTest, binaryIntegersBeyondSixtyFourBitsAreRefusedNotWrapped)
{
    // A binary property list holding one 16-byte integer, as writers store
    // values from 2^63 up: header, the object, a one-entry offset table, trailer.
    auto sixteenByteInteger = [](uint64_t high, uint64_t low) {
        Data bytes = { 'b', 'p', 'l', 'i', 's', 't', '0', '0', 0x14 };
        for (uint64_t half : { high, low })
            for (int shift = 56; shift >= 0; shift -= 8)
                bytes.push_back(static_cast<uint8_t>(half >> shift));
        bytes.push_back(8);
        Data trailer(32, 0);
        trailer[6] = 1;
        trailer[7] = 1;
        trailer[15] = 1;
        trailer[31] = 25;
        bytes.insert(bytes.end(), trailer.begin(), trailer.end());
        return bytes;
    };
    auto small = parse(sixteenByteInteger(0, 5));
    ASSERT_TRUE(small) << small.error().message;
    EXPECT_EQ(small.value().integer(), 5);
    for (auto [high, low] : { std::pair<uint64_t, uint64_t> { 0, uint64_t(1) << 63 }, { 0, ~uint64_t(0) }, { 1, 0 } }) {
        auto read = parse(sixteenByteInteger(high, low));
        ASSERT_FALSE(read) << high << ":" << low << " read as " << read.value().integer();
        EXPECT_NE(read.error().message.find("beyond 64 bits"), std::string::npos) << read.error().message;
    }
}

TEST_F(PropertyListTest, everyTruncationIsAnError)
{
    for (auto format : { PropertyListFormat::Xml, PropertyListFormat::Binary }) {
        auto bytes = foundation::serializePropertyList(everyKind(), format).value();
        std::string text(bytes.begin(), bytes.end());
        // An XML document is complete once its closing tag is there; what follows is white space.
        size_t complete = format == PropertyListFormat::Xml ? text.rfind("</plist>") + 8 : text.size();
        for (size_t length = 0; length < complete; ++length)
            EXPECT_FALSE(parse(std::string_view(text).substr(0, length))) << "accepted a prefix of " << length;
    }
}

TEST_F(PropertyListTest, damagedBinaryNeverCrashes)
{
    auto bytes = foundation::serializePropertyList(everyKind(), PropertyListFormat::Binary).value();
    size_t refused = 0;
    for (size_t i = 0; i < bytes.size(); ++i) {
        auto damaged = bytes;
        damaged[i] ^= 0xA5;
        if (!parse(damaged))
            ++refused;
    }
    // Damage to the structure is caught; damage inside a string's or data's bytes cannot be.
    EXPECT_GT(refused, bytes.size() / 10);
}

TEST_F(PropertyListTest, refusesBinaryThatWouldExhaustTheParser)
{
    // A binary property list of one-element arrays, each referring to the next (or to itself).
    auto nested = [](uint32_t count, bool cyclic, int referencesPerArray) {
        Data bytes = { 'b', 'p', 'l', 'i', 's', 't', '0', '0' };
        std::vector<uint32_t> offsets;
        auto bigEndian = [&](uint64_t value, int size) {
            for (int shift = (size - 1) * 8; shift >= 0; shift -= 8)
                bytes.push_back(static_cast<uint8_t>(value >> shift));
        };
        for (uint32_t i = 0; i < count; ++i) {
            offsets.push_back(static_cast<uint32_t>(bytes.size()));
            bool last = i + 1 == count;
            if (last && !cyclic) {
                bytes.push_back(0xA0);
                continue;
            }
            bytes.push_back(static_cast<uint8_t>(0xA0 | referencesPerArray));
            for (int r = 0; r < referencesPerArray; ++r)
                bigEndian(last ? 0 : i + 1, 4);
        }
        uint64_t tableOffset = bytes.size();
        for (auto offset : offsets)
            bigEndian(offset, 4);
        bytes.insert(bytes.end(), 6, 0);
        bytes.push_back(4);
        bytes.push_back(4);
        bigEndian(count, 8);
        bigEndian(0, 8);
        bigEndian(tableOffset, 8);
        return bytes;
    };

    auto shallow = parse(nested(10, false, 1));
    ASSERT_TRUE(shallow) << shallow.error().message;
    EXPECT_EQ(shallow.value()[0][0][0][0][0][0][0][0][0], Value(Value::Array {}));

    auto deep = parse(nested(100000, false, 1));
    ASSERT_FALSE(deep);
    EXPECT_NE(deep.error().message.find("nest"), std::string::npos) << deep.error().message;

    auto cycle = parse(nested(3, true, 1));
    ASSERT_FALSE(cycle);
    EXPECT_NE(cycle.error().message.find("contains itself"), std::string::npos) << cycle.error().message;

    // Forty levels that each refer to the next twice would expand to 2^40 arrays.
    auto expanding = parse(nested(40, false, 2));
    ASSERT_FALSE(expanding);
    EXPECT_NE(expanding.error().message.find("expands"), std::string::npos) << expanding.error().message;
}

TEST_F(PropertyListTest, refusesDeeplyNestedXmlAndValues)
{
    auto nestedXml = [](int depth) {
        std::string text = "<plist>";
        for (int i = 0; i < depth; ++i)
            text += "<array>";
        for (int i = 0; i < depth; ++i)
            text += "</array>";
        return text + "</plist>";
    };
    EXPECT_TRUE(parse(nestedXml(200)));
    auto deep = parse(nestedXml(100000));
    ASSERT_FALSE(deep);
    EXPECT_NE(deep.error().message.find("nest"), std::string::npos);

    Value value = Value::array();
    for (int i = 0; i < 1000; ++i)
        value = Value(Value::Array { value });
    EXPECT_FALSE(foundation::serializePropertyList(value, PropertyListFormat::Binary));
}

TEST_F(PropertyListTest, serializingNamesTheValueThatCannotBeStored)
{
    runtime::Runtime runtime;
    auto object = runtime::newObject(&runtime.rootClass());
    Value root = Value::dictionary();
    root.set("items", Value(Value::Array { 1, Value(object) }));
    auto result = foundation::serializePropertyList(root, PropertyListFormat::Xml);
    ASSERT_FALSE(result);
    EXPECT_NE(result.error().message.find("\"items\"[1]"), std::string::npos) << result.error().message;
    EXPECT_NE(result.error().message.find("object"), std::string::npos) << result.error().message;

    auto nilResult = foundation::serializePropertyList(Value(), PropertyListFormat::Binary);
    ASSERT_FALSE(nilResult);
    EXPECT_NE(nilResult.error().message.find("nil"), std::string::npos);

    Value nested = Value::dictionary();
    nested.set("a", Value(Value::Array { Value() }));
    EXPECT_FALSE(foundation::serializePropertyList(nested, PropertyListFormat::Binary));

    // Neither format has a null.
    Value withNull = Value::dictionary();
    withNull.set("avatar", Value::null());
    for (auto format : { PropertyListFormat::Xml, PropertyListFormat::Binary }) {
        auto nullResult = foundation::serializePropertyList(withNull, format);
        ASSERT_FALSE(nullResult);
        EXPECT_NE(nullResult.error().message.find("\"avatar\" is null"), std::string::npos)
            << nullResult.error().message;
    }

    // Text the formats cannot carry, and dates outside what can be encoded.
    EXPECT_FALSE(foundation::serializePropertyList(Value(std::string("a\0b", 3)), PropertyListFormat::Xml));
    EXPECT_FALSE(foundation::serializePropertyList(Value("caf\xC3"), PropertyListFormat::Binary));
    Value badKey = Value::dictionary();
    badKey.set("\xFF", 1);
    EXPECT_FALSE(foundation::serializePropertyList(badKey, PropertyListFormat::Binary));
    EXPECT_FALSE(foundation::serializePropertyList(Value(Date { 3e9 }), PropertyListFormat::Binary));
    EXPECT_FALSE(foundation::serializePropertyList(Value(Date { std::nan("") }), PropertyListFormat::Xml));
}

TEST_F(PropertyListTest, corruptFileIsReportedAndLeftUnchanged)
{
    auto file = path("corrupt.plist");
    auto good = foundation::serializePropertyList(everyKind(), PropertyListFormat::Binary).value();
    std::string corrupt(good.begin(), good.begin() + static_cast<long>(good.size() / 2));
    writeRaw(file, corrupt);

    auto read = foundation::loadPropertyList(file);
    ASSERT_FALSE(read);
    EXPECT_NE(read.error().message.find(file.string()), std::string::npos) << read.error().message;
    EXPECT_EQ(foundation::readPropertyList(file), std::nullopt);
    EXPECT_EQ(contentsOf(file), corrupt);

    auto missing = foundation::loadPropertyList(path("absent.plist"));
    ASSERT_FALSE(missing);
    EXPECT_NE(missing.error().message.find("absent.plist"), std::string::npos);
    EXPECT_FALSE(foundation::loadPropertyList(m_folder));
}

TEST_F(PropertyListTest, writingReplacesTheFileAtomically)
{
    auto file = path("settings.plist");
    ASSERT_TRUE(foundation::writePropertyList(file, Value("first"), PropertyListFormat::Binary));
    ::chmod(file.c_str(), 0640);
    ASSERT_TRUE(foundation::writePropertyList(file, everyKind(), PropertyListFormat::Xml));
    EXPECT_EQ(foundation::readPropertyList(file), everyKind());
    // No temporary file is left behind, and the replaced file keeps its permissions.
    EXPECT_EQ(filesInFolder(), std::vector<std::string> { "settings.plist" });
    struct stat status;
    ASSERT_EQ(::stat(file.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0640u);
}

TEST_F(PropertyListTest, failedWritesLeaveTheOldFileIntact)
{
    auto file = path("settings.plist");
    ASSERT_TRUE(foundation::writePropertyList(file, Value("old"), PropertyListFormat::Xml));
    auto before = contentsOf(file);

    // A value that cannot be stored.
    Value unstorable = Value::dictionary();
    unstorable.set("gap", Value());
    auto refused = foundation::writePropertyList(file, unstorable, PropertyListFormat::Xml);
    ASSERT_FALSE(refused);
    EXPECT_NE(refused.error().message.find("\"gap\""), std::string::npos) << refused.error().message;
    EXPECT_EQ(contentsOf(file), before);

    // The disk refuses the bytes part way: the file-size limit stands in for a full disk.
    Value large = Value::dictionary();
    large.set("text", std::string(64 * 1024, 'x'));
    auto* previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit previousLimit;
    ::getrlimit(RLIMIT_FSIZE, &previousLimit);
    rlimit small = previousLimit;
    small.rlim_cur = 4096;
    ::setrlimit(RLIMIT_FSIZE, &small);
    auto failed = foundation::writePropertyList(file, large, PropertyListFormat::Xml);
    ::setrlimit(RLIMIT_FSIZE, &previousLimit);
    std::signal(SIGXFSZ, previousHandler);
    ASSERT_FALSE(failed);
    EXPECT_NE(failed.error().message.find(file.string()), std::string::npos) << failed.error().message;
    EXPECT_EQ(contentsOf(file), before);
    EXPECT_EQ(filesInFolder(), std::vector<std::string> { "settings.plist" });

    // A folder that does not exist, and a target that is a folder.
    auto nowhere = foundation::writePropertyList(path("missing/settings.plist"), Value("x"), PropertyListFormat::Xml);
    ASSERT_FALSE(nowhere);
    EXPECT_NE(nowhere.error().message.find("missing"), std::string::npos) << nowhere.error().message;
    EXPECT_FALSE(fs::exists(path("missing")));
    fs::create_directory(path("folder"));
    EXPECT_FALSE(foundation::writePropertyList(path("folder"), Value("x"), PropertyListFormat::Xml));
    EXPECT_TRUE(fs::is_directory(path("folder")));
    EXPECT_EQ(filesInFolder(), (std::vector<std::string> { "folder", "settings.plist" }));
}
