// Numeric ids shared by the screen saver's resource script and its code.
// The name, icon and dialog use the ids the platform looks for in a screen saver.
#pragma once

// Strings.
#define IDS_SAVER_NAME  1   // the name the platform lists the screen saver under
#define IDS_SPEED_FIRST 100 // the speed choices, slowest first, one per setting value
#define IDS_STARS_FIRST 110 // the star choices, sparse first
#define IDS_MONITORS_FIRST 120 // the monitor choices, in the order of MonitorsChoice

// Icon and dialog.
#define IDI_SAVER    100
#define DLG_SETTINGS 2003

// Controls of the settings dialog.
#define IDC_SPEED           1001
#define IDC_STARS           1002
#define IDC_NORTHERN_LIGHTS 1003
#define IDC_SAVER_ICON      1004
#define IDC_MONITORS        1005
