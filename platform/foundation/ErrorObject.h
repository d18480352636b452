#pragma once

#include <cstdint>
#include <string>

#include "platform/foundation/Value.h"
#include "platform/runtime/Runtime.h"

namespace foundation {

// Error domains and the codes of them that the platform's classes report.
inline constexpr const char* cocoaErrorDomain = "NSCocoaErrorDomain";
inline constexpr int64_t fileReadUnknownError = 256;
inline constexpr int64_t fileReadNoPermissionError = 257;
inline constexpr int64_t fileReadNoSuchFileError = 260;

// The user-info key of an error's description.
inline constexpr const char* localizedDescriptionKey = "NSLocalizedDescription";

// The platform's NSError: a domain, a code and a user info whose
// "NSLocalizedDescription" says what went wrong in words.
//
// Messages: +errorWithDomain:code:userInfo:, -initWithDomain:code:userInfo:
// (nil without a domain string), -domain, -code, -userInfo,
// -localizedDescription (the user info's description, else a sentence naming
// the domain and the code).
//
// Methods that report an error through an `error:` argument take a
// `runtime::Value*` (type "^@"); they write the error there on failure and
// leave it alone on success. A null pointer asks for no error.
class ErrorObject : public runtime::NSObject {
public:
    using NSObject::NSObject;

    const std::string& domain() const { return m_domain; }
    int64_t code() const { return m_code; }
    const Value& userInfo() const { return m_userInfo; }
    std::string localizedDescription() const;

    // A new error of the run time's class "NSError"; nil without the class.
    static runtime::Ref<ErrorObject> make(
        runtime::Runtime&, std::string domain, int64_t code, std::string description, Value userInfo = {});

    // Writes `error` to an `error:` argument, when the caller asked for one.
    static void report(Value* destination, ErrorObject* error);

    // Defines the run-time class "NSError"; does nothing when it exists.
    static void registerClass(runtime::Runtime&);

private:
    std::string m_domain;
    int64_t m_code { 0 };
    Value m_userInfo;
};

} // namespace foundation

// An `NSError**` argument.
template <> struct runtime::Encoding<runtime::Value*> {
    static constexpr const char* value = "^@";
};
