// Resource identifiers of the control module, shared by vitrel32.rc and the code.
#pragma once

#define IDS_VITREL32_CONTROL 1      // the control's user type name
#define IDS_VITREL32_PAGE 2         // the property page's type name
#define IDS_VITREL32_PAGE_CAPTION 100

#define IDB_VITREL32_TOOLBOX 1      // 17 x 15, the toolbox picture
#define IDB_VITREL32_DESIGNER 202   // 20 x 17, designer and about-dialog picture

#define IDD_ABOUTBOX_VITREL32 1
#define IDD_PROPPAGE_VITREL32 100

#define IDC_TRANSMODE 201
#define IDC_SPIN1 203
#define IDC_LAYEREDALPHA 204
#define IDC_LAYEREDFLAG 205
