#pragma once

namespace layout {

class Constraint;
class Expression;
class Row;
class Solver;
class SolverImpl;
class Symbol;
class Variable;
struct Strength;
struct Term;

class SolverError;
class DuplicateConstraint;
class UnknownConstraint;
class UnsatisfiableConstraint;
class DuplicateEditVariable;
class UnknownEditVariable;
class BadRequiredStrength;
class NonFiniteValue;

enum class Relation;

} // namespace layout
