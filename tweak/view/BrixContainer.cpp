#include "tweak/view/BrixContainer.h"

#include "platform/device/Process.h"
#include "platform/foundation/Value.h"
#include "platform/runtime/ClassBuilder.h"

#include "tweak/Brix.h"
#include "tweak/view/UIKitCalls.h"
#include "tweak/view/ViewState.h"

namespace brix {

using foundation::Value;
using runtime::ClassBuilder;
using runtime::Imp;
using runtime::Object;
using runtime::Ref;
using runtime::Selector;

void BrixContainer::registerClass(Brix& brix)
{
    auto& runtime = brix.runtime();
    if (runtime.classNamed("BrixContainer"))
        return;
    auto builder = ClassBuilder::define<BrixContainer>(runtime, "BrixContainer", "UIView");
    runtime::Class* cls = &builder.cls();
    Brix* owner = &brix;
    builder
        .method("initWithFrame:", Imp::of([cls, owner](BrixContainer* self, Selector selector, uikit::Rect frame) {
            self->m_brix = owner;
            return runtime::sendSuper<Ref<Object>>(*cls, self, selector, frame);
        }))
        .method("initWithUIImage:andHeader:andSubHeader:andBody:",
            Imp::of([](BrixContainer* self, Selector, Object* image, const Value& header, const Value& subHeader,
                        const Value& body) -> Object* {
                auto initialized = runtime::send<Ref<Object>>(self, SEL("initWithFrame:"), uikit::Rect {});
                auto* container = dynamic_cast<BrixContainer*>(initialized.get());
                if (!container)
                    return nullptr;
                return container->initialize(image, header, subHeader, body);
            }))
        .method("didMoveToSuperview", Imp::of([cls](BrixContainer* self, Selector selector) {
            runtime::sendSuper(*cls, self, selector);
            self->layout();
        }))
        .classMethod("DismissNotification",
            Imp::of([owner](Object*, Selector) { return owner->process().service<ViewState>().dismissNotification(); }))
        .classMethod("setDismissNotification:", Imp::of([owner](Object*, Selector, bool value) {
            owner->process().service<ViewState>().setDismissNotification(value);
        }))
        .classMethod("pfpBundles",
            Imp::of([owner](Object*, Selector) { return owner->process().service<ViewState>().glyphTable(); }));
    defineConfiguration(builder);
    defineReadOnlyProperties(builder);
    defineInstanceVariables(builder);
    defineOperations(builder);
}

void BrixContainer::defineConfiguration(ClassBuilder& builder)
{
    builder.property("delegate", "setDelegate:", &BrixContainer::m_delegate)
        .property("colorSet", "", &BrixContainer::m_colorSet)
        .method("setColorSet:", Imp::of(&BrixContainer::setColorSet))
        .property("textAlignment", "setTextAlignment:", &BrixContainer::m_textAlignment)
        .property("enableButtons", "setEnableButtons:", &BrixContainer::m_enableButtons)
        .property("enablePrivacy", "setEnablePrivacy:", &BrixContainer::m_enablePrivacy)
        .property("boldButtons", "setBoldButtons:", &BrixContainer::m_boldButtons)
        .property("canReply", "setCanReply:", &BrixContainer::m_canReply)
        .property("isAlarm", "setIsAlarm:", &BrixContainer::m_isAlarm)
        .property("isSnoozable", "setIsSnoozable:", &BrixContainer::m_isSnoozable)
        .property("tinyBanner", "setTinyBanner:", &BrixContainer::m_tinyBanner)
        .property("enableGrabber", "setEnableGrabber:", &BrixContainer::m_enableGrabber)
        .property("militaryClock", "setMilitaryClock:", &BrixContainer::m_militaryClock)
        .property("statusbar", "setStatusbar:", &BrixContainer::m_statusbar)
        .property("enableGlyphs", "setEnableGlyphs:", &BrixContainer::m_enableGlyphs)
        .property("useIconsInsteadOfGlyphs", "setUseIconsInsteadOfGlyphs:", &BrixContainer::m_useIconsInsteadOfGlyphs)
        .property("backgroundBlur", "setBackgroundBlur:", &BrixContainer::m_backgroundBlur)
        .property("containerCornerRadius", "setContainerCornerRadius:", &BrixContainer::m_containerCornerRadius)
        .property("appCornerRadius", "setAppCornerRadius:", &BrixContainer::m_appCornerRadius)
        .property("appSize", "setAppSize:", &BrixContainer::m_appSize)
        .property("headerFontSize", "setHeaderFontSize:", &BrixContainer::m_headerFontSize)
        .property("textFontSize", "setTextFontSize:", &BrixContainer::m_textFontSize)
        .property("statusbarFontSize", "setStatusbarFontSize:", &BrixContainer::m_statusbarFontSize)
        .property("tinyBannerFontSize", "setTinyBannerFontSize:", &BrixContainer::m_tinyBannerFontSize)
        .property("appIconTop", "setAppIconTop:", &BrixContainer::m_appIconTop)
        .property("appDetailImageBundleId", "setAppDetailImageBundleId:", &BrixContainer::m_appDetailImageBundleId);
}

void BrixContainer::defineReadOnlyProperties(ClassBuilder& builder)
{
    builder.property("maxLineCount", "", &BrixContainer::m_maxLineCount)
        .property("barTop", "", &BrixContainer::m_barTop)
        .property("showingAllLines", "", &BrixContainer::m_showingAllLines)
        .property("originalHeader", "", &BrixContainer::m_originalHeader)
        .property("headerLabel", "", &BrixContainer::m_headerLabel)
        .property("subHeaderLabel", "", &BrixContainer::m_subHeaderLabel)
        .property("bodyLabel", "", &BrixContainer::m_bodyLabel)
        .property("replyBg", "", &BrixContainer::m_replyBg)
        .property("reply", "", &BrixContainer::m_reply);
}

// The private fields, found by name as the platform's instance-variable list
// finds them, for whoever inspects a banner on screen.
void BrixContainer::defineInstanceVariables(ClassBuilder& builder)
{
    builder.ivar("image", &BrixContainer::m_image)
        .ivar("header", &BrixContainer::m_header)
        .ivar("subHeader", &BrixContainer::m_subHeader)
        .ivar("body", &BrixContainer::m_body)
        .ivar("originalBody", &BrixContainer::m_originalBody)
        .ivar("lBundle", &BrixContainer::m_lBundle)
        .ivar("showingReply", &BrixContainer::m_showingReply)
        .ivar("keyboardBackdrop", &BrixContainer::m_keyboardBackdrop)
        .ivar("clockLabel", &BrixContainer::m_clockLabel)
        .ivar("nowLabel", &BrixContainer::m_nowLabel)
        .ivar("appIV", &BrixContainer::m_appIV)
        .ivar("appDetailImage", &BrixContainer::m_appDetailImage)
        .ivar("grabberView", &BrixContainer::m_grabberView)
        .ivar("buttonStackView", &BrixContainer::m_buttonStackView)
        .ivar("snoozeButton", &BrixContainer::m_snoozeButton)
        .ivar("stopAlarmButton", &BrixContainer::m_stopAlarmButton)
        .ivar("closeButton", &BrixContainer::m_closeButton)
        .ivar("clearButton", &BrixContainer::m_clearButton)
        .ivar("replyButton", &BrixContainer::m_replyButton)
        .ivar("brixTopConstraint", &BrixContainer::m_brixTopConstraint)
        .ivar("brixHeightConstraint", &BrixContainer::m_brixHeightConstraint)
        .ivar("brixAlternateHeightConstraint", &BrixContainer::m_brixAlternateHeightConstraint)
        .ivar("brixOtherHeightConstraint", &BrixContainer::m_brixOtherHeightConstraint)
        .ivar("brixHeaderLeadingConstraint", &BrixContainer::m_brixHeaderLeadingConstraint)
        .ivar("brixSubHeaderLeadingConstraint", &BrixContainer::m_brixSubHeaderLeadingConstraint)
        .ivar("brixBodyLeadingConstraint", &BrixContainer::m_brixBodyLeadingConstraint);
}

void BrixContainer::defineOperations(ClassBuilder& builder)
{
    using Completion = runtime::Block<void(bool)>;
    auto ignoringSender = [](void (BrixContainer::*operation)()) {
        return Imp::of([operation](BrixContainer* self, Selector, Object*) { (self->*operation)(); });
    };
    builder.method("defaultOffset", Imp::of([](BrixContainer*, Selector) { return -70.0; }))
        .method("defaultDismiss", Imp::of([](BrixContainer*, Selector) { return -20.0; }))
        .method("defaultHeight", Imp::of(&BrixContainer::defaultHeight))
        .method("defaultExpandedHeight", Imp::of(&BrixContainer::defaultExpandedHeight))
        .method(
            "height", Imp::of([](BrixContainer* self, Selector) { return ui::constant(self->m_brixHeightConstraint); }))
        .method(
            "offset", Imp::of([](BrixContainer* self, Selector) { return ui::constant(self->m_brixTopConstraint); }))
        .method("isFullyExpanded", Imp::of(&BrixContainer::isFullyExpanded))
        .method("updateBrixTopConstraint:", Imp::of(&BrixContainer::updateTopConstraint))
        .method("updateBrixTopConstraint:animated:completion:",
            Imp::of([](BrixContainer* self, Selector, double offset, bool animated, Completion completion) {
                runtime::send(self, SEL("updateBrixTopConstraint:animated:duration:completion:"), offset, animated,
                    0.15, std::move(completion));
            }))
        .method("updateBrixTopConstraint:animated:duration:completion:",
            Imp::of(&BrixContainer::updateTopConstraintAnimated))
        .method("updateBrixHeightConstraint:", Imp::of(&BrixContainer::updateHeightConstraint))
        .method(
            "updateBrixHeightConstraint:animated:completion:", Imp::of(&BrixContainer::updateHeightConstraintAnimated))
        .method("setMaxLineCount:", Imp::of(&BrixContainer::setMaxLineCount))
        .method("setOverlayWithAnimation:", Imp::of(&BrixContainer::setOverlayWithAnimation))
        .method("setButtonsAlpha:", Imp::of(&BrixContainer::setButtonsAlpha))
        .method("setReplyAlpha:", Imp::of(&BrixContainer::setReplyAlpha))
        .method("replyButtonPressed:", ignoringSender(&BrixContainer::replyButtonPressed))
        .method("clearButtonPressed:", Imp::of([](BrixContainer* self, Selector, Object*) {
            runtime::sendIfResponds(self->delegate(), SEL("attemptDelete:"), self);
        }))
        .method("closeButtonPressed:", Imp::of([](BrixContainer* self, Selector, Object*) {
            runtime::sendIfResponds(self->delegate(), SEL("forceDismissNotificationForView:"), self);
        }))
        .method("dismissButtonPressed:", ignoringSender(&BrixContainer::dismissButtonPressed))
        .method("snoozeButtonPressed:", Imp::of([](BrixContainer* self, Selector, Object*) {
            runtime::sendIfResponds(self->delegate(), SEL("executeOnAlarmForView:action:"), self, uint64_t(0));
        }))
        .method("stopAlarmButtonPressed:", ignoringSender(&BrixContainer::stopAlarmButtonPressed))
        .method("startEditing", Imp::of(&BrixContainer::startEditing))
        .method("endEditing", Imp::of([](BrixContainer*, Selector) {}))
        .method("finishedEditing", Imp::of(&BrixContainer::finishedEditing))
        .method("updateColorMode:", Imp::of(&BrixContainer::updateColorMode))
        .method("updateColors", Imp::of(&BrixContainer::updateColors))
        .method(
            "updateBannerForContinuousNotification:", Imp::of(&BrixContainer::updateBannerForContinuousNotification))
        .method("showContent", Imp::of(&BrixContainer::showContent))
        .method("updateImage:", Imp::of(&BrixContainer::updateImage));
}

Object* BrixContainer::initialize(Object* image, const Value& header, const Value& subHeader, const Value& body)
{
    m_image = image;
    m_header = header;
    m_subHeader = subHeader;
    m_body = body;
    m_showingReply = false;
    m_originalHeader = header;
    m_originalBody = body;
    m_lBundle
        = runtime::send<Ref<Object>>(runtime().classNamed("NSBundle"), SEL("bundleWithPath:"), Value(assetBundlePath));
    if (ViewState* state = viewState())
        state->renewGlyphTable();
    return this;
}

ViewState* BrixContainer::viewState() const
{
    return m_brix ? &m_brix->process().service<ViewState>() : nullptr;
}

runtime::Runtime& BrixContainer::runtime() const
{
    return isa()->runtime();
}

Value BrixContainer::localized(std::string_view key, std::string_view fallback) const
{
    return runtime::send<Value>(
        m_lBundle, SEL("localizedStringForKey:value:table:"), Value(key), Value(fallback), Value());
}

uint64_t BrixContainer::colorMode() const
{
    return runtime::send<uint64_t>(m_colorSet, SEL("mode"));
}

Ref<Object> BrixContainer::colorFor(BrixColors::Role role) const
{
    switch (role) {
    case BrixColors::Role::Background:
        return runtime::send<Ref<Object>>(m_colorSet, SEL("containerBackgroundColor"));
    case BrixColors::Role::Grabber:
        return runtime::send<Ref<Object>>(m_colorSet, SEL("containerGrabberColor"));
    case BrixColors::Role::Reply:
        return runtime::send<Ref<Object>>(m_colorSet, SEL("containerReplyColor"));
    case BrixColors::Role::Text:
        return runtime::send<Ref<Object>>(m_colorSet, SEL("containerTextColor"));
    case BrixColors::Role::Button:
        return runtime::send<Ref<Object>>(m_colorSet, SEL("containerButtonColor"));
    case BrixColors::Role::Delete:
        break;
    }
    return runtime::send<Ref<Object>>(m_colorSet, SEL("containerDeleteColor"));
}

void BrixContainer::setColorSet(Object* colors)
{
    m_colorSet = runtime::sendIfResponds<Ref<Object>>(colors, SEL("copyWithZone:"), static_cast<Object*>(nullptr));
}

Ref<Object> BrixContainer::delegate() const
{
    return m_delegate.strong();
}

} // namespace brix
