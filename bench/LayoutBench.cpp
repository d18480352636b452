// One step of a drag: a new top constant for a banner-shaped tree of about
// forty constraints, then layoutIfNeeded, which re-solves incrementally and
// writes the frames that moved. Two baselines run beside it: the same solve
// on a bare solver holding only the vertical equations (what the layout
// engine adds on top of the solver), and a full layout from scratch (what
// the incremental path saves).

#include <benchmark/benchmark.h>
#include <string>
#include <vector>

#include "platform/runtime/Send.h"
#include "platform/uikit/LayoutEngine.h"
#include "platform/uikit/UIView.h"
#include "platform/uikit/layout/Solver.h"

#include "tests/uikit/UIKitTestProcess.h"

namespace {

using foundation::Value;
using runtime::Object;
using runtime::Ref;
using runtime::send;

class DragTree {
public:
    DragTree()
    {
        m_window = m_test.makeView("UIWindow", uikit::makeRect(0, 0, 390, 844));
        send(m_window, "makeKeyAndVisible");
        build();
        send(m_window, "layoutIfNeeded");
    }

    const Ref<Object>& window() const { return m_window; }
    const Ref<Object>& banner() const { return m_banner; }
    const Ref<Object>& top() const { return m_top; }
    size_t constraintCount() const { return m_constraintCount; }

private:
    Ref<Object> view(const Ref<Object>& parent, const char* className = "UIView")
    {
        auto made = m_test.makeView(className);
        send(made, "setTranslatesAutoresizingMaskIntoConstraints:", false);
        send(parent, "addSubview:", made);
        return made;
    }

    Ref<Object> label(const Ref<Object>& parent, const char* text, int64_t lines = 1)
    {
        auto made = view(parent, "UILabel");
        send(made, "setText:", Value(text));
        send(made, "setNumberOfLines:", lines);
        return made;
    }

    Ref<Object> relate(const Ref<Object>& first, const char* firstAnchor, const char* relation,
        const Ref<Object>& second, const char* secondAnchor, double constant)
    {
        auto made = send<Ref<Object>>(
            send<Ref<Object>>(first, firstAnchor), relation, send<Ref<Object>>(second, secondAnchor), constant);
        send(made, "setActive:", true);
        ++m_constraintCount;
        return made;
    }

    Ref<Object> equal(const Ref<Object>& first, const char* firstAnchor, const Ref<Object>& second,
        const char* secondAnchor, double constant = 0)
    {
        return relate(first, firstAnchor, "constraintEqualToAnchor:constant:", second, secondAnchor, constant);
    }

    void atLeast(const Ref<Object>& first, const char* firstAnchor, const Ref<Object>& second, const char* secondAnchor,
        double constant)
    {
        relate(first, firstAnchor, "constraintGreaterThanOrEqualToAnchor:constant:", second, secondAnchor, constant);
    }

    void fixed(const Ref<Object>& item, const char* dimension, double constant)
    {
        auto made = send<Ref<Object>>(send<Ref<Object>>(item, dimension), "constraintEqualToConstant:", constant);
        send(made, "setActive:", true);
        ++m_constraintCount;
    }

    void build()
    {
        m_banner = view(m_window);
        equal(m_banner, "leadingAnchor", m_window, "leadingAnchor");
        equal(m_banner, "trailingAnchor", m_window, "trailingAnchor");
        m_top = equal(m_banner, "topAnchor", m_window, "topAnchor", -70);

        auto clock = label(m_banner, "14:05");
        equal(clock, "leadingAnchor", m_banner, "leadingAnchor", 25);
        equal(clock, "topAnchor", m_banner, "topAnchor", 44);
        auto now = label(m_banner, "now");
        equal(now, "trailingAnchor", m_banner, "trailingAnchor", -34);
        equal(now, "topAnchor", m_banner, "topAnchor", 44);
        auto icon = view(m_banner, "UIImageView");
        equal(icon, "leadingAnchor", m_banner, "leadingAnchor", 15);
        equal(icon, "topAnchor", clock, "topAnchor", 30);
        fixed(icon, "widthAnchor", 45);
        fixed(icon, "heightAnchor", 45);
        auto badge = view(m_banner, "UIImageView");
        equal(badge, "trailingAnchor", icon, "trailingAnchor", 7);
        equal(badge, "topAnchor", icon, "topAnchor", -7);
        fixed(badge, "widthAnchor", 22);
        equal(badge, "heightAnchor", badge, "widthAnchor");

        auto header = label(m_banner, "Alice");
        auto subheader = label(m_banner, "Project");
        auto body = label(m_banner, "The meeting moved to three o'clock, see you there and bring the slides", 2);
        for (auto& text : { header, subheader, body }) {
            equal(text, "leadingAnchor", icon, "trailingAnchor", 16);
            equal(text, "trailingAnchor", m_banner, "trailingAnchor", -16);
        }
        equal(header, "topAnchor", icon, "topAnchor");
        equal(subheader, "topAnchor", header, "bottomAnchor");
        equal(body, "topAnchor", subheader, "bottomAnchor", 4);
        atLeast(m_banner, "bottomAnchor", body, "bottomAnchor", 22);
        atLeast(m_banner, "bottomAnchor", icon, "bottomAnchor", 22);
        atLeast(m_banner, "bottomAnchor", header, "bottomAnchor", 22);

        auto grabber = view(m_banner);
        equal(grabber, "centerXAnchor", m_banner, "centerXAnchor");
        fixed(grabber, "widthAnchor", 36);
        fixed(grabber, "heightAnchor", 5.33);
        equal(grabber, "bottomAnchor", m_banner, "bottomAnchor", -6);

        auto stack = send<Ref<Object>>(
            runtime::alloc(m_test.runtime().classNamed("UIStackView")), "initWithArrangedSubviews:", Value::array());
        send(stack, "setTranslatesAutoresizingMaskIntoConstraints:", false);
        send(stack, "setDistribution:", int64_t(1));
        send(stack, "setSpacing:", 15.0);
        send(m_banner, "addSubview:", stack);
        for (const char* title : { "Close", "Clear", "Reply" }) {
            auto button = send<Ref<Object>>(m_test.runtime().classNamed("UIButton"), "buttonWithType:", int64_t(0));
            send(button, "setTitle:forState:", Value(title), uint64_t(0));
            send(stack, "addArrangedSubview:", button);
        }
        equal(stack, "leadingAnchor", m_banner, "leadingAnchor", 15);
        equal(stack, "trailingAnchor", m_banner, "trailingAnchor", -15);
        fixed(stack, "heightAnchor", 36);
        atLeast(stack, "topAnchor", body, "bottomAnchor", 8);
        atLeast(stack, "topAnchor", icon, "bottomAnchor", 8);
    }

    UIKitTestProcess m_test;
    Ref<Object> m_window;
    Ref<Object> m_banner;
    Ref<Object> m_top;
    size_t m_constraintCount { 0 };
};

void BM_DragStep(benchmark::State& state)
{
    DragTree tree;
    double offset = -70;
    for (auto _ : state) {
        offset = offset > 200 ? -70 : offset + 1.5;
        send(tree.top(), SEL("setConstant:"), offset);
        send(tree.window(), SEL("layoutIfNeeded"));
    }
    if (send<uikit::Rect>(tree.banner(), "frame").origin.y != offset)
        state.SkipWithError("the banner did not follow the drag");
    state.counters["constraints"] = static_cast<double>(tree.constraintCount());
}
BENCHMARK(BM_DragStep);

// The same tree laid out again with nothing changed: the fixed cost of a layout pass.
void BM_LayoutUnchanged(benchmark::State& state)
{
    DragTree tree;
    for (auto _ : state)
        send(tree.window(), SEL("layoutIfNeeded"));
}
BENCHMARK(BM_LayoutUnchanged);

// A full layout: the tree collected and every equation added to fresh solvers.
void BM_FullLayoutBaseline(benchmark::State& state)
{
    DragTree tree;
    auto* window = dynamic_cast<uikit::UIView*>(tree.window().get());
    for (auto _ : state) {
        window->layoutState().engine->setNeedsRebuild();
        window->layoutIfNeeded();
    }
}
BENCHMARK(BM_FullLayoutBaseline);

// The vertical equations of the tree on a bare solver: the top constant as
// an edit variable, suggested and solved, and the values read.
void BM_SolverDragStepBaseline(benchmark::State& state)
{
    using namespace layout;
    struct Box {
        explicit Box(const std::string& name)
            : top(name + ".top")
            , height(name + ".height")
        {
        }
        Expression bottom() const { return top + height; }
        Variable top;
        Variable height;
    };
    Box window("window"), banner("banner"), clock("clock"), now("now"), icon("icon"), badge("badge"), header("header"),
        subheader("subheader"), body("body"), grabber("grabber"), stack("stack"), close("close"), clear("clear"),
        reply("reply");
    std::vector<Box*> boxes { &window, &banner, &clock, &now, &icon, &badge, &header, &subheader, &body, &grabber,
        &stack, &close, &clear, &reply };
    Solver solver;
    Variable offset("offset");
    std::vector<Constraint> constraints { window.top == 0, window.height == 844, banner.top == window.top + offset,
        clock.top == banner.top + 44, now.top == banner.top + 44, icon.top == clock.top + 30, icon.height == 45,
        badge.top == icon.top - 7, badge.height == 22, header.top == icon.top, subheader.top == header.bottom(),
        body.top == subheader.bottom() + 4, banner.bottom() >= body.bottom() + 22,
        banner.bottom() >= icon.bottom() + 22, banner.bottom() >= header.bottom() + 22, grabber.height == 5.33,
        grabber.bottom() == banner.bottom() - 6, stack.height == 36, stack.top >= body.bottom() + 8,
        stack.top >= icon.bottom() + 8 };
    for (Box* button : { &close, &clear, &reply }) {
        constraints.push_back(button->top == stack.top);
        constraints.push_back(button->bottom() == stack.bottom());
    }
    for (Box* text : { &clock, &now, &header, &subheader }) {
        constraints.push_back(text->height >= 18);
        constraints.push_back((text->height <= 18).withStrength(Strength::create(250, 0, 0)));
    }
    constraints.push_back(body.height >= 36);
    constraints.push_back((body.height <= 36).withStrength(Strength::create(250, 0, 0)));
    for (Box* box : boxes)
        constraints.push_back((box->height == 0).withStrength(Strength::weak));
    for (auto& constraint : constraints)
        solver.addConstraint(constraint);
    solver.addEditVariable(offset, Strength::create(1000, 0, 0));
    double value = -70;
    for (auto _ : state) {
        value = value > 200 ? -70 : value + 1.5;
        solver.suggestValue(offset, value);
        solver.updateVariables();
        benchmark::DoNotOptimize(banner.top.value());
    }
}
BENCHMARK(BM_SolverDragStepBaseline);

} // namespace
