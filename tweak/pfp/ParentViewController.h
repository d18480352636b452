#pragma once

#include "platform/runtime/Send.h"

namespace brix::pfp {

// The object that owns a view: starting with the view itself, the responder
// chain is followed for as long as it holds views; the first responder that
// is not a view, or nil when the chain ends before one.
runtime::Ref<runtime::Object> parentViewController(runtime::Object* view);

} // namespace brix::pfp
