#pragma once

#include "platform/foundation/Value.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/uikit/CALayer.h"
#include "platform/uikit/UIView.h"

#include "tweak/view/BrixColors.h"

namespace brix {

class Brix;
class ViewState;

// The banner Brix shows in place of the system's. It is built empty and
// configured through its properties; moving it into a superview lays out all
// of its subviews and constraints. Afterwards the banner controller, its
// delegate, drives it through the run time: geometry, buttons and reply,
// colours and content updates. Every message it sends to another object goes
// through the run time and is nil-safe.
class BrixContainer : public uikit::UIView {
public:
    using UIView::UIView;

    // Defines the run-time class "BrixContainer" (a UIView subclass) in the
    // process of `brix`, with its instance and class methods.
    static void registerClass(Brix&);

private:
    using Object = runtime::Object;
    using ObjectRef = runtime::Ref<runtime::Object>;
    using Value = foundation::Value;

    static constexpr const char* assetBundlePath = "/Library/Application Support/Brix/Assets.bundle";

    static void defineConfiguration(runtime::ClassBuilder&);
    static void defineReadOnlyProperties(runtime::ClassBuilder&);
    static void defineInstanceVariables(runtime::ClassBuilder&);
    static void defineOperations(runtime::ClassBuilder&);

    // Construction.
    Object* initialize(Object* image, const Value& header, const Value& subHeader, const Value& body);
    ViewState* viewState() const;
    runtime::Runtime& runtime() const;
    Value localized(std::string_view key, std::string_view fallback) const;
    uint64_t colorMode() const;
    ObjectRef colorFor(BrixColors::Role) const;
    void setColorSet(Object*);

    // Layout, in the order it runs.
    void layout();
    void applyPrivacy();
    int64_t mappedAlignment() const;
    void computeBarTop();
    void addKeyboardBackdrop(Object* superview);
    void placeSelf(Object* superview);
    void addBannerBlur();
    std::string clockText() const;
    void addTopLine();
    void clampIconCornerRadius();
    void addIcon();
    void addBadge();
    void addHeaderLabel(int64_t alignment);
    void addSubHeaderLabel(int64_t alignment);
    void addBodyLabel(int64_t alignment);
    void addHeightConstraints();
    void addGrabber();
    ObjectRef newLabel();
    void placeTextLabel(Object* label, ObjectRef& leadingConstraint);
    void composeTinyBanner();
    std::string normalizeNameSeparator(const std::string& header) const;
    void setComposedText(const std::string& text, uint64_t boldLength, uint64_t regularLength);
    int64_t backdropBlurStyle() const;
    int64_t bannerBlurStyle() const;
    bool isEarlierThan13() const;

    // Buttons and reply.
    void addButtonRow();
    ObjectRef makeButton(
        std::string_view key, std::string_view fallback, BrixColors::Role titleRole, std::string_view action);
    void placeBelowText(Object* view);
    void addReplyField();
    void setButtonsAlpha(double);
    void setReplyAlpha(double);
    void replyButtonPressed();
    void startEditing();
    void finishedEditing();
    void dismissButtonPressed();
    void stopAlarmButtonPressed();
    ObjectRef delegate() const;

    // Geometry.
    double defaultHeight() const;
    double defaultExpandedHeight() const;
    void updateTopConstraint(double offset);
    void updateTopConstraintAnimated(double offset, bool animated, double duration, runtime::Block<void(bool)>);
    void updateHeightConstraint(double margin);
    void updateHeightConstraintAnimated(double margin, bool animated, runtime::Block<void(bool)>);
    bool isFullyExpanded() const;
    void setMaxLineCount(int64_t count);
    void setOverlayWithAnimation(double alpha);

    // Colours and content.
    void updateColorMode(Object* colors);
    void updateColors();
    void updateBannerForContinuousNotification(const Value& text);
    void showContent();
    void updateImage(Object* image);
    ObjectRef glyphImage() const;

    Brix* m_brix { nullptr };

    // Configuration.
    runtime::WeakRef<Object> m_delegate;
    ObjectRef m_colorSet;
    uint64_t m_textAlignment { 0 };
    bool m_enableButtons { false };
    bool m_enablePrivacy { false };
    bool m_boldButtons { false };
    bool m_canReply { false };
    bool m_isAlarm { false };
    bool m_isSnoozable { false };
    bool m_tinyBanner { false };
    bool m_enableGrabber { false };
    bool m_militaryClock { false };
    bool m_statusbar { false };
    bool m_enableGlyphs { false };
    bool m_useIconsInsteadOfGlyphs { false };
    bool m_backgroundBlur { false };
    int64_t m_containerCornerRadius { 0 };
    int64_t m_appCornerRadius { 0 };
    int64_t m_appSize { 0 };
    int64_t m_headerFontSize { 0 };
    int64_t m_textFontSize { 0 };
    int64_t m_statusbarFontSize { 0 };
    int64_t m_tinyBannerFontSize { 0 };
    int64_t m_appIconTop { 0 };
    Value m_appDetailImageBundleId;
    int64_t m_maxLineCount { 0 };

    // Read-only state.
    int64_t m_barTop { 0 };
    bool m_showingAllLines { false };
    Value m_originalHeader;
    ObjectRef m_headerLabel;
    ObjectRef m_subHeaderLabel;
    ObjectRef m_bodyLabel;
    ObjectRef m_replyBg;
    ObjectRef m_reply;

    // Private fields.
    ObjectRef m_image;
    Value m_header;
    Value m_subHeader;
    Value m_body;
    Value m_originalBody;
    // While privacy hides the content, continuous updates wait in m_body
    // (empty at first) for showContent.
    bool m_contentHidden { false };
    ObjectRef m_lBundle;
    bool m_showingReply { false };
    ObjectRef m_keyboardBackdrop;
    ObjectRef m_clockLabel;
    ObjectRef m_nowLabel;
    ObjectRef m_appIV;
    ObjectRef m_appDetailImage;
    ObjectRef m_grabberView;
    ObjectRef m_buttonStackView;
    ObjectRef m_snoozeButton;
    ObjectRef m_stopAlarmButton;
    ObjectRef m_closeButton;
    ObjectRef m_clearButton;
    ObjectRef m_replyButton;
    ObjectRef m_brixTopConstraint;
    ObjectRef m_brixHeightConstraint;
    ObjectRef m_brixAlternateHeightConstraint;
    ObjectRef m_brixOtherHeightConstraint;
    ObjectRef m_brixHeaderLeadingConstraint;
    ObjectRef m_brixSubHeaderLeadingConstraint;
    ObjectRef m_brixBodyLeadingConstraint;
};

} // namespace brix
