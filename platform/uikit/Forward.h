#pragma once

namespace uikit {

class AnimationGroup;
class CALayer;
class ClassBuilder;
class LayoutEngine;
class NSAttributedString;
class NSLayoutAnchor;
class NSLayoutConstraint;
class NSMutableAttributedString;
class UIApplication;
class UIBlurEffect;
class UIButton;
class UIColor;
class UIControl;
class UIDevice;
class UIEvent;
class UIFont;
class UIGestureRecognizer;
class UIImage;
class UIImageView;
class UIKitState;
class UILabel;
class UINotificationFeedbackGenerator;
class UIPanGestureRecognizer;
class UIPress;
class UIPressesEvent;
class UIResponder;
class UIScreen;
class UIStackView;
class UIStatusBarWindow;
class UITapGestureRecognizer;
class UITextField;
class UITraitCollection;
class UIView;
class UIViewController;
class UIVisualEffectView;
class UIWindow;
struct EdgeInsets;
struct Point;
struct PropertyAnimation;
struct Rect;
struct Size;
struct ViewLayoutState;

} // namespace uikit
