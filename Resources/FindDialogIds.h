/* Ids of the Find window (dialog 13000): the search box, the result list,
   the count and the size grip. Its Open and Close buttons are IDOK and
   IDCANCEL. */
#ifndef QUILLMATE_RESOURCES_FINDDIALOGIDS_H
#define QUILLMATE_RESOURCES_FINDDIALOGIDS_H

#define IDD_FIND 13000
#define IDC_FIND_LABEL 13001
#define IDC_FIND_TEXT 13002
#define IDC_FIND_RESULTS 13003
#define IDC_FIND_COUNT 13004
#define IDC_FIND_GRIP 13005

#endif
