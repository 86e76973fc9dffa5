// Voice prompts and sound clips through the window's one media player: the
// steering cues of the fix cycle, the AIS announcements and the chartlet
// clips. The prompts are wave files in the application folder:
//   left.wav, right.wav, OnTrack.wav  cross-track cues (steer left, steer
//                                     right, back inside the dead band)
//   approach.wav, select.wav          waypoint approach, end of the route
//   Ahead.wav ... AheadPort.wav       the eight sectors of a new AIS target
// A prompt that cannot be played never holds up the caller: the fix cycle
// and the serial input go on, and the failure is shown once.

#include "mainwin/FixCycle.h"
#include "mainwin/Main.h"
#include "mainwin/MediaPlayer.h"

#include "nav/NavState.h"
#include "platform/Guarded.h"
#include "platform/QtText.h"
#include "rtl/Paths.h"

#include <QLabel>
#include <algorithm>

TMediaPlayer& TMainForm::MediaPlayer1()
{
    if (!mediaPlayer_)
        SetMediaPlayer(MakeQtMediaPlayer());
    return *mediaPlayer_;
}

void TMainForm::SetMediaPlayer(std::shared_ptr<TMediaPlayer> player)
{
    mediaPlayer_ = std::move(player);
    if (!mediaPlayer_)
        return;
    mediaPlayer_->OnFinished = [this] { platform::guarded([this] { MediaPlayer1Notify(); }); };
    mediaPlayer_->OnFailed = [this](const std::string& why) {
        platform::guarded([&] {
            // A machine without sound is said once, not once for each prompt.
            if (why == kNoSoundOutput)
                ReportSoundFailure("No sound output: voice prompts and clips are not heard");
            else
                ReportSoundFailure(
                    "Cannot play " + rtl::ExtractFileName(MediaPlayer1().FileName()) + ": " + why);
            SoundEnabled = true;
        });
    };
}

void TMainForm::ReportSoundFailure(const std::string& text)
{
    if (std::find(soundReports_.begin(), soundReports_.end(), text) != soundReports_.end())
        return;
    soundReports_.push_back(text);
    StatusLine->setText(qs(text));
}

void TMainForm::PlayClip(const std::string& path)
{
    if (!rtl::FileExists(path)) {
        ReportSoundFailure("Sound file not found: " + rtl::ExtractFileName(path));
        SoundEnabled = true;
        return;
    }
    MediaPlayer1().Play(rtl::OpenPath(path));
}

void TMainForm::PlayVoice(const std::string& word)
{
    LastAnnouncedName = word;
    PlayClip(AppFile(word + ".wav"));
}

void TMainForm::MediaPlayer1Notify()
{
    SoundEnabled = true;
}

void TMainForm::PlaySteeringCues(const XteGaugeReading& gauge, const TFixPreferences& prefs)
{
    if (RouteCount <= 0)
        return;
    if (prefs.Voice && gauge.cueDue && SoundEnabled)
        PlayClip(AppFile(gauge.cue));
    if (prefs.WPVoice && WpApproachPending && SoundEnabled) {
        WpApproachPending = false;
        PlayClip(AppFile("approach.wav"));
    }
}

void TMainForm::PlaySelectCue(const TFixPreferences& prefs, bool& pending)
{
    if (prefs.WPVoice && RouteCount > 0 && pending && SoundEnabled) {
        pending = false;
        PlayClip(AppFile("select.wav"));
    }
}
