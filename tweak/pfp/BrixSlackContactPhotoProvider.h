#pragma once

namespace brix {

class Brix;

namespace pfp {

    // Slack: the sender's avatar address, read from the workspace's
    // database in the app's data container, then downloaded.
    class BrixSlackContactPhotoProvider {
    public:
        static void registerClass(Brix&);
    };

} // namespace pfp
} // namespace brix
