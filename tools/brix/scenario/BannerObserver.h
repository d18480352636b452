#pragma once

#include <string>
#include <unordered_map>

#include "platform/device/Forward.h"
#include "platform/foundation/Value.h"
#include "platform/runtime/Ref.h"

namespace tools::scenario {

// Traces what happens to Brix's banners in the home screen (a per-process
// service): `banner.attached` when a banner first enters a window, with the
// texts it was constructed with; `banner.removed` when it leaves the
// screen; `banner.text` when a content update changes the texts its header
// and body labels show; `banner.image` when `updateImage:` reaches it.
//
// Brix is not told: like a debugging tool, the observer replaces a few
// methods of the process's BrixContainer class through the run time
// (keeping and calling the implementations it replaced), so it sees exactly
// what the banner is asked to do. The replacements appear in the process's
// run-time change list after Brix's own. A process without the class (Brix
// absent or disabled before it defined its classes) is left alone.
class BannerObserver {
public:
    explicit BannerObserver(device::Process&);

    // Installs the observation in the process, once.
    static void observe(device::Process&);

private:
    struct Record {
        runtime::WeakRef<runtime::Object> banner;
        foundation::Value header;
        foundation::Value subHeader;
        foundation::Value body;
        foundation::Value id;
        bool attached { false };
        bool onScreen { false };
    };

    void install();
    void constructed(runtime::Object* banner, const foundation::Value& header, const foundation::Value& subHeader,
        const foundation::Value& body);
    void windowChanged(runtime::Object* banner);
    void imageUpdated(runtime::Object* banner, runtime::Object* image);
    void textsMayHaveChanged(runtime::Object* banner, const std::pair<foundation::Value, foundation::Value>& before);
    Record& recordFor(runtime::Object* banner);
    foundation::Value bannerId(Record&);
    void traceAttached(Record&);

    device::Process* m_process;
    bool m_installed { false };
    // By the banner's address; a record whose banner has gone is dropped
    // once the map has doubled since the last sweep, or replaced when a new
    // banner takes the address.
    std::unordered_map<const runtime::Object*, Record> m_records;
    size_t m_recordsAfterSweep { 16 };
};

} // namespace tools::scenario
