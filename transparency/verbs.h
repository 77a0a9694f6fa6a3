// The control's two OLE verbs, edit (activate in place) and properties, and
// their enumerator.
#pragma once

#include <windows.h>
#include <oleidl.h>
#include <olectl.h>

namespace vitrel {

[[nodiscard]] HRESULT CreateVerbEnumerator(IEnumOLEVERB** out);

}  // namespace vitrel
