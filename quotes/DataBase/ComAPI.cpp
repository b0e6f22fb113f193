#include "DataBase/ComAPI.h"

#include "DataBase/NTDataPageHead.h"
#include "base/Str.h"
#include "crypto/Crypto.h"

#include <bit>
#include <cstring>
#include <fstream>
#include <random>
#include <unistd.h>

namespace {

bool fits(ByteView buf, uint32_t pos, uint64_t width) {
    return uint64_t(pos) + width <= buf.size();
}

// Little-endian bytes at the cursor, zero-extended; the caller has checked that they are present.
uint64_t littleEndian(ByteView buf, uint32_t pos, int width) {
    uint64_t value = 0;
    for (int i = width - 1; i >= 0; --i)
        value = value << 8 | buf[pos + i];
    return value;
}

// Reads `width` bytes when present and moves the cursor past them; 0 and no move otherwise.
uint64_t take(ByteView buf, uint32_t &pos, int width) {
    if (!fits(buf, pos, width))
        return 0;
    uint64_t value = littleEndian(buf, pos, width);
    pos += width;
    return value;
}

void put(base::Data &buf, uint64_t value, int width) {
    uint8_t bytes[8];
    for (int i = 0; i < width; ++i)
        bytes[i] = uint8_t(value >> (8 * i));
    buf.append(bytes, width);
}

// The longest prefix of at most `limit` bytes that does not split a UTF-8 sequence.
std::string_view utf8Prefix(std::string_view text, size_t limit) {
    if (text.size() <= limit)
        return text;
    size_t end = limit;
    while (end > 0 && (uint8_t(text[end]) & 0xC0) == 0x80)
        --end;
    return text.substr(0, end);
}

std::string readFirstLine(const char *path) {
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    return base::str::trim(line);
}

// A text that identifies this machine and stays the same across runs. The machine id is hashed
// rather than sent, as it should never leave the machine in the clear.
std::string deviceIdentifier() {
    std::string source = readFirstLine("/etc/machine-id");
    if (source.empty())
        source = readFirstLine("/var/lib/dbus/machine-id");
    if (source.empty()) {
        char host[256] = {};
        gethostname(host, sizeof host - 1);
        source = host;
    }
    return crypto::md5Hex(source.data(), source.size());
}

} // namespace

int8_t ComAPI::ReadByte(ByteView buf, uint32_t &pos) {
    return int8_t(take(buf, pos, 1));
}

int16_t ComAPI::ReadShort(ByteView buf, uint32_t &pos) {
    return int16_t(take(buf, pos, 2));
}

int32_t ComAPI::ReadInt(ByteView buf, uint32_t &pos) {
    return int32_t(uint32_t(take(buf, pos, 4)));
}

int32_t ComAPI::ReadInt24(ByteView buf, uint32_t &pos) {
    auto value = int32_t(take(buf, pos, 3));
    return value & 0x800000 ? value - 0x1000000 : value;
}

float ComAPI::ReadFloat(ByteView buf, uint32_t &pos) {
    return std::bit_cast<float>(uint32_t(take(buf, pos, 4)));
}

int64_t ComAPI::ReadLongLong(ByteView buf, uint32_t &pos) {
    return int64_t(take(buf, pos, 8));
}

uint32_t ComAPI::ReadNum(ByteView buf, uint32_t &pos, int width) {
    if (width < 1 || width > 4)
        return 0;
    return uint32_t(take(buf, pos, width));
}

bool ComAPI::ReadData(ByteView buf, uint32_t &pos, void *out, uint32_t len) {
    if (!fits(buf, pos, len))
        return false;
    if (len > 0)
        std::memcpy(out, buf.data() + pos, len);
    pos += len;
    return true;
}

std::string ComAPI::ReadString(ByteView buf, uint32_t &pos) {
    if (!fits(buf, pos, 2))
        return {};
    int16_t count = ReadShort(buf, pos);
    // A count that is negative, or larger than what is left, leaves the cursor behind the count.
    if (count < 1 || !fits(buf, pos, uint32_t(count)))
        return {};
    std::string_view bytes(reinterpret_cast<const char *>(buf.data() + pos), size_t(count));
    pos += uint32_t(count);
    // An embedded zero byte ends the text, as the sender's C strings do.
    bytes = bytes.substr(0, bytes.find('\0'));
    if (!base::str::isValidUtf8(bytes))
        return {};
    return std::string(bytes);
}

void ComAPI::WriteByte(base::Data &buf, int32_t num) {
    put(buf, uint32_t(num), 1);
}

void ComAPI::WriteShort(base::Data &buf, int32_t num) {
    put(buf, uint32_t(num), 2);
}

void ComAPI::WriteInt(base::Data &buf, int32_t num) {
    put(buf, uint32_t(num), 4);
}

void ComAPI::WriteFloat(base::Data &buf, float num) {
    put(buf, std::bit_cast<uint32_t>(num), 4);
}

void ComAPI::WriteLongLong(base::Data &buf, int64_t num) {
    put(buf, uint64_t(num), 8);
}

void ComAPI::WriteString(base::Data &buf, std::string_view str) {
    std::string_view bytes = utf8Prefix(str, 0xFFFF);
    put(buf, bytes.size(), 2);
    buf.append(bytes.data(), bytes.size());
}

bool ComAPI::WriteInt(base::Data &buf, int32_t num, int32_t &pos) {
    if (pos < 0) {
        WriteInt(buf, num);
        return true;
    }
    if (size_t(pos) > buf.length())
        return false;
    base::Data bytes;
    WriteInt(bytes, num);
    size_t replaced = std::min<size_t>(4, buf.length() - size_t(pos));
    buf.replace(size_t(pos), replaced, bytes.bytes(), 4);
    pos += 4;
    return true;
}

bool ComAPI::MakeNTDataPage(base::Data &buf, int type, ByteView body, int tag) {
    return NTDataPageHead::append(buf, uint8_t(tag), uint16_t(type), NTDataPageHead::PlainAttribute, body);
}

std::string ComAPI::getDeviceID() {
    static thread_local std::mt19937 random{std::random_device{}()};
    std::string id = "301" + deviceIdentifier().substr(0, 11);
    while (id.size() < 19)
        id += base::str::format("%d", int(random() % 10));
    return id;
}
