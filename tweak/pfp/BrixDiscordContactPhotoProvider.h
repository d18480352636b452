#pragma once

namespace brix {

class Brix;

namespace pfp {

    // Discord: the author's avatar address, built from the notification and
    // downloaded.
    class BrixDiscordContactPhotoProvider {
    public:
        static void registerClass(Brix&);
    };

} // namespace pfp
} // namespace brix
