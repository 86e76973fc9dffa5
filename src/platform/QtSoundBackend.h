#pragma once
// Whether Qt Multimedia can play wave audio on this machine, asked before
// the first media player is made.
//
// Qt 6.4's GStreamer media backend builds its player pipeline from GStreamer
// elements in its constructor and does not check that they exist: on a
// machine without the plugin packages that hold them, making a QMediaPlayer
// dies in gst_element_link_many. Such a machine is treated as one without
// sound output.

#include <string>
#include <vector>

namespace platform
{

// The GStreamer elements the backend builds a wave-audio player from.
const std::vector<std::string>& SoundBackendElements();

// Empty when a media player can be made and play wave audio; otherwise a
// few words on what is missing ("GStreamer elements missing: videoconvert,
// wavparse"). Asked once per process; the answer is kept. A backend other
// than GStreamer chosen through QT_MEDIA_BACKEND is taken as working.
const std::string& SoundBackendProblem();

} // namespace platform
