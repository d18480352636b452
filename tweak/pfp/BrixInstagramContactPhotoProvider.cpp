#include "tweak/pfp/BrixInstagramContactPhotoProvider.h"

#include "tweak/Brix.h"
#include "tweak/pfp/ContactPhotoProvider.h"
#include "tweak/pfp/ImageFetch.h"

namespace brix::pfp {

using runtime::Imp;
using runtime::Selector;

void BrixInstagramContactPhotoProvider::registerClass(Brix& brix)
{
    defineProvider(brix, "BrixInstagramContactPhotoProvider",
        Imp::of([&brix](Object*, Selector, Object* request, Value, Value, Object* view) {
            auto address = stringOf(entryOf(userInfoOf(request), "a").value);
            if (address)
                fetchImage(brix, Value(*address), view, AbsentImage::NotDelivered);
        }));
}

} // namespace brix::pfp
