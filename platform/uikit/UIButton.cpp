#include "platform/uikit/UIButton.h"

#include "platform/device/Process.h"
#include "platform/foundation/Value.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIFont.h"
#include "platform/uikit/UILabel.h"
#include "platform/uikit/ViewLayoutState.h"

namespace uikit {

using foundation::Value;
using runtime::Imp;
using runtime::Object;
using runtime::Ref;
using runtime::Selector;

namespace {

    constexpr double titleFontSize = 15;
    constexpr int64_t centeredText = 1;

} // namespace

UIButton::~UIButton() = default;

void UIButton::setUp(ButtonType type)
{
    m_buttonType = type;
    runtime::Runtime& runtime = isa()->runtime();
    if (!m_titleLabel) {
        auto label = runtime::send<Ref<Object>>(
            runtime::alloc(runtime.classNamed("UILabel")), SEL("initWithFrame:"), bounds());
        m_titleLabel = dynamic_cast<UILabel*>(label.get());
        if (m_titleLabel) {
            m_titleLabel->setTextAlignment(centeredText);
            m_titleLabel->setFont(UIFont::make(runtime, titleFontSize, graphics::FontWeight::Regular).get());
            m_titleLabel->setAutoresizingMask(FlexibleWidth | FlexibleHeight);
            addSubview(m_titleLabel.get());
        }
    }
    m_titleColors.clear();
    if (type == ButtonType::System) {
        m_titleColors[Normal] = UIColor::make(runtime, 0, 122 / 255.0, 1, 1);
        m_titleColors[Disabled] = UIColor::make(runtime, 0.6, 0.6, 0.6, 1);
    } else {
        m_titleColors[Normal] = UIColor::make(runtime, 1, 1, 1, 1);
    }
    updateTitle();
}

Value UIButton::titleForState(uint64_t state) const
{
    if (auto it = m_titles.find(state); it != m_titles.end())
        return it->second;
    if (auto it = m_titles.find(Normal); it != m_titles.end())
        return it->second;
    return {};
}

void UIButton::setTitle(const Value& title, uint64_t state)
{
    if (title.isString())
        m_titles[state] = title;
    else
        m_titles.erase(state);
    updateTitle();
    invalidateIntrinsicContentSize();
}

UIColor* UIButton::titleColorForState(uint64_t state) const
{
    if (auto it = m_titleColors.find(state); it != m_titleColors.end())
        return it->second.get();
    if (auto it = m_titleColors.find(Normal); it != m_titleColors.end())
        return it->second.get();
    return nullptr;
}

void UIButton::setTitleColor(UIColor* color, uint64_t state)
{
    if (color)
        m_titleColors[state] = color;
    else
        m_titleColors.erase(state);
    updateTitle();
}

void UIButton::updateTitle()
{
    if (!m_titleLabel)
        return;
    uint64_t current = state();
    m_titleLabel->setText(titleForState(current));
    if (UIColor* color = titleColorForState(current))
        m_titleLabel->setTextColor(color);
}

void UIButton::controlStateDidChange()
{
    updateTitle();
}

std::optional<Size> UIButton::intrinsicContentSize(double availableWidth) const
{
    if (!m_titleLabel)
        return Size {};
    return m_titleLabel->intrinsicContentSize(availableWidth).value_or(Size {});
}

uint64_t UIButton::intrinsicContentGeneration() const
{
    return UIControl::intrinsicContentGeneration() + (m_titleLabel ? m_titleLabel->intrinsicContentGeneration() : 0);
}

void UIButton::registerClass(device::Process& process)
{
    auto builder = runtime::ClassBuilder::define<UIButton>(process.runtime(), "UIButton", "UIControl");
    runtime::Class* cls = &builder.cls();
    builder
        .method("initWithFrame:", Imp::of([cls](UIButton* self, Selector selector, Rect frame) -> Ref<Object> {
            auto result = sendSuper<Ref<Object>>(*cls, self, selector, frame);
            if (auto* button = dynamic_cast<UIButton*>(result.get()))
                button->setUp(ButtonType::Custom);
            return result;
        }))
        .method(
            "buttonType", Imp::of([](UIButton* self, Selector) { return static_cast<int64_t>(self->buttonType()); }))
        .method("setTitle:forState:", Imp::of(&UIButton::setTitle))
        .method("titleForState:", Imp::of(&UIButton::titleForState))
        .method("currentTitle", Imp::of([](UIButton* self, Selector) { return self->titleForState(self->state()); }))
        .method("setTitleColor:forState:", Imp::of([](UIButton* self, Selector, UIColor* color, uint64_t state) {
            self->setTitleColor(color, state);
        }))
        .method("titleColorForState:", Imp::of([](UIButton* self, Selector, uint64_t state) -> Object* {
            return self->titleColorForState(state);
        }))
        .method("currentTitleColor",
            Imp::of([](UIButton* self, Selector) -> Object* { return self->titleColorForState(self->state()); }))
        .method("titleLabel", Imp::of([](UIButton* self, Selector) -> Object* { return self->titleLabel(); }))
        .classMethod("buttonWithType:", Imp::of([](runtime::Class* self, Selector, int64_t type) -> Ref<Object> {
            auto button = runtime::send<Ref<Object>>(runtime::alloc(self), SEL("initWithFrame:"), Rect {});
            if (auto* made = dynamic_cast<UIButton*>(button.get()))
                made->setUp(type == static_cast<int64_t>(ButtonType::System) ? ButtonType::System : ButtonType::Custom);
            return button;
        }));
}

} // namespace uikit
