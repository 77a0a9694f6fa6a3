// CVitrel32PropPage, the control's "General" property page.
#include "class_factory.h"

namespace vitrel {

HRESULT CreatePropertyPage(REFIID, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    return CLASS_E_CLASSNOTAVAILABLE;
}

}  // namespace vitrel
