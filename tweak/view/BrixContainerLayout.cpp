// The layout a container builds when it moves into a superview.

#include "platform/foundation/Text.h"
#include "platform/foundation/Version.h"

#include "tweak/Brix.h"
#include "tweak/view/BrixContainer.h"
#include "tweak/view/UIKitCalls.h"

namespace brix {

using foundation::Value;
using runtime::Object;
using runtime::Ref;
using runtime::send;
using ui::anchor;
using ui::atLeast;
using ui::equal;
using ui::equalToConstant;

namespace {

    // A name before the first colons, with the colons and the blanks around them
    // in group 1.
    constexpr const char* nameSeparatorPattern = R"(^[A-z0-9\s]+([\s]*:+[\s]*))";
    constexpr uint64_t caseInsensitive = 1;

} // namespace

void BrixContainer::layout()
{
    Ref<Object> superview = ui::superview(this);
    if (!superview || !m_brix)
        return;
    applyPrivacy();
    int64_t alignment = mappedAlignment();
    computeBarTop();
    addKeyboardBackdrop(superview);
    placeSelf(superview);
    addBannerBlur();
    addTopLine();
    clampIconCornerRadius();
    addIcon();
    if (m_enableGlyphs)
        addBadge();
    addHeaderLabel(alignment);
    if (!m_tinyBanner && !m_subHeader.isNil())
        addSubHeaderLabel(alignment);
    addBodyLabel(alignment);
    addHeightConstraints();
    if (m_enableGrabber)
        addGrabber();
    if (m_enableButtons)
        addButtonRow();
    addReplyField();
}

// The real texts stay in originalHeader and originalBody for showContent;
// the subheader is gone for good.
void BrixContainer::applyPrivacy()
{
    if (!m_enablePrivacy)
        return;
    m_header = localized("CONTENT_HIDDEN", "Content hidden");
    m_body = Value("");
    m_subHeader = Value();
    m_contentHidden = true;
}

int64_t BrixContainer::mappedAlignment() const
{
    switch (m_textAlignment) {
    case 1:
        return ui::alignmentLeft;
    case 2:
        return ui::alignmentCenter;
    case 3:
        return ui::alignmentRight;
    default:
        return ui::alignmentNatural;
    }
}

// Without a bottom safe area the device has a classic status bar, and the top
// line moves down below it.
void BrixContainer::computeBarTop()
{
    auto application = send<Ref<Object>>(runtime().classNamed("UIApplication"), SEL("sharedApplication"));
    auto keyWindow = send<Ref<Object>>(application, SEL("keyWindow"));
    auto insets = send<uikit::EdgeInsets>(keyWindow, SEL("safeAreaInsets"));
    m_barTop = m_statusbar && !(insets.bottom > 0) ? 65 : 44;
}

bool BrixContainer::isEarlierThan13() const
{
    return foundation::compareVersions(m_brix->systemVersion(), "13.0") < 0;
}

int64_t BrixContainer::backdropBlurStyle() const
{
    if (isEarlierThan13())
        return ui::blurRegular;
    switch (colorMode()) {
    case 1:
    case 3:
        return ui::blurDark;
    case 2:
        return ui::blurLight;
    default:
        return ui::blurRegular;
    }
}

int64_t BrixContainer::bannerBlurStyle() const
{
    if (isEarlierThan13())
        return ui::blurRegular;
    switch (colorMode()) {
    case 1:
        return ui::blurDark;
    case 2:
        return ui::blurLight;
    default:
        return ui::blurRegular;
    }
}

namespace {

    Ref<Object> newBlurView(runtime::Runtime& runtime, int64_t style)
    {
        auto effect = send<Ref<Object>>(runtime.classNamed("UIBlurEffect"), SEL("effectWithStyle:"), style);
        return send<Ref<Object>>(ui::allocInstance(runtime, "UIVisualEffectView"), SEL("initWithEffect:"), effect);
    }

} // namespace

void BrixContainer::addKeyboardBackdrop(Object* superview)
{
    m_keyboardBackdrop = newBlurView(runtime(), backdropBlurStyle());
    send(m_keyboardBackdrop, SEL("setFrame:"), send<uikit::Rect>(superview, SEL("bounds")));
    send(m_keyboardBackdrop, SEL("setAutoresizingMask:"), ui::flexibleWidthAndHeight);
    send(m_keyboardBackdrop, SEL("setClipsToBounds:"), true);
    ui::setAlpha(m_keyboardBackdrop, 0);
    ui::setHidden(m_keyboardBackdrop, true);
    auto tap = send<Ref<Object>>(ui::allocInstance(runtime(), "UITapGestureRecognizer"), SEL("initWithTarget:action:"),
        this, SEL("dismissButtonPressed:"));
    send(m_keyboardBackdrop, SEL("addGestureRecognizer:"), tap);
    send(superview, SEL("addSubview:"), m_keyboardBackdrop);
    send(superview, SEL("sendSubviewToBack:"), m_keyboardBackdrop);
}

void BrixContainer::placeSelf(Object* superview)
{
    send(this, SEL("setContentMode:"), ui::contentModeTop);
    ui::useConstraints(this);
    equal(anchor(this, SEL("leadingAnchor")), anchor(superview, SEL("leadingAnchor")), 0);
    equal(anchor(this, SEL("trailingAnchor")), anchor(superview, SEL("trailingAnchor")), 0);
    m_brixTopConstraint
        = equal(anchor(this, SEL("topAnchor")), anchor(superview, SEL("topAnchor")), 0, ui::Activation::Inactive);
    send(this, SEL("updateBrixTopConstraint:"), -70.0);
    send(ui::layer(this), SEL("setBackgroundColor:"), colorFor(BrixColors::Role::Background));
    ui::setCornerRadius(this, static_cast<double>(m_containerCornerRadius));
    send(this, SEL("setUserInteractionEnabled:"), true);
    m_showingReply = false;
}

// The opaque set has no blur; the others make one, which is shown only when
// the background blur is on.
void BrixContainer::addBannerBlur()
{
    if (colorMode() == 3)
        return;
    auto blur = newBlurView(runtime(), bannerBlurStyle());
    send(blur, SEL("setFrame:"), send<uikit::Rect>(this, SEL("bounds")));
    send(blur, SEL("setAutoresizingMask:"), ui::flexibleWidthAndHeight);
    ui::setCornerRadius(blur, static_cast<double>(m_containerCornerRadius));
    send(blur, SEL("setClipsToBounds:"), true);
    if (!m_backgroundBlur)
        return;
    send(this, SEL("addSubview:"), blur);
    send(this, SEL("sendSubviewToBack:"), blur);
}

std::string BrixContainer::clockText() const
{
    auto formatter = ui::newInstance(runtime(), "NSDateFormatter");
    send(formatter, SEL("setDateFormat:"), Value(m_militaryClock ? "HH:mm" : "h:mm"));
    auto now = send<Value>(runtime().classNamed("NSDate"), SEL("date"));
    std::string text = send<Value>(formatter, SEL("stringFromDate:"), now).string();
    for (std::string_view marker : { " AM", " am", " PM", " pm" }) {
        auto position = text.find(marker);
        if (position != std::string::npos)
            text.erase(position, marker.size());
    }
    return text;
}

// A top line that shows nothing still holds three blanks, so it keeps its height.
void BrixContainer::addTopLine()
{
    const Value blanks("   ");
    auto textColor = colorFor(BrixColors::Role::Text);
    auto fontSize = static_cast<double>(m_statusbarFontSize);

    m_clockLabel = newLabel();
    send(m_clockLabel, SEL("setText:"), m_statusbar ? Value(clockText()) : blanks);
    send(m_clockLabel, SEL("setTextColor:"), textColor);
    send(m_clockLabel, SEL("setFont:"), ui::boldSystemFont(runtime(), fontSize));
    send(this, SEL("addSubview:"), m_clockLabel);
    equal(anchor(m_clockLabel, SEL("leadingAnchor")), anchor(this, SEL("leadingAnchor")), 25);
    equal(anchor(m_clockLabel, SEL("topAnchor")), anchor(this, SEL("topAnchor")), static_cast<double>(m_barTop));

    m_nowLabel = newLabel();
    send(m_nowLabel, SEL("setText:"), m_statusbar ? localized("NOW", "now") : blanks);
    send(m_nowLabel, SEL("setTextColor:"), textColor);
    send(m_nowLabel, SEL("setFont:"), ui::systemFont(runtime(), fontSize));
    send(this, SEL("addSubview:"), m_nowLabel);
    equal(anchor(m_nowLabel, SEL("trailingAnchor")), anchor(this, SEL("trailingAnchor")), -34);
    equal(anchor(m_nowLabel, SEL("topAnchor")), anchor(this, SEL("topAnchor")), static_cast<double>(m_barTop));
}

void BrixContainer::clampIconCornerRadius()
{
    if (m_tinyBanner && m_appCornerRadius > 10)
        m_appCornerRadius = 10;
    else if (m_appCornerRadius > m_appSize / 2)
        m_appCornerRadius = m_appSize / 2;
}

void BrixContainer::addIcon()
{
    m_appIV = send<Ref<Object>>(ui::allocInstance(runtime(), "UIImageView"), SEL("initWithImage:"), m_image);
    ui::useConstraints(m_appIV);
    send(m_appIV, SEL("setClipsToBounds:"), true);
    send(m_appIV, SEL("setContentMode:"), ui::contentModeScaleAspectFill);
    ui::setCornerRadius(m_appIV, static_cast<double>(m_appCornerRadius));
    send(this, SEL("addSubview:"), m_appIV);
    auto side = static_cast<double>(m_tinyBanner ? 20 : m_appSize);
    equal(anchor(m_appIV, SEL("leadingAnchor")), anchor(this, SEL("leadingAnchor")), 15);
    equal(anchor(m_appIV, SEL("topAnchor")), anchor(m_clockLabel, SEL("topAnchor")),
        static_cast<double>(m_appIconTop + 15));
    equalToConstant(anchor(m_appIV, SEL("widthAnchor")), side);
    equalToConstant(anchor(m_appIV, SEL("heightAnchor")), side);
}

// The icon variant sits over the icon's top-right corner; the glyph variant
// grows from the icon's centre up and to the right, 16 beyond its edges.
void BrixContainer::addBadge()
{
    m_appDetailImage = send<Ref<Object>>(
        ui::allocInstance(runtime(), "UIImageView"), SEL("initWithImage:"), static_cast<Object*>(nullptr));
    ui::useConstraints(m_appDetailImage);
    send(m_appDetailImage, SEL("setClipsToBounds:"), true);
    send(m_appDetailImage, SEL("setContentMode:"), ui::contentModeScaleAspectFill);
    send(this, SEL("addSubview:"), m_appDetailImage);
    Ref<Object> width = anchor(m_appDetailImage, SEL("widthAnchor"));
    if (m_useIconsInsteadOfGlyphs) {
        ui::setCornerRadius(m_appDetailImage, static_cast<double>(m_appSize / 2 / 2));
        equal(anchor(m_appDetailImage, SEL("trailingAnchor")), anchor(m_appIV, SEL("trailingAnchor")), 7);
        equal(anchor(m_appDetailImage, SEL("topAnchor")), anchor(m_appIV, SEL("topAnchor")), -7);
        equalToConstant(width, static_cast<double>(m_appSize / 2));
    } else {
        equal(anchor(m_appDetailImage, SEL("leadingAnchor")), anchor(m_appIV, SEL("centerXAnchor")), 0);
        equal(anchor(m_appDetailImage, SEL("bottomAnchor")), anchor(m_appIV, SEL("centerYAnchor")), 0);
        equalToConstant(width, static_cast<double>(m_appSize / 2 + 16));
    }
    equal(anchor(m_appDetailImage, SEL("heightAnchor")), width, 0);
}

Ref<Object> BrixContainer::newLabel()
{
    auto label = ui::newInstance(runtime(), "UILabel");
    ui::useConstraints(label);
    return label;
}

void BrixContainer::placeTextLabel(Object* label, Ref<Object>& leadingConstraint)
{
    send(this, SEL("addSubview:"), label);
    leadingConstraint = equal(anchor(label, SEL("leadingAnchor")), anchor(m_appIV, SEL("trailingAnchor")), 16);
    equal(anchor(label, SEL("trailingAnchor")), anchor(this, SEL("trailingAnchor")), -16);
}

void BrixContainer::addHeaderLabel(int64_t alignment)
{
    m_headerLabel = newLabel();
    send(m_headerLabel, SEL("setTextAlignment:"), alignment);
    if (m_tinyBanner) {
        composeTinyBanner();
    } else {
        send(m_headerLabel, SEL("setText:"), m_header);
        send(m_headerLabel, SEL("setFont:"), ui::boldSystemFont(runtime(), static_cast<double>(m_headerFontSize)));
    }
    send(m_headerLabel, SEL("setTextColor:"), colorFor(BrixColors::Role::Text));
    send(m_headerLabel, SEL("setNumberOfLines:"), int64_t(1));
    placeTextLabel(m_headerLabel, m_brixHeaderLeadingConstraint);
    equal(anchor(m_headerLabel, SEL("topAnchor")), anchor(m_appIV, SEL("topAnchor")), m_tinyBanner ? 1 : 0);
}

void BrixContainer::addSubHeaderLabel(int64_t alignment)
{
    m_subHeaderLabel = newLabel();
    send(m_subHeaderLabel, SEL("setTextAlignment:"), alignment);
    send(m_subHeaderLabel, SEL("setText:"), m_subHeader);
    send(m_subHeaderLabel, SEL("setFont:"), ui::boldSystemFont(runtime(), static_cast<double>(m_headerFontSize)));
    send(m_subHeaderLabel, SEL("setNumberOfLines:"), int64_t(1));
    send(m_subHeaderLabel, SEL("setTextColor:"), colorFor(BrixColors::Role::Text));
    placeTextLabel(m_subHeaderLabel, m_brixSubHeaderLeadingConstraint);
    equal(anchor(m_subHeaderLabel, SEL("topAnchor")), anchor(m_headerLabel, SEL("bottomAnchor")), 0);
}

// The tiny variant shows everything in the header label; its body label stays
// empty with the default single line.
void BrixContainer::addBodyLabel(int64_t alignment)
{
    m_bodyLabel = newLabel();
    send(m_bodyLabel, SEL("setTextAlignment:"), alignment);
    if (!m_tinyBanner) {
        send(m_bodyLabel, SEL("setNumberOfLines:"), m_maxLineCount);
        send(m_bodyLabel, SEL("setText:"), m_body);
    }
    send(m_bodyLabel, SEL("setContentMode:"), ui::contentModeTop);
    send(m_bodyLabel, SEL("setTextColor:"), colorFor(BrixColors::Role::Text));
    auto font = send<Ref<Object>>(m_bodyLabel, SEL("font"));
    send(m_bodyLabel, SEL("setFont:"),
        send<Ref<Object>>(font, SEL("fontWithSize:"), static_cast<double>(m_textFontSize)));
    placeTextLabel(m_bodyLabel, m_brixBodyLeadingConstraint);
    Object* above = m_subHeaderLabel ? m_subHeaderLabel.get() : m_headerLabel.get();
    equal(anchor(m_bodyLabel, SEL("topAnchor")), anchor(above, SEL("bottomAnchor")), 4);
}

// The banner's bottom lies the margin below the lowest of body, icon and
// header; the three constraints start inactive and the margin activates them.
void BrixContainer::addHeightConstraints()
{
    Ref<Object> bottom = anchor(this, SEL("bottomAnchor"));
    double margin = defaultHeight();
    auto inactive = ui::Activation::Inactive;
    m_brixHeightConstraint = atLeast(bottom, anchor(m_bodyLabel, SEL("bottomAnchor")), margin, inactive);
    m_brixAlternateHeightConstraint = atLeast(bottom, anchor(m_appIV, SEL("bottomAnchor")), margin, inactive);
    m_brixOtherHeightConstraint = atLeast(bottom, anchor(m_headerLabel, SEL("bottomAnchor")), margin, inactive);
    send(this, SEL("updateBrixHeightConstraint:"), margin);
}

void BrixContainer::addGrabber()
{
    m_grabberView = ui::newInstance(runtime(), "UIView");
    ui::useConstraints(m_grabberView);
    send(m_grabberView, SEL("setBackgroundColor:"), colorFor(BrixColors::Role::Grabber));
    ui::setCornerRadius(m_grabberView, 2.665);
    send(this, SEL("addSubview:"), m_grabberView);
    equal(anchor(m_grabberView, SEL("centerXAnchor")), anchor(this, SEL("centerXAnchor")), 0);
    equalToConstant(anchor(m_grabberView, SEL("widthAnchor")), 36);
    equalToConstant(anchor(m_grabberView, SEL("heightAnchor")), 5.33);
    equal(anchor(m_grabberView, SEL("bottomAnchor")), anchor(this, SEL("bottomAnchor")), -6);
}

// The tiny banner's single line: "Name: text" with the name part bold.
void BrixContainer::composeTinyBanner()
{
    auto fontSize = static_cast<double>(m_tinyBannerFontSize);
    if (!m_header.isEmptyText()) {
        if (m_body.isEmptyText()) {
            send(m_headerLabel, SEL("setText:"), m_header);
            send(m_headerLabel, SEL("setFont:"), ui::boldSystemFont(runtime(), fontSize));
            return;
        }
        std::string header = m_header.string();
        if (header.find(':') == std::string::npos)
            header += ": ";
        header = normalizeNameSeparator(header);
        m_header = Value(header);
        const std::string& body = m_body.string();
        setComposedText(header + body, foundation::text::utf16Length(header), foundation::text::utf16Length(body));
        return;
    }
    std::string text = m_body.string();
    if (text.find(':') == std::string::npos) {
        auto lineBreak = text.find('\n');
        if (lineBreak == std::string::npos) {
            send(m_headerLabel, SEL("setText:"), m_body);
            send(m_headerLabel, SEL("setFont:"), ui::systemFont(runtime(), fontSize));
            return;
        }
        text.replace(lineBreak, 1, ": ");
    }
    uint64_t boldLength = foundation::text::utf16Length(std::string_view(text).substr(0, text.find(':'))) + 1;
    setComposedText(text, boldLength, foundation::text::utf16Length(text) - boldLength);
}

// Whatever colons and blanks follow a plain leading name become one colon
// and one blank.
std::string BrixContainer::normalizeNameSeparator(const std::string& header) const
{
    auto expression = send<Ref<Object>>(runtime().classNamed("NSRegularExpression"),
        SEL("regularExpressionWithPattern:options:error:"), Value(nameSeparatorPattern), caseInsensitive,
        static_cast<Object*>(nullptr));
    uint64_t length = foundation::text::utf16Length(header);
    auto match = send<Ref<Object>>(
        expression, SEL("firstMatchInString:options:range:"), Value(header), uint64_t(0), uikit::Range { 0, length });
    if (!match)
        return header;
    auto separator = send<uikit::Range>(match, SEL("rangeAtIndex:"), uint64_t(1));
    if (separator.location > length || separator.length > length - separator.location)
        return header;
    return foundation::text::replaceUtf16Range(header, separator.location, separator.length, ": ");
}

void BrixContainer::setComposedText(const std::string& text, uint64_t boldLength, uint64_t regularLength)
{
    auto fontSize = static_cast<double>(m_tinyBannerFontSize);
    auto attributed = send<Ref<Object>>(
        ui::allocInstance(runtime(), "NSMutableAttributedString"), SEL("initWithString:"), Value(text));
    send(attributed, SEL("addAttribute:value:range:"), Value("NSFont"), ui::boldSystemFont(runtime(), fontSize),
        uikit::Range { 0, boldLength });
    send(attributed, SEL("addAttribute:value:range:"), Value("NSFont"), ui::systemFont(runtime(), fontSize),
        uikit::Range { boldLength, regularLength });
    send(m_headerLabel, SEL("setAttributedText:"), attributed);
}

} // namespace brix
