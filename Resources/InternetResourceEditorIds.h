/* Ids of the internet resource editor: its dialog template and controls.
   Plain #defines only, so that both the C++ code and windres read this
   header. */
#ifndef QUILLMATE_RESOURCES_INTERNETRESOURCEEDITORIDS_H
#define QUILLMATE_RESOURCES_INTERNETRESOURCEEDITORIDS_H

#define IDD_INTERNET_RESOURCE 10000
#define IDC_INTERNET_GROUP 10001
#define IDC_INTERNET_TITLE 10002
#define IDC_INTERNET_ADDRESS 10004
#define IDC_INTERNET_CATEGORY 10005
#define IDC_INTERNET_CANCEL 10008
#define IDC_INTERNET_SAVE 10009

#endif
