// The web section: how the scenario's web server answers each URL.

#include <algorithm>
#include <cctype>

#include "tools/brix/scenario/WebServer.h"
#include "tools/brix/scenario/parser/Sections.h"

namespace tools::scenario::parser {

namespace {

    // Header lines as HTTP writes them: a token for the name, a value on one line.
    std::vector<std::pair<std::string, std::string>> readHeaders(const Json& json, const std::string& where)
    {
        Fields fields(json, where);
        std::vector<std::pair<std::string, std::string>> headers;
        std::set<std::string> seen;
        for (auto& [name, value] : json.items()) {
            std::string lower;
            for (char c : name)
                lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            bool token = !name.empty() && std::all_of(name.begin(), name.end(), [](unsigned char c) {
                return std::isalnum(c)
                    || std::string_view("!#$%&'*+-.^_`|~").find(static_cast<char>(c)) != std::string_view::npos;
            });
            if (!token)
                fail(where + ": " + inQuotes(name) + " is not a header name");
            if (!seen.insert(lower).second)
                fail(where + ": the header " + inQuotes(name) + " is given twice");
            if (lower == "content-length" || lower == "transfer-encoding" || lower == "connection")
                fail(where + ": the server sets " + inQuotes(name) + " itself");
            auto text = fields.string(name);
            if (text->find_first_of("\r\n") != std::string::npos)
                fail(fields.name(name) + " must be one line");
            headers.emplace_back(name, *text);
        }
        return headers;
    }

    template <int WebAnswer::*member, int low, int high>
    void storeWithin(Context&, WebAnswer& answer, const Json& value, const std::string& name)
    {
        auto number = value.get<int64_t>();
        if (number < low || number > high)
            fail(name + " must lie between " + std::to_string(low) + " and " + std::to_string(high));
        answer.*member = static_cast<int>(number);
    }

    // The status comes first: an answer with both a file and a text is refused after it.
    const Field<WebAnswer> statusField[] = {
        { "status", Kind::Integer, storeWithin<&WebAnswer::status, 100, 599> },
    };

    const Field<WebAnswer> answerFields[] = {
        { "file", Kind::String, assignFixture<&WebAnswer::file> },
        { "text", Kind::String, assign<&WebAnswer::text> },
        { "delayMs", Kind::Integer, storeWithin<&WebAnswer::delayMs, 0, 600000> },
        { "hang", Kind::Boolean, assign<&WebAnswer::hang> },
        { "headers", Kind::Any,
            [](Context&, WebAnswer& answer, const Json& value, const std::string& name) {
                answer.headers = readHeaders(value, name);
            } },
        { "gzip", Kind::Boolean, assign<&WebAnswer::gzip> },
    };

} // namespace

void readWeb(Context& context, const Json& json)
{
    Fields answers(json, "web");
    std::set<std::string> seen;
    for (auto& [url, answerJson] : json.items()) {
        answers.take(url);
        std::string where = "web[" + inQuotes(url) + "]";
        auto normalized = WebServer::normalizedUrl(url);
        if (!normalized)
            fail(where + ": " + inQuotes(url) + " is not an http or https URL");
        if (!seen.insert(*normalized).second)
            fail(where + ": the same URL is answered twice");
        Fields fields(answerJson, where);
        WebAnswer answer;
        readFields(context, fields, statusField, answer);
        if (fields.has("file") && fields.has("text"))
            fail(where + " must have at most one of \"file\" or \"text\"");
        readFields(context, fields, answerFields, answer);
        fields.finish();
        context.scenario.web.emplace_back(url, std::move(answer));
    }
}

} // namespace tools::scenario::parser
