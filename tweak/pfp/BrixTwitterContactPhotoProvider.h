#pragma once

namespace brix {

class Brix;

namespace pfp {

    // Twitter: the picture address the notification carries, or the first
    // one found in the sender's public profile page, downloaded. It also
    // answers resolveForUrl:forView:, the image fetch for an address.
    class BrixTwitterContactPhotoProvider {
    public:
        static void registerClass(Brix&);
    };

} // namespace pfp
} // namespace brix
