#include "platform/QtSoundBackend.h"

#include <QLibrary>
#include <QtGlobal>

namespace platform
{

const std::vector<std::string>& SoundBackendElements()
{
    // queue, input-selector, identity, fakesink: GStreamer core;
    // videoconvert ... volume, uridecodebin: the "base" plugins;
    // wavparse, autoaudiosink: the "good" plugins. The player links its
    // (unused) video branch too, so the video elements are needed for sound.
    static const std::vector<std::string> elements { "queue", "input-selector", "identity", "fakesink",
        "videoconvert", "videoscale", "audioconvert", "audioresample", "volume", "uridecodebin", "wavparse",
        "autoaudiosink" };
    return elements;
}

namespace
{

// GStreamer is reached through the library Qt's backend loads itself, so
// korvex builds without the GStreamer headers and runs where Qt uses
// another backend.
std::string GStreamerProblem()
{
    QLibrary gst(QStringLiteral("gstreamer-1.0"), 0);
    if (!gst.load())
        return "GStreamer library not found";
    using InitCheck = int (*)(int*, char***, void**);
    using FactoryFind = void* (*)(const char*);
    using ObjectUnref = void (*)(void*);
    const auto initCheck = reinterpret_cast<InitCheck>(gst.resolve("gst_init_check"));
    const auto factoryFind = reinterpret_cast<FactoryFind>(gst.resolve("gst_element_factory_find"));
    const auto objectUnref = reinterpret_cast<ObjectUnref>(gst.resolve("gst_object_unref"));
    if (!initCheck || !factoryFind || !objectUnref)
        return "GStreamer library not usable";
    // Qt initialises GStreamer again when it loads its backend; the second
    // call does nothing. The library stays loaded (QLibrary does not unload
    // on destruction).
    if (!initCheck(nullptr, nullptr, nullptr))
        return "GStreamer cannot start";
    std::string missing;
    for (const std::string& name : SoundBackendElements()) {
        if (void* factory = factoryFind(name.c_str())) {
            objectUnref(factory);
        } else {
            missing += (missing.empty() ? "" : ", ") + name;
        }
    }
    return missing.empty() ? "" : "GStreamer elements missing: " + missing;
}

std::string FindProblem()
{
    const QByteArray backend = qgetenv("QT_MEDIA_BACKEND");
    if (!backend.isEmpty() && backend != "gstreamer")
        return "";
    return GStreamerProblem();
}

} // namespace

const std::string& SoundBackendProblem()
{
    static const std::string problem = [] {
        std::string p = FindProblem();
        if (!p.empty())
            qWarning("No sound output: %s", p.c_str());
        return p;
    }();
    return problem;
}

} // namespace platform
