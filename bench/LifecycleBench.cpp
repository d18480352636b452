// A notification's road in the running device. Arrival: the system presents
// a banner and Brix attaches and lays out its own; the baseline is the same
// arrival on a device where Brix is switched off, so the ratio is what Brix
// adds. Life cycles: arrive, dismiss automatically, the system's dismissal,
// the controller released, 10,000 times in virtual time, with the home
// screen's live objects and the resident memory before and after.

#include <benchmark/benchmark.h>
#include <fstream>
#include <malloc.h>
#include <string>

#include "platform/runtime/Send.h"
#include "platform/springboard/BannerPresenter.h"
#include "platform/springboard/NCNotificationAction.h"
#include "platform/springboard/NCNotificationRequest.h"
#include "platform/springboard/NCNotificationShortLookViewController.h"

#include "tests/support/BrixDevice.h"

namespace {

using foundation::Value;
using springboard::BannerPresenter;
using springboard::NCNotificationAction;
using springboard::NCNotificationRequest;

constexpr size_t maxTasks = 100000;

class RunningDevice {
public:
    explicit RunningDevice(bool brixEnabled)
    {
        m_brix.storePreference("enabled", Value(brixEnabled));
        m_brix.storePreference("timeToDismiss", Value(int64_t(1)));
        m_home = &m_brix.launch("com.apple.springboard");
        // The trace is the test's record, not the phone's memory: it is not kept here.
        m_brix.device().trace().setKeepsEvents(false);
    }

    device::Process& home() { return *m_home; }

    runtime::Ref<NCNotificationRequest> request(int serial)
    {
        NCNotificationRequest::Contents contents;
        contents.notificationIdentifier = "n" + std::to_string(serial);
        contents.sectionIdentifier = "com.example.chat";
        contents.title = Value("Alice " + std::to_string(serial));
        contents.message = Value("The meeting moved to three o'clock, see you there");
        contents.defaultAction = NCNotificationAction::make(m_home->runtime(), Value("open"));
        return NCNotificationRequest::make(*m_home, std::move(contents));
    }

    // The notification arrives and every turn it causes now has run.
    void arrive(int serial)
    {
        auto made = request(serial);
        BannerPresenter::of(*m_home).presentBanner(*made);
        runDue();
    }

    // Long enough for the automatic dismissal, the slide-out and the system's own dismissal.
    void letBannersGo()
    {
        if (!m_brix.device().scheduler().advance(BannerPresenter::bannerTimeout + 3, maxTasks))
            throw std::runtime_error("the device did not settle");
    }

    void runDue()
    {
        if (!m_brix.device().scheduler().runDue(maxTasks))
            throw std::runtime_error("the device did not settle");
    }

    size_t presentedBanners() { return BannerPresenter::of(*m_home).presentedBanners().size(); }

private:
    BrixDevice m_brix;
    device::Process* m_home { nullptr };
};

void arrivals(benchmark::State& state, bool brixEnabled)
{
    RunningDevice device(brixEnabled);
    int serial = 0;
    for (auto _ : state) {
        device.arrive(++serial);
        state.PauseTiming();
        device.letBannersGo();
        state.ResumeTiming();
    }
}

void BM_ArrivalToBanner(benchmark::State& state)
{
    arrivals(state, true);
}
BENCHMARK(BM_ArrivalToBanner)->Unit(benchmark::kMicrosecond);

void BM_ArrivalWithoutBrixBaseline(benchmark::State& state)
{
    arrivals(state, false);
}
BENCHMARK(BM_ArrivalWithoutBrixBaseline)->Unit(benchmark::kMicrosecond);

// Resident memory of this process in KiB, from the kernel, once the
// allocator has handed back what it holds free.
double residentKiB()
{
    malloc_trim(0);
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stod(line.substr(6));
    }
    return 0;
}

void BM_TenThousandLifeCycles(benchmark::State& state)
{
    constexpr int cycles = 10000;
    for (auto _ : state) {
        RunningDevice device(true);
        // The first cycles fill the caches a banner uses (fonts, text, glyphs); they are not growth.
        for (int serial = 1; serial <= 100; ++serial) {
            device.arrive(serial);
            device.letBannersGo();
        }
        size_t objectsBefore = device.home().runtime().liveObjectCount();
        double memoryBefore = residentKiB();
        for (int serial = 101; serial <= 100 + cycles; ++serial) {
            device.arrive(serial);
            device.letBannersGo();
        }
        size_t objectsAfter = device.home().runtime().liveObjectCount();
        double memoryAfter = residentKiB();
        state.counters["objectsBefore"] = double(objectsBefore);
        state.counters["objectsAfter"] = double(objectsAfter);
        state.counters["bannersHeld"] = double(device.presentedBanners());
        state.counters["rssBeforeKiB"] = memoryBefore;
        state.counters["rssAfterKiB"] = memoryAfter;
        state.counters["rssGrowth"] = memoryBefore > 0 ? memoryAfter / memoryBefore - 1 : 0;
    }
}
BENCHMARK(BM_TenThousandLifeCycles)->Iterations(1)->Repetitions(1)->Unit(benchmark::kSecond);

} // namespace
