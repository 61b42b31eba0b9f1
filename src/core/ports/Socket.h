#pragma once
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace vq {

// What a TCP connection reports, one event at a time, on the user-interface thread. No event
// is delivered from inside a call on the socket.
class SocketEvents {
 public:
  virtual ~SocketEvents() = default;
  virtual void OnConnect() = 0;
  // The bytes as they came off the wire (the peer's code page, usually the system's ANSI one).
  virtual void OnDataArrival(std::string_view bytes) = 0;
  // Everything handed to Send so far has gone to the network.
  virtual void OnSendComplete() = 0;
  // The peer closed the connection.
  virtual void OnClose() = 0;
  // A Windows Sockets error number (11001 host not found, 10061 refused ...) and its text.
  virtual void OnError(int code, std::string_view description) = 0;
};

// One TCP client connection. Calls return at once; outcomes arrive as events.
class Socket {
 public:
  virtual ~Socket() = default;
  // The listener of every later event; the socket never owns it.
  virtual void SetEvents(SocketEvents* events) = 0;
  // Resolves the host (a name, or an IPv4 or IPv6 address) without blocking and connects to
  // its addresses in the resolver's order. 0 when the attempt started (OnConnect or OnError
  // follows), else the Windows Sockets error that stopped it at once (10049 for a port that
  // cannot be used). Closes a connection that was still open first.
  [[nodiscard]] virtual int Connect(std::string_view host, int port) = 0;
  // Sends UTF-8 text, converted to the system's ANSI code page on the wire. 0 when it was
  // queued (OnSendComplete follows), else the Windows Sockets error.
  [[nodiscard]] virtual int Send(std::string_view text) = 0;
  // How many bytes Send puts on the wire for this text (an IMAP literal announces its length).
  virtual std::size_t WireLength(std::string_view text) const { return text.size(); }
  // Received text as UTF-8: as it came when it reads as UTF-8, else read in the system's ANSI
  // code page, which POP3 servers in Japan may speak.
  virtual std::string TextFromWire(std::string_view bytes) const { return std::string(bytes); }
  // Sends the bytes exactly as given (the records of a secure connection); as Send otherwise.
  [[nodiscard]] virtual int SendBytes(std::string_view bytes) = 0;
  // Drops the connection (or the attempt) at once, without any event.
  virtual void Close() = 0;
  // False from Connect until Close; an error leaves the socket not closed, as a failed
  // connection still holds its state until it is closed.
  virtual bool IsClosed() const = 0;
};

}  // namespace vq
