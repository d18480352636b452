#pragma once

namespace brix {

class Brix;

namespace pfp {

    // Telegram: the sender's avatar file in the app's shared container,
    // delivered at once.
    class BrixTelegramContactPhotoProvider {
    public:
        static void registerClass(Brix&);
    };

} // namespace pfp
} // namespace brix
