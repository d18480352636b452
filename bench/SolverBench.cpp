#include <array>
#include <benchmark/benchmark.h>
#include <cmath>
#include <string>
#include <vector>

#include "platform/uikit/layout/Solver.h"

using namespace layout;

namespace {

// The edges of one box of the banner.
struct Box {
    explicit Box(const std::string& name)
        : leading(name + ".leading")
        , trailing(name + ".trailing")
        , top(name + ".top")
        , bottom(name + ".bottom")
        , width(name + ".width")
        , height(name + ".height")
    {
    }

    Variable leading, trailing, top, bottom, width, height;
};

// A banner-sized system: a container with an icon, a header and a time on
// one line, a subheader, a body and a row of buttons below, the container
// taking the least height its contents allow: 47 constraints, 42 variables.
struct Banner {
    Banner()
    {
        for (const Box* box : boxes()) {
            constraints.push_back(box->trailing == box->leading + box->width);
            constraints.push_back(box->bottom == box->top + box->height);
        }
        constraints.insert(constraints.end(),
            {
                container.leading == 8,
                container.trailing == 375 - 8,
                container.top <= 120,
                (container.top == 0).withStrength(Strength::weak),
                icon.leading == container.leading + 10,
                icon.top == container.top + 10,
                icon.width == 38,
                icon.height == 38,
                header.leading == icon.trailing + 8,
                header.top == container.top + 10,
                header.height == 20,
                header.trailing <= time.leading - 8,
                time.trailing == container.trailing - 10,
                time.top == header.top,
                time.width == 40,
                time.height == 20,
                subheader.leading == header.leading,
                subheader.trailing == container.trailing - 10,
                subheader.top == header.bottom + 2,
                subheader.height == 18,
                body.leading == header.leading,
                body.trailing == container.trailing - 10,
                body.top == subheader.bottom + 2,
                body.height == 36,
                buttons.leading == container.leading + 10,
                buttons.trailing == container.trailing - 10,
                buttons.top == body.bottom + 8,
                buttons.height == 32,
                container.bottom >= icon.bottom + 10,
                container.bottom >= body.bottom + 10,
                container.bottom >= buttons.bottom + 10,
                (header.width == 1000).withStrength(Strength::weak),
                (container.height == 0).withStrength(Strength::weak),
            });
    }

    std::array<const Box*, 7> boxes() const
    {
        return { &container, &icon, &header, &time, &subheader, &body, &buttons };
    }

    void addTo(Solver& solver) const
    {
        for (const Constraint& constraint : constraints)
            solver.addConstraint(constraint);
    }

    // Whether the solution written into the variables is the banner's layout at `top`.
    bool isLaidOutAt(double top) const
    {
        double expectedTop = std::min(top, 120.0);
        return std::fabs(container.top.value() - expectedTop) < 1e-6 && std::fabs(container.height.value() - 138) < 1e-6
            && std::fabs(header.width.value() - 245) < 1e-6
            && std::fabs(buttons.bottom.value() - (expectedTop + 128)) < 1e-6;
    }

    Box container { "container" }, icon { "icon" }, header { "header" }, time { "time" }, subheader { "subheader" },
        body { "body" }, buttons { "buttons" };
    std::vector<Constraint> constraints;
};

// Variables, constraints and the first solution, as a new banner needs them.
void BM_SolverBuildBanner(benchmark::State& state)
{
    bool laidOut = true;
    for (auto _ : state) {
        Banner banner;
        Solver solver;
        banner.addTo(solver);
        solver.updateVariables();
        laidOut &= banner.isLaidOutAt(0);
    }
    if (!laidOut)
        state.SkipWithError("the banner was not laid out as expected");
}
BENCHMARK(BM_SolverBuildBanner);

// One step of a drag: a new top for the banner, the solution written out.
// With `acrossBound` every other step goes past the required bound on the
// top, so each step pivots.
void BM_SolverDragStep(benchmark::State& state)
{
    bool acrossBound = state.range(0) != 0;
    Banner banner;
    Solver solver;
    banner.addTo(solver);
    solver.addEditVariable(banner.container.top, Strength::strong);
    std::array<double, 2> tops = acrossBound ? std::array<double, 2> { 100, 140 } : std::array<double, 2> { 30, 31.5 };
    size_t flip = 0;
    for (auto _ : state) {
        solver.suggestValue(banner.container.top, tops[flip]);
        solver.updateVariables();
        flip ^= 1;
    }
    if (!banner.isLaidOutAt(tops[flip ^ 1]))
        state.SkipWithError("the drag did not move the banner as expected");
}
BENCHMARK(BM_SolverDragStep)->ArgName("acrossBound")->Arg(0)->Arg(1);

// The floor under a drag step: writing the banner's 42 values into memory.
void BM_WriteBannerValues(benchmark::State& state)
{
    std::array<double, 42> values {};
    double value = 0;
    for (auto _ : state) {
        for (double& slot : values)
            slot = value;
        benchmark::ClobberMemory();
        value += 1;
    }
    benchmark::DoNotOptimize(values);
}
BENCHMARK(BM_WriteBannerValues);

} // namespace
