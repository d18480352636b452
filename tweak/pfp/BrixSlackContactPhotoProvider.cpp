#include "tweak/pfp/BrixSlackContactPhotoProvider.h"

#include <sqlite3.h>

#include "tweak/Brix.h"
#include "tweak/pfp/ContactPhotoProvider.h"
#include "tweak/pfp/ImageFetch.h"

namespace brix::pfp {

using runtime::Imp;
using runtime::Selector;
using runtime::send;

namespace {

    // The avatar address: Slack's avatar image host, then the team, the user and the avatar's hash.
    constexpr const char* avatarQuery = "SELECT 'https://ca.slack-edge.com/' || ZTEAMID || '-' || ZTSID || '-' || "
                                        "ZAVATARHASH || '-512' AS url FROM ZSLKDEPRECATEDCOREDATAUSER "
                                        "WHERE ZNAME LIKE ?1";

    // Who wrote: in a direct message ("D…") the alert body's text before its
    // first ":", in a channel ("C…") its second word; nobody otherwise.
    std::optional<std::string> senderNameOf(const std::string& thread, const std::string& body)
    {
        if (thread.empty())
            return std::nullopt;
        std::string name;
        if (thread.front() == 'D') {
            name = body.substr(0, body.find(':'));
        } else if (thread.front() == 'C') {
            size_t first = body.find(' ');
            if (first == std::string::npos)
                return std::nullopt;
            size_t second = body.find(' ', first + 1);
            name = body.substr(first + 1, second == std::string::npos ? std::string::npos : second - first - 1);
        } else {
            return std::nullopt;
        }
        std::erase_if(name, [](char c) { return c == ':' || c == '@'; });
        return name;
    }

    // The first avatar address for a name in a database opened only for reading; nothing on any failure.
    std::optional<std::string> avatarAddress(const std::string& databasePath, const std::string& name)
    {
        sqlite3* database = nullptr;
        std::optional<std::string> address;
        if (sqlite3_open_v2(databasePath.c_str(), &database, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
            sqlite3_stmt* statement = nullptr;
            if (sqlite3_prepare_v2(database, avatarQuery, -1, &statement, nullptr) == SQLITE_OK) {
                std::string pattern = "%" + name + "%";
                sqlite3_bind_text(statement, 1, pattern.c_str(), -1, SQLITE_TRANSIENT);
                if (sqlite3_step(statement) == SQLITE_ROW && sqlite3_column_type(statement, 0) != SQLITE_NULL)
                    address = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
            }
            sqlite3_finalize(statement);
        }
        sqlite3_close(database);
        return address;
    }

    void lookUp(Brix& brix, Object* request, Object* view)
    {
        Value userInfo = userInfoOf(request);
        auto aps = entryOf(userInfo, "aps");
        auto alert = entryOf(aps.value, "alert");
        auto body = stringOf(entryOf(alert.value, "body").value);
        auto thread = stringOf(entryOf(aps.value, "thread-id").value);
        auto team = textOf(entryOf(userInfo, "team_id").value);
        if (!body || !thread || !team)
            return;
        auto name = senderNameOf(*thread, *body);
        // The workspace names a folder; one that could reach another folder counts as none.
        if (!name || team->empty() || team->find('/') != std::string::npos || team->find("..") != std::string::npos)
            return;

        auto& runtime = brix.runtime();
        Value container
            = send<Value>(runtime.classNamed("FolderFinder"), SEL("findDataFolder:"), Value("com.tinyspeck.chatlyio"));
        if (!container.isString())
            return;
        std::string database = container.string() + "/Library/Application Support/Slack/" + *team + "/Database/main_db";
        auto manager = send<Ref<Object>>(runtime.classNamed("NSFileManager"), SEL("defaultManager"));
        Value fileSystemPath = send<Value>(manager, SEL("fileSystemRepresentationWithPath:"), Value(database));
        if (!fileSystemPath.isString())
            return;
        if (auto address = avatarAddress(fileSystemPath.string(), *name))
            fetchImage(brix, Value(*address), view, AbsentImage::Delivered);
    }

} // namespace

void BrixSlackContactPhotoProvider::registerClass(Brix& brix)
{
    defineProvider(brix, "BrixSlackContactPhotoProvider",
        Imp::of(
            [&brix](Object*, Selector, Object* request, Value, Value, Object* view) { lookUp(brix, request, view); }));
}

} // namespace brix::pfp
