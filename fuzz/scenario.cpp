// Scenario files, through the tool's parser only (nothing is run): every
// input is either a scenario or a refusal with a message.

#include <filesystem>
#include <fstream>
#include <string>

#include "fuzz/FuzzCheck.h"
#include "tests/support/TempDirectory.h"
#include "tools/brix/scenario/ScenarioParser.h"

namespace {

// A scenario folder holding a picture and a vCard for fixtures to name.
struct Folder {
    Folder()
    {
        std::ofstream(folder.path() / "picture.png", std::ios::binary) << "\x89PNG\r\n\x1a\n";
        std::ofstream(folder.path() / "contacts.vcf") << "BEGIN:VCARD\r\nVERSION:4.0\r\nFN:Ann\r\nEND:VCARD\r\n";
    }
    TempDirectory folder;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static Folder* scenarioFolder = new Folder;
    std::string text(reinterpret_cast<const char*>(data), size);
    auto scenario = tools::scenario::ScenarioParser::parseText(text, scenarioFolder->folder.path());
    if (!scenario.isOk())
        FUZZ_CHECK(!scenario.error().message.empty(), "a refusal says why");
    return 0;
}
