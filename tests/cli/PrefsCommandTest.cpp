#include <algorithm>
#include <chrono>
#include <functional>
#include <gtest/gtest.h>
#include <random>
#include <sys/stat.h>

#include "platform/foundation/PropertyList.h"

#include "tests/cli/BrixTool.h"
#include "tests/support/TempDirectory.h"

namespace fs = std::filesystem;
using foundation::Value;

namespace {

// A domain holding an integer beyond 64 bits, which the platform cannot represent.
const std::string unreadable = "<?xml version=\"1.0\"?><plist><dict><key>big</key>"
                               "<integer>99999999999999999999</integer></dict></plist>";

class PrefsCommandTest : public testing::Test {
protected:
    fs::path device() const { return m_scratch.path() / "device"; }
    fs::path domainFile() const
    {
        return device() / "private/var/mobile/Library/Preferences/com.ostwyn.brixprefs.plist";
    }
    BrixTool::Outcome prefs(std::vector<std::string> words) const
    {
        words.insert(words.begin(), { "prefs", "--device", device().string() });
        return m_tool.run(words);
    }
    void writeDomain(const std::string& contents) const
    {
        fs::create_directories(domainFile().parent_path());
        std::ofstream(domainFile(), std::ios::binary) << contents;
    }
    Value storedDomain() const { return foundation::loadPropertyList(domainFile()).value(); }

    TempDirectory m_scratch;
    BrixTool m_tool { m_scratch.path() };
};

TEST_F(PrefsCommandTest, getReadsBackWhatSetStored)
{
    ASSERT_EQ(prefs({ "set", "showButtons", "yes" }).code, 0);
    ASSERT_EQ(prefs({ "set", "timeToDismiss", "9" }).code, 0);
    EXPECT_EQ(prefs({ "get", "showButtons" }).out, "YES\n");
    EXPECT_EQ(prefs({ "get", "timeToDismiss" }).out, "9\n");
    EXPECT_EQ(prefs({ "get", "maxLineCount" }).out, "2\n");
    auto listed = prefs({ "list" });
    EXPECT_EQ(listed.code, 0);
    EXPECT_NE(listed.out.find("9"), std::string::npos);
    EXPECT_EQ(storedDomain()["timeToDismiss"], Value(int64_t(9)));
}

} // namespace

namespace {

TEST_F(PrefsCommandTest, setRefusesADomainItCannotReadAndLeavesItAsItWas)
{
    writeDomain(unreadable);
    auto outcome = prefs({ "set", "showButtons", "yes" });
    EXPECT_EQ(outcome.code, 2);
    EXPECT_NE(outcome.err.find("com.ostwyn.brixprefs.plist, which cannot be read"), std::string::npos) << outcome.err;
    EXPECT_NE(outcome.err.find("the value at \"big\""), std::string::npos) << "names the entry: " << outcome.err;
    EXPECT_EQ(BrixTool::slurp(domainFile()), unreadable);
}

TEST_F(PrefsCommandTest, settingsSetRefusesADomainItCannotReadNamingTheEntry)
{
    writeDomain(unreadable);
    auto outcome = m_tool.run({ "settings", "--device", device().string(), "set", "Dismiss after", "9" });
    EXPECT_NE(outcome.code, 0) << outcome.out;
    EXPECT_NE(outcome.err.find("com.ostwyn.brixprefs.plist, which cannot be read"), std::string::npos) << outcome.err;
    EXPECT_NE(outcome.err.find("the value at \"big\""), std::string::npos) << "names the entry: " << outcome.err;
    EXPECT_EQ(BrixTool::slurp(domainFile()), unreadable);
}

TEST_F(PrefsCommandTest, setRefusesADomainPathThatIsNoRegularFile)
{
    fs::create_directories(domainFile().parent_path());
    ASSERT_EQ(::mkfifo(domainFile().c_str(), 0644), 0);
    auto outcome = prefs({ "set", "showButtons", "yes" });
    EXPECT_NE(outcome.code, 0);
    EXPECT_TRUE(fs::is_fifo(domainFile()));
}

} // namespace

namespace {

TEST_F(PrefsCommandTest, resetMovesAnUnreadableDomainAsideAndSaysSo)
{
    writeDomain(unreadable);
    auto refused = prefs({ "set", "showButtons", "yes" });
    EXPECT_EQ(refused.code, 2);
    EXPECT_NE(refused.err.find("brix prefs reset moves the file aside"), std::string::npos) << refused.err;

    auto reset = prefs({ "reset" });
    EXPECT_EQ(reset.code, 0) << reset.err;
    std::vector<fs::path> aside;
    for (auto& entry : fs::directory_iterator(domainFile().parent_path())) {
        if (entry.path().filename().string().starts_with("com.ostwyn.brixprefs.plist.unreadable-"))
            aside.push_back(entry.path());
    }
    ASSERT_EQ(aside.size(), 1u);
    EXPECT_EQ(BrixTool::slurp(aside.front()), unreadable) << "what was stored is kept whole";
    EXPECT_NE(reset.err.find("could not be read; it was moved aside to "), std::string::npos) << reset.err;
    EXPECT_NE(reset.err.find(aside.front().filename().string()), std::string::npos) << reset.err;
    EXPECT_TRUE(storedDomain().entries().empty());

    ASSERT_EQ(prefs({ "set", "showButtons", "yes" }).code, 0);
    EXPECT_EQ(prefs({ "get", "showButtons" }).out, "YES\n");
    // A readable domain is reset in place, with nothing moved aside.
    auto again = prefs({ "reset" });
    EXPECT_EQ(again.code, 0);
    EXPECT_EQ(again.err, "");
}

} // namespace

namespace {

TEST_F(PrefsCommandTest, setCleansUpTemporaryFilesLeftByAKilledWriter)
{
    ASSERT_EQ(prefs({ "set", "timeToDismiss", "5" }).code, 0);
    auto folder = domainFile().parent_path();
    for (const char* stale : { ".com.ostwyn.brixprefs.plist.tmp-0badf00d", ".com.ostwyn.brixprefs.plist.tmp-12345678" })
        std::ofstream(folder / stale) << "half a property list";
    std::ofstream(folder / ".other.plist.tmp-0badf00d") << "another domain's";
    ASSERT_EQ(prefs({ "set", "timeToDismiss", "6" }).code, 0);
    std::vector<std::string> names;
    for (auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names,
        (std::vector<std::string> {
            ".other.plist.tmp-0badf00d", "com.ostwyn.brixprefs.plist", "com.ostwyn.brixprefs.plist.lock" }));
    EXPECT_EQ(storedDomain()["timeToDismiss"], Value(int64_t(6)));
}

} // namespace

namespace {

// Three writers at once, each changing a key of its own, round after round:
// every round ends with all three changes stored.
TEST_F(PrefsCommandTest, concurrentWritersLoseNoChange)
{
    ASSERT_EQ(prefs({ "reset" }).code, 0);
    const char* keys[] = { "showButtons", "boldButtons", "backgroundBlur" };
    std::vector<std::unique_ptr<TempDirectory>> outputs;
    std::vector<BrixTool> tools;
    for (int writer = 0; writer < 3; ++writer) {
        outputs.push_back(std::make_unique<TempDirectory>());
        tools.emplace_back(outputs.back()->path());
    }
    for (int round = 0; round < 10; ++round) {
        std::string value = round % 2 ? "yes" : "no";
        std::vector<pid_t> children;
        for (int writer = 0; writer < 3; ++writer)
            children.push_back(
                tools[writer].start({ "prefs", "--device", device().string(), "set", keys[writer], value }));
        for (pid_t child : children) {
            int status = 0;
            ::waitpid(child, &status, 0);
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "round " << round;
        }
        auto stored = storedDomain();
        for (const char* key : keys)
            EXPECT_EQ(stored[key], Value(round % 2 == 1)) << key << " lost in round " << round;
    }
}

} // namespace

namespace {

// Writers killed at random moments leave the old or the new domain, never a
// broken one, and the temporary files they leave do not pile up. `command`
// makes the words that set timeToDismiss to a number. Each round kills one
// writer at a moment between its start and a little after the time a whole
// run took, so that the kills fall all over the run, the write too.
void killWritersAtRandom(const BrixTool& tool, const fs::path& domain, int rounds,
    const std::function<std::vector<std::string>(int64_t)>& command)
{
    ASSERT_EQ(tool.run(command(1)).code, 0); // makes the device
    auto started = std::chrono::steady_clock::now();
    ASSERT_EQ(tool.run(command(1)).code, 0);
    auto took = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - started);
    std::mt19937 random(20261210);
    std::uniform_int_distribution<int64_t> delay(0, took.count() * 6 / 5);
    int64_t last = 1;
    int kept = 0;
    int changed = 0;
    for (int round = 0; round < rounds; ++round) {
        int64_t next = last % 20 + 2; // never the value stored, within every writer's range
        pid_t child = tool.start(command(next));
        ::usleep(static_cast<useconds_t>(delay(random)));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        auto stored = foundation::loadPropertyList(domain);
        ASSERT_TRUE(stored) << "round " << round << ": " << stored.error().message;
        // The slider of the Settings app stores a real number, the prefs command an integer.
        auto value = stored.value()["timeToDismiss"];
        ASSERT_TRUE(value.isInteger() || value.isReal()) << "round " << round;
        auto number = value.isInteger() ? value.integer() : std::llround(value.real());
        ASSERT_TRUE(number == last || number == next)
            << "round " << round << ": " << number << " stored, " << last << " or " << next << " expected";
        (number == last ? kept : changed) += 1;
        last = number;
        size_t temporary = 0;
        for (auto& entry : fs::directory_iterator(domain.parent_path()))
            temporary += entry.path().filename().string().starts_with("." + domain.filename().string() + ".tmp-");
        EXPECT_LE(temporary, 1u) << "round " << round;
    }
    // Some writers were killed before their write and some after it.
    EXPECT_GT(kept, 0);
    EXPECT_GT(changed, 0);
}

TEST_F(PrefsCommandTest, aWriterKilledMidWriteLeavesAValidDomain)
{
    killWritersAtRandom(m_tool, domainFile(), 60, [&](int64_t value) {
        return std::vector<std::string> { "prefs", "--device", device().string(), "set", "timeToDismiss",
            std::to_string(value) };
    });
}

// The same through the Settings app, which starts a device to change the value.
TEST_F(PrefsCommandTest, aSettingsWriterKilledMidWriteLeavesAValidDomain)
{
    killWritersAtRandom(m_tool, domainFile(), 50, [&](int64_t value) {
        return std::vector<std::string> { "settings", "--device", device().string(), "set", "Dismiss after",
            std::to_string(value) };
    });
}

} // namespace
