#include <chrono>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>

#include "tests/cli/BrixTool.h"
#include "tests/support/TempDirectory.h"

namespace fs = std::filesystem;

namespace {

bool isEmptyFolder(const fs::path& folder)
{
    return fs::is_directory(folder) && fs::directory_iterator(folder) == fs::directory_iterator();
}

TEST(TemporaryFiles, anUnusableTmpdirIsAClearError)
{
    TempDirectory scratch;
    std::ofstream(scratch.path() / "a-file") << "not a folder";
    std::ofstream(scratch.path() / "banner.json") << R"({"format": 1})";
    for (std::string tmpdir : { (scratch.path() / "missing").string(), (scratch.path() / "a-file").string() }) {
        BrixTool tool(scratch.path(), { "TMPDIR=" + tmpdir });
        for (auto words : std::vector<std::vector<std::string>> {
                 { "run", (scratch.path() / "banner.json").string(), "--out", (scratch.path() / "out").string() },
                 { "banner", "--header", "A", "--body", "B", "--out", (scratch.path() / "b.png").string() } }) {
            auto outcome = tool.run(words);
            EXPECT_EQ(outcome.code, 1) << words[0] << " with TMPDIR=" << tmpdir << ": " << outcome.err;
            EXPECT_NE(
                outcome.err.find("brix: cannot make a temporary folder: TMPDIR (" + tmpdir + ")"), std::string::npos)
                << outcome.err;
        }
    }
}

// A run stopped from outside leaves no temporary device behind.
TEST(TemporaryFiles, anInterruptedRunRemovesItsTemporaryDevice)
{
    TempDirectory scratch;
    auto tmpdir = scratch.path() / "tmp";
    fs::create_directories(tmpdir);
    // An hour of the device's time filmed at 60 frames a second: far longer than the test waits.
    std::ofstream(scratch.path() / "long.json") << R"({"format": 1, "steps": [{"wait": 3600}]})";
    BrixTool tool(scratch.path(), { "TMPDIR=" + tmpdir.string() });
    for (int signal : { SIGINT, SIGTERM }) {
        pid_t child = tool.start({ "run", (scratch.path() / "long.json").string(), "--out",
            (scratch.path() / "out").string(), "--frames", "60" });
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        // Interrupted once the device is laid out (its preference bundles are in place).
        auto laidOut = [&] {
            for (auto& entry : fs::directory_iterator(tmpdir)) {
                if (fs::exists(entry.path() / "Library/PreferenceBundles"))
                    return true;
            }
            return false;
        };
        while (!laidOut() && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        ASSERT_TRUE(laidOut()) << "the run made no temporary device";
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        ::kill(child, signal);
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << "status " << status;
        EXPECT_TRUE(isEmptyFolder(tmpdir)) << "a temporary folder was left behind after signal " << signal;
    }
}

} // namespace

namespace {

// A FIFO given as a picture is refused at once instead of waiting for a writer.
TEST(BannerPictures, aFifoIsRefusedWithoutWaiting)
{
    TempDirectory scratch;
    auto fifo = scratch.path() / "picture.png";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    BrixTool tool(scratch.path());
    for (const char* option : { "--icon", "--picture" }) {
        pid_t child = tool.start({ "banner", "--header", "A", "--body", "B", option, fifo.string(), "--out",
            (scratch.path() / "b.png").string() });
        int status = 0;
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (::waitpid(child, &status, WNOHANG) == 0) {
            if (std::chrono::steady_clock::now() > deadline) {
                ::kill(child, SIGKILL);
                ::waitpid(child, &status, 0);
                FAIL() << option << " with a FIFO hangs";
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 2) << option << ": status " << status;
        EXPECT_NE(BrixTool::slurp(scratch.path() / "stderr").find("is not a picture file"), std::string::npos)
            << BrixTool::slurp(scratch.path() / "stderr");
        EXPECT_FALSE(fs::exists(scratch.path() / "b.png"));
    }
}

} // namespace
