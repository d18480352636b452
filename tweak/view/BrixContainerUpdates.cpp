// Colour changes and content updates of a banner on screen.

#include "tweak/Brix.h"
#include "tweak/view/BrixContainer.h"
#include "tweak/view/UIKitCalls.h"
#include "tweak/view/ViewState.h"

namespace brix {

using foundation::Value;
using runtime::Object;
using runtime::Ref;
using runtime::send;

// A set with custom colours is the user's choice and outlives style changes.
void BrixContainer::updateColorMode(Object* colors)
{
    if (send<bool>(m_colorSet, SEL("useCustomColors")))
        return;
    setColorSet(colors);
    Ref<BrixContainer> self(this);
    ui::animate(runtime(), 0.8, [self] { send(self, SEL("updateColors")); });
}

void BrixContainer::updateColors()
{
    using Role = BrixColors::Role;
    send(ui::layer(this), SEL("setBackgroundColor:"), colorFor(Role::Background));
    auto text = colorFor(Role::Text);
    for (Object* label :
        { m_clockLabel.get(), m_nowLabel.get(), m_headerLabel.get(), m_subHeaderLabel.get(), m_bodyLabel.get() })
        send(label, SEL("setTextColor:"), text);
    send(m_grabberView, SEL("setBackgroundColor:"), colorFor(Role::Grabber));
    if (m_enableButtons) {
        auto button = colorFor(Role::Button);
        auto recolor = [&](Object* target, Role titleRole) {
            send(target, SEL("setTitleColor:forState:"), colorFor(titleRole), ui::controlStateNormal);
            send(target, SEL("setBackgroundColor:"), button);
        };
        if (m_isAlarm) {
            if (m_isSnoozable)
                recolor(m_snoozeButton, Role::Text);
            recolor(m_stopAlarmButton, Role::Delete);
        } else {
            recolor(m_closeButton, Role::Text);
            recolor(m_clearButton, Role::Delete);
            recolor(m_replyButton, Role::Text);
        }
    }
    if (m_canReply) {
        send(m_reply, SEL("setTextColor:"), text);
        send(m_replyBg, SEL("setBackgroundColor:"), colorFor(Role::Reply));
    }
    ui::layoutIfNeeded(this);
}

// A missing body or text adds nothing but the line break, rather than a
// placeholder word. While the content is hidden nothing on screen changes.
void BrixContainer::updateBannerForContinuousNotification(const Value& text)
{
    Value body(m_body.string() + "\n" + text.string());
    if (m_contentHidden) {
        m_body = body;
        return;
    }
    if (m_tinyBanner) {
        m_header = m_originalHeader;
        m_body = body;
        composeTinyBanner();
        return;
    }
    m_body = body;
    send(m_bodyLabel, SEL("setText:"), m_body);
}

// Reveals the constructed texts once, followed by the updates that arrived
// while they were hidden; the body then holds what is shown, so later updates
// append to it.
void BrixContainer::showContent()
{
    if (!m_contentHidden)
        return;
    m_contentHidden = false;
    if (m_subHeaderLabel)
        send(m_subHeaderLabel, SEL("setText:"), m_subHeader);
    Value revealed = m_body.isEmptyText() ? m_originalBody : Value(m_originalBody.string() + m_body.string());
    if (m_tinyBanner) {
        m_body = Value("");
        send(this, SEL("updateBannerForContinuousNotification:"), revealed);
        return;
    }
    m_body = revealed;
    send(m_headerLabel, SEL("setText:"), m_originalHeader);
    send(m_bodyLabel, SEL("setText:"), m_body);
}

void BrixContainer::updateImage(Object* image)
{
    send(m_appIV, SEL("setImage:"), image);
    if (m_useIconsInsteadOfGlyphs) {
        send(m_appDetailImage, SEL("setImage:"), m_image);
        return;
    }
    send(m_appDetailImage, SEL("setImage:"), glyphImage());
    // The glyph reaches 16 beyond the icon; the texts move clear of it.
    for (Object* constraint : { m_brixBodyLeadingConstraint.get(), m_brixHeaderLeadingConstraint.get(),
             m_brixSubHeaderLeadingConstraint.get() })
        ui::setConstant(constraint, 24);
}

// White glyphs go on the dark sets, black ones on the light set.
Ref<Object> BrixContainer::glyphImage() const
{
    uint64_t mode = colorMode();
    std::string key = m_appDetailImageBundleId.string() + (mode == 1 || mode == 3 ? "-white" : "-black");
    ViewState* state = viewState();
    if (!state)
        return nullptr;
    const Value& name = state->glyphTable()[key];
    if (!name.isString())
        return nullptr;
    if (Object* kept = state->glyphImage(name.string()))
        return Ref<Object>(kept);
    auto bundle = send<Ref<Object>>(runtime().classNamed("NSBundle"), SEL("bundleWithPath:"), Value(assetBundlePath));
    auto path = send<Value>(bundle, SEL("pathForResource:ofType:"), name, Value("png"));
    if (path.isNil())
        return nullptr;
    auto image = send<Ref<Object>>(runtime().classNamed("UIImage"), SEL("imageWithContentsOfFile:"), path);
    state->keepGlyphImage(name.string(), image.get());
    return image;
}

} // namespace brix
