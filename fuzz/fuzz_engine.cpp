// Arbitrary bytes into the engine, both ways the program uses it: the calculate command's
// calculateResultText and the bare ScriptControl::Eval. Neither may crash, leak or hang on
// any input; a failure is an error result, never anything else.
//
// The first byte picks the decimal-places setting: '0' to '9' as themselves, any other byte
// modulo 11 (10 meaning automatic, so 'A' is automatic). The rest is the expression text.

#include "eval/Calculation.h"
#include "eval/DecimalPlaces.h"
#include "eval/ScriptControl.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace {

int decimalPlacesOf(std::uint8_t byte)
{
    if (byte >= '0' && byte <= '9')
        return byte - '0';
    int n = byte % 11;
    return n == 10 ? eval::DecimalPlacesAuto : n;
}

// An outcome that no input should produce: stop here, so that libFuzzer keeps the input.
void require(bool condition)
{
    if (!condition)
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    const int places = decimalPlacesOf(data[0]);
    const std::string_view text(reinterpret_cast<const char *>(data + 1), size - 1);

    // A fresh engine per input keeps every finding reproducible from its file alone (Rnd
    // carries state); using it twice still exercises the reuse of its working storage.
    eval::ScriptControl engine;
    // A shorter time-out than the window's, so that both evaluations of an input that runs
    // into it end well within libFuzzer's own time limit (fuzz/run.sh): a slower one is a hang.
    engine.setTimeout(std::chrono::milliseconds(250));
    const eval::Calculation calculation = eval::calculateResultText(engine, text, places);
    if (calculation.ok)
        require(calculation.resultText.size() > 2 && calculation.resultText.compare(0, 2, "= ") == 0);
    else
        require(calculation.error.number != 0);

    const eval::EvalResult result = engine.Eval(text);
    require(result.ok || result.error.number != 0);
    return 0;
}
