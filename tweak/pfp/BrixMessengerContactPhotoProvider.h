#pragma once

namespace brix {

class Brix;

namespace pfp {

    // Messenger: the sender's profile picture address, built from the
    // sender's id and downloaded.
    class BrixMessengerContactPhotoProvider {
    public:
        static void registerClass(Brix&);
    };

} // namespace pfp
} // namespace brix
