#pragma once

#include <string>
#include <vector>

#include "platform/device/Forward.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/Result.h"
#include "platform/preferences/PSSpecifier.h"

namespace preferences {

// A specifier file of a settings bundle ("Root.plist"): a property list
// whose "items" array describes the rows of a page, each a dictionary with
// its "cell" type and whatever that cell reads ("label", "key", "defaults",
// "default", "PostNotification", "action", "detail", "validValues",
// "validTitles", "min", "max", ...), and an optional page "title". Labels,
// footers and choice titles are translated through the bundle's strings
// table of the file's name, when it has one.
class SpecifierFile {
public:
    struct Page {
        foundation::Value title;
        std::vector<runtime::Ref<PSSpecifier>> specifiers;
        // Rows that were left out, each with the reason.
        std::vector<std::string> problems;
    };

    // Reads `<name>.plist` of `bundle` and makes its specifiers, with
    // `target` reading and writing their values. A file that is missing or
    // not a dictionary with an "items" array is refused with the reason; a
    // row that is not a dictionary or names no known cell type is left out
    // and listed among the problems.
    static foundation::Result<Page> load(
        device::Process&, foundation::Bundle&, const std::string& name, runtime::Object* target);

    // The same from an already parsed file; `table` translates the labels.
    static foundation::Result<Page> fromValue(runtime::Runtime&, const foundation::Value& file, foundation::Bundle*,
        const std::string& table, runtime::Object* target);
};

} // namespace preferences
