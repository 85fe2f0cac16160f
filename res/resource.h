// Resource identifiers of CallsignCheck (dialog templates, menu, strings,
// icon and their controls).
#pragma once

#define IDD_ABOUTBOX            100
#define IDS_ABOUTBOX            101
#define IDD_CALLSIGNCHECK       102
#define IDR_MAINFRAME           129
#define IDD_AJDWAJA             130
#define IDD_AWARDLIST           131
#define IDR_MAINMENU            132
#define IDD_JCCJCG              133

// Main dialog (template 102)
#define IDC_QSOLIST             1005
#define IDC_LINKTOLOGGER        1006
#define IDC_CALLSIGN            1007
#define IDC_COUNT               1008
#define IDC_STATUSBAR           1009    // made by the window, not in the template
#define IDC_TESTBUTTON          1020
#define IDC_LOOKUPUNFILTERED    1001

// Commands and the system-menu entry
#define IDM_ABOUTBOX            0x0010
#define ID_AJDWAJACHECK         32771
#define ID_JCCJCGCHECK          1035

// AJD/WAJA dialog (template 130)
#define IDC_AJD_SEARCH          1034
#define IDC_AJD_AJD             1020
#define IDC_AJD_WAJA            1023
#define IDC_AJD_MODE            1017
#define IDC_AJD_START           1032
#define IDC_AJD_END             1033
#define IDC_AJD_DATEGROUP       1018
#define IDC_AJD_FREQGROUP       1008
#define IDC_AJD_MODEGROUP       1011
#define IDC_AJD_BAND0           1009
#define IDC_AJD_BAND1           1010
#define IDC_AJD_BAND2           1012
#define IDC_AJD_BAND3           1013
#define IDC_AJD_BAND4           1014
#define IDC_AJD_BAND5           1015
#define IDC_AJD_BAND6           1016
#define IDC_AJD_BAND7           1025
#define IDC_AJD_BAND8           1026
#define IDC_AJD_BAND9           1027
#define IDC_AJD_BAND10          1028
#define IDC_AJD_BAND11          1029
#define IDC_AJD_BAND12          1030
#define IDC_AJD_BAND13          1031

// Award result list (template 131)
#define IDC_AWARDLIST           1007

// JCC/JCG dialog (template 133)
#define IDC_JCC_SEARCH          1034
#define IDC_JCC_JCC             1036
#define IDC_JCC_JCG             1037
#define IDC_JCC_MODE            1038
#define IDC_JCC_START           1039
#define IDC_JCC_END             1040
#define IDC_JCC_DATEGROUP       1055
#define IDC_JCC_FREQGROUP       1056
#define IDC_JCC_MODEGROUP       1011
#define IDC_JCC_BAND0           1053
#define IDC_JCC_BAND1           1054
#define IDC_JCC_BAND2           1048
#define IDC_JCC_BAND3           1049
#define IDC_JCC_BAND4           1050
#define IDC_JCC_BAND5           1051
#define IDC_JCC_BAND6           1052
#define IDC_JCC_BAND7           1041
#define IDC_JCC_BAND8           1042
#define IDC_JCC_BAND9           1043
#define IDC_JCC_BAND10          1044
#define IDC_JCC_BAND11          1045
#define IDC_JCC_BAND12          1046
#define IDC_JCC_BAND13          1047
#define IDC_JCC_INCLUDEDELETED  1021
#define IDC_JCC_SHOW1001        1022
#define IDC_JCC_FULLLIST        1023
#define IDC_JCC_UNWORKED        1024

// The award result list's status bar and the commands of its context menu
// (also its keys: Ctrl+C, Ctrl+A, Ctrl+S, Ctrl+L, Ctrl+B).
#define IDC_AWARDSTATUS         1070
#define ID_LIST_COPY            32801
#define ID_LIST_SELECTALL       32802
#define ID_LIST_SAVECSV         32803
#define ID_LIST_SAVEAPPLICATION 32804
#define ID_LIST_BANDGRID        32805

// The award map (template 145), opened from the result list (Ctrl+M), and
// its commands (Ctrl+C copies the picture, Ctrl+S saves it as PNG).
#define IDD_AWARDMAP            145
#define IDC_MAP_BANDLABEL       1170
#define IDC_MAP_BAND            1171
#define IDC_MAP_VIEW            1172    // made by the window, not in the template
#define ID_LIST_MAP             32850
#define ID_MAP_COPY             32851
#define ID_MAP_SAVEPNG          32852

// Check window (template 150), opened by F6 and the menu command
#define IDD_CHECKWINDOW         150
#define IDC_CHECKLIST           1200
#define IDC_CHECKSTATUS         1201    // made by the window, not in the template
#define ID_CHECKWINDOW          32860
