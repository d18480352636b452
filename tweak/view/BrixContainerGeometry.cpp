// The banner's position and height, its line limit and the backdrop behind it.

#include "platform/device/Process.h"

#include "tweak/Brix.h"
#include "tweak/view/BrixContainer.h"
#include "tweak/view/UIKitCalls.h"

namespace brix {

using runtime::Object;
using runtime::Ref;
using runtime::send;

namespace {

    void activateIfInactive(Object* constraint)
    {
        if (constraint && !send<bool>(constraint, SEL("isActive")))
            send(constraint, SEL("setActive:"), true);
    }

} // namespace

double BrixContainer::defaultHeight() const
{
    return m_enableGrabber ? 22 : 16.67;
}

// Room for the row of buttons or the reply field under the text.
double BrixContainer::defaultExpandedHeight() const
{
    return defaultHeight() + 41;
}

void BrixContainer::updateTopConstraint(double offset)
{
    ui::setConstant(m_brixTopConstraint, offset);
    activateIfInactive(m_brixTopConstraint);
}

// The animated move always starts on a later turn of the main queue, so a
// value set directly in the meantime is overwritten when it starts.
void BrixContainer::updateTopConstraintAnimated(
    double offset, bool animated, double duration, runtime::Block<void(bool)> completion)
{
    if (!animated) {
        send(this, SEL("updateBrixTopConstraint:"), offset);
        return;
    }
    if (!ui::superview(this) || !m_brix)
        return;
    Ref<BrixContainer> self(this);
    m_brix->process().mainQueue().async([self, offset, duration, completion = std::move(completion)] {
        ui::animate(
            self->runtime(), duration,
            [self, offset] {
                ui::setConstant(self->m_brixTopConstraint, offset);
                ui::layoutIfNeeded(ui::superview(self));
            },
            [completion](bool finished) {
                if (completion)
                    completion(finished);
            });
    });
}

void BrixContainer::updateHeightConstraint(double margin)
{
    ui::setConstant(m_brixAlternateHeightConstraint, margin);
    ui::setConstant(m_brixHeightConstraint, margin);
    ui::setConstant(m_brixOtherHeightConstraint, margin);
    activateIfInactive(m_brixHeightConstraint);
    activateIfInactive(m_brixAlternateHeightConstraint);
    activateIfInactive(m_brixOtherHeightConstraint);
}

void BrixContainer::updateHeightConstraintAnimated(double margin, bool animated, runtime::Block<void(bool)> completion)
{
    if (!animated) {
        send(this, SEL("updateBrixHeightConstraint:"), margin);
        return;
    }
    // Without buttons and reply field there is no row to make room for.
    if (!m_canReply && !m_enableButtons)
        margin -= 30;
    Ref<BrixContainer> self(this);
    ui::animate(
        runtime(), 0.15,
        [self, margin] {
            ui::setConstant(self->m_brixOtherHeightConstraint, margin);
            ui::setConstant(self->m_brixAlternateHeightConstraint, margin);
            ui::setConstant(self->m_brixHeightConstraint, margin);
            ui::layoutIfNeeded(ui::superview(self));
        },
        [completion = std::move(completion)](bool finished) {
            if (completion)
                completion(finished);
        });
}

bool BrixContainer::isFullyExpanded() const
{
    double expanded = defaultExpandedHeight();
    return ui::constant(m_brixHeightConstraint) >= expanded || ui::constant(m_brixAlternateHeightConstraint) >= expanded
        || ui::constant(m_brixOtherHeightConstraint) >= expanded;
}

// Every call counts as showing all lines, whatever the count.
void BrixContainer::setMaxLineCount(int64_t count)
{
    m_maxLineCount = count;
    m_showingAllLines = true;
    Ref<BrixContainer> self(this);
    ui::animate(runtime(), 0.15, [self, count] {
        Object* label = self->m_tinyBanner ? self->m_headerLabel.get() : self->m_bodyLabel.get();
        send(label, SEL("setNumberOfLines:"), count);
        ui::layoutIfNeeded(ui::superview(self));
    });
}

void BrixContainer::setOverlayWithAnimation(double alpha)
{
    if (!m_backgroundBlur || !m_brix)
        return;
    if (alpha > 0)
        ui::setHidden(m_keyboardBackdrop, false);
    Ref<BrixContainer> self(this);
    ui::animate(
        runtime(), 0.3, [self, alpha] { ui::setAlpha(self->m_keyboardBackdrop, alpha); },
        [self, alpha](bool finished) {
            self->m_brix->process().mainQueue().async([self, alpha, finished] {
                if (alpha == 0 && finished)
                    ui::setHidden(self->m_keyboardBackdrop, true);
            });
        });
}

} // namespace brix
