#include "platform/uikit/UITraitCollection.h"

#include "platform/device/Process.h"
#include "platform/runtime/ClassBuilder.h"

namespace uikit {

using runtime::Imp;
using runtime::Object;
using runtime::Ref;
using runtime::Selector;

Ref<UITraitCollection> UITraitCollection::make(runtime::Runtime& runtime, int64_t userInterfaceStyle)
{
    auto collection = instantiate<UITraitCollection>(runtime, "UITraitCollection");
    if (collection)
        collection->m_userInterfaceStyle = userInterfaceStyle;
    return collection;
}

void UITraitCollection::registerClass(device::Process& process)
{
    auto& runtime = process.runtime();
    runtime::ClassBuilder::define<UITraitCollection>(runtime, "UITraitCollection", "NSObject")
        .method("userInterfaceStyle", Imp::of(&UITraitCollection::userInterfaceStyle))
        .classMethod("traitCollectionWithUserInterfaceStyle:",
            Imp::of([&runtime](Object*, Selector, int64_t style) -> Ref<Object> { return make(runtime, style); }));
}

} // namespace uikit
