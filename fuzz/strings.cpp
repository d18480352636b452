// Strings tables (".strings" files) in their text forms and as property lists.

#include <span>

#include "platform/foundation/StringsTable.h"

#include "fuzz/FuzzCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    auto table = foundation::parseStringsTable(std::span(data, size));
    if (!table.isOk()) {
        FUZZ_CHECK(!table.error().message.empty(), "a refusal says why");
        return 0;
    }
    FUZZ_CHECK(table->isDictionary(), "a table is a dictionary");
    for (auto& [key, text] : table->entries())
        FUZZ_CHECK(text.isString(), "a table holds strings only");
    return 0;
}
