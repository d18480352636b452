#pragma once

#include <string>
#include <string_view>

#include "platform/runtime/Runtime.h"

namespace network {

// The platform's NSURL: an absolute URL ("scheme://host/path?query"), kept
// as the text it was made from; no percent-escaping is applied. Text that
// does not form an absolute URL (spaces, no scheme, a malformed host) makes
// no URL.
//
// Messages: +URLWithString: and -initWithString: (nil for text that is not
// a URL), -absoluteString, -scheme, -host, -path, -query (nil when absent),
// -isEqual:.
class URL : public runtime::NSObject {
public:
    using NSObject::NSObject;

    // Parses `text`; false, changing nothing, when it is not an absolute URL.
    bool setString(std::string_view text);

    const std::string& absoluteString() const { return m_string; }
    const std::string& scheme() const { return m_scheme; }
    const std::string& host() const { return m_host; }
    const std::string& path() const { return m_path; }
    const std::string& query() const { return m_query; }

    // A new URL of the run time's class "NSURL"; nil for text that is not a URL.
    static runtime::Ref<URL> make(runtime::Runtime&, std::string_view text);

    static void registerClass(runtime::Runtime&);

private:
    std::string m_string;
    std::string m_scheme;
    std::string m_host;
    std::string m_path;
    std::string m_query;
};

} // namespace network
