#pragma once
// The main window's one media player for wave audio: the steering cues, the
// AIS announcements and the chartlet sound clips all go through it, one clip
// at a time (a new clip replaces one still playing). Playing returns at once;
// the end of a clip, or a failure found while opening or playing it, is
// reported through the callbacks on the GUI thread.
//
// The program uses the Qt Multimedia player; tests install a stand-in, so no
// sound device is needed to run them.

#include <functional>
#include <memory>
#include <string>

class TMediaPlayer
{
public:
    virtual ~TMediaPlayer() = default;

    // Opens the wave file `path` and starts it. A file already loaded is
    // started again from its beginning.
    virtual void Play(const std::string& path) = 0;
    // Stops the clip playing, if any; no notification follows.
    virtual void Stop() {}
    // The file last opened; empty before the first.
    virtual std::string FileName() const = 0;

    // The clip played to its end.
    std::function<void()> OnFinished;
    // The clip could not be opened or played (`why` says why in a few
    // words), or the machine has no sound output (`why` is kNoSoundOutput).
    std::function<void(const std::string& why)> OnFailed;
};

inline constexpr const char* kNoSoundOutput = "no sound output";

// The Qt Multimedia player: a QMediaPlayer with a QAudioOutput on the
// default output device; on a machine whose media backend cannot play
// (platform::SoundBackendProblem), a player whose every clip fails with
// kNoSoundOutput.
std::shared_ptr<TMediaPlayer> MakeQtMediaPlayer();
