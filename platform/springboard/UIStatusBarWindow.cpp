#include "platform/springboard/UIStatusBarWindow.h"

#include "platform/device/Process.h"
#include "platform/uikit/ClassBuilder.h"

namespace springboard {

using runtime::Imp;
using runtime::Object;
using runtime::Ref;
using runtime::Selector;
using uikit::ClassBuilder;

void UIStatusBarWindow::registerClass(device::Process& process)
{
    auto builder = ClassBuilder::define<UIStatusBarWindow>(process.runtime(), "UIStatusBarWindow", "UIWindow");
    runtime::Class* cls = &builder.cls();
    builder.method(
        "initWithFrame:", Imp::of([cls](UIStatusBarWindow* self, Selector selector, uikit::Rect frame) -> Ref<Object> {
            auto result = uikit::sendSuper<Ref<Object>>(*cls, self, selector, frame);
            runtime::send(result, SEL("setWindowLevel:"), uikit::UIWindow::statusBarLevel);
            return result;
        }));
}

} // namespace springboard
