#pragma once
#define IDD_TEST 900
#define IDC_TEST_EDIT 901
#define IDC_TEST_CHECK 902
#define IDC_TEST_COMBO 903
