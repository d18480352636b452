#pragma once

namespace brix {

class Brix;

namespace pfp {

    // Messages: the photo of the sender's card in the address book.
    class BrixMessagesContactPhotoProvider {
    public:
        static void registerClass(Brix&);
    };

} // namespace pfp
} // namespace brix
