#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "ports/SecurityLayer.h"

namespace vq::test {

// A TLS engine that keeps TLS's record framing (type, version, two length bytes, payload) but
// not its cryptography: payloads are readable. The server's handshake is any number of
// handshake records, taken one per call as some platforms do, up to one whose payload is
// "done" (or "fail"); data records carry plain text; an alert "close" ends the session.
class FakeSecurityLayer : public SecurityLayer {
 public:
  static constexpr char kHandshake = 0x16, kData = 0x17, kAlert = 0x15;

  static std::string Record(char type, std::string_view payload) {
    std::string r{type, 3, 3, static_cast<char>(payload.size() >> 8), static_cast<char>(payload.size() & 0xFF)};
    return r.append(payload);
  }

  void SetEvents(SecurityLayerEvents* e) override { events = e; }
  SecurityStep Begin(std::string_view host) override {
    hosts.emplace_back(host);
    return {SecurityStep::Result::kContinue, 0, Record(kHandshake, "hello"), {}, {}};
  }
  SecurityStep Handshake(std::string_view input) override {
    ++handshakeCalls;
    if (input.empty()) calledWithNothing = true;
    std::string payload;
    std::size_t size = 0;
    if (!Take(input, payload, size)) return {};
    if (input[0] != kHandshake || payload == "fail") return {SecurityStep::Result::kFailed, size, {}, {}, "0x80090326"};
    if (payload == "done") return {SecurityStep::Result::kDone, size, Record(kHandshake, "finished"), {}, {}};
    return {SecurityStep::Result::kContinue, size, {}, {}, {}};
  }
  SecurityStep Decrypt(std::string_view input) override {
    std::string payload;
    std::size_t size = 0;
    if (!Take(input, payload, size)) return {};
    if (input[0] == kData) return {SecurityStep::Result::kData, size, {}, payload, {}};
    if (input[0] == kAlert && payload == "close") return {SecurityStep::Result::kClosed, size, {}, {}, {}};
    return {SecurityStep::Result::kFailed, size, {}, {}, "0x80090330"};
  }
  SecurityStep Encrypt(std::string_view plain) override {
    if (failEncrypt) return {SecurityStep::Result::kFailed, 0, {}, {}, "0x80090321"};
    return {SecurityStep::Result::kData, 0, Record(kData, plain), {}, {}};
  }
  std::string Shutdown() override { return Record(kAlert, "close"); }
  void CheckCertificate() override { ++checks; }
  void Reset() override { ++resets; }

  // The platform's verdict on the certificate arrives.
  void Verdict(CertificateVerdict v) { events->OnCertificateChecked(v); }

  SecurityLayerEvents* events = nullptr;
  std::vector<std::string> hosts;  // one per handshake begun
  int handshakeCalls = 0, checks = 0, resets = 0;
  bool calledWithNothing = false;
  bool failEncrypt = false;

 private:
  // The first whole record of the input.
  static bool Take(std::string_view input, std::string& payload, std::size_t& size) {
    if (input.size() < 5) return false;
    size = 5 + (static_cast<unsigned char>(input[3]) << 8 | static_cast<unsigned char>(input[4]));
    if (input.size() < size) return false;
    payload = input.substr(5, size - 5);
    return true;
  }
};

}  // namespace vq::test
