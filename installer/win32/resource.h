// Resource identifiers of Pixsetup.exe and Pixuns.exe: string table,
// dialogs and their controls, the browse button's bitmap.
#ifndef INSTALLER_WIN32_RESOURCE_H
#define INSTALLER_WIN32_RESOURCE_H

// Component file names, checked beside the setup program.
#define IDS_EXPORT_PLUGIN 1
#define IDS_FILTER_PLUGIN 3
#define IDS_PIXTUNE_DLL 4
#define IDS_UNINSTALLER 6
#define IDS_HELP_FILE 7
#define IDS_INF_FILE 8
#define IDS_ABOUT_HELP 9
#define IDS_LICENSE_HELP 10
#define IDS_SETUPAPI_DLL 11
#define IDS_CFGMGR_DLL 12

#define IDS_DEFAULT_FOLDER 12000
#define IDS_NOTE_NO_EDITOR 12001
#define IDS_MISSING_COMPONENTS 12002
#define IDS_FILES_REMOVED 12003
#define IDS_SETUP_ERRORS 12004
#define IDS_CREATE_FOLDER 12005
#define IDS_NOTE_EDITOR_FOLDER 12008
#define IDS_SYSTEM_COPY_FAILED 12009
#define IDS_TITLE 16117
#define IDS_MAKER_NOTICE 16118
#define IDS_CANNOT_CREATE_FOLDER 16119
#define IDS_OLD_VERSION 16122

// Pixuns's texts.
#define IDS_CONFIRM_REMOVE 20001
#define IDS_NOTHING_INSTALLED 20002
#define IDS_CANNOT_OPEN_INF 20003
#define IDS_UNINSTALL_UNFINISHED 20004
#define IDS_FILES_REMAIN 20005

#define IDD_WELCOME 10001
#define IDD_OPTIONS 10002

#define IDC_LICENSE 1000
#define IDC_UNINSTALL 1001
#define IDC_EXPORT_BOX 1001
#define IDC_FILTER_BOX 1003
#define IDC_FOLDER 1004
#define IDC_BROWSE 1005
#define IDC_FOLDER_NOTE 1006
#define IDC_EXPORT_HOSTS 1007 // the hosts that take each kind of plug-in
#define IDC_FILTER_HOSTS 1008
#define IDC_HELP_BUTTON 9

#define IDB_BROWSE 110

#endif
