#pragma once

#include "platform/device/Forward.h"

namespace uikit {

// Adds UIView's messages for constraint layout and animation to the
// process's "UIView" class, which must exist:
//   translatesAutoresizingMaskIntoConstraints, setTranslatesAutoresizingMaskIntoConstraints:,
//   autoresizingMask, setAutoresizingMask:, the anchors (leadingAnchor,
//   trailingAnchor, leftAnchor, rightAnchor, topAnchor, bottomAnchor,
//   centerXAnchor, centerYAnchor, widthAnchor, heightAnchor), constraints,
//   addConstraint:, removeConstraint:, addConstraints:, removeConstraints:,
//   layoutIfNeeded, setNeedsLayout, layoutSubviews, setNeedsUpdateConstraints,
//   invalidateIntrinsicContentSize, intrinsicContentSize ({-1, -1} for none),
//   safeAreaInsets, and the class methods animateWithDuration:animations:,
//   animateWithDuration:animations:completion:,
//   animateWithDuration:delay:options:animations:completion: and
//   performWithoutAnimation:.
void defineViewLayoutMethods(device::Process&);

} // namespace uikit
