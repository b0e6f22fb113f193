#include "audio/AudioFile.h"

#include "audio/Wave.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

namespace audio {

Status AudioFile::create(const std::string &path, FileType, const StreamFormat &format, bool eraseExisting,
                         base::Ref<AudioFile> &out) {
    out.reset();
    if (format.formatId != LinearPCM || format.bytesPerPacket == 0 || format.bitsPerChannel % 8 != 0)
        return UnsupportedFormat;
    const int fd =
        ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | (eraseExisting ? O_TRUNC : O_EXCL), 0600);
    if (fd < 0)
        return FileFailure;
    // A file left by someone else keeps its mode through O_TRUNC.
    ::fchmod(fd, 0600);
    std::FILE *file = ::fdopen(fd, "w+b");
    if (!file) {
        ::close(fd);
        return FileFailure;
    }
    const auto header = waveHeader(uint16_t(format.channelsPerFrame), uint32_t(format.sampleRate),
                                   uint16_t(format.bitsPerChannel), 0);
    if (std::fwrite(header.data(), 1, header.size(), file) != header.size()) {
        std::fclose(file);
        return FileFailure;
    }
    out = base::make<AudioFile>(file, format);
    return NoError;
}

Status AudioFile::writePackets(uint32_t bytes, int64_t startPacket, uint32_t &ioPackets, const void *data) {
    if (!file_)
        return Disposed;
    if (startPacket < 0 || uint64_t(ioPackets) * format_.bytesPerPacket > bytes)
        return BadParameter;
    const long offset = long(WaveHeaderSize) + long(startPacket * format_.bytesPerPacket);
    const size_t length = size_t(ioPackets) * format_.bytesPerPacket;
    if (std::fseek(file_, offset, SEEK_SET) != 0) {
        ioPackets = 0;
        return FileFailure;
    }
    const size_t written = std::fwrite(data, 1, length, file_);
    ioPackets = uint32_t(written / format_.bytesPerPacket);
    dataBytes_ = std::max<uint32_t>(dataBytes_, uint32_t(offset + written - WaveHeaderSize));
    return written == length ? NoError : FileFailure;
}

Status AudioFile::getPropertyInfo(Property, uint32_t *, bool *) {
    return file_ ? UnknownProperty : Disposed;
}

Status AudioFile::set(Property, const void *, uint32_t) {
    return file_ ? UnknownProperty : Disposed;
}

Status AudioFile::close() {
    if (!file_)
        return Disposed;
    const bool patched = patchLength(file_, WaveRiffLengthOffset, dataBytes_ + 36) &&
                         patchLength(file_, WaveDataLengthOffset, dataBytes_);
    const bool closed = std::fclose(file_) == 0;
    file_ = nullptr;
    return patched && closed ? NoError : FileFailure;
}

} // namespace audio
