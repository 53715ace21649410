#include "ScriptProvisioning.h"

#include "eval/ScriptControl.h"

namespace app {

void EnsureScriptControl(eval::ScriptControl &scriptControl)
{
    scriptControl.setLanguage("VBScript");
}

} // namespace app
