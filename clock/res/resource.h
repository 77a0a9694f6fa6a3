// Resource identifiers of QV.exe, shared by the .rc file and the code.
#pragma once

#define IDR_SPLASH 101  // start-up picture (JPEG, RCDATA)
#define IDI_QV 102      // program icon
