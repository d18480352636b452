#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/foundation/Value.h"
#include "platform/runtime/Send.h"

namespace brix {

class Brix;

// The contract every profile-picture provider keeps: a class of its own
// with no state, made anew for each banner and sent
// contactPhotoForNotification:withHeader:withBody:forView: once (the
// request, the header, the body, the banner view). Its only output is
// updateImage: on the view. Everything it reads from the notification may be
// missing or of a kind it does not expect; either ends the attempt quietly.
namespace pfp {

    using foundation::Value;
    using runtime::Object;
    using runtime::Ref;

    inline constexpr std::string_view contactPhotoSelector = "contactPhotoForNotification:withHeader:withBody:forView:";

    // The app's own payload: request → userNotification → request → content
    // → userInfo; nil when any step is missing.
    Value userInfoOf(Object* request);

    // A value read from a dictionary by its exact key.
    struct Entry {
        enum class State { Absent, Found, Unexpected };
        State state { State::Absent };
        Value value;

        bool found() const { return state == State::Found; }
        bool absent() const { return state == State::Absent; }
    };
    // The entry of `key` in `parent`: absent from nil and from a dictionary
    // without the key, unexpected from a parent of any other kind, from a key
    // holding the null object, and from one holding anything but
    // property-list values (nulls among them).
    Entry entryOf(const Value& parent, std::string_view key);

    // A value written as a format's "%@" writes it: a string as it is, a
    // number as its decimal digits. Nothing for any other kind.
    std::optional<std::string> textOf(const Value&);
    // The string itself; nothing for any other kind.
    std::optional<std::string> stringOf(const Value&);

    // On a later turn of the main queue, updateImage: on the view with the
    // image. The view must still be there; the image too, unless an absent
    // image is to be delivered as well.
    enum class AbsentImage { NotDelivered, Delivered };
    void deliverOnMainQueue(Brix&, Ref<Object> view, Ref<Object> image, AbsentImage = AbsentImage::NotDelivered);

    // Defines a provider class: a subclass of NSObject whose only operation is
    // the contract's, answered by `implementation`.
    void defineProvider(Brix&, std::string_view className, runtime::Imp implementation);

} // namespace pfp
} // namespace brix
