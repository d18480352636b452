#pragma once

#include "platform/foundation/Value.h"
#include "platform/runtime/Runtime.h"

#include "tweak/pfp/ContactPhotoProvider.h"

namespace brix::pfp {

// A request for a web address: nil unless the text forms a URL whose scheme
// is http or https. Nothing else is fetched, so an address cannot make the
// home screen read its own files.
Ref<Object> webRequestFor(Brix&, const Value& address);

// The image fetch the downloading providers share: loads the address on the
// main operation queue (see BrixDownload for the limit on the body), decodes
// the body as a picture and, on a later turn of the main queue, hands it to
// the view with updateImage:. A failed transfer delivers nothing; a body that
// is not a picture is delivered as an absent image only when asked to.
void fetchImage(Brix&, const Value& address, Object* view, AbsentImage);

} // namespace brix::pfp
