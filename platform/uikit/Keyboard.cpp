#include "platform/uikit/Keyboard.h"

#include <array>

#include "platform/device/Device.h"
#include "platform/device/Process.h"
#include "platform/foundation/Value.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIKitState.h"
#include "platform/uikit/UILabel.h"
#include "platform/uikit/UITextField.h"
#include "platform/uikit/UITouch.h"
#include "platform/uikit/UIWindow.h"

namespace uikit {

using foundation::Value;
using runtime::Imp;
using runtime::Object;
using runtime::Ref;
using runtime::Selector;

namespace {

    // In front of every window of the process.
    constexpr double keyboardLevel = 10000000;
    constexpr double keyGap = 6;
    constexpr double rowHeight = 42;
    constexpr double rowGap = 12;
    constexpr double topInset = 8;
    constexpr const char* returnKey = "\n";
    constexpr const char* backspaceKey = "\b";

    // The length of the UTF-8 sequence that starts with `lead`.
    size_t sequenceLength(unsigned char lead)
    {
        if (lead >= 0xF0)
            return 4;
        if (lead >= 0xE0)
            return 3;
        if (lead >= 0xC0)
            return 2;
        return 1;
    }

    // One key: a rounded face with its title; lifting a finger over it presses it.
    class KeyView : public UIView {
    public:
        using UIView::UIView;
        std::string key;
        device::Process* process { nullptr };
    };

    struct KeySpec {
        std::string title;
        std::string key;
        double width; // in key widths
    };

    std::vector<std::vector<KeySpec>> layout()
    {
        std::vector<std::vector<KeySpec>> rows;
        for (std::string_view letters : { "qwertyuiop", "asdfghjkl", "zxcvbnm" }) {
            std::vector<KeySpec> row;
            for (char letter : letters)
                row.push_back({ std::string(1, letter), std::string(1, letter), 1 });
            rows.push_back(std::move(row));
        }
        rows.back().push_back({ "delete", backspaceKey, 1.5 });
        rows.push_back({ { ".", ".", 1 }, { "space", " ", 5 }, { "send", returnKey, 2.5 } });
        return rows;
    }

} // namespace

Keyboard::Keyboard(device::Process& process)
    : m_process(&process)
{
}

Keyboard::~Keyboard() = default;

Keyboard& Keyboard::of(device::Process& process)
{
    return process.service<Keyboard>();
}

bool Keyboard::isVisible() const
{
    return m_window && !m_window->isHidden();
}

Rect Keyboard::frame() const
{
    auto& hardware = m_process->device().hardware();
    double height = keysHeight + hardware.bottomSafeArea;
    return { { 0, hardware.screenHeight - height }, { hardware.screenWidth, height } };
}

UITextField* Keyboard::field() const
{
    auto& state = UIKitState::of(*m_process);
    if (auto* key = state.keyWindow()) {
        if (auto* field = dynamic_cast<UITextField*>(key->firstResponder()))
            return field;
    }
    for (auto& window : state.windows()) {
        if (auto* field = dynamic_cast<UITextField*>(window->firstResponder()))
            return field;
    }
    return nullptr;
}

bool Keyboard::press(std::string_view keys)
{
    if (!field())
        return false;
    for (size_t index = 0; index < keys.size();) {
        size_t length = std::min(sequenceLength(static_cast<unsigned char>(keys[index])), keys.size() - index);
        std::string key(keys.substr(index, length));
        index += length;
        // Each key goes to the field that is first responder at that moment.
        Ref<UITextField> target(field());
        if (!target)
            break;
        if (key == returnKey)
            target->pressReturnKey();
        else if (key == backspaceKey)
            target->deleteBackward();
        else
            runtime::send(target.get(), SEL("insertText:"), Value(key));
    }
    return true;
}

void Keyboard::firstResponderChanged()
{
    if (field())
        show();
    else if (m_window)
        m_window->setHidden(true);
}

void Keyboard::show()
{
    if (!m_window)
        build();
    if (!m_window)
        return;
    m_window->setFrame(frame());
    m_window->setHidden(false);
}

void Keyboard::build()
{
    auto& runtime = m_process->runtime();
    auto* windowClass = runtime.classNamed("UIKeyboardWindow");
    if (!windowClass)
        return;
    Rect area = frame();
    auto made = runtime::send<Ref<Object>>(runtime::alloc(windowClass), SEL("initWithFrame:"), area);
    m_window = Ref<UIWindow>(dynamic_cast<UIWindow*>(made.get()));
    if (!m_window)
        return;
    m_window->setWindowLevel(keyboardLevel);
    m_window->setBackgroundColor(UIColor::make(runtime, 0.82, 0.83, 0.86, 1).get());
    auto keyFace = UIColor::make(runtime, 1, 1, 1, 1);
    auto titleColor = UIColor::make(runtime, 0, 0, 0, 1);
    auto font = runtime::send<Ref<Object>>(runtime.classNamed("UIFont"), SEL("systemFontOfSize:"), 16.0);
    double width = area.width();
    double keyWidth = (width - keyGap * 11) / 10;
    auto rows = layout();
    for (size_t rowIndex = 0; rowIndex < rows.size(); ++rowIndex) {
        auto& row = rows[rowIndex];
        double rowWidth = -keyGap;
        for (auto& cap : row)
            rowWidth += cap.width * keyWidth + keyGap;
        double x = (width - rowWidth) / 2;
        double y = topInset + rowIndex * (rowHeight + rowGap);
        for (auto& cap : row) {
            Rect keyFrame { { x, y }, { cap.width * keyWidth, rowHeight } };
            x += keyFrame.width() + keyGap;
            auto object = runtime::send<Ref<Object>>(
                runtime::alloc(runtime.classNamed("UIKeyboardKeyView")), SEL("initWithFrame:"), keyFrame);
            auto* key = dynamic_cast<KeyView*>(object.get());
            if (!key)
                continue;
            key->key = cap.key;
            key->process = m_process;
            key->setBackgroundColor(keyFace.get());
            auto label = runtime::send<Ref<Object>>(
                runtime::alloc(runtime.classNamed("UILabel")), SEL("initWithFrame:"), Rect { {}, keyFrame.size });
            if (auto* title = dynamic_cast<UILabel*>(label.get())) {
                runtime::send(title, SEL("setText:"), Value(cap.title));
                runtime::send(title, SEL("setFont:"), font.get());
                title->setTextColor(titleColor.get());
                title->setTextAlignment(1);
                title->setUserInteractionEnabled(false);
                key->addSubview(title);
            }
            m_window->addSubview(key);
        }
    }
}

void Keyboard::registerClasses(device::Process& process)
{
    runtime::ClassBuilder::define<UIWindow>(process.runtime(), "UIKeyboardWindow", "UIWindow")
        .method("_canBecomeKeyWindow", Imp::of([](UIWindow*, Selector) { return false; }));
    auto ignore = Imp::of([](UIView*, Selector, const Value&, Object*) {});
    runtime::ClassBuilder::define<KeyView>(process.runtime(), "UIKeyboardKeyView", "UIView")
        .method("touchesBegan:withEvent:", ignore)
        .method("touchesMoved:withEvent:", ignore)
        .method("touchesCancelled:withEvent:", ignore)
        // A key is pressed when the finger lifts over it.
        .method("touchesEnded:withEvent:", Imp::of([](KeyView* self, Selector, const Value& touches, Object*) {
            UITouch* touch = UITouch::first(touches);
            if (!touch || !self->process || !self->pointInside(touch->locationInView(self)))
                return;
            Keyboard::of(*self->process).press(self->key);
        }));
}

} // namespace uikit
