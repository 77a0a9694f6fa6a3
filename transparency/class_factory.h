// The class factories of the module's two classes.
#pragma once

#include <windows.h>

namespace vitrel {

// Creates one new object of a class and queries it for iid.
using CreateFunction = HRESULT (*)(REFIID iid, void** out);

HRESULT GetClassFactory(REFCLSID clsid, REFIID iid, void** out);

// The creation functions of the classes.
HRESULT CreateControl(REFIID iid, void** out);
HRESULT CreatePropertyPage(REFIID iid, void** out);

}  // namespace vitrel
