// Resource identifiers of Korvendal.ocx.
#pragma once

#define IDR_KORVENDAL_MODULE 101   // REGISTRY: module script (AppID)
#define IDR_INSTALLER 104          // REGISTRY: class script for Installer
#define IDB_INSTALLER 103          // toolbox picture
#define IDD_INSTALLER 105          // the control window's dialog template
#define IDR_ALLOWED_SITES 106      // RCDATA: the allowed sites a package carries (none by default)
#define IDS_PROJNAME 100
#define IDS_PROJNAME_LONG 101
#define IDC_BACKGROUND 201         // static picture inside dialog 105

// Child controls the control window creates when it is initialised.
#define IDC_PROGRESS 207           // colour progress bar
#define IDC_FILE_NAME 208          // labels 208 to 216
#define IDC_FILE_SIZE 209
#define IDC_ELAPSED_TIME 210
#define IDC_DOWN_SIZE 211
#define IDC_ODD_TIME 212
#define IDC_DOWN_SPEED 213
#define IDC_PERCENT 214
#define IDC_DOWN_STATUS 215
#define IDC_DOWN_FOLDER 216
#define IDC_BTN_RUN 217            // skin buttons 217 to 221
#define IDC_BTN_START 218
#define IDC_BTN_STOP 219
#define IDC_BTN_CLOSE 220
#define IDC_BTN_FOLDER 221
