#include "platform/uikit/UINavigationBar.h"

#include <algorithm>

#include "platform/device/Process.h"
#include "platform/foundation/Value.h"
#include "platform/graphics/Canvas.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/uikit/GraphicsGeometry.h"
#include "platform/uikit/UIBarButtonItem.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIKitState.h"
#include "platform/uikit/UILabel.h"
#include "platform/uikit/UINavigationItem.h"
#include "platform/uikit/UIScreen.h"
#include "platform/uikit/UITraitCollection.h"
#include "platform/uikit/ViewFactory.h"

namespace uikit {

using foundation::Value;
using runtime::Imp;
using runtime::Object;
using runtime::Ref;
using runtime::Selector;

namespace {

    constexpr double sideMargin = 8;
    constexpr double buttonWidth = 96;
    constexpr double titleFontSize = 17;
    constexpr double largeTitleFontSize = 34;
    constexpr double translucentAlpha = 0.92;
    constexpr int64_t centered = 1;
    constexpr int64_t rightAligned = 2;

} // namespace

UIColor* UINavigationBar::barTintColor() const
{
    return dynamic_cast<UIColor*>(m_barTintColor.get());
}

UIImage* UINavigationBar::shadowImage() const
{
    return dynamic_cast<UIImage*>(m_shadowImage.get());
}

bool UINavigationBar::showsLargeTitle() const
{
    return m_prefersLargeTitles && m_item && m_item->largeTitleDisplayMode() != UINavigationItem::Never;
}

double UINavigationBar::preferredHeight() const
{
    return height + (showsLargeTitle() ? largeTitleHeight : 0);
}

bool UINavigationBar::isDark() const
{
    auto* screen = m_process ? UIKitState::of(*m_process).mainScreen() : nullptr;
    return screen && screen->userInterfaceStyle() == UITraitCollection::Dark;
}

graphics::Color UINavigationBar::tint() const
{
    UIColor* color = tintColor();
    return color ? color->color() : systemBlue;
}

UIView* UINavigationBar::titleArea() const
{
    if (m_shownTitleView)
        return m_shownTitleView.get();
    return m_titleLabel.get();
}

void UINavigationBar::showItem(UINavigationItem* item, bool backButton)
{
    m_item = item;
    m_showsBackButton = backButton;
    rebuild();
}

void UINavigationBar::rebuild()
{
    for (auto* view : { static_cast<UIView*>(m_titleLabel.get()), static_cast<UIView*>(m_largeTitleLabel.get()),
             static_cast<UIView*>(m_backLabel.get()), static_cast<UIView*>(m_rightLabel.get()),
             m_shownTitleView.get() }) {
        if (view && view->superview() == this)
            view->removeFromSuperview();
    }
    m_titleLabel = m_largeTitleLabel = m_backLabel = m_rightLabel = nullptr;
    m_shownTitleView = nullptr;
    if (!m_item)
        return;
    auto& runtime = isa()->runtime();
    double width = bounds().width();
    graphics::Color text = isDark() ? graphics::Color { 1, 1, 1, 1 } : graphics::Color { 0, 0, 0, 1 };
    Rect titleFrame = makeRect(buttonWidth, 0, std::max(0.0, width - 2 * buttonWidth), height);
    if (UIView* titleView = m_item->titleView()) {
        Size size = titleView->frame().size;
        if (!(size.width > 0) || !(size.height > 0))
            size = titleFrame.size;
        titleView->setFrame(makeRect((width - size.width) / 2, (height - size.height) / 2, size.width, size.height));
        addSubview(titleView);
        titleView->layoutIfNeeded();
        m_shownTitleView = titleView;
    } else if (!showsLargeTitle()) {
        m_titleLabel = makeLabel(runtime, m_item->title(), titleFontSize, graphics::FontWeight::Bold, text, centered);
        m_titleLabel->setFrame(titleFrame);
        addSubview(m_titleLabel.get());
    }
    if (showsLargeTitle()) {
        m_largeTitleLabel = makeLabel(runtime, m_item->title(), largeTitleFontSize, graphics::FontWeight::Bold, text);
        m_largeTitleLabel->setFrame(makeRect(16, height, std::max(0.0, width - 32), largeTitleHeight));
        addSubview(m_largeTitleLabel.get());
    }
    if (m_showsBackButton) {
        m_backLabel = makeLabel(runtime, Value("\u2039 Back"), titleFontSize, graphics::FontWeight::Regular, tint());
        m_backLabel->setFrame(makeRect(sideMargin, 0, buttonWidth - sideMargin, height));
        addSubview(m_backLabel.get());
    }
    if (UIBarButtonItem* right = m_item->rightBarButtonItem()) {
        auto weight
            = right->style() == UIBarButtonItem::Done ? graphics::FontWeight::Bold : graphics::FontWeight::Regular;
        m_rightLabel = makeLabel(runtime, right->title(), titleFontSize, weight, tint(), rightAligned);
        m_rightLabel->setFrame(makeRect(width - buttonWidth, 0, buttonWidth - sideMargin - 8, height));
        addSubview(m_rightLabel.get());
    }
}

bool UINavigationBar::pressRightButton()
{
    UIBarButtonItem* right = m_item ? m_item->rightBarButtonItem() : nullptr;
    return right && right->press();
}

void UINavigationBar::drawContent(graphics::Canvas& canvas, const Size& size, double alpha) const
{
    graphics::Color fill = isDark() ? graphics::Color { 0.07, 0.07, 0.07, 1 } : graphics::Color { 0.97, 0.97, 0.97, 1 };
    if (UIColor* color = barTintColor())
        fill = color->color();
    if (m_translucent)
        fill = fill.withAlphaMultiplied(translucentAlpha);
    canvas.fill({ toGraphicsRect(size) }, fill.withAlphaMultiplied(alpha));
    if (!shadowImage()) {
        graphics::Color line { 0, 0, 0, 0.3 };
        canvas.fill({ { 0, size.height - 0.5, size.width, 0.5 } }, line.withAlphaMultiplied(alpha));
    }
}

void UINavigationBar::registerClass(device::Process& process)
{
    auto builder = runtime::ClassBuilder::define<UINavigationBar>(process.runtime(), "UINavigationBar", "UIView");
    runtime::Class* cls = &builder.cls();
    auto* owner = &process;
    builder
        .method("initWithFrame:",
            Imp::of([cls, owner](UINavigationBar* self, Selector selector, Rect frame) -> Ref<Object> {
                auto made = sendSuper<Ref<Object>>(*cls, self, selector, frame);
                if (auto* bar = dynamic_cast<UINavigationBar*>(made.get()))
                    bar->m_process = owner;
                return made;
            }))
        .method("setFrame:", Imp::of([cls](UINavigationBar* self, Selector selector, Rect frame) {
            sendSuper(*cls, self, selector, frame);
            self->rebuild();
        }))
        .method("setTintColor:", Imp::of([cls](UINavigationBar* self, Selector selector, Object* color) {
            sendSuper(*cls, self, selector, color);
            self->rebuild();
        }))
        .method("barTintColor", Imp::of([](UINavigationBar* self, Selector) { return self->m_barTintColor; }))
        .method("setBarTintColor:",
            Imp::of([](UINavigationBar* self, Selector, UIColor* color) { self->m_barTintColor = Ref<Object>(color); }))
        .method("shadowImage", Imp::of([](UINavigationBar* self, Selector) { return self->m_shadowImage; }))
        .method("setShadowImage:",
            Imp::of([](UINavigationBar* self, Selector, UIImage* image) { self->m_shadowImage = Ref<Object>(image); }))
        .method("isTranslucent", Imp::of(&UINavigationBar::isTranslucent))
        .method("translucent", Imp::of(&UINavigationBar::isTranslucent))
        .method("setTranslucent:",
            Imp::of([](UINavigationBar* self, Selector, bool translucent) { self->m_translucent = translucent; }))
        .method("prefersLargeTitles", Imp::of(&UINavigationBar::prefersLargeTitles))
        .method("setPrefersLargeTitles:", Imp::of([](UINavigationBar* self, Selector, bool large) {
            self->m_prefersLargeTitles = large;
            self->rebuild();
        }))
        .method("topItem", Imp::of([](UINavigationBar* self, Selector) -> Object* { return self->topItem(); }))
        .method("dealloc", Imp::of([cls](UINavigationBar* self, Selector selector) {
            self->m_item = nullptr;
            sendSuper(*cls, self, selector);
        }));
}

} // namespace uikit
