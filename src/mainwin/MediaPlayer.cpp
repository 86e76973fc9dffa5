#include "mainwin/MediaPlayer.h"

#include "platform/QtSoundBackend.h"
#include "platform/QtText.h"

#include <QAudioDevice>
#include <QAudioOutput>
#include <QMediaDevices>
#include <QMediaPlayer>
#include <QUrl>

namespace
{

class QtMediaPlayer : public TMediaPlayer
{
public:
    QtMediaPlayer()
    {
        QObject::connect(
            &player_, &QMediaPlayer::mediaStatusChanged, &player_, [this](QMediaPlayer::MediaStatus s) {
                if (s == QMediaPlayer::EndOfMedia && OnFinished)
                    OnFinished();
                else if (s == QMediaPlayer::InvalidMedia)
                    Fail("not a playable sound file");
            });
        QObject::connect(&player_, &QMediaPlayer::errorOccurred, &player_,
            [this](QMediaPlayer::Error, const QString& text) { Fail(ls(text)); });
    }

    void Play(const std::string& path) override
    {
        fileName_ = path;
        if (QMediaDevices::audioOutputs().isEmpty()) {
            Fail(kNoSoundOutput);
            return;
        }
        // Created with the first clip: a machine that never plays one never
        // loads the audio back end.
        if (!output_) {
            output_ = new QAudioOutput(&player_);
            player_.setAudioOutput(output_);
        }
        const QUrl source = QUrl::fromLocalFile(qs(path));
        if (player_.source() == source) {
            player_.setPosition(0);
        } else {
            player_.setSource(source);
        }
        player_.play();
    }

    void Stop() override { player_.stop(); }

    std::string FileName() const override { return fileName_; }

private:
    void Fail(const std::string& why)
    {
        if (OnFailed)
            OnFailed(why);
    }

    QMediaPlayer player_;
    QAudioOutput* output_ = nullptr; // owned by player_
    std::string fileName_;
};

// The player of a machine whose media backend cannot play: every clip fails
// at once as "no sound output", and no QMediaPlayer is ever made.
class SilentPlayer : public TMediaPlayer
{
public:
    void Play(const std::string& path) override
    {
        fileName_ = path;
        if (OnFailed)
            OnFailed(kNoSoundOutput);
    }

    std::string FileName() const override { return fileName_; }

private:
    std::string fileName_;
};

} // namespace

std::shared_ptr<TMediaPlayer> MakeQtMediaPlayer()
{
    if (!platform::SoundBackendProblem().empty())
        return std::make_shared<SilentPlayer>();
    return std::make_shared<QtMediaPlayer>();
}
