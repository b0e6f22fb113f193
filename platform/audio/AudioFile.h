#pragma once

#include "audio/AudioTypes.h"

#include "base/Object.h"

#include <cstdio>
#include <string>

namespace audio {

// A sound file being written: a PCM WAVE file with the plain 44-byte header, owner-only. Packets go
// where their index puts them after the header; close() patches both lengths.
class AudioFile : public base::Object {
public:
    // Creates the file (mode 0600) with placeholder lengths. An existing file is erased when
    // `eraseExisting`, else refused with FileFailure; UnsupportedFormat for anything but linear
    // PCM of whole bytes per packet.
    static Status create(const std::string &path, FileType type, const StreamFormat &format,
                         bool eraseExisting, base::Ref<AudioFile> &out);
    AudioFile(std::FILE *file, const StreamFormat &format) : file_(file), format_(format) {}
    ~AudioFile() override { close(); }

    // Writes `ioPackets` packets of `bytes` bytes starting at packet `startPacket`; `ioPackets`
    // becomes the number written.
    Status writePackets(uint32_t bytes, int64_t startPacket, uint32_t &ioPackets, const void *data);
    // A WAVE file of linear PCM has no MagicCookie: UnknownProperty.
    Status getPropertyInfo(Property property, uint32_t *size, bool *writable);
    Status set(Property property, const void *value, uint32_t size);
    // Patches the RIFF and data lengths and closes; Disposed when already closed.
    Status close();

private:
    std::FILE *file_;
    StreamFormat format_;
    uint32_t dataBytes_ = 0;
};

} // namespace audio
