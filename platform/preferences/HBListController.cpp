#include "platform/preferences/HBListController.h"

#include "platform/device/Process.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/uikit/UINavigationBar.h"
#include "platform/uikit/UINavigationController.h"

namespace preferences {

using runtime::Imp;
using runtime::Object;
using runtime::Ref;
using runtime::Selector;

void HBListController::applyAppearance()
{
    Ref<Object> appearance = m_appearanceSettings;
    if (!appearance)
        return;
    auto tint = runtime::send<Ref<Object>>(appearance, SEL("tintColor"));
    if (tint)
        runtime::send(viewIfLoaded(), SEL("setTintColor:"), tint.get());
    auto separator = runtime::send<Ref<Object>>(appearance, SEL("tableViewCellSeparatorColor"));
    if (separator)
        runtime::send(table(), SEL("setSeparatorColor:"), separator.get());
    auto* navigation = navigationController();
    auto* bar = navigation ? navigation->navigationBar() : nullptr;
    if (!bar)
        return;
    auto barTint = runtime::send<Ref<Object>>(appearance, SEL("navigationBarTintColor"));
    if (!barTint)
        barTint = tint;
    if (barTint)
        runtime::send(bar, SEL("setTintColor:"), barTint.get());
    runtime::send(bar, SEL("setTranslucent:"), runtime::send<bool>(appearance, SEL("translucentNavigationBar")));
}

void HBListController::registerClass(device::Process& process)
{
    auto builder
        = runtime::ClassBuilder::define<HBListController>(process.runtime(), "HBListController", "PSListController");
    runtime::Class* cls = &builder.cls();
    builder
        .method("hb_appearanceSettings",
            Imp::of([](HBListController* self, Selector) { return self->m_appearanceSettings; }))
        .method("hb_setAppearanceSettings:", Imp::of([](HBListController* self, Selector, Object* appearance) {
            self->m_appearanceSettings = Ref<Object>(appearance);
        }))
        .method("viewWillAppear:", Imp::of([cls](HBListController* self, Selector selector, bool animated) {
            runtime::sendSuper(*cls, self, selector, animated);
            self->applyAppearance();
        }));
}

} // namespace preferences
