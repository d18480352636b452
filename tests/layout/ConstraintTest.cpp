#include "platform/uikit/layout/Constraint.h"

#include <gtest/gtest.h>
#include <string>

using namespace layout;

namespace {

TEST(ConstraintTest, operatorsBuildReducedLinearRelations)
{
    Variable x("x"), y("y");
    // Everything moves to the left-hand side, with each variable's terms added into one.
    Constraint constraint = 2 * x - y + 10 == x + x / 2 + 3;
    const Expression& expression = constraint.expression();
    ASSERT_EQ(expression.terms().size(), 2u);
    EXPECT_TRUE(expression.terms()[0].variable.isSame(x));
    EXPECT_DOUBLE_EQ(expression.terms()[0].coefficient, 0.5);
    EXPECT_TRUE(expression.terms()[1].variable.isSame(y));
    EXPECT_DOUBLE_EQ(expression.terms()[1].coefficient, -1);
    EXPECT_DOUBLE_EQ(expression.constant(), 7);
    EXPECT_EQ(constraint.relation(), Relation::Equal);
    EXPECT_TRUE(constraint.isRequired());

    // Terms that cancel go; variables of the same name stay distinct.
    Variable otherX("x");
    Constraint cancelled = x - x + otherX <= -(y - 4);
    ASSERT_EQ(cancelled.expression().terms().size(), 2u);
    EXPECT_TRUE(cancelled.expression().terms()[0].variable.isSame(otherX));
    EXPECT_EQ(cancelled.relation(), Relation::LessOrEqual);
    EXPECT_EQ((x >= 0).relation(), Relation::GreaterOrEqual);
}

TEST(ConstraintTest, constraintsReadLikeTheirSource)
{
    Variable left("left"), width("width"), unnamed;
    EXPECT_EQ((left + 2 * width >= 10).toString(), "left + 2 * width >= 10 (required)");
    EXPECT_EQ((-left == width - 1.5).withStrength(Strength::weak).toString(), "-left - width == -1.5 (weak)");
    EXPECT_EQ((unnamed <= 0).withStrength(Strength::create(0, 2, 0)).toString(), "(unnamed) <= 0 (strength 2000)");
    EXPECT_EQ(Constraint(Expression(3), Relation::Equal, Strength::medium).toString(), "0 == -3 (medium)");
}

TEST(ConstraintTest, strengthsAreClippedAndConstraintsKeepTheirIdentity)
{
    Variable x("x");
    Constraint required = x == 1;
    Constraint weak = required.withStrength(Strength::weak);
    EXPECT_FALSE(weak.isSame(required));
    EXPECT_TRUE(Constraint(weak).isSame(weak));
    EXPECT_FALSE((x == 1).isSame(required)) << "two constraints built alike are distinct";
    EXPECT_DOUBLE_EQ(weak.strength(), Strength::weak);
    EXPECT_DOUBLE_EQ(required.withStrength(1e15).strength(), Strength::required);
    EXPECT_DOUBLE_EQ(required.withStrength(-3).strength(), 0);

    // Each level is clamped to [0, 1000] after weighting.
    EXPECT_DOUBLE_EQ(Strength::create(2000, 0, 0), Strength::create(1000, 0, 0));
    EXPECT_DOUBLE_EQ(Strength::create(1, 2, 3, 10), 10'000'000 + 20'000 + 30);
    EXPECT_DOUBLE_EQ(Strength::create(-1, 0, 1), Strength::weak);
    EXPECT_LT(Strength::create(0, 1000, 1000), Strength::create(1, 0, 0, 1.01));
}

} // namespace
