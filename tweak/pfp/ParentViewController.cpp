#include "tweak/pfp/ParentViewController.h"

namespace brix::pfp {

runtime::Ref<runtime::Object> parentViewController(runtime::Object* view)
{
    runtime::Ref<runtime::Object> current(view);
    while (current && runtime::isKindOf(current.get(), "UIView"))
        current = runtime::sendIfResponds<runtime::Ref<runtime::Object>>(current, SEL("nextResponder"));
    return current;
}

} // namespace brix::pfp
