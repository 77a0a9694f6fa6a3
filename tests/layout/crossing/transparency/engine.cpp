// A control source that reaches into the clock by a relative path.
#include "../clock/win/common/handles.h"
