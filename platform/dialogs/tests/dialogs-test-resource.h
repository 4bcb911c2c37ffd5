// Templates of the layer's tests.
#ifndef PLATFORM_DIALOGS_TESTS_RESOURCE_H
#define PLATFORM_DIALOGS_TESTS_RESOURCE_H

#define IDD_PLAIN 100
#define IDD_PAGE_ONE 101
#define IDD_PAGE_TWO 102
#define IDC_LIST 1001
#define IDC_NAME 1002

#endif
