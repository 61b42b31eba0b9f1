#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace vq {

// What the platform concluded about the server's certificate.
enum class CertificateVerdict {
  kTrusted,
  kUntrusted,  // no chain to a trusted root, a broken chain or signature, revoked
  kExpired,    // outside its validity period (or one of its issuers is)
  kWrongName,  // issued for another host name
};

// Reports of the security layer, one at a time, on the user-interface thread; never from inside
// a call on the layer.
class SecurityLayerEvents {
 public:
  virtual ~SecurityLayerEvents() = default;
  virtual void OnCertificateChecked(CertificateVerdict verdict) = 0;
};

// One step of the layer's work on the bytes received so far.
struct SecurityStep {
  enum class Result {
    kNeedMore,  // no whole record yet: keep every byte, call again once more has come
    kContinue,  // the handshake goes on (call again with what is left, if anything)
    kDone,      // the handshake is complete
    kData,      // one record decrypted (plain may be empty)
    kClosed,    // the peer ended the secure session
    kFailed,
  };
  Result result = Result::kNeedMore;
  std::size_t consumed = 0;  // input bytes used up; the caller keeps the rest
  std::string output;        // bytes to send to the peer now
  std::string plain;         // decrypted bytes
  std::string error;         // the platform's code of a failure, for the message
};

// A client's TLS engine: bytes in, bytes out, no socket of its own, so that it can run from the
// socket's events. One connection at a time; Begin starts a new one and forgets the old.
class SecurityLayer {
 public:
  virtual ~SecurityLayer() = default;
  virtual void SetEvents(SecurityLayerEvents* events) = 0;
  // Starts a handshake with the server known by this host name (sent as the server name, and
  // later checked against the certificate). Gives the first bytes to send, or kFailed.
  [[nodiscard]] virtual SecurityStep Begin(std::string_view host) = 0;
  // Feeds what came from the server during the handshake; never called with nothing.
  [[nodiscard]] virtual SecurityStep Handshake(std::string_view input) = 0;
  // Decrypts the first record of the input (kData, kNeedMore, kClosed or kFailed).
  [[nodiscard]] virtual SecurityStep Decrypt(std::string_view input) = 0;
  // The records that carry the text (UTF-8 here), encrypted in the form a plain connection
  // sends it (the system's ANSI code page); kFailed when it could not be encrypted.
  [[nodiscard]] virtual SecurityStep Encrypt(std::string_view plain) = 0;
  // The notice that ends the secure session (may be empty); the connection is dropped afterwards.
  [[nodiscard]] virtual std::string Shutdown() = 0;
  // Checks the certificate of the completed handshake against the host name given to Begin and
  // the platform's trusted roots. The verdict arrives as OnCertificateChecked, later.
  virtual void CheckCertificate() = 0;
  // Forgets the connection: a check still under way is never reported.
  virtual void Reset() = 0;
};

}  // namespace vq
