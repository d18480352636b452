#include "platform/uikit/UIAlertController.h"

#include <algorithm>
#include <tuple>

#include "platform/device/Process.h"
#include "platform/foundation/Value.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/uikit/UIAlertAction.h"
#include "platform/uikit/UIKitState.h"
#include "platform/uikit/UILabel.h"
#include "platform/uikit/UIScreen.h"
#include "platform/uikit/UITraitCollection.h"
#include "platform/uikit/ViewFactory.h"

namespace uikit {

using foundation::Value;
using runtime::Block;
using runtime::Imp;
using runtime::Object;
using runtime::Ref;
using runtime::Selector;

namespace {

    constexpr double padding = 16;
    constexpr double actionHeight = 44;
    constexpr int64_t centered = 1;
    constexpr graphics::Color systemRed { 1, 59 / 255.0, 48 / 255.0, 1 };

    double heightOf(UILabel* label, double width)
    {
        return label->intrinsicContentSize(width).value_or(Size {}).height;
    }

} // namespace

std::optional<size_t> UIAlertController::actionTitled(const std::string& title) const
{
    for (size_t index = 0; index < m_actions.size(); ++index) {
        if (m_actions[index]->title().isString() && m_actions[index]->title().string() == title)
            return index;
    }
    return std::nullopt;
}

bool UIAlertController::chooseAction(size_t index)
{
    UIViewController* presenter = presenting();
    if (!presenter || m_chosen || index >= m_actions.size() || !m_actions[index]->isEnabled())
        return false;
    m_chosen = true;
    Ref<UIAlertAction> action = m_actions[index];
    runtime::send(presenter, SEL("dismissViewControllerAnimated:completion:"), true,
        Block<void()>([action] { action->runHandler(); }));
    return true;
}

void UIAlertController::buildView(device::Process& process)
{
    auto& runtime = process.runtime();
    auto* screen = UIKitState::of(process).mainScreen();
    Rect bounds = screen ? screen->bounds() : makeRect(0, 0, 390, 844);
    bool dark = screen && screen->userInterfaceStyle() == UITraitCollection::Dark;
    auto view = makeFilledView(runtime, bounds, { 0, 0, 0, 0.2 });
    graphics::Color text = dark ? graphics::Color { 1, 1, 1, 1 } : graphics::Color { 0, 0, 0, 1 };
    auto box = makeFilledView(
        runtime, {}, dark ? graphics::Color { 0.17, 0.17, 0.18, 1 } : graphics::Color { 0.95, 0.95, 0.95, 1 }, 14);
    box->setClipsToBounds(true);
    double inner = width - 2 * padding;
    double y = padding + 4;
    for (auto [content, size, weight] : { std::tuple { title(), 17.0, graphics::FontWeight::Bold },
             std::tuple { m_message, 13.0, graphics::FontWeight::Regular } }) {
        if (!content.isString() || content.string().empty())
            continue;
        auto label = makeLabel(runtime, content, size, weight, text, centered);
        label->setNumberOfLines(0);
        double height = heightOf(label.get(), inner);
        label->setFrame(makeRect(padding, y, inner, height));
        box->addSubview(label.get());
        y += height + 4;
    }
    y += padding - 4;
    for (auto& action : m_actions) {
        auto line = makeFilledView(runtime, makeRect(0, y, width, 0.5), { 0.5, 0.5, 0.5, 0.4 });
        box->addSubview(line.get());
        auto weight
            = action->style() == UIAlertAction::Cancel ? graphics::FontWeight::Bold : graphics::FontWeight::Regular;
        auto color = action->style() == UIAlertAction::Destructive ? systemRed : systemBlue;
        auto label = makeLabel(runtime, action->title(), 17, weight, color, centered);
        label->setFrame(makeRect(0, y, width, actionHeight));
        box->addSubview(label.get());
        y += actionHeight;
    }
    box->setFrame(makeRect((bounds.width() - width) / 2, (bounds.height() - y) / 2, width, y));
    view->addSubview(box.get());
    setView(view.get());
}

void UIAlertController::registerClass(device::Process& process)
{
    auto& runtime = process.runtime();
    auto builder = runtime::ClassBuilder::define<UIAlertController>(runtime, "UIAlertController", "UIViewController");
    auto* owner = &process;
    builder
        .classMethod("alertControllerWithTitle:message:preferredStyle:",
            Imp::of(
                [&runtime](Object*, Selector, const Value& title, const Value& message, int64_t style) -> Ref<Object> {
                    auto alert = instantiate<UIAlertController>(runtime, "UIAlertController");
                    if (alert) {
                        alert->setTitle(title);
                        alert->m_message = message;
                        alert->m_preferredStyle = style == ActionSheet ? ActionSheet : Alert;
                    }
                    return Ref<Object>(alert.get());
                }))
        .method("message", Imp::of([](UIAlertController* self, Selector) { return self->m_message; }))
        .method("setMessage:",
            Imp::of([](UIAlertController* self, Selector, const Value& message) { self->m_message = message; }))
        .method("preferredStyle", Imp::of(&UIAlertController::preferredStyle))
        .method("addAction:", Imp::of([](UIAlertController* self, Selector, UIAlertAction* action) {
            if (action)
                self->m_actions.emplace_back(action);
        }))
        .method("actions", Imp::of([](UIAlertController* self, Selector) { return Value::arrayOf(self->m_actions); }))
        .method("loadView", Imp::of([owner](UIAlertController* self, Selector) { self->buildView(*owner); }));
}

} // namespace uikit
