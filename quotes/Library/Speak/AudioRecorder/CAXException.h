#pragma once

#include <cstdint>
#include <string>

// A failure of an audio call inside the recorder: what was being done and the status it answered.
// Thrown and caught inside the recorder only; its text is printed, never shown.
class CAXException {
public:
    static constexpr size_t MaxMessageLength = 255;

    // A message longer than MaxMessageLength is cut.
    CAXException(const std::string &operation, int32_t error);

    const std::string &mOperation() const { return operation_; }
    int32_t mError() const { return error_; }

private:
    std::string operation_;
    int32_t error_;
};

// A status for printing: the four characters in quotes when all four are printable, else the
// decimal number when it lies within ±199,999, else "0x…" in hex.
std::string CAX4CCString(int32_t error);

// Throws a CAXException when `error` is not 0.
void XThrowIfError(int32_t error, const char *operation);
