// A dialog source that names a header of the program above it.
#include "clockwindow.h"
