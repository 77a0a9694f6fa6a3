// Putting one property of an object through IDispatch.
#pragma once

#include <oaidl.h>

namespace qv::win {

// A number put as property id (the one named argument DISPID_PROPERTYPUT).
// The variant holds a plain number: nothing in it needs clearing.
inline HRESULT PutNumberProperty(IDispatch* object, DISPID id, VARTYPE type, LONG value) {
    VARIANT arg;
    VariantInit(&arg);
    arg.vt = type;
    if (type == VT_I2) arg.iVal = static_cast<SHORT>(value);
    else arg.lVal = value;
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params{&arg, &named, 1, 1};
    return object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT, &params, nullptr, nullptr,
                          nullptr);
}

}  // namespace qv::win
