#include "prefs/BRXRootListController.h"

#include <string>

#include "platform/device/Process.h"
#include "platform/foundation/Value.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/uikit/Geometry.h"

#include "prefs/BRXAppearanceSettings.h"
#include "prefs/Respring.h"

namespace brixprefs {

using foundation::Value;
using runtime::Block;
using runtime::Imp;
using runtime::Object;
using runtime::Ref;
using runtime::Selector;
using runtime::send;
using uikit::makeRect;

namespace {

    constexpr double headerHeight = 200;
    constexpr double titleSwapOffset = 200;
    constexpr double fadeDuration = 0.2;
    constexpr int64_t plainStyle = 0;
    constexpr int64_t centered = 1;
    constexpr int64_t aspectFit = 1;
    constexpr int64_t aspectFill = 2;
    constexpr int64_t alertStyle = 1;
    constexpr int64_t cancelStyle = 1;
    constexpr int64_t destructiveStyle = 2;
    constexpr int64_t largeTitleNever = 2;
    constexpr const char* bannerTestName = "com.mavrel.brix.receivedbannertest";

    Ref<Object> makeWithFrame(runtime::Runtime& runtime, const char* className, uikit::Rect frame)
    {
        return send<Ref<Object>>(runtime::alloc(runtime.classNamed(className)), SEL("initWithFrame:"), frame);
    }

    Ref<Object> imageAt(runtime::Runtime& runtime, const char* file)
    {
        return send<Ref<Object>>(runtime.classNamed("UIImage"), SEL("imageWithContentsOfFile:"),
            Value(std::string(bundlePath) + "/" + file));
    }

    // The four edges of `inner` pinned to those of `outer`.
    void pinEdges(Value& constraints, Object* inner, Object* outer)
    {
        for (const char* anchor : { "topAnchor", "leadingAnchor", "trailingAnchor", "bottomAnchor" }) {
            auto selector = Selector::named(anchor);
            auto constraint = send<Ref<Object>>(send<Ref<Object>>(inner, selector), SEL("constraintEqualToAnchor:"),
                send<Ref<Object>>(outer, selector).get());
            constraints.append(Value(constraint));
        }
    }

    void activate(runtime::Runtime& runtime, const Value& constraints)
    {
        send(runtime.classNamed("NSLayoutConstraint"), SEL("activateConstraints:"), constraints);
    }

    void animateAlpha(runtime::Runtime& runtime, Object* shown, Object* hidden)
    {
        Ref<Object> show(shown);
        Ref<Object> hide(hidden);
        send(runtime.classNamed("UIView"), SEL("animateWithDuration:animations:"), fadeDuration,
            Block<void()>([show, hide] {
                send(show, SEL("setAlpha:"), 1.0);
                send(hide, SEL("setAlpha:"), 0.0);
            }));
    }

    void askForTestBanner(runtime::Runtime& runtime)
    {
        auto center = send<Ref<Object>>(runtime.classNamed("NSDistributedNotificationCenter"), SEL("defaultCenter"));
        send(center, SEL("postNotificationName:object:userInfo:"), Value(bannerTestName), static_cast<Object*>(nullptr),
            Value::dictionary());
    }

} // namespace

void BRXRootListController::setUp()
{
    auto& runtime = isa()->runtime();
    m_lBundle = send<Ref<Object>>(runtime.classNamed("NSBundle"), SEL("bundleWithPath:"), Value(bundlePath));
    send(this, SEL("hb_setAppearanceSettings:"), runtime::newObject(runtime.classNamed("BRXAppearanceSettings")).get());
    setUpNavigationItem();
}

// The "Root" specifier file, loaded the first time the list is asked for.
Value BRXRootListController::loadedSpecifiers()
{
    auto* kept = runtime::ivarPointer<Value>(this, "_specifiers");
    if (!kept)
        return Value();
    if (kept->isNil())
        *kept
            = send<Value>(this, SEL("loadSpecifiersFromPlistName:target:"), Value("Root"), static_cast<Object*>(this));
    return *kept;
}

Value BRXRootListController::localized(const char* key, const char* text) const
{
    return send<Value>(m_lBundle, SEL("localizedStringForKey:value:table:"), Value(key), Value(text), Value());
}

void BRXRootListController::setUpNavigationItem()
{
    auto& runtime = isa()->runtime();
    auto item = send<Ref<Object>>(this, SEL("navigationItem"));
    m_respringButton = send<Ref<Object>>(runtime::alloc(runtime.classNamed("UIBarButtonItem")),
        SEL("initWithTitle:style:target:action:"), localized("RESPRING", "Respring"), plainStyle,
        static_cast<Object*>(this), SEL("respring"));
    send(item, SEL("setRightBarButtonItem:"), m_respringButton.get());
    auto titleView = runtime::newObject(runtime.classNamed("UIView"));
    send(item, SEL("setTitleView:"), titleView.get());

    m_titleLabel = makeWithFrame(runtime, "UILabel", makeRect(0, 0, 10, 10));
    send(m_titleLabel, SEL("setFont:"),
        send<Ref<Object>>(runtime.classNamed("UIFont"), SEL("boldSystemFontOfSize:"), 17.0).get());
    send(m_titleLabel, SEL("setTranslatesAutoresizingMaskIntoConstraints:"), false);
    send(m_titleLabel, SEL("setText:"), Value("Brix"));
    send(m_titleLabel, SEL("setTextAlignment:"), centered);
    send(titleView, SEL("addSubview:"), m_titleLabel.get());

    m_iconView = makeWithFrame(runtime, "UIImageView", makeRect(0, 0, 10, 10));
    send(m_iconView, SEL("setContentMode:"), aspectFit);
    send(m_iconView, SEL("setImage:"), imageAt(runtime, "icon@2x.png").get());
    send(m_iconView, SEL("setTranslatesAutoresizingMaskIntoConstraints:"), false);
    send(m_iconView, SEL("setAlpha:"), 0.0);
    send(titleView, SEL("addSubview:"), m_iconView.get());

    Value constraints = Value::array();
    pinEdges(constraints, m_titleLabel.get(), titleView.get());
    pinEdges(constraints, m_iconView.get(), titleView.get());
    activate(runtime, constraints);
}

void BRXRootListController::setUpHeader()
{
    auto& runtime = isa()->runtime();
    m_headerView = makeWithFrame(runtime, "UIView", makeRect(0, 0, headerHeight, headerHeight));
    m_headerImageView = makeWithFrame(runtime, "UIImageView", makeRect(0, 0, headerHeight, headerHeight));
    send(m_headerImageView, SEL("setContentMode:"), aspectFill);
    send(m_headerImageView, SEL("setImage:"), imageAt(runtime, "banner.png").get());
    send(m_headerImageView, SEL("setTranslatesAutoresizingMaskIntoConstraints:"), false);
    send(m_headerView, SEL("addSubview:"), m_headerImageView.get());
    Value constraints = Value::array();
    pinEdges(constraints, m_headerImageView.get(), m_headerView.get());
    activate(runtime, constraints);
}

// The bar that shows is the one of the navigation controller around this
// page's own; without one there is nothing to style.
void BRXRootListController::styleEnclosingBar()
{
    auto& runtime = isa()->runtime();
    auto outer = send<Ref<Object>>(send<Ref<Object>>(this, SEL("navigationController")), SEL("navigationController"));
    auto bar = send<Ref<Object>>(outer, SEL("navigationBar"));
    auto* color = runtime.classNamed("UIColor");
    auto tint = isDarkOnModernSystem(runtime)
        ? send<Ref<Object>>(color, SEL("colorWithRed:green:blue:alpha:"), 0.93, 0.27, 0.42, 1.0)
        : send<Ref<Object>>(color, SEL("redColor"));
    send(bar, SEL("setTintColor:"), tint.get());
    send(bar, SEL("setShadowImage:"), runtime::newObject(runtime.classNamed("UIImage")).get());
    send(bar, SEL("setTranslucent:"), false);
    send(bar, SEL("setPrefersLargeTitles:"), false);
    send(send<Ref<Object>>(outer, SEL("navigationItem")), SEL("setLargeTitleDisplayMode:"), largeTitleNever);
}

void BRXRootListController::didScroll(Object* scrollView)
{
    auto& runtime = isa()->runtime();
    double y = send<uikit::Point>(scrollView, SEL("contentOffset")).y;
    if (y > titleSwapOffset)
        animateAlpha(runtime, m_iconView.get(), m_titleLabel.get());
    else
        animateAlpha(runtime, m_titleLabel.get(), m_iconView.get());
    if (y > 0)
        y = 0;
    double width = send<uikit::Rect>(m_headerView, SEL("frame")).width();
    send(m_headerImageView, SEL("setFrame:"), makeRect(0, y, width, headerHeight - y));
}

void BRXRootListController::askToRespring()
{
    auto& runtime = isa()->runtime();
    auto alert = send<Ref<Object>>(runtime.classNamed("UIAlertController"),
        SEL("alertControllerWithTitle:message:preferredStyle:"), Value("Brix"),
        localized("CONFIRM_RESPRING_PROMPT", "Are you sure you want to respring?"), alertStyle);
    // The alert holds the action and the action its handler, so the handler must not hold the page.
    runtime::WeakRef<Object> weakSelf(this);
    auto confirm = send<Ref<Object>>(runtime.classNamed("UIAlertAction"), SEL("actionWithTitle:style:handler:"),
        localized("CONFIRM_RESPRING", "Confirm"), destructiveStyle, Block<void(Object*)>([weakSelf](Object*) {
            Ref<Object> page = weakSelf.strong();
            send(page, SEL("respringUtil"));
        }));
    auto cancel = send<Ref<Object>>(runtime.classNamed("UIAlertAction"), SEL("actionWithTitle:style:handler:"),
        localized("CANCEL_RESPRING", "Cancel"), cancelStyle, Block<void(Object*)> {});
    send(alert, SEL("addAction:"), confirm.get());
    send(alert, SEL("addAction:"), cancel.get());
    send(this, SEL("presentViewController:animated:completion:"), alert.get(), true, Block<void()> {});
}

void BRXRootListController::registerClass(device::Process& process)
{
    auto& runtime = process.runtime();
    auto builder = runtime::ClassBuilder::define<BRXRootListController>(
        runtime, "BRXRootListController", "HBRootListController");
    runtime::Class* cls = &builder.cls();
    builder.ivar("_lBundle", &BRXRootListController::m_lBundle)
        .method("init", Imp::of([cls](BRXRootListController* self, Selector selector) -> Ref<Object> {
            auto made = runtime::sendSuper<Ref<Object>>(*cls, self, selector);
            auto* page = dynamic_cast<BRXRootListController*>(made.get());
            if (!page)
                return nullptr;
            page->setUp();
            return made;
        }))
        .method("specifiers", Imp::of(&BRXRootListController::loadedSpecifiers))
        .method("viewDidLoad", Imp::of([cls](BRXRootListController* self, Selector selector) {
            runtime::sendSuper(*cls, self, selector);
            self->setUpHeader();
        }))
        .method("tableView:cellForRowAtIndexPath:",
            Imp::of([cls](BRXRootListController* self, Selector selector, Object* table, Object* path) -> Ref<Object> {
                send(table, SEL("setTableHeaderView:"), self->m_headerView.get());
                return runtime::sendSuper<Ref<Object>>(*cls, self, selector, table, path);
            }))
        .method("viewWillAppear:", Imp::of([cls](BRXRootListController* self, Selector selector, bool animated) {
            send(self, SEL("reload"));
            runtime::sendSuper(*cls, self, selector, animated);
            self->styleEnclosingBar();
        }))
        .method("viewDidAppear:", Imp::of([cls](BRXRootListController* self, Selector selector, bool animated) {
            runtime::sendSuper(*cls, self, selector, animated);
        }))
        .method("viewWillDisappear:", Imp::of([cls](BRXRootListController* self, Selector selector, bool animated) {
            runtime::sendSuper(*cls, self, selector, animated);
        }))
        .method("scrollViewDidScroll:", Imp::of(&BRXRootListController::didScroll))
        .method("respring", Imp::of(&BRXRootListController::askToRespring))
        .method("respringUtil", Imp::of([&runtime](BRXRootListController*, Selector) { launchRespring(runtime); }))
        .method("sendTestBanner", Imp::of([&runtime](BRXRootListController*, Selector) { askForTestBanner(runtime); }))
        .property("respringButton", "setRespringButton:", &BRXRootListController::m_respringButton)
        .property("headerView", "setHeaderView:", &BRXRootListController::m_headerView)
        .property("headerImageView", "setHeaderImageView:", &BRXRootListController::m_headerImageView)
        .property("titleLabel", "setTitleLabel:", &BRXRootListController::m_titleLabel)
        .property("iconView", "setIconView:", &BRXRootListController::m_iconView);
}

} // namespace brixprefs
