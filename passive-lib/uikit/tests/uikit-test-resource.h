// Templates of the kit's tests.
#ifndef PASSIVE_LIB_UIKIT_TESTS_RESOURCE_H
#define PASSIVE_LIB_UIKIT_TESTS_RESOURCE_H

#define IDD_LIST_HOST 400
#define IDD_TEST_PAGE 401
#define IDC_TEST_LIST 201
#define IDC_TEST_CHANGE 402

#endif
