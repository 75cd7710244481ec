/* Ids of the e-mail resource editor: its dialog template and controls. Plain
   #defines only, so that both the C++ code and windres read this header. */
#ifndef QUILLMATE_RESOURCES_EMAILRESOURCEEDITORIDS_H
#define QUILLMATE_RESOURCES_EMAILRESOURCEEDITORIDS_H

#define IDD_EMAIL_RESOURCE 8000
#define IDC_EMAIL_PERSONAL_GROUP 8001
#define IDC_EMAIL_NAME 8002
#define IDC_EMAIL_ADDRESS 8003
#define IDC_EMAIL_CITY 8007
#define IDC_EMAIL_ZIP 8009
#define IDC_EMAIL_PHONE 8010
#define IDC_EMAIL_NICK 8013
#define IDC_EMAIL_ADDRESS_GROUP 8014
#define IDC_EMAIL_EMAIL 8015
#define IDC_EMAIL_COMMENT 8017
#define IDC_EMAIL_COMPANY 8019
#define IDC_EMAIL_CANCEL 8021
#define IDC_EMAIL_SAVE 8022
#define IDC_EMAIL_STATE 8023

#endif
