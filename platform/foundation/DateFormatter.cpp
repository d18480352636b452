#include "platform/foundation/DateFormatter.h"

#include <unicode/smpdtfmt.h>
#include <unicode/timezone.h>

#include "platform/foundation/DateClass.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/runtime/Console.h"
#include "platform/runtime/Send.h"

namespace foundation {

using runtime::ClassBuilder;
using runtime::Imp;
using runtime::Object;
using runtime::Selector;

namespace {

    icu::UnicodeString unicode(const std::string& text)
    {
        return icu::UnicodeString::fromUTF8(text);
    }

    UDate udateOf(Date date)
    {
        return DateClass::timeIntervalSince1970(date) * 1000.0;
    }

} // namespace

DateFormatter::DateFormatter(runtime::Class* cls)
    : NSObject(cls)
{
}

DateFormatter::~DateFormatter() = default;

void DateFormatter::setDateFormat(std::string format)
{
    m_format = std::move(format);
    m_formatter.reset();
}

void DateFormatter::setLocaleIdentifier(std::string locale)
{
    m_locale = std::move(locale);
    m_formatter.reset();
}

void DateFormatter::setTimeZoneIdentifier(std::string timeZone)
{
    m_timeZone = std::move(timeZone);
    m_formatter.reset();
}

icu::SimpleDateFormat* DateFormatter::formatter()
{
    if (m_formatter)
        return m_formatter.get();
    UErrorCode status = U_ZERO_ERROR;
    auto made = std::make_unique<icu::SimpleDateFormat>(unicode(m_format), icu::Locale(m_locale.c_str()), status);
    if (U_FAILURE(status)) {
        runtime::console("foundation: the date format \"" + m_format + "\" is not valid: " + u_errorName(status));
        return nullptr;
    }
    std::unique_ptr<icu::TimeZone> zone(icu::TimeZone::createTimeZone(unicode(m_timeZone)));
    if (*zone == icu::TimeZone::getUnknown())
        runtime::console("foundation: unknown time zone \"" + m_timeZone + "\"; using GMT");
    made->adoptTimeZone(zone.release());
    m_formatter = std::move(made);
    return m_formatter.get();
}

std::string DateFormatter::stringFromDate(Date date)
{
    std::string result;
    if (auto* format = formatter()) {
        icu::UnicodeString text;
        format->format(udateOf(date), text);
        text.toUTF8String(result);
    }
    return result;
}

std::optional<Date> DateFormatter::dateFromString(const std::string& text)
{
    auto* format = formatter();
    if (!format)
        return std::nullopt;
    icu::UnicodeString input = unicode(text);
    icu::ParsePosition position(0);
    UDate parsed = format->parse(input, position);
    if (position.getErrorIndex() >= 0 || position.getIndex() != input.length())
        return std::nullopt;
    return DateClass::fromTimeIntervalSince1970(parsed / 1000.0);
}

void DateFormatter::registerClass(runtime::Runtime& runtime, std::shared_ptr<const SystemEnvironment> environment)
{
    if (runtime.classNamed("NSDateFormatter"))
        return;
    ClassBuilder::define<DateFormatter>(runtime, "NSDateFormatter", "NSObject")
        .method("init", Imp::of([environment](DateFormatter* self, Selector) -> Object* {
            self->setLocaleIdentifier(environment->localeIdentifier());
            self->setTimeZoneIdentifier(environment->timeZoneIdentifier());
            return self;
        }))
        .method("dateFormat", Imp::of([](DateFormatter* self, Selector) {
            return self->dateFormat().empty() ? Value() : Value(self->dateFormat());
        }))
        .method("setDateFormat:",
            Imp::of([](DateFormatter* self, Selector, const Value& format) { self->setDateFormat(format.string()); }))
        .method("stringFromDate:", Imp::of([](DateFormatter* self, Selector, const Value& date) {
            return date.isDate() ? Value(self->stringFromDate(date.date())) : Value();
        }))
        .method("dateFromString:", Imp::of([](DateFormatter* self, Selector, const Value& text) {
            if (!text.isString())
                return Value();
            auto date = self->dateFromString(text.string());
            return date ? Value(*date) : Value();
        }));
}

} // namespace foundation
