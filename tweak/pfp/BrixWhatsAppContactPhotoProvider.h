#pragma once

namespace brix {

class Brix;

namespace pfp {

    // WhatsApp and WhatsApp Business: the sender's picture file in the
    // profile folder of each app's shared container, delivered at once.
    class BrixWhatsAppContactPhotoProvider {
    public:
        static void registerClass(Brix&);
    };

} // namespace pfp
} // namespace brix
