#pragma once

#include <memory>
#include <optional>
#include <string>
#include <unicode/uversion.h>

#include "platform/foundation/SystemEnvironment.h"
#include "platform/foundation/Value.h"

U_NAMESPACE_BEGIN
class SimpleDateFormat;
U_NAMESPACE_END

namespace foundation {

// The platform's NSDateFormatter over ICU's SimpleDateFormat: a pattern in
// ICU's syntax ("HH:mm", "h:mm a"), the system's locale and time zone as they
// are when the formatter is made.
//
// Messages: -init, -dateFormat, -setDateFormat:, -stringFromDate: (a Date
// value; nil for anything else), -dateFromString: (a Date value, or nil when
// the text does not fit the pattern).
class DateFormatter : public runtime::NSObject {
public:
    explicit DateFormatter(runtime::Class*);
    ~DateFormatter() override;

    const std::string& dateFormat() const { return m_format; }
    void setDateFormat(std::string);
    const std::string& localeIdentifier() const { return m_locale; }
    void setLocaleIdentifier(std::string);
    const std::string& timeZoneIdentifier() const { return m_timeZone; }
    void setTimeZoneIdentifier(std::string);

    std::string stringFromDate(Date);
    std::optional<Date> dateFromString(const std::string&);

    static void registerClass(runtime::Runtime&, std::shared_ptr<const SystemEnvironment>);

private:
    icu::SimpleDateFormat* formatter();

    std::string m_format;
    std::string m_locale { "en_US" };
    std::string m_timeZone { "UTC" };
    std::unique_ptr<icu::SimpleDateFormat> m_formatter;
};

} // namespace foundation
