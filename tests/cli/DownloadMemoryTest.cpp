#include <cstdlib>
#include <gtest/gtest.h>
#include <sys/resource.h>

#include "tests/cli/BrixTool.h"
#include "tests/support/TempDirectory.h"

namespace fs = std::filesystem;

namespace {

// A scenario whose profile picture arrives gzip-compressed: the bomb (1 MB
// that expands to 1 GiB of zeros) or an ordinary picture.
std::string pictureScenario(const std::string& answer)
{
    return R"({"format": 1, "preferences": {"timeToDismiss": 30}, "web": {
        "https://mobile.twitter.com/annlee": {"text": "<html><img class=\"avatar\" src=\"https://pbs.twimg.com/profile_images/1480/annlee_normal.jpg\"></html>"},
        "https://pbs.twimg.com/profile_images/1480/annlee_normal.jpg": )"
        + answer + R"(},
      "steps": [
        {"notify": {"app": "com.atebits.Tweetie2", "title": "Ann Lee", "message": "followed you", "userInfo": {"D": "annlee"}}},
        {"at": 1, "expect": {"type": "http.request", "url": "https://pbs.twimg.com/profile_images/1480/annlee_normal.jpg"}},
        {"wait": 2}
      ]})";
}

// The address sanitizer keeps freed memory in quarantine (256 MB by default),
// which a stream of decoded chunks fills whatever the tool itself keeps: its
// runs here go without it, so that both measure the tool's own memory.
void withoutQuarantine()
{
#if defined(__SANITIZE_ADDRESS__)
    const char* options = std::getenv("ASAN_OPTIONS");
    std::string joined = options && *options ? std::string(options) + ":" : std::string();
    ::setenv("ASAN_OPTIONS", (joined + "quarantine_size_mb=0").c_str(), 1);
#endif
}

// The tool's peak resident memory, in kilobytes, over a run of `scenario`.
long peakKilobytesRunning(const TempDirectory& scratch, const std::string& name, const std::string& scenario)
{
    auto file = scratch.path() / (name + ".json");
    std::ofstream(file) << scenario;
    BrixTool tool(scratch.path());
    pid_t child = tool.start({ "run", file.string(), "--out", (scratch.path() / name).string() });
    int status = 0;
    rusage usage {};
    ::wait4(child, &status, 0, &usage);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
        << name << ": " << BrixTool::slurp(scratch.path() / "stderr");
    return usage.ru_maxrss;
}

// The body limit applies to decoded bytes as they arrive: a decompression
// bomb costs the tool no more memory than an ordinary compressed picture, give
// or take the 10 MiB limit (measured before the limit held: 2.1 GB).
TEST(DownloadMemory, aDecompressionBombStaysWithinTheBodyLimit)
{
    withoutQuarantine();
    TempDirectory scratch;
    fs::copy_file(fs::path(BRIX_SCENARIOS) / "fixtures/web/zeros-1gib.gz", scratch.path() / "zeros-1gib.gz");
    fs::copy_file(fs::path(BRIX_SCENARIOS) / "fixtures/pfp/avatar-blue.jpg", scratch.path() / "avatar-blue.jpg");
    long ordinary
        = peakKilobytesRunning(scratch, "ordinary", pictureScenario(R"({"file": "avatar-blue.jpg", "gzip": true})"));
    long bomb = peakKilobytesRunning(scratch, "bomb",
        pictureScenario(
            R"({"file": "zeros-1gib.gz", "headers": {"Content-Encoding": "gzip", "Content-Type": "image/jpeg"}})"));
    EXPECT_LT(bomb - ordinary, 64 * 1024) << "peak " << bomb << " KB against " << ordinary << " KB";
}

} // namespace
