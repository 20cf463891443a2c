// Resource identifiers of Korvendal.ocx.
#pragma once

#define IDR_KORVENDAL_MODULE 101   // REGISTRY: module script (AppID)
#define IDR_INSTALLER 104          // REGISTRY: class script for Installer
#define IDB_INSTALLER 103          // toolbox picture
#define IDD_INSTALLER 105          // the control window's dialog template
#define IDS_PROJNAME 100
#define IDS_PROJNAME_LONG 101
#define IDC_BACKGROUND 201         // static picture inside dialog 105
