#pragma once

namespace brix {

class Brix;

namespace pfp {

    // Instagram: the picture address the notification carries, downloaded.
    class BrixInstagramContactPhotoProvider {
    public:
        static void registerClass(Brix&);
    };

} // namespace pfp
} // namespace brix
