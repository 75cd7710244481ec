/* Ids of the text note editor: its dialog template, the controls of the
   template, the bars it creates when it opens, the toolbar's commands and
   its picture strip. Plain #defines only, so that both the C++ code and
   windres read this header. */
#ifndef QUILLMATE_RESOURCES_TEXTNOTEEDITORIDS_H
#define QUILLMATE_RESOURCES_TEXTNOTEEDITORIDS_H

#define IDD_TEXT_NOTE 3000
#define IDC_TEXT_NOTE_GROUP 400 /* a group box never sends a command, so it may share Bold's number */
#define IDC_TEXT_NOTE_TITLE 3001
#define IDC_TEXT_NOTE_TYPE 3002
#define IDC_TEXT_NOTE_SAVE 3003
#define IDC_TEXT_NOTE_CANCEL 3004
#define IDC_TEXT_NOTE_BODY 3008

/* Created when the dialog opens. */
#define IDC_TEXT_NOTE_REBAR 1030
#define IDC_TEXT_NOTE_TOOLBAR 1031
#define IDC_TEXT_NOTE_FACE 1032
#define IDC_TEXT_NOTE_SIZE 1033

/* Toolbar commands. */
#define IDM_TEXT_BOLD 400
#define IDM_TEXT_ITALIC 401
#define IDM_TEXT_UNDERLINE 402
#define IDM_TEXT_PRINT 403
#define IDM_TEXT_COLOR 404
#define IDM_TEXT_CENTER 405
#define IDM_TEXT_LEFT 406
#define IDM_TEXT_RIGHT 407
#define IDM_TEXT_BULLET 408

#define IDB_TEXT_NOTE_TOOLBAR 13 /* 25 places of 16 x 16 */

#endif
