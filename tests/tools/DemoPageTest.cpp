#include "tools/brix/demo/DemoPage.h"

#include <gtest/gtest.h>

using tools::demo::DemoPage;
using tools::demo::StepRecord;
using tools::scenario::Json;

TEST(DemoPage, makesTextAndFileNamesSafe)
{
    EXPECT_EQ(DemoPage::escape(R"(<a href="x">Tom & Jerry's</a>)"),
        "&lt;a href=&quot;x&quot;&gt;Tom &amp; Jerry&#39;s&lt;/a&gt;");
    EXPECT_EQ(DemoPage::fileUrl("steps/step-001.png"), "steps/step-001.png");
    EXPECT_EQ(DemoPage::fileUrl("a b#1?\"x\".png"), "a%20b%231%3F%22x%22.png");
    EXPECT_EQ(DemoPage::fileUrl("café.png"), "caf%C3%A9.png");
}

TEST(DemoPage, showsStepsAndEventsWithoutLettingTheirTextIntoTheMarkup)
{
    DemoPage::Content content;
    content.title = "Brix · <tour>";
    content.summary = "2 steps";
    content.animation = "tour.webp";
    content.trace = "trace.jsonl";
    content.steps = { { 1, 0.5, "notify", "notify n1: <b>Bob</b>", false, true, "steps/step 001.png", false },
        { 2, 0.5, "expect", "expect banner.attached", true, false, "steps/step 001.png", true } };
    content.events = { Json::parse(R"({"t": 0.5, "type": "banner.attached", "id": "n1", "header": "<script>"})"),
        Json::parse(
            R"({"t": 1, "type": "inspect", "id": "n1", "banner": {"text": ")" + std::string(300, 'x') + R"("}})") };
    auto html = DemoPage::html(content);

    EXPECT_NE(html.find("<title>Brix · &lt;tour&gt;</title>"), std::string::npos);
    EXPECT_NE(html.find("notify n1: &lt;b&gt;Bob&lt;/b&gt;"), std::string::npos);
    EXPECT_NE(html.find("src=\"steps/step%20001.png\""), std::string::npos);
    EXPECT_NE(html.find("src=\"tour.webp\""), std::string::npos);
    EXPECT_NE(html.find("✗ failed"), std::string::npos);
    // The expectation changed nothing: it shows the picture before it, faded.
    EXPECT_NE(html.find("<td class=\"frame repeats\"><a href=\"steps/step%20001.png\">"), std::string::npos);
    EXPECT_EQ(html.find("<script"), std::string::npos);
    EXPECT_NE(html.find("&lt;script&gt;"), std::string::npos);
    // A long event folds away behind its beginning.
    EXPECT_NE(html.find("<details><summary>"), std::string::npos);
    // No sheet was written, so none is shown.
    EXPECT_EQ(html.find("sheet"), std::string::npos);
}
