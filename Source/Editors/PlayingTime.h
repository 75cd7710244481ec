// How a length of sound or video is written for the user: minutes and
// seconds, "m:ss" (the minutes grow as they must: "75:03").
#ifndef QUILLMATE_EDITORS_PLAYINGTIME_H
#define QUILLMATE_EDITORS_PLAYINGTIME_H

#include <string>

// Whole seconds only: 59,999 ms is "0:59". Negative counts as 0.
std::string MinutesAndSeconds(long long milliseconds);

#endif  // QUILLMATE_EDITORS_PLAYINGTIME_H
