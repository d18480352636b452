// The row of buttons and the reply field of an expanded banner.

#include "tweak/Brix.h"
#include "tweak/view/BrixContainer.h"
#include "tweak/view/UIKitCalls.h"

namespace brix {

using foundation::Value;
using runtime::Object;
using runtime::Ref;
using runtime::send;
using ui::anchor;
using ui::equal;

namespace {

    constexpr int64_t buttonTypeCustom = 0;
    constexpr int64_t axisHorizontal = 0;
    constexpr int64_t stackAlignmentFill = 0;
    constexpr int64_t distributionFillEqually = 1;
    constexpr int64_t borderStyleNone = 0;
    constexpr int64_t keyboardTypeDefault = 0;
    constexpr int64_t returnKeySend = 7;
    constexpr int64_t verticalAlignmentCenter = 0;

} // namespace

void BrixContainer::addButtonRow()
{
    m_buttonStackView = ui::newInstance(runtime(), "UIStackView");
    send(m_buttonStackView, SEL("setAxis:"), axisHorizontal);
    send(m_buttonStackView, SEL("setAlignment:"), stackAlignmentFill);
    send(m_buttonStackView, SEL("setDistribution:"), distributionFillEqually);
    send(m_buttonStackView, SEL("setSpacing:"), 15.0);
    send(m_buttonStackView, SEL("setContentMode:"), ui::contentModeScaleToFill);
    ui::setAlpha(m_buttonStackView, 0);

    using Role = BrixColors::Role;
    if (m_isAlarm) {
        if (m_isSnoozable)
            m_snoozeButton = makeButton("SNOOZE", "Snooze", Role::Text, "snoozeButtonPressed:");
        m_stopAlarmButton = makeButton("STOP", "Stop", Role::Delete, "stopAlarmButtonPressed:");
    } else {
        m_closeButton = makeButton("CLOSE", "Close", Role::Text, "closeButtonPressed:");
        m_clearButton = makeButton("CLEAR", "Clear", Role::Delete, "clearButtonPressed:");
        if (m_canReply) {
            m_replyButton = makeButton("REPLY", "Reply", Role::Text, "replyButtonPressed:");
        } else {
            // Without a reply action the button only tells that the app opens on a tap.
            m_replyButton = makeButton("OPEN", "Open", Role::Text, {});
            send(m_replyButton, SEL("setEnabled:"), false);
            send(m_replyButton, SEL("setUserInteractionEnabled:"), false);
        }
    }
    for (Object* button : { m_snoozeButton.get(), m_stopAlarmButton.get(), m_closeButton.get(), m_clearButton.get(),
             m_replyButton.get() }) {
        if (button)
            send(m_buttonStackView, SEL("addArrangedSubview:"), button);
    }

    send(this, SEL("addSubview:"), m_buttonStackView);
    ui::useConstraints(m_buttonStackView);
    placeBelowText(m_buttonStackView);
    send(this, SEL("setButtonsAlpha:"), 0.0);
}

Ref<Object> BrixContainer::makeButton(
    std::string_view key, std::string_view fallback, BrixColors::Role titleRole, std::string_view action)
{
    auto button = send<Ref<Object>>(runtime().classNamed("UIButton"), SEL("buttonWithType:"), buttonTypeCustom);
    send(button, SEL("setTitle:forState:"), localized(key, fallback), ui::controlStateNormal);
    auto fontSize = 13.0;
    auto font = m_boldButtons ? ui::boldSystemFont(runtime(), fontSize) : ui::systemFont(runtime(), fontSize);
    send(send<Ref<Object>>(button, SEL("titleLabel")), SEL("setFont:"), font);
    send(button, SEL("setBackgroundColor:"), colorFor(BrixColors::Role::Button));
    ui::setCornerRadius(button, 18);
    send(button, SEL("setTitleColor:forState:"), colorFor(titleRole), ui::controlStateNormal);
    if (!action.empty()) {
        send(button, SEL("addTarget:action:forControlEvents:"), this, runtime::Selector::named(action),
            ui::touchUpInside);
    }
    return button;
}

// Leading and trailing 15 in from the banner's edges, 36 high, 8 below the
// lower of body and icon.
void BrixContainer::placeBelowText(Object* view)
{
    equal(anchor(view, SEL("leadingAnchor")), anchor(this, SEL("leadingAnchor")), 15);
    equal(anchor(view, SEL("trailingAnchor")), anchor(this, SEL("trailingAnchor")), -15);
    ui::equalToConstant(anchor(view, SEL("heightAnchor")), 36);
    ui::atLeast(anchor(view, SEL("topAnchor")), anchor(m_bodyLabel, SEL("bottomAnchor")), 8);
    ui::atLeast(anchor(view, SEL("topAnchor")), anchor(m_appIV, SEL("bottomAnchor")), 8);
}

void BrixContainer::addReplyField()
{
    m_replyBg = ui::newInstance(runtime(), "UIView");
    send(m_replyBg, SEL("setBackgroundColor:"), colorFor(BrixColors::Role::Reply));
    ui::setCornerRadius(m_replyBg, 18);

    m_reply = ui::newInstance(runtime(), "BrixTextField");
    send(m_reply, SEL("setTextColor:"), colorFor(BrixColors::Role::Text));
    send(m_reply, SEL("setBackgroundColor:"), ui::namedColor(runtime(), SEL("clearColor")));
    send(m_reply, SEL("setFont:"), ui::systemFont(runtime(), 15));
    send(m_reply, SEL("setBorderStyle:"), borderStyleNone);
    send(m_reply, SEL("setKeyboardType:"), keyboardTypeDefault);
    send(m_reply, SEL("setReturnKeyType:"), returnKeySend);
    send(m_reply, SEL("setContentVerticalAlignment:"), verticalAlignmentCenter);
    send(this, SEL("setReplyAlpha:"), 0.0);

    if (!m_canReply) {
        send(m_reply, SEL("setUserInteractionEnabled:"), false);
        send(m_reply, SEL("setEnabled:"), false);
        return;
    }
    send(m_reply, SEL("setUserInteractionEnabled:"), true);
    send(this, SEL("addSubview:"), m_replyBg);
    send(this, SEL("addSubview:"), m_reply);
    send(this, SEL("bringSubviewToFront:"), m_replyBg);
    send(this, SEL("bringSubviewToFront:"), m_reply);
    ui::useConstraints(m_replyBg);
    ui::useConstraints(m_reply);
    placeBelowText(m_replyBg);
    equal(anchor(m_reply, SEL("topAnchor")), anchor(m_replyBg, SEL("topAnchor")), 0);
    equal(anchor(m_reply, SEL("bottomAnchor")), anchor(m_replyBg, SEL("bottomAnchor")), 0);
    equal(anchor(m_reply, SEL("leadingAnchor")), anchor(m_replyBg, SEL("leadingAnchor")), 10);
    equal(anchor(m_reply, SEL("trailingAnchor")), anchor(m_replyBg, SEL("trailingAnchor")), -10);
    send(m_reply, SEL("addTarget:action:forControlEvents:"), this, SEL("startEditing"), ui::editingDidBegin);
    send(m_reply, SEL("addTarget:action:forControlEvents:"), this, SEL("endEditing"), ui::editingDidEnd);
    send(m_reply, SEL("addTarget:action:forControlEvents:"), this, SEL("finishedEditing"), ui::editingDidEndOnExit);
}

// Once the reply field has taken the row's place the row stays away.
void BrixContainer::setButtonsAlpha(double alpha)
{
    if (m_showingReply)
        return;
    if (!m_enableButtons) {
        send(this, SEL("setReplyAlpha:"), alpha);
        return;
    }
    bool hidden = alpha == 0;
    if (m_isAlarm) {
        if (m_isSnoozable)
            ui::setHidden(m_snoozeButton, hidden);
        ui::setHidden(m_stopAlarmButton, hidden);
    } else {
        ui::setHidden(m_clearButton, hidden);
        ui::setHidden(m_replyButton, hidden);
        ui::setHidden(m_closeButton, hidden);
    }
    ui::setAlpha(m_buttonStackView, alpha);
}

void BrixContainer::setReplyAlpha(double alpha)
{
    bool hidden = alpha == 0;
    ui::setHidden(m_replyBg, hidden);
    ui::setHidden(m_reply, hidden);
    ui::setAlpha(m_replyBg, alpha);
    ui::setAlpha(m_reply, alpha);
}

void BrixContainer::replyButtonPressed()
{
    if (m_isAlarm)
        return;
    ui::setHidden(m_replyBg, false);
    ui::setHidden(m_reply, false);
    Ref<BrixContainer> self(this);
    ui::animate(
        runtime(), 0.15,
        [self] {
            ui::setAlpha(self->m_replyBg, 1);
            ui::setAlpha(self->m_reply, 1);
            ui::setAlpha(self->m_buttonStackView, 0);
        },
        [self](bool finished) {
            if (!finished)
                return;
            ui::setHidden(self->m_clearButton, true);
            ui::setHidden(self->m_replyButton, true);
            ui::setHidden(self->m_closeButton, true);
            send<bool>(self->m_reply, SEL("becomeFirstResponder"));
            self->m_showingReply = true;
        });
}

void BrixContainer::startEditing()
{
    send(send<Ref<Object>>(this, SEL("window")), SEL("makeKeyAndVisible"));
    send(this, SEL("setOverlayWithAnimation:"), 1.0);
}

// An empty reply, or a single blank, closes the banner instead of sending.
void BrixContainer::finishedEditing()
{
    Value text = send<Value>(m_reply, SEL("text"));
    const std::string& characters = text.string();
    if (characters.empty() || characters == " ")
        runtime::sendIfResponds(delegate(), SEL("forceDismissNotificationForView:"), this);
    else
        runtime::sendIfResponds(delegate(), SEL("sendReplyForView:withText:"), this, text);
}

void BrixContainer::dismissButtonPressed()
{
    send(m_reply, SEL("setText:"), Value(""));
    runtime::sendIfResponds(delegate(), SEL("forceDismissNotificationForView:"), this);
}

void BrixContainer::stopAlarmButtonPressed()
{
    uint64_t action = m_isSnoozable ? 1 : 0;
    runtime::sendIfResponds(delegate(), SEL("executeOnAlarmForView:action:"), this, action);
}

} // namespace brix
