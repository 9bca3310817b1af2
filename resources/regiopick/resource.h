/* Resource numbers of Regiopick. The installer's scripts and the tests know
 * the dialog and the list by these numbers, so they never change. */
#pragma once

#define IDD_ABOUTBOX            100
#define IDS_ABOUTBOX            101
#define IDD_COUNTRY_SELECT      102
#define IDS_COUNTRY_NAMES       108
#define IDS_COUNTRY_CODES       109
#define IDR_MAINFRAME           128
#define IDI_LOCATION_WARNING    130
#define IDC_COUNTRY_LIST        3003

/* System menu command of the About entry: below 0xF000 and a multiple of
 * 16, as the system menu requires of an application's own commands. */
#define IDM_ABOUTBOX            0x0010

#ifndef IDC_STATIC
#define IDC_STATIC              (-1)
#endif
