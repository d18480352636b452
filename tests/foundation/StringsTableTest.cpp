#include "platform/foundation/StringsTable.h"

#include <gtest/gtest.h>
#include <string>

#include "platform/foundation/PropertyList.h"

#include "tests/foundation/Printing.h"

using foundation::parseStringsTable;
using foundation::Value;

namespace {

foundation::Result<Value> parse(std::string_view text)
{
    return parseStringsTable({ reinterpret_cast<const uint8_t*>(text.data()), text.size() });
}

std::vector<uint8_t> utf16(std::u16string_view text, bool littleEndian)
{
    std::vector<uint8_t> bytes
        = littleEndian ? std::vector<uint8_t> { 0xFF, 0xFE } : std::vector<uint8_t> { 0xFE, 0xFF };
    for (char16_t unit : text) {
        uint8_t low = unit & 0xFF;
        uint8_t high = unit >> 8;
        bytes.push_back(littleEndian ? low : high);
        bytes.push_back(littleEndian ? high : low);
    }
    return bytes;
}

} // namespace

TEST(StringsTable, readsEntriesWithCommentsAndEscapes)
{
    auto table = parse(R"(/* Buttons of the banner */
"CLOSE" = "Close";
// A line comment
"NOW"="now" ;
"QUOTED" = "Say \"hi\"\n\tthen \\ leave";
"UNICODE" = "caf\U00e9 \UD83D\UDE00";
"OCTAL" = "\101\102";
plainKey = plain.value;
"SAME";
"CLOSE" = "Schließen";
)");
    ASSERT_TRUE(table) << table.error().message;
    EXPECT_EQ(table.value()["CLOSE"], Value("Schließen"));
    EXPECT_EQ(table.value()["NOW"], Value("now"));
    EXPECT_EQ(table.value()["QUOTED"], Value("Say \"hi\"\n\tthen \\ leave"));
    EXPECT_EQ(table.value()["UNICODE"], Value("café 😀"));
    EXPECT_EQ(table.value()["OCTAL"], Value("AB"));
    EXPECT_EQ(table.value()["plainKey"], Value("plain.value"));
    EXPECT_EQ(table.value()["SAME"], Value("SAME"));
    EXPECT_EQ(table->count(), 7u);

    // Braces around the entries, and an empty table.
    auto braced = parse("{ \"A\" = \"1\"; }");
    ASSERT_TRUE(braced);
    EXPECT_EQ(braced.value()["A"], Value("1"));
    auto empty = parse("  /* nothing */ \n");
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->count(), 0u);
}

TEST(StringsTable, readsUtf16WithEitherByteOrder)
{
    for (bool littleEndian : { true, false }) {
        auto bytes = utf16(u"\"REPLY\" = \"Antworten \u00e4\";\n", littleEndian);
        auto table = parseStringsTable(bytes);
        ASSERT_TRUE(table) << table.error().message;
        EXPECT_EQ(table.value()["REPLY"], Value("Antworten ä"));
    }
}

TEST(StringsTable, readsPropertyListTablesKeepingOnlyStrings)
{
    Value entries = Value::dictionary();
    entries.set("OPEN", "Open");
    entries.set("COUNT", 3);
    for (auto format : { foundation::PropertyListFormat::Xml, foundation::PropertyListFormat::Binary }) {
        auto data = foundation::serializePropertyList(entries, format);
        ASSERT_TRUE(data);
        auto table = parseStringsTable(data.value());
        ASSERT_TRUE(table) << table.error().message;
        EXPECT_EQ(table.value()["OPEN"], Value("Open"));
        EXPECT_TRUE(table.value()["COUNT"].isNil());
    }
    auto notATable
        = foundation::serializePropertyList(Value(Value::Array { "a" }), foundation::PropertyListFormat::Xml);
    ASSERT_TRUE(notATable);
    EXPECT_FALSE(parseStringsTable(notATable.value()));
}

TEST(StringsTable, refusesMalformedTextNamingTheLine)
{
    struct Case {
        const char* text;
        const char* expected;
    };
    for (auto [text, expected] : {
             Case { "\"A\" = \"1\";\n\"B\" \"2\";", "line 2: expected \"=\"" },
             Case { "\"A\" = \"1\"", "line 1: expected \";\"" },
             Case { "\"A\" = \"unterminated;\n", "line 1: a quoted string is not closed" },
             Case { "\"A\" = \"1\";\n/* open", "line 2: a comment is not closed" },
             Case { "= \"1\";", "line 1: expected a key" },
             Case { "{ \"A\" = \"1\";", "the closing \"}\" is missing" },
         }) {
        auto table = parse(text);
        ASSERT_FALSE(table) << text;
        EXPECT_NE(table.error().message.find(expected), std::string::npos) << table.error().message;
    }
}
