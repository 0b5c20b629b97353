#pragma once
// Resource names and command numbers shared by the resource script and the forms.

#define IDM_MEMO 100
#define IDM_TABPOPUP 110
#define IDA_MEMO 120
#define IDD_VERINFO 130
#define IDC_VER_ICON 131
#define IDC_VER_TITLE 132
#define IDC_VER_TEXT 133
#define IDD_FIND 140
#define IDC_FIND_TEXT 141
#define IDC_REPLACE_TEXT 142
#define IDC_FIND_CASE 143
#define IDC_FIND_WORD 144
#define IDC_FIND_REGEXP 145
#define IDC_FIND_FUZZY 146
// The find dialog's buttons close it with these results.
#define IDC_FIND_FIND 3
#define IDC_FIND_REPLACE 4
#define IDC_FIND_REPLACEALL 5

#define CM_NEWPAGE1 1001
#define CM_OPEN1 1002
#define CM_SAVE1 1003
#define CM_SAVEAS1 1004
#define CM_PRINT1 1005
#define CM_PRINTSTYLE 1006
#define CM_COMMONOPTION 1007
#define CM_EXIT1 1008
#define CM_UNDO1 1101
#define CM_REDO1 1102
#define CM_CUT1 1103
#define CM_COPY1 1104
#define CM_PASTE1 1105
#define CM_DELETE1 1106
#define CM_SELECTALL1 1107
#define CM_QMARKCOPY 1108
#define CM_FIND2 1201
#define CM_EMPHASIS1 1202
#define CM_FINDNEXT 1203
#define CM_FINDPREV 1204
#define CM_OPTION 1301
#define CM_CLIPBORDOPEN 1302
#define CM_QMARKCLIPOPEN 1303
#define CM_MAILSETTING 1401
#define CM_MAILACCOUNT0 1410
#define CM_ABOUT1 1501
#define CM_TABEXIT1 1601
