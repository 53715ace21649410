#pragma once

#include "eval/Value.h"

#include <cstddef>
#include <vector>

namespace eval {

// Beyond this many elements an array fails as out of memory: each costs a variant and its text.
constexpr std::size_t MaxArrayElements = 2000000;

class EvalBudget;

// Fills an array element by element within the evaluation's budget: each element asks for its
// room (and for the slots the growing array may leave spare), and the element past
// MaxArrayElements fails as out of memory.
class ArrayBuilder
{
public:
    ArrayBuilder(EvalBudget &budget, std::vector<Value> &elements) : budget_(budget), elements_(elements) {}
    void add(Value element);

private:
    EvalBudget &budget_;
    std::vector<Value> &elements_;
    std::size_t bytes_ = 0;
};

} // namespace eval
