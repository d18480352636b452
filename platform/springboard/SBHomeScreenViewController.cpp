#include "platform/springboard/SBHomeScreenViewController.h"

#include <algorithm>

#include "platform/device/Device.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/uikit/UIStatusBarWindow.h"

namespace springboard {

using runtime::ClassBuilder;
using runtime::Imp;
using runtime::Object;
using runtime::Ref;
using runtime::Selector;

void SBHomeScreenViewController::addIconListView(device::Process& process)
{
    auto* view = viewIfLoaded();
    if (!view)
        return;
    auto bounds = view->bounds();
    double top = uikit::UIStatusBarWindow::height;
    double height = std::max(0.0, bounds.height() - top - process.device().hardware().bottomSafeArea);
    auto frame = uikit::makeRect(0, top, bounds.width(), height);
    auto list = runtime::send<Ref<Object>>(
        runtime::alloc(process.runtime().classNamed("SBIconListView")), SEL("initWithFrame:"), frame);
    m_iconListView = dynamic_cast<uikit::UIView*>(list.get());
    runtime::send(view, SEL("addSubview:"), list.get());
}

void SBHomeScreenViewController::registerClass(device::Process& process)
{
    // The page of app icons, behind everything else on the screen.
    ClassBuilder::define<uikit::UIView>(process.runtime(), "SBIconListView", "UIView");
    auto builder = ClassBuilder::define<SBHomeScreenViewController>(
        process.runtime(), "SBHomeScreenViewController", "UIViewController");
    runtime::Class* cls = &builder.cls();
    auto* owner = &process;
    builder
        .method("viewDidLoad", Imp::of([cls, owner](SBHomeScreenViewController* self, Selector selector) {
            runtime::sendSuper(*cls, self, selector);
            self->addIconListView(*owner);
        }))
        .method("iconListView",
            Imp::of([](SBHomeScreenViewController* self, Selector) -> Object* { return self->iconListView(); }))
        .method("dealloc", Imp::of([cls](SBHomeScreenViewController* self, Selector selector) {
            self->m_iconListView = nullptr;
            runtime::sendSuper(*cls, self, selector);
        }));
}

} // namespace springboard
