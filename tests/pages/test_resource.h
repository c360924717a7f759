// Resource identifiers of the test pages.
#pragma once

#define IDD_TEST_RESULT_PAGE 9000
#define IDC_TEST_START_OVER 9001
#define IDC_TEST_EDIT 9002
#define IDD_TEST_LIST_PAGE 9010
#define IDC_TEST_LIST 9011
#define IDC_TEST_PRINT 9012
#define IDC_TEST_DELETE 9013
#define IDC_TEST_OPEN 9014
