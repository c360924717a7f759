// Resource identifiers of the test pages.
#pragma once

#define IDD_TEST_RESULT_PAGE 9000
#define IDC_TEST_START_OVER 9001
#define IDC_TEST_EDIT 9002
