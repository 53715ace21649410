#pragma once

namespace eval {
class ScriptControl;
}

namespace app {

// The last step of start-up. The evaluator is built into the program, so there is no library
// file to provide: nothing is written anywhere. This only sets the engine instance's language,
// so that the first calculation evaluates whatever language it was left in.
void EnsureScriptControl(eval::ScriptControl &scriptControl);

} // namespace app
