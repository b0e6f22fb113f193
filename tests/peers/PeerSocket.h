#pragma once

#include <cstdint>
#include <string>

namespace peers {

// Small socket helpers shared by the threaded HTTP peers (one thread per connection, a wake pipe
// that ends every wait when the peer stops).

// A listening TCP socket on 127.0.0.1 with a port of the system's choosing; -1 on failure.
int listenOnLoopback(uint16_t *port);

// Reads from `fd` into `pending` until it holds `count` bytes; false when the connection ends or
// `wakeFd` becomes readable first. The bytes are taken off the front of `pending` into `out`.
bool readExactly(int fd, int wakeFd, std::string &pending, size_t count, std::string &out);

// Reads one request head (through the blank line) and the body its "Content-Length" announces;
// bytes beyond stay in `pending` for the next request. False as readExactly.
bool readRequest(int fd, int wakeFd, std::string &pending, std::string &head, std::string &body);

// Sends all of `bytes`; false when the connection fails.
bool sendAll(int fd, const std::string &bytes);

// The value of a header field in a request head (name without regard to case); empty when absent.
std::string headerValue(const std::string &head, const std::string &name);

} // namespace peers
