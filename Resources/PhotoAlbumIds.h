/* Ids of the photo dialog: its template, controls, toolbar picture and the
   windows and commands it makes at run time. Plain #defines only, so that
   both the C++ code and windres read this header. */
#ifndef QUILLMATE_RESOURCES_PHOTOALBUMIDS_H
#define QUILLMATE_RESOURCES_PHOTOALBUMIDS_H

#define IDD_PHOTO_ALBUM 6000
#define IDC_PHOTO_ALBUM_GROUP 6002
#define IDC_PHOTO_CLOSE 6003
#define IDC_PHOTO_BACK 6004
#define IDC_PHOTO_FORWARD 6005
#define IDC_PHOTO_PROPERTIES_GROUP 6006
#define IDC_PHOTO_COMMENT 6007
#define IDC_PHOTO_UPDATE 6009
#define IDC_PHOTO_TITLE 6010
#define IDC_PHOTO_POSITION 6011

#define IDB_PHOTO_TOOLBAR 14

#define IDC_PHOTO_REBAR 1060
#define IDC_PHOTO_TOOLBAR 1061
#define IDC_PHOTO_FRAME 1062
#define IDC_PHOTO_VIEW 1063

#define IDM_PHOTO_ZOOM_IN 500
#define IDM_PHOTO_ZOOM_OUT 501
#define IDM_PHOTO_PRINT 502
#define IDM_PHOTO_FIT 503

#endif
