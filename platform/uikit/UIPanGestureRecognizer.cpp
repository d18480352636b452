#include "platform/uikit/UIPanGestureRecognizer.h"

#include "platform/device/Process.h"
#include "platform/uikit/ClassBuilder.h"

namespace uikit {

using runtime::Imp;
using runtime::Object;
using runtime::Selector;

void UIPanGestureRecognizer::registerClass(device::Process& process)
{
    // Views are not transformed, so a translation reads the same in every view.
    ClassBuilder::define<UIPanGestureRecognizer>(process.runtime(), "UIPanGestureRecognizer", "UIGestureRecognizer")
        .method("translationInView:",
            Imp::of([](UIPanGestureRecognizer* self, Selector, Object*) { return self->translation(); }))
        .method(
            "setTranslation:inView:", Imp::of([](UIPanGestureRecognizer* self, Selector, Point translation, Object*) {
                self->setTranslation(translation);
            }));
}

} // namespace uikit
