#pragma once

namespace uikit {

class ClassBuilder;
class UIApplication;
class UIDevice;
class UIEvent;
class UIGestureRecognizer;
class UIImage;
class UIKitState;
class UIPanGestureRecognizer;
class UIPress;
class UIPressesEvent;
class UIResponder;
class UIScreen;
class UITapGestureRecognizer;
class UITraitCollection;
class UIView;
class UIViewController;
class UIStatusBarWindow;
class UIWindow;
struct EdgeInsets;
struct Point;
struct Rect;
struct Size;

} // namespace uikit
