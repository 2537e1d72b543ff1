// Numeric ids shared by the resource script and the code.
#pragma once

// Strings: window, button and message texts.
#define IDS_ABOUT_TEXT 0
#define IDS_WINDOW_TITLE 1
#define IDS_UNINSTALL_BUTTON 2
#define IDS_INSTALL_BUTTON 3
#define IDS_EXIT_BUTTON 4
#define IDS_INSTALLER_CAPTION 5
#define IDS_UNINSTALLER_CAPTION 6
#define IDS_REPLACE_QUESTION 7
#define IDS_INSTALL_SUCCESS 8
#define IDS_UNINSTALL_QUESTION 9
#define IDS_NOTHING_TO_UNINSTALL 10
#define IDS_INSTALL_FINISHED_CAPTION 11
#define IDS_UNINSTALLED 12
#define IDS_UNINSTALL_FINISHED_CAPTION 13

// Strings: file names.
#define IDS_TEMP_NAME 500
#define IDS_SCR_NAME 501
#define IDS_PREFS_NAME 502

// Strings: errors.
#define IDS_RESOURCE_ERROR_CAPTION 1000
#define IDS_PAYLOAD_NOT_LOADED 1001
#define IDS_PAYLOAD_NOT_LOCKED 1002
#define IDS_BANNER_NOT_FOUND 1003
#define IDS_INSTALL_ERROR_CAPTION 1004
#define IDS_EXPAND_FAILED 1005
#define IDS_NOT_INSTALLED_CAPTION 1006
#define IDS_TEMP_NOT_WRITTEN 1007
#define IDS_TEMP_NOT_CREATED 1008
#define IDS_REMOVE_FAILED 1009
#define IDS_NOT_ACTIVATED 1010
#define IDS_INSTALLER_DAMAGED 1011

// Commands: menu items, then the buttons that repeat them.
#define CmdAbout 1
#define CmdExit 2
#define CmdInstall 3
#define CmdUninstall 4
#define BtnExit 5
#define BtnInstall 6
#define BtnUninstall 7

// Controls of the progress window.
#define IDC_PROGRESS_TEXT 101
