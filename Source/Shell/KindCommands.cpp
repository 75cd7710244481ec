// KindCommands: the table of the eight kinds.
#include "Shell/KindCommands.h"

#include "Resources/MainWindowIds.h"

namespace {

const KindCommands kKinds[kRecordKindCount] = {
    {RecordKind::TextNote, "Text Note Manager", IDM_SHOW_TEXT_NOTES, IDM_EDIT_TEXT_NOTE,
     IDM_DELETE_TEXT_NOTES, IDM_DELETE_ALL_TEXT_NOTES, "kinds.html#textnotes"},
    {RecordKind::AudioNote, "Audio Note Manager", IDM_SHOW_AUDIO_NOTES, IDM_EDIT_AUDIO_NOTE,
     IDM_DELETE_AUDIO_NOTES, IDM_DELETE_ALL_AUDIO_NOTES, "kinds.html#audionotes"},
    {RecordKind::VideoNote, "Video Note Manager", IDM_SHOW_VIDEO_NOTES, IDM_EDIT_VIDEO_NOTE,
     IDM_DELETE_VIDEO_NOTES, IDM_DELETE_ALL_VIDEO_NOTES, "kinds.html#videonotes"},
    {RecordKind::PhotoAlbum, "Photo Manager", IDM_SHOW_PHOTOS, IDM_EDIT_PHOTO, IDM_DELETE_PHOTOS,
     IDM_DELETE_ALL_PHOTOS, "kinds.html#photos"},
    {RecordKind::TimeNotif, "Time Notification Manager", IDM_SHOW_TIME_NOTIFICATIONS,
     IDM_EDIT_TIME_NOTIFICATION, IDM_DELETE_TIME_NOTIFICATIONS, IDM_DELETE_ALL_TIME_NOTIFICATIONS,
     "kinds.html#timenotifications"},
    {RecordKind::EmailRes, "Email Resource Manager", IDM_SHOW_EMAIL_RESOURCES, IDM_EDIT_EMAIL_RESOURCE,
     IDM_DELETE_EMAIL_RESOURCES, IDM_DELETE_ALL_EMAIL_RESOURCES, "kinds.html#email"},
    {RecordKind::InternetRes, "Internet Resource Manager", IDM_SHOW_INTERNET_RESOURCES,
     IDM_EDIT_INTERNET_RESOURCE, IDM_DELETE_INTERNET_RESOURCES, IDM_DELETE_ALL_INTERNET_RESOURCES,
     "kinds.html#internet"},
    {RecordKind::FastText, "Fast Text Manager", IDM_SHOW_FAST_TEXTS, IDM_EDIT_FAST_TEXT,
     IDM_DELETE_FAST_TEXTS, IDM_DELETE_ALL_FAST_TEXTS, "kinds.html#fasttexts"},
};

}  // namespace

const KindCommands* KindCommandsAt(int kindNumber) {
  if (kindNumber < 0 || kindNumber >= kRecordKindCount) return nullptr;
  return &kKinds[kindNumber];
}
