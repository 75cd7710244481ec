/* Ids of the video notes: the capture dialog and its menu, the screen
   capture's format dialog, and the properties dialog. Plain #defines only,
   so that both the C++ code and windres read this header. */
#ifndef QUILLMATE_RESOURCES_VIDEONOTEIDS_H
#define QUILLMATE_RESOURCES_VIDEONOTEIDS_H

#define IDD_VIDEO_CAPTURE 4000
#define IDC_VIDEO_STOP 4002
#define IDC_VIDEO_SAVE 4005
#define IDC_VIDEO_CLOSE 4006
#define IDC_VIDEO_CONTROL_GROUP 4007
#define IDC_VIDEO_RECORD 4009
#define IDC_VIDEO_COMPRESSION 4010
#define IDC_VIDEO_PREVIEW 4011
#define IDC_VIDEO_TITLE 4012
#define IDC_VIDEO_TYPE 4013
#define IDC_VIDEO_STATUS 1020

#define IDR_VIDEO_CAPTURE_MENU 103
#define IDM_VIDEO_AUDIO_FORMAT 300
#define IDM_VIDEO_FORMAT 301
#define IDM_VIDEO_SOURCE 302
#define IDM_VIDEO_COMPRESSION 303
#define IDM_VIDEO_DISPLAY 304
#define IDM_VIDEO_OVERLAY 305
#define IDM_VIDEO_DRIVER_FIRST 600
#define IDM_VIDEO_DRIVER_LAST 609

/* The screen capture's own format dialog: the picture size. */
#define IDD_SCREEN_CAPTURE_FORMAT 4100
#define IDC_SCREEN_CAPTURE_SIZES 4101

#define IDD_VIDEO_PROPERTIES 11000
#define IDC_VIDEO_NOTE_GROUP 11001
#define IDC_VIDEO_NOTE_TITLE 11002
#define IDC_VIDEO_NOTE_SAVE 11005
#define IDC_VIDEO_NOTE_CANCEL 11006
#define IDC_VIDEO_PLAY_GROUP 11007
#define IDC_VIDEO_PLAY_PAUSE 11008
#define IDC_VIDEO_PLAY_STOP 11009
#define IDC_VIDEO_POSITION 11011
#define IDC_VIDEO_NOTE_TYPE 11013
/* Position and length, "m:ss / m:ss". */
#define IDC_VIDEO_TIME 11014

#endif
