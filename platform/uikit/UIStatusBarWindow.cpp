#include "platform/uikit/UIStatusBarWindow.h"

#include "platform/device/Process.h"
#include "platform/runtime/ClassBuilder.h"

namespace uikit {

using runtime::Imp;
using runtime::Object;
using runtime::Ref;
using runtime::Selector;

void UIStatusBarWindow::registerClass(device::Process& process)
{
    auto builder = runtime::ClassBuilder::define<UIStatusBarWindow>(process.runtime(), "UIStatusBarWindow", "UIWindow");
    runtime::Class* cls = &builder.cls();
    builder.method(
        "initWithFrame:", Imp::of([cls](UIStatusBarWindow* self, Selector selector, Rect frame) -> Ref<Object> {
            auto result = sendSuper<Ref<Object>>(*cls, self, selector, frame);
            runtime::send(result, SEL("setWindowLevel:"), UIWindow::statusBarLevel);
            return result;
        }));
}

} // namespace uikit
