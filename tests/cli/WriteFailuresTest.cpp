#include <gtest/gtest.h>

#include "platform/foundation/PropertyList.h"

#include "tests/cli/BrixTool.h"
#include "tests/support/TempDirectory.h"

namespace fs = std::filesystem;
using foundation::Value;

namespace {

// The tool on a device whose disk fills up: the device is made, and a value
// stored, while there is room; then files may no longer grow.
class WriteFailuresTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(run({ "prefs", "--device", device().string(), "set", "timeToDismiss", "4" }).code, 0);
        m_before = BrixTool::slurp(domainFile());
        m_tool.limitFileSize(0);
    }

    fs::path device() const { return m_scratch.path() / "device"; }
    fs::path domainFile() const
    {
        return device() / "private/var/mobile/Library/Preferences/com.ostwyn.brixprefs.plist";
    }
    BrixTool::Outcome run(const std::vector<std::string>& words) const { return m_tool.run(words); }

    // The domain is as it was, and nothing was left beside it.
    void expectDomainUntouched() const
    {
        EXPECT_EQ(BrixTool::slurp(domainFile()), m_before);
        for (auto& entry : fs::directory_iterator(domainFile().parent_path())) {
            auto name = entry.path().filename().string();
            EXPECT_TRUE(name == domainFile().filename().string() || name == domainFile().filename().string() + ".lock")
                << "left behind: " << name;
        }
    }

    TempDirectory m_scratch;
    BrixTool m_tool { m_scratch.path() };
    std::string m_before;
};

TEST_F(WriteFailuresTest, prefsSetOnAFullDiskFailsNamingTheFile)
{
    auto outcome = run({ "prefs", "--device", device().string(), "set", "timeToDismiss", "9" });
    EXPECT_NE(outcome.code, 0);
    EXPECT_NE(outcome.err.find("cannot write "
                  + (device() / "var/mobile/Library/Preferences/com.ostwyn.brixprefs.plist").string() + ": "),
        std::string::npos)
        << outcome.err;
    expectDomainUntouched();
}

TEST_F(WriteFailuresTest, settingsSetOnAFullDiskFailsNamingTheFile)
{
    auto outcome = run({ "settings", "--device", device().string(), "set", "Dismiss after", "9" });
    EXPECT_NE(outcome.code, 0) << outcome.out;
    EXPECT_NE(outcome.err.find("cannot write "
                  + (device() / "var/mobile/Library/Preferences/com.ostwyn.brixprefs.plist").string() + ": "),
        std::string::npos)
        << outcome.err;
    EXPECT_EQ(outcome.out.find("9"), std::string::npos) << "the new value is not reported as set: " << outcome.out;
    expectDomainUntouched();
}

} // namespace
