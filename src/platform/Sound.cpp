// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/Sound.h"

#include <QFileInfo>

#include <canberra.h>
#include <dlfcn.h>

namespace Sound {

namespace {

Observer& CurrentObserver()
{
    static Observer observer;
    return observer;
}

// ALSA reports every failed device probe on standard error; without a sound card that is eight
// lines per sound. Its handler is process-wide, so silencing the copy that libcanberra's ALSA
// backend will load silences the backend too. Loaded by name: without the library there is no
// noise to silence.
void IgnoreAlsaError(const char*, int, const char*, int, const char*, ...) { }

void SilenceAlsa()
{
    using Handler = void (*)(const char*, int, const char*, int, const char*, ...);
    using SetHandler = int (*)(Handler);
    void* alsa = dlopen("libasound.so.2", RTLD_NOW | RTLD_LOCAL);
    if (!alsa)
        return;
    if (auto set = reinterpret_cast<SetHandler>(dlsym(alsa, "snd_lib_error_set_handler")))
        set(IgnoreAlsaError);
    // Stays loaded, so the handler stays in place for the backend.
}

// One context for the whole run; libcanberra plays on its own threads.
ca_context* Context()
{
    static ca_context* context = [] {
        SilenceAlsa();
        ca_context* c = nullptr;
        if (ca_context_create(&c) != CA_SUCCESS)
            return static_cast<ca_context*>(nullptr);
        ca_context_change_props(c, CA_PROP_APPLICATION_NAME, "Quilvoro", nullptr);
        return c;
    }();
    return context;
}

void PlayEvent(const char* eventId)
{
    if (ca_context* c = Context())
        ca_context_play(c, 0, CA_PROP_EVENT_ID, eventId, nullptr);
}

const char* EventIdOf(unsigned type)
{
    switch (type) {
    case MB_ICONHAND:
        return "dialog-error";
    case MB_ICONEXCLAMATION:
        return "dialog-warning";
    default:
        return "bell";
    }
}

} // namespace

bool PlayFile(const QString& path)
{
    if (CurrentObserver()) {
        CurrentObserver()(path);
        return QFileInfo(path).isFile();
    }
    if (!QFileInfo(path).isFile()) {
        PlayEvent("bell");
        return false;
    }
    ca_context* c = Context();
    const QByteArray file = QFileInfo(path).absoluteFilePath().toLocal8Bit();
    if (!c
        || ca_context_play(c, 0, CA_PROP_MEDIA_FILENAME, file.constData(), nullptr) != CA_SUCCESS) {
        PlayEvent("bell");
        return false;
    }
    return true;
}

void MessageBeep(unsigned type)
{
    if (CurrentObserver()) {
        CurrentObserver()(QStringLiteral("beep:%1").arg(type));
        return;
    }
    PlayEvent(EventIdOf(type));
}

void SetObserver(Observer value)
{
    CurrentObserver() = std::move(value);
}

} // namespace Sound
