// Resource identifiers.
#pragma once

#define IDR_MAINFRAME 128
#define IDD_ABOUTBOX 100
#define IDD_SPLASH 101

#define IDB_SPLASH16 200
#define IDB_SPLASH256 201

#define IDC_SPLASH_PICTURE 1000
#define IDC_WEBSITE 1001

#define IDS_APP_TITLE 300
#define IDS_IDLE_MESSAGE 301

// Commands, and the status-bar prompts with the same numbers.
#define ID_APP_EXIT 0xE141
#define ID_APP_ABOUT 0xE140
#define ID_HELP_FINDER 0xE143

#define IDC_STATIC -1
