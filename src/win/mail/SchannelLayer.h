#pragma once
#include <windows.h>
#define SECURITY_WIN32
#include <security.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "ports/SecurityLayer.h"
#include "win/base/MessageWindow.h"

namespace vq::win {

// TLS through Windows' own Schannel: the program carries no TLS library. Schannel does the
// handshake and the records (TLS 1.2); the server's certificate is checked here, against the
// host name and the system's trusted roots, since Schannel is asked not to (Wine's checks
// nothing). The chain is built on a worker thread (the first build reads the root store and can
// take a third of a second); its verdict comes back to a message-only window of the layer's
// own. Create it on the user-interface thread and keep that thread's message loop running.
class SchannelLayer final : public MessageWindow, public SecurityLayer {
 public:
  SchannelLayer();
  ~SchannelLayer() override;

  void SetEvents(SecurityLayerEvents* events) override { events_ = events; }
  [[nodiscard]] SecurityStep Begin(std::string_view host) override;
  [[nodiscard]] SecurityStep Handshake(std::string_view input) override;
  [[nodiscard]] SecurityStep Decrypt(std::string_view input) override;
  [[nodiscard]] SecurityStep Encrypt(std::string_view plain) override;
  [[nodiscard]] std::string Shutdown() override;
  void CheckCertificate() override;
  void Reset() override;

 private:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  // One call of the handshake with this input (none for the first and for the goodbye).
  SecurityStep Initialize(const std::string* input);
  bool AcquireCredentials();

  SecurityLayerEvents* events_ = nullptr;
  bool haveCredentials_ = false;
  CredHandle credentials_{};
  bool haveContext_ = false;
  CtxtHandle context_{};
  SecPkgContext_StreamSizes sizes_{};
  std::wstring host_;
  // Every Begin and Reset starts a new one; a verdict of an older one is dropped.
  std::uint32_t generation_ = 0;
  bool checking_ = false;
};

}  // namespace vq::win
