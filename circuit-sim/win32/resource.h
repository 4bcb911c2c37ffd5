// Resource identifiers of QorSim.
#ifndef CIRCUIT_SIM_RESOURCE_H
#define CIRCUIT_SIM_RESOURCE_H

#define IDS_PROJNAME 100
#define IDC_ABOUT_TEXT 206
#define IDB_SPLASH 207
#define IDD_ABOUT 209
#define IDR_ABOUT_TEXT 210

#endif
