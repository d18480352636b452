#include "platform/uikit/layout/Solver.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "platform/uikit/layout/SolverError.h"

using namespace layout;

namespace {

constexpr double near = 1e-6;

// The value the solver gives `variable` now.
double solved(Solver& solver, const Variable& variable)
{
    solver.updateVariables();
    return variable.value();
}

TEST(SolverTest, equalitiesDetermineTheirVariables)
{
    Solver solver;
    Variable x("x"), y("y"), z("z");
    solver.addConstraint(x == 10);
    solver.addConstraint(y == x + 5);
    solver.addConstraint(2 * z == x + y);
    solver.updateVariables();
    EXPECT_NEAR(x.value(), 10, near);
    EXPECT_NEAR(y.value(), 15, near);
    EXPECT_NEAR(z.value(), 12.5, near);

    // A constraint on variables that are already determined only through others.
    Variable w("w");
    solver.addConstraint(w + z == x * 3 - y / 5);
    EXPECT_NEAR(solved(solver, w), 30 - 3 - 12.5, near);

    // The same variable on both sides, and terms that cancel.
    Variable v("v");
    solver.addConstraint(3 * v - x == v + v + 1 + x - x);
    EXPECT_NEAR(solved(solver, v), 11, near);
}

TEST(SolverTest, requiredEqualitiesThatRestateOthersAreAccepted)
{
    // Rows made only of required equalities' markers: redundant but consistent.
    Solver solver;
    Variable x("x"), y("y");
    Constraint first = x == 10;
    Constraint again = x == 10;
    solver.addConstraint(first);
    solver.addConstraint(again);
    solver.addConstraint(y == x + 1);
    solver.addConstraint(y - x == 1);
    EXPECT_NEAR(solved(solver, y), 11, near);
    solver.removeConstraint(first);
    EXPECT_NEAR(solved(solver, x), 10, near);
    solver.removeConstraint(again);
    solver.addConstraint(x == 4);
    EXPECT_NEAR(solved(solver, y), 5, near);
}

TEST(SolverTest, strongerConstraintsWin)
{
    Solver solver;
    Variable x("x");
    solver.addConstraint((x == 20).withStrength(Strength::weak));
    EXPECT_NEAR(solved(solver, x), 20, near);
    Constraint strong = (x == 10).withStrength(Strength::strong);
    solver.addConstraint(strong);
    EXPECT_NEAR(solved(solver, x), 10, near);
    solver.addConstraint((x == 30).withStrength(Strength::medium));
    EXPECT_NEAR(solved(solver, x), 10, near);
    Constraint ceiling = x <= 5;
    solver.addConstraint(ceiling);
    EXPECT_NEAR(solved(solver, x), 5, near);

    // Without the required ceiling and the strong pull, medium beats weak.
    solver.removeConstraint(ceiling);
    solver.removeConstraint(strong);
    EXPECT_NEAR(solved(solver, x), 30, near);
}

TEST(SolverTest, strengthLevelsOutweighManyWeakerConstraints)
{
    Solver solver;
    Variable x("x");
    // Ten weak pulls towards 0 lose to one medium pull towards 10.
    for (int i = 0; i < 10; ++i)
        solver.addConstraint((x == 0).withStrength(Strength::weak));
    solver.addConstraint((x == 10).withStrength(Strength::medium));
    EXPECT_NEAR(solved(solver, x), 10, near);
    // A weight inside a level counts: medium at twice the weight beats medium.
    solver.addConstraint((x == 20).withStrength(Strength::create(0, 2, 0)));
    EXPECT_NEAR(solved(solver, x), 20, near);

    // Nearly the most the lower levels can carry still loses to one unit of the level above.
    Solver other;
    other.addConstraint((x == 30).withStrength(Strength::create(0, 999, 999)));
    other.addConstraint((x == 40).withStrength(Strength::strong));
    EXPECT_NEAR(solved(other, x), 40, near);
}

TEST(SolverTest, inequalitiesBoundTheirVariables)
{
    Solver solver;
    Variable x("x"), y("y");
    solver.addConstraint(x >= 10);
    solver.addConstraint(x <= 20);
    solver.addConstraint((x == 0).withStrength(Strength::weak));
    EXPECT_NEAR(solved(solver, x), 10, near);
    solver.addConstraint((x == 100).withStrength(Strength::medium));
    EXPECT_NEAR(solved(solver, x), 20, near);

    // A non-required inequality gives way to a stronger equality, and holds against a weaker one.
    solver.addConstraint((y >= 50).withStrength(Strength::medium));
    Constraint pull = (y == 0).withStrength(Strength::strong);
    solver.addConstraint(pull);
    EXPECT_NEAR(solved(solver, y), 0, near);
    solver.removeConstraint(pull);
    solver.addConstraint((y == 0).withStrength(Strength::weak));
    EXPECT_NEAR(solved(solver, y), 50, near);
}

TEST(SolverTest, aContainerBoundedFromBelowTakesTheLeastHeightAllowed)
{
    Solver solver;
    Variable top("top"), bottom("bottom"), a("a"), b("b"), c("c");
    solver.addConstraint(top == 0);
    solver.addConstraint(a == 10);
    solver.addConstraint(b == 40);
    solver.addConstraint(c == 25);
    Constraint smallest = bottom >= a + 22;
    Constraint largest = bottom >= b + 22;
    Constraint middle = bottom >= c + 22;
    for (const Constraint& bound : { smallest, largest, middle })
        solver.addConstraint(bound);
    solver.addConstraint((bottom == top).withStrength(Strength::weak));
    EXPECT_NEAR(solved(solver, bottom), 62, near);

    // Without the largest bound the next one sets the height; with none, the preference does.
    solver.removeConstraint(largest);
    EXPECT_NEAR(solved(solver, bottom), 47, near);
    solver.removeConstraint(middle);
    solver.removeConstraint(smallest);
    EXPECT_NEAR(solved(solver, bottom), 0, near);
}

TEST(SolverTest, leastHeightFollowsEditedLowerBounds)
{
    Solver solver;
    Variable top("top"), bottom("bottom"), a("a"), b("b"), c("c");
    solver.addConstraint(top == 0);
    for (const Variable& bound : { a, b, c })
        solver.addConstraint(bottom >= bound + 22);
    solver.addConstraint((bottom == top).withStrength(Strength::weak));
    for (const Variable& bound : { a, b, c })
        solver.addEditVariable(bound, Strength::strong);

    struct Step {
        double a, b, c, bottom;
    };
    // Raising one bound, lowering the largest, and all bounds under the top.
    const Step steps[]
        = { { 10, 40, 25, 62 }, { 10, 40, 80, 102 }, { 10, 5, 3, 32 }, { -50, -60, -40, 0 }, { 0, 0, 0, 22 } };
    for (const Step& step : steps) {
        solver.suggestValue(a, step.a);
        solver.suggestValue(b, step.b);
        solver.suggestValue(c, step.c);
        EXPECT_NEAR(solved(solver, bottom), step.bottom, near) << step.a << ' ' << step.b << ' ' << step.c;
    }
}

TEST(SolverTest, editVariablesTakeSuggestedValues)
{
    Solver solver;
    Variable x("x"), y("y");
    solver.addConstraint(x <= 100);
    solver.addConstraint(y == x + 10);
    solver.addConstraint((x == 5).withStrength(Strength::weak));
    EXPECT_NEAR(solved(solver, x), 5, near);

    solver.addEditVariable(x, Strength::strong);
    EXPECT_TRUE(solver.hasEditVariable(x));
    EXPECT_FALSE(solver.hasEditVariable(y));
    // Until a value is suggested the variable stays where it was.
    EXPECT_NEAR(solved(solver, x), 5, near);

    solver.suggestValue(x, 50);
    EXPECT_NEAR(solved(solver, x), 50, near);
    EXPECT_NEAR(y.value(), 60, near);
    // Beyond a required bound, the bound wins; back inside, the suggestion does.
    solver.suggestValue(x, 150);
    EXPECT_NEAR(solved(solver, x), 100, near);
    solver.suggestValue(x, 20);
    EXPECT_NEAR(solved(solver, x), 20, near);
    EXPECT_NEAR(y.value(), 30, near);
    solver.suggestValue(x, 20);
    EXPECT_NEAR(solved(solver, x), 20, near);

    solver.removeEditVariable(x);
    EXPECT_FALSE(solver.hasEditVariable(x));
    EXPECT_NEAR(solved(solver, x), 5, near);
    EXPECT_NEAR(y.value(), 15, near);

    // Editing again starts from the current value, not from the last suggestion.
    solver.addEditVariable(x, Strength::medium);
    EXPECT_NEAR(solved(solver, x), 5, near);
    solver.suggestValue(x, -7);
    EXPECT_NEAR(solved(solver, y), 3, near);
}

TEST(SolverTest, editVariablesOfDifferentStrengthsShareTheSolution)
{
    Solver solver;
    Variable left("left"), width("width"), right("right");
    solver.addConstraint(right == left + width);
    solver.addConstraint(right <= 300);
    solver.addConstraint(width >= 0);
    solver.addEditVariable(left, Strength::strong);
    solver.addEditVariable(width, Strength::medium);
    solver.suggestValue(left, 100);
    solver.suggestValue(width, 50);
    EXPECT_NEAR(solved(solver, right), 150, near);
    // Only the weaker wish gives way when both cannot hold.
    solver.suggestValue(left, 250);
    solver.updateVariables();
    EXPECT_NEAR(left.value(), 250, near);
    EXPECT_NEAR(width.value(), 50, near);
    EXPECT_NEAR(right.value(), 300, near);
    solver.suggestValue(left, 350);
    solver.updateVariables();
    EXPECT_NEAR(left.value(), 300, near);
    EXPECT_NEAR(width.value(), 0, near);
}

// A chain of bounded, spaced variables, each with a preferred value at a
// random weight, so that the best solution is unique.
struct Chain {
    explicit Chain(std::mt19937& random)
    {
        std::uniform_real_distribution<double> gap(0, 15), target(-20, 120), weight(1, 9);
        for (int i = 0; i < 6; ++i) {
            variables.emplace_back("v" + std::to_string(i));
            structure.push_back(variables[i] >= 0);
            structure.push_back(variables[i] <= 100);
            preferences.push_back(
                (variables[i] == target(random)).withStrength(Strength::create(0, 0, weight(random))));
            if (i > 0)
                structure.push_back(variables[i] >= variables[i - 1] + gap(random));
        }
    }
    void addTo(Solver& solver) const
    {
        for (const Constraint& constraint : preferences)
            solver.addConstraint(constraint);
        for (const Constraint& constraint : structure)
            solver.addConstraint(constraint);
    }
    std::vector<Variable> variables;
    std::vector<Constraint> structure;
    std::vector<Constraint> preferences;
};

std::vector<double> solvedValues(Solver& solver, const std::vector<Variable>& variables)
{
    solver.updateVariables();
    std::vector<double> values;
    for (const Variable& variable : variables)
        values.push_back(variable.value());
    return values;
}

TEST(SolverTest, incrementalSuggestionsMatchSolvingFromScratch)
{
    std::mt19937 random(7);
    for (int round = 0; round < 5; ++round) {
        Chain chain(random);
        Solver solver;
        chain.addTo(solver);
        double strength = Strength::create(0, 5 + round, 0);
        solver.addEditVariable(chain.variables[2], strength);
        std::uniform_real_distribution<double> suggestion(-40, 140);
        for (int step = 0; step < 20; ++step) {
            double value = suggestion(random);
            solver.suggestValue(chain.variables[2], value);
            Solver fresh;
            chain.addTo(fresh);
            fresh.addConstraint((chain.variables[2] == value).withStrength(strength));
            std::vector<double> expected = solvedValues(fresh, chain.variables);
            std::vector<double> actual = solvedValues(solver, chain.variables);
            for (size_t i = 0; i < expected.size(); ++i)
                EXPECT_NEAR(actual[i], expected[i], near) << "round " << round << " step " << step << " v" << i;
        }
    }
}

TEST(SolverTest, removingConstraintsMatchesSolvingFromScratch)
{
    std::mt19937 random(11);
    for (int round = 0; round < 5; ++round) {
        Chain chain(random);
        Solver solver;
        chain.addTo(solver);
        std::vector<Constraint> kept = chain.structure;
        std::shuffle(kept.begin(), kept.end(), random);
        while (!kept.empty()) {
            solver.removeConstraint(kept.back());
            kept.pop_back();
            Solver fresh;
            for (const Constraint& constraint : chain.preferences)
                fresh.addConstraint(constraint);
            for (const Constraint& constraint : kept)
                fresh.addConstraint(constraint);
            std::vector<double> expected = solvedValues(fresh, chain.variables);
            std::vector<double> actual = solvedValues(solver, chain.variables);
            for (size_t i = 0; i < expected.size(); ++i)
                EXPECT_NEAR(actual[i], expected[i], near) << "round " << round << " v" << i << " with " << kept.size();
        }
    }
}

TEST(SolverTest, removingConstraintsRestoresThePreviousSolution)
{
    Solver solver;
    Variable left("left"), width("width"), right("right");
    solver.addConstraint(left >= 0);
    solver.addConstraint(right == left + width);
    solver.addConstraint(right <= 320);
    solver.addConstraint((width == 100).withStrength(Strength::medium));
    solver.addConstraint((left == 20).withStrength(Strength::weak));
    std::vector<Variable> all { left, width, right };
    std::vector<double> before = solvedValues(solver, all);
    EXPECT_NEAR(before[2], 120, near);

    Constraint wide = (width == 400).withStrength(Strength::strong);
    Constraint shifted = left == 30;
    Constraint minimum = width >= 280;
    solver.addConstraint(wide);
    solver.addConstraint(shifted);
    solver.addConstraint(minimum);
    std::vector<double> changed = solvedValues(solver, all);
    EXPECT_NEAR(changed[0], 30, near);
    EXPECT_NEAR(changed[1], 290, near) << "the required bound on the right beats the strong width";

    // Out of order, so that markers have to be pivoted back into the basis.
    solver.removeConstraint(shifted);
    EXPECT_NEAR(solved(solver, left), 0, near) << "the strong width pushes left to its bound";
    solver.removeConstraint(wide);
    solver.removeConstraint(minimum);
    std::vector<double> after = solvedValues(solver, all);
    for (size_t i = 0; i < all.size(); ++i)
        EXPECT_NEAR(after[i], before[i], near) << all[i].name();
    EXPECT_FALSE(solver.hasConstraint(wide));

    // The same constraint can come back after it was removed.
    solver.addConstraint(shifted);
    EXPECT_NEAR(solved(solver, left), 30, near);
    solver.removeConstraint(shifted);
    EXPECT_NEAR(solved(solver, left), 20, near);
}

template <typename Error, typename Call> std::string messageOf(Call call)
{
    try {
        call();
    } catch (const Error& error) {
        // Every refusal is also a SolverError.
        const SolverError& base = error;
        return base.what();
    } catch (...) {
        return "(a different error)";
    }
    return "(no error)";
}

TEST(SolverTest, constraintErrorsNameTheConstraint)
{
    Solver solver;
    Variable width("width");
    Constraint positive = width >= 10;
    solver.addConstraint(positive);
    EXPECT_NE(
        messageOf<DuplicateConstraint>([&] { solver.addConstraint(positive); }).find("width >= 10"), std::string::npos);
    Constraint unknown = width <= 5;
    EXPECT_NE(messageOf<UnknownConstraint>([&] { solver.removeConstraint(unknown); }).find("width <= 5 (required)"),
        std::string::npos);
    EXPECT_NE(messageOf<UnsatisfiableConstraint>([&] { solver.addConstraint(unknown); }).find("width <= 5"),
        std::string::npos);

    try {
        solver.addConstraint(positive);
        FAIL() << "a duplicate was accepted";
    } catch (const DuplicateConstraint& error) {
        EXPECT_TRUE(error.constraint().isSame(positive));
    }
    EXPECT_TRUE(solver.hasConstraint(positive));
    EXPECT_FALSE(solver.hasConstraint(unknown));
}

TEST(SolverTest, editVariableErrorsNameTheVariable)
{
    Solver solver;
    Variable top("top"), other("other");
    solver.addEditVariable(top, Strength::strong);
    EXPECT_NE(messageOf<DuplicateEditVariable>([&] { solver.addEditVariable(top, Strength::weak); }).find("`top`"),
        std::string::npos);
    EXPECT_NE(
        messageOf<UnknownEditVariable>([&] { solver.removeEditVariable(other); }).find("`other`"), std::string::npos);
    EXPECT_NE(
        messageOf<UnknownEditVariable>([&] { solver.suggestValue(other, 3); }).find("`other`"), std::string::npos);
    EXPECT_NE(
        messageOf<BadRequiredStrength>([&] { solver.addEditVariable(other, Strength::required); }).find("`other`"),
        std::string::npos);
    // Above required clips to required, and is refused the same way.
    EXPECT_NE(messageOf<BadRequiredStrength>([&] { solver.addEditVariable(other, 1e12); }), "(no error)");
    EXPECT_FALSE(solver.hasEditVariable(other));

    // The refusals changed nothing: the edit variable still works.
    solver.suggestValue(top, 12);
    EXPECT_NEAR(solved(solver, top), 12, near);
}

TEST(SolverTest, nonFiniteNumbersAreRefused)
{
    Solver solver;
    Variable x("x");
    solver.addConstraint(x == 3);
    solver.addEditVariable(Variable("y"), Strength::strong);
    double nan = std::numeric_limits<double>::quiet_NaN();
    double infinity = std::numeric_limits<double>::infinity();
    std::string before = solver.dump();
    EXPECT_NE(messageOf<NonFiniteValue>([&] { solver.addConstraint(x == nan); }).find("not a finite number"),
        std::string::npos);
    EXPECT_NE(messageOf<NonFiniteValue>([&] { solver.addConstraint(x * infinity >= 1); }), "(no error)");
    EXPECT_NE(messageOf<NonFiniteValue>([&] { solver.addConstraint((x == 1).withStrength(nan)); }), "(no error)");
    EXPECT_NE(messageOf<NonFiniteValue>([&] { solver.addEditVariable(Variable("z"), nan); }), "(no error)");
    Variable z("z");
    solver.addEditVariable(z, Strength::weak);
    before = solver.dump();
    EXPECT_NE(messageOf<NonFiniteValue>([&] { solver.suggestValue(z, infinity); }).find("`z`"), std::string::npos);
    EXPECT_EQ(solver.dump(), before);
    EXPECT_NEAR(solved(solver, x), 3, near);
}

TEST(SolverTest, anUnsatisfiableConstraintLeavesTheSolverUnchanged)
{
    Solver solver;
    Variable x("x"), y("y");
    solver.addConstraint(x + y == 10);
    solver.addConstraint(x >= 0);
    solver.addConstraint(y >= 0);
    solver.addConstraint((y == 0).withStrength(Strength::weak));
    solver.addConstraint((x == 4).withStrength(Strength::medium));
    solver.updateVariables();
    double x0 = x.value(), y0 = y.value();
    EXPECT_NEAR(x0, 4, near);
    std::string before = solver.dump();

    // A restatement of required equalities with another constant.
    Constraint contradiction = x + y == 11;
    EXPECT_THROW(solver.addConstraint(contradiction), UnsatisfiableConstraint);
    EXPECT_EQ(solver.dump(), before);
    // Rows with no subject that the search with an artificial variable cannot
    // bring to zero: x - y is 10 at most, and y cannot be negative.
    Constraint tooFar = x - y >= 20;
    EXPECT_THROW(solver.addConstraint(tooFar), UnsatisfiableConstraint);
    EXPECT_EQ(solver.dump(), before);
    EXPECT_THROW(solver.addConstraint(y <= -1), UnsatisfiableConstraint);
    EXPECT_EQ(solver.dump(), before);

    EXPECT_FALSE(solver.hasConstraint(contradiction));
    EXPECT_FALSE(solver.hasConstraint(tooFar));
    solver.updateVariables();
    EXPECT_NEAR(x.value(), x0, near);
    EXPECT_NEAR(y.value(), y0, near);

    // The solver goes on working, and the refused constraint can be added once it fits.
    solver.addConstraint((x == 7).withStrength(Strength::strong));
    EXPECT_NEAR(solved(solver, y), 3, near);
    solver.addConstraint(x - y >= 2);
    EXPECT_NEAR(solved(solver, x), 7, near);
    solver.addConstraint(x - y >= 10);
    EXPECT_NEAR(solved(solver, x), 10, near);
    EXPECT_NEAR(y.value(), 0, near);
}

TEST(SolverTest, anUnsatisfiableConstraintFoundAfterPivotsLeavesTheSolverUnchanged)
{
    // The search lowers the new row by pivoting x up to its bound of 10
    // before it finds that x >= 20 cannot hold.
    Solver solver;
    Variable x("x");
    solver.addConstraint(x >= 0);
    solver.addConstraint(x <= 10);
    solver.addConstraint((x == 0).withStrength(Strength::weak));
    std::string before = solver.dump();
    EXPECT_THROW(solver.addConstraint(x >= 20), UnsatisfiableConstraint);
    EXPECT_EQ(solver.dump(), before);
    EXPECT_NEAR(solved(solver, x), 0, near);

    // The same search succeeds when the bound is within reach, and the new bound holds.
    solver.addConstraint(x >= 6);
    EXPECT_NEAR(solved(solver, x), 6, near);
}

TEST(SolverTest, resetForgetsEverything)
{
    Solver solver;
    Variable x("x");
    Constraint fixed = x == 10;
    solver.addConstraint(fixed);
    solver.addEditVariable(Variable("top"), Strength::strong);
    solver.updateVariables();
    solver.reset();
    EXPECT_FALSE(solver.hasConstraint(fixed));
    EXPECT_NEAR(x.value(), 10, near) << "variables keep their last values";
    solver.addConstraint(x == 3);
    EXPECT_NEAR(solved(solver, x), 3, near);
    solver.addConstraint(fixed.withStrength(Strength::weak));
    EXPECT_NEAR(solved(solver, x), 3, near);
}

// The edges of a box, as views lay them out.
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
    std::vector<Constraint> edges() const { return { trailing == leading + width, bottom == top + height }; }

    Variable leading, trailing, top, bottom, width, height;
};

TEST(SolverTest, aSmallViewLayoutSolvesToTheExpectedFrames)
{
    Solver solver;
    Box container("container"), icon("icon"), title("title"), body("body");
    std::vector<Constraint> constraints;
    for (const Box* box : { &container, &icon, &title, &body }) {
        for (const Constraint& constraint : box->edges())
            constraints.push_back(constraint);
    }
    constraints.insert(constraints.end(),
        {
            container.leading == 8,
            container.width == 359,
            icon.leading == container.leading + 10,
            icon.top == container.top + 12,
            icon.width == 38,
            icon.height == icon.width,
            title.leading == icon.trailing + 10,
            title.trailing == container.trailing - 10,
            title.top == icon.top,
            title.height == 20,
            body.leading == title.leading,
            body.trailing == title.trailing,
            body.top == title.bottom + 2,
            body.height == 54,
            container.bottom >= icon.bottom + 12,
            container.bottom >= body.bottom + 12,
            (container.height == 0).withStrength(Strength::weak),
        });
    for (const Constraint& constraint : constraints)
        solver.addConstraint(constraint);
    solver.addEditVariable(container.top, Strength::strong);
    solver.suggestValue(container.top, 44);
    solver.updateVariables();

    EXPECT_NEAR(icon.leading.value(), 18, near);
    EXPECT_NEAR(icon.top.value(), 56, near);
    EXPECT_NEAR(icon.height.value(), 38, near);
    EXPECT_NEAR(title.leading.value(), 66, near);
    EXPECT_NEAR(title.width.value(), 367 - 10 - 66, near);
    EXPECT_NEAR(body.top.value(), 78, near);
    EXPECT_NEAR(body.bottom.value(), 132, near);
    EXPECT_NEAR(container.height.value(), 100, near) << "the body, the lower of the two, sets the height";

    // A drag moves every top; widths and the height stay.
    solver.suggestValue(container.top, -30.5);
    solver.updateVariables();
    EXPECT_NEAR(icon.top.value(), -18.5, near);
    EXPECT_NEAR(body.bottom.value(), 57.5, near);
    EXPECT_NEAR(container.height.value(), 100, near);
    EXPECT_NEAR(title.width.value(), 291, near);

    // A shorter body leaves the icon in charge of the height.
    Constraint shortBody = (body.height == 10).withStrength(Strength::strong);
    solver.removeConstraint(constraints[constraints.size() - 4]);
    solver.addConstraint(shortBody);
    EXPECT_NEAR(solved(solver, container.height), 62, near);
}

} // namespace

namespace {

// A small layout of its own: a row of boxes between two edges, the first
// of which gives way to required constraints, with preferences that leave
// some of its constraints unsatisfied.
std::vector<Constraint> rowOfBoxes(const std::vector<Variable>& edges, double width)
{
    std::vector<Constraint> constraints { (edges.front() == 0).withStrength(Strength::strong), edges.back() == width };
    for (size_t i = 1; i < edges.size(); ++i) {
        constraints.push_back(edges[i] >= edges[i - 1] + 10);
        constraints.push_back((edges[i] == edges[i - 1] + 40).withStrength(Strength::medium));
    }
    return constraints;
}

std::vector<Variable> edgesNamed(const std::string& name, size_t count)
{
    std::vector<Variable> edges;
    for (size_t i = 0; i < count; ++i)
        edges.emplace_back(name + std::to_string(i));
    return edges;
}

} // namespace

TEST(SolverGroupsTest, independentGroupsSolveAsTheyDoAlone)
{
    std::vector<Variable> a = edgesNamed("a", 5), b = edgesNamed("b", 4);
    Solver together;
    Solver aloneA, aloneB;
    for (const Constraint& constraint : rowOfBoxes(a, 100)) {
        together.addConstraint(constraint);
        aloneA.addConstraint(constraint);
    }
    for (const Constraint& constraint : rowOfBoxes(b, 300)) {
        together.addConstraint(constraint);
        aloneB.addConstraint(constraint);
    }
    EXPECT_EQ(together.groupCount(), 2u);
    aloneA.updateVariables();
    aloneB.updateVariables();
    std::vector<double> expected;
    for (auto* edges : { &a, &b })
        for (const Variable& edge : *edges)
            expected.push_back(edge.value());
    together.updateVariables();
    std::vector<double> actual;
    for (auto* edges : { &a, &b })
        for (const Variable& edge : *edges)
            actual.push_back(edge.value());
    EXPECT_EQ(actual, expected);

    // Suggestions move only their own group.
    together.addEditVariable(a[2], Strength::strong);
    together.suggestValue(a[2], 35);
    together.updateVariables();
    EXPECT_NEAR(a[2].value(), 35, near);
    for (size_t i = 0; i < b.size(); ++i)
        EXPECT_EQ(b[i].value(), expected[a.size() + i]);
}

TEST(SolverGroupsTest, aLinkingConstraintMergesGroupsAndItsRemovalKeepsValuesRight)
{
    std::vector<Variable> a = edgesNamed("a", 4), b = edgesNamed("b", 4);
    Solver solver;
    for (const Constraint& constraint : rowOfBoxes(a, 120))
        solver.addConstraint(constraint);
    for (const Constraint& constraint : rowOfBoxes(b, 200))
        solver.addConstraint(constraint);
    solver.addEditVariable(b[1], Strength::strong);
    solver.suggestValue(b[1], 70);
    ASSERT_EQ(solver.groupCount(), 2u);

    // One solver given the same constraints all at once.
    Solver reference;
    auto referenceAdd = [&](const std::vector<Constraint>& constraints) {
        for (const Constraint& constraint : constraints)
            reference.addConstraint(constraint);
    };
    referenceAdd(rowOfBoxes(a, 120));
    referenceAdd(rowOfBoxes(b, 200));
    reference.addEditVariable(b[1], Strength::strong);
    reference.suggestValue(b[1], 70);

    auto values = [&](Solver& source) {
        source.updateVariables();
        std::vector<double> result;
        for (auto* edges : { &a, &b })
            for (const Variable& edge : *edges)
                result.push_back(edge.value());
        return result;
    };

    Constraint link = b[0] == a[3] + 5;
    solver.addConstraint(link);
    reference.addConstraint(link);
    EXPECT_EQ(solver.groupCount(), 1u);
    EXPECT_TRUE(solver.hasConstraint(link));
    EXPECT_TRUE(solver.hasEditVariable(b[1]));
    std::vector<double> linked = values(solver);
    EXPECT_NEAR(linked[a.size()], 125, near) << "b0 follows the end of a";
    EXPECT_EQ(linked, values(reference));

    // The merged group keeps working: suggestions, then the link goes.
    solver.suggestValue(b[1], 150);
    reference.suggestValue(b[1], 150);
    EXPECT_EQ(values(solver), values(reference));
    solver.removeConstraint(link);
    reference.removeConstraint(link);
    EXPECT_FALSE(solver.hasConstraint(link));
    std::vector<double> unlinked = values(solver);
    EXPECT_EQ(unlinked, values(reference));
    EXPECT_NEAR(unlinked[a.size()], 0, near) << "b0 is back at its own edge";
    EXPECT_NEAR(unlinked[a.size() + 1], 150, near);
    EXPECT_THROW(solver.removeConstraint(link), UnknownConstraint);
}

TEST(SolverGroupsTest, refusalsMergeNothing)
{
    Variable x("x"), y("y");
    Solver solver;
    Constraint fixed = x == 10;
    solver.addConstraint(fixed);
    solver.addConstraint(y >= 3);
    std::string before = solver.dump();
    EXPECT_THROW(solver.addConstraint(fixed), DuplicateConstraint);
    EXPECT_THROW(solver.addConstraint(x + y == std::numeric_limits<double>::infinity()), NonFiniteValue);
    EXPECT_THROW(solver.addEditVariable(y, Strength::required), BadRequiredStrength);
    EXPECT_EQ(solver.groupCount(), 2u);
    EXPECT_EQ(solver.dump(), before);
    // A required link both groups cannot keep is refused, and every value stays.
    EXPECT_THROW(solver.addConstraint(y == x - 20), UnsatisfiableConstraint);
    EXPECT_EQ(solver.dump(), before);
    EXPECT_NEAR(solved(solver, x), 10, near);
    EXPECT_NEAR(y.value(), 3, near);
}

TEST(SolverGroupsTest, updatingChangedVariablesWritesTheGroupsThatChangedSinceTheLastWrite)
{
    std::vector<Variable> a = edgesNamed("a", 4), b = edgesNamed("b", 4);
    Solver solver;
    for (const Constraint& constraint : rowOfBoxes(a, 120))
        solver.addConstraint(constraint);
    for (const Constraint& constraint : rowOfBoxes(b, 200))
        solver.addConstraint(constraint);
    solver.addEditVariable(a[1], Strength::strong);
    solver.addEditVariable(b[1], Strength::strong);
    solver.updateChangedVariables();
    double b1 = b[1].value();

    // A second solver holding b writes other values into b's variables; the
    // first solver's b group has not changed since, so it leaves them alone.
    Solver other;
    for (const Constraint& constraint : rowOfBoxes(b, 300))
        other.addConstraint(constraint);
    other.updateVariables();
    double written = b[1].value();
    ASSERT_NE(written, b1);
    solver.suggestValue(a[1], 25);
    solver.updateChangedVariables();
    EXPECT_NEAR(a[1].value(), 25, near);
    EXPECT_EQ(b[1].value(), written);

    solver.suggestValue(b[1], 60);
    solver.updateChangedVariables();
    EXPECT_NEAR(b[1].value(), 60, near);
    // The full write still writes every group.
    other.updateVariables();
    solver.updateVariables();
    EXPECT_NEAR(b[1].value(), 60, near);
    EXPECT_NEAR(a[1].value(), 25, near);
}
