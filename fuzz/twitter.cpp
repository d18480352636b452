// The matcher that finds the profile picture in a Twitter profile page, with
// the home screen's NSRegularExpression, as the Twitter provider runs it.

#include "platform/apps/Apps.h"
#include "platform/device/Device.h"

#include "fuzz/FuzzCheck.h"
#include "tests/support/TempDirectory.h"
#include "tweak/pfp/ProfilePage.h"

namespace {

struct Home {
    Home()
        : device(root.path())
    {
        apps::defineApps(device);
        process = &device.launch("com.apple.springboard");
    }
    TempDirectory root;
    device::Device device;
    device::Process* process { nullptr };
};

bool startsWithPictureHost(const std::string& address)
{
    constexpr std::string_view host = "https://pbs.twimg.com/profile_images/";
    if (address.size() <= host.size())
        return false;
    for (size_t index = 0; index < host.size(); ++index)
        if (std::tolower(static_cast<unsigned char>(address[index])) != host[index])
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static Home* home = new Home;
    auto address = brix::pfp::profilePictureAddress(home->process->runtime(), foundation::Data(data, data + size));
    if (!address)
        return 0;
    FUZZ_CHECK(startsWithPictureHost(*address), "an address is on the picture host");
    FUZZ_CHECK(address->find('"') == std::string::npos, "an address ends before a quotation mark");
    return 0;
}
