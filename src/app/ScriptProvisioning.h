#pragma once

namespace eval {
class ScriptControl;
}

namespace app {

// The last step of start-up. The evaluator is built into the program, so there is no library
// file to provide: nothing is written anywhere. This only makes sure the engine instance is
// ready before the first calculation.
void EnsureScriptControl(eval::ScriptControl &scriptControl);

} // namespace app
