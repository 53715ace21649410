#include "ScriptControl.h"

#include "Builtins.h"
#include "Parser.h"

#include <new>
#include <stdexcept>

namespace eval {

void ScriptControl::setLanguage(std::string_view language)
{
    if (language_ != language) // set before every calculation: usually the same
        language_ = std::string(language);
}

void ScriptControl::prepare()
{
    if (ready_)
        return;
    program_.code.reserve(64);
    program_.constants.reserve(32);
    stack_.reserve(32);
    ready_ = true;
}

EvalResult ScriptControl::Eval(std::string_view expression)
{
    prepare();
    EvalResult result;
    auto sameLetters = [](std::string_view a, std::string_view b) {
        if (a.size() != b.size())
            return false;
        for (std::size_t i = 0; i < a.size(); ++i)
            if ((a[i] | 0x20) != (b[i] | 0x20))
                return false;
        return true;
    };
    if (!sameLetters(language_, "VBScript")) {
        result.error = ScriptError(InvalidProcedureCall);
        return result;
    }
    try {
        if (std::optional<ScriptError> syntax = Parser::parse(expression, program_)) {
            result.error = std::move(*syntax);
            return result;
        }
        result.value = run();
        result.ok = true;
    } catch (const ScriptError &error) {
        result.error = error;
    } catch (const std::bad_alloc &) {
        result.error = ScriptError(OutOfMemory);
    } catch (const std::length_error &) {
        result.error = ScriptError(OutOfMemory);
    }
    stack_.clear();
    return result;
}

Value ScriptControl::run()
{
    stack_.clear();
    CallContext context{random_};
    for (const Instruction &ins : program_.code) {
        switch (ins.kind) {
        // Each constant is pushed exactly once and the program is not run again: move it.
        case Instruction::Push: stack_.push_back(std::move(program_.constants[ins.index])); break;
        case Instruction::Binary: {
            Value right = std::move(stack_.back());
            stack_.pop_back();
            stack_.back() = applyBinary(ins.op, std::move(stack_.back()), right);
            break;
        }
        case Instruction::Negate: stack_.back() = negate(stack_.back()); break;
        case Instruction::Not: stack_.back() = logicalNot(stack_.back()); break;
        case Instruction::Call: {
            const Builtin &fn = *ins.builtin;
            if (ins.arguments < fn.minArguments || ins.arguments > fn.maxArguments)
                throw ScriptError(WrongNumberOfArguments, std::string(builtinDisplayName(fn)));
            std::span<Value> args(stack_.data() + (stack_.size() - ins.arguments), ins.arguments);
            Value value = fn.call(context, args);
            stack_.resize(stack_.size() - ins.arguments);
            stack_.push_back(std::move(value));
            break;
        }
        case Instruction::CallUnknown:
            throw ScriptError(TypeMismatch, program_.names[ins.index]);
        }
    }
    return std::move(stack_.back());
}

} // namespace eval
