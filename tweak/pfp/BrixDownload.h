#pragma once

#include <cstddef>
#include <functional>

#include "platform/foundation/Value.h"
#include "platform/runtime/Runtime.h"

namespace brix {

class Brix;

namespace pfp {

    // One download of a picture or a page, as a connection's delegate. The
    // body is held to `bodyLimit`: an answer that says it is longer, or a
    // body that grows past it, ends the download at once, and nothing is
    // heard of it, so that a server that never stops sending cannot fill the
    // home screen's memory.
    class BrixDownload : public runtime::NSObject {
    public:
        static constexpr size_t bodyLimit = 10 * 1024 * 1024;

        // (response, data, error): the response and the whole body, or an error.
        using Completion = std::function<void(foundation::Value, foundation::Value, foundation::Value)>;

        using NSObject::NSObject;

        // Loads `request` (an NSURLRequest) with NSURLConnection, its delegate
        // messages and then `completion` running on `queue` (an NSOperationQueue).
        static void start(Brix&, runtime::Object* request, runtime::Object* queue, Completion);

        static void registerClass(Brix&);

    private:
        void receiveResponse(runtime::Object* connection, const foundation::Value& response);
        void receiveData(runtime::Object* connection, const foundation::Value& data);
        void finish(foundation::Value error);
        void abandon(runtime::Object* connection);

        foundation::Value m_response;
        foundation::Data m_body;
        Completion m_completion;
    };

} // namespace pfp
} // namespace brix
