/* Ids of the fast text editor: its dialog template and controls. Plain
   #defines only, so that both the C++ code and windres read this header. */
#ifndef QUILLMATE_RESOURCES_FASTTEXTEDITORIDS_H
#define QUILLMATE_RESOURCES_FASTTEXTEDITORIDS_H

#define IDD_FAST_TEXT 7000
#define IDC_FAST_TEXT_GROUP 7004
#define IDC_FAST_TEXT_SAVE 7005
#define IDC_FAST_TEXT_CANCEL 7006
#define IDC_FAST_TEXT_TITLE 7007
#define IDC_FAST_TEXT_TEXT 7008

#endif
