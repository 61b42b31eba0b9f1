#include "win/mail/SchannelLayer.h"

#include <schannel.h>
#include <wincrypt.h>

#include <algorithm>
#include <memory>

#include "win/base/Text.h"
#include "win/mail/NetApi.h"
#include "base/Digits.h"

namespace vq::win {
namespace {

constexpr wchar_t kWindowClass[] = L"Vornquill2.Tls";
constexpr UINT kCheckedMessage = WM_APP + 1;  // wParam: generation, lParam: CertificateVerdict
constexpr ULONG kRequest = ISC_REQ_SEQUENCE_DETECT | ISC_REQ_REPLAY_DETECT | ISC_REQ_CONFIDENTIALITY |
                           ISC_REQ_EXTENDED_ERROR | ISC_REQ_ALLOCATE_MEMORY | ISC_REQ_STREAM;
constexpr std::size_t kRecordHeader = 5;

std::string ErrorCode(SECURITY_STATUS status) { return "0x" + UpperHex(static_cast<unsigned long>(status), 8); }

// Takes what Schannel allocated.
void Collect(SecBuffer& buffer, std::string* into) {
  if (!buffer.pvBuffer) return;
  if (into) into->append(static_cast<const char*>(buffer.pvBuffer), buffer.cbBuffer);
  net::FreeContextBuffer(buffer.pvBuffer);
  buffer.pvBuffer = nullptr;
}

struct CertificateJob {
  HWND window = nullptr;
  std::uint32_t generation = 0;
  std::wstring host;
  PCCERT_CONTEXT certificate = nullptr;
  ~CertificateJob() {
    if (certificate) net::CertFreeCertificateContext(certificate);
  }
};

// The chain must reach a trusted root for server authentication, with no error of its own (Wine's
// SSL policy passes a chain whose issuer is unknown), and the policy must accept the host name.
CertificateVerdict Verify(const CertificateJob& job) {
  LPSTR usages[] = {const_cast<LPSTR>(szOID_PKIX_KP_SERVER_AUTH)};
  CERT_CHAIN_PARA chainPara{};
  chainPara.cbSize = sizeof chainPara;
  chainPara.RequestedUsage.dwType = USAGE_MATCH_TYPE_AND;
  chainPara.RequestedUsage.Usage.cUsageIdentifier = 1;
  chainPara.RequestedUsage.Usage.rgpszUsageIdentifier = usages;
  PCCERT_CHAIN_CONTEXT chain = nullptr;
  if (!net::CertGetCertificateChain(nullptr, job.certificate, nullptr, job.certificate->hCertStore, &chainPara, 0,
                                    nullptr, &chain))
    return CertificateVerdict::kUntrusted;
  std::wstring host = job.host;
  SSL_EXTRA_CERT_CHAIN_POLICY_PARA ssl{};
  ssl.cbSize = sizeof ssl;
  ssl.dwAuthType = AUTHTYPE_SERVER;
  ssl.pwszServerName = host.data();
  CERT_CHAIN_POLICY_PARA policy{};
  policy.cbSize = sizeof policy;
  policy.pvExtraPolicyPara = &ssl;
  CERT_CHAIN_POLICY_STATUS status{};
  status.cbSize = sizeof status;
  const BOOL checked = net::CertVerifyCertificateChainPolicy(CERT_CHAIN_POLICY_SSL, chain, &policy, &status);
  const DWORD chainErrors = chain->TrustStatus.dwErrorStatus;
  net::CertFreeCertificateChain(chain);
  if (!checked) return CertificateVerdict::kUntrusted;
  switch (static_cast<HRESULT>(status.dwError)) {
    case S_OK:
      break;
    case CERT_E_EXPIRED:
      return CertificateVerdict::kExpired;
    case CERT_E_CN_NO_MATCH:
      return CertificateVerdict::kWrongName;
    default:
      return CertificateVerdict::kUntrusted;
  }
  if (chainErrors & CERT_TRUST_IS_NOT_TIME_VALID) return CertificateVerdict::kExpired;
  return chainErrors == 0 ? CertificateVerdict::kTrusted : CertificateVerdict::kUntrusted;
}

DWORD WINAPI VerifyOnWorker(void* parameter) {
  std::unique_ptr<CertificateJob> job(static_cast<CertificateJob*>(parameter));
  const CertificateVerdict verdict = Verify(*job);
  PostMessageW(job->window, kCheckedMessage, job->generation, static_cast<LPARAM>(verdict));
  return 0;
}

}  // namespace

SchannelLayer::SchannelLayer() = default;

SchannelLayer::~SchannelLayer() {
  Reset();
  if (haveCredentials_) net::FreeCredentialsHandle(&credentials_);
  Destroy();
}

// TLS 1.2 only: older versions are broken, and Schannel takes 1.3 only through another set of
// credentials that Wine does not honour. The certificate is checked by CheckCertificate.
bool SchannelLayer::AcquireCredentials() {
  if (haveCredentials_) return true;
  SCHANNEL_CRED cred{};
  cred.dwVersion = SCHANNEL_CRED_VERSION;
  cred.grbitEnabledProtocols = SP_PROT_TLS1_2_CLIENT;
  cred.dwFlags = SCH_CRED_NO_DEFAULT_CREDS | SCH_CRED_MANUAL_CRED_VALIDATION;
  TimeStamp expiry;
  haveCredentials_ =
      net::AcquireCredentialsHandleW(nullptr, const_cast<wchar_t*>(UNISP_NAME_W), SECPKG_CRED_OUTBOUND, nullptr, &cred,
                                     nullptr, nullptr, &credentials_, &expiry) == SEC_E_OK;
  return haveCredentials_;
}

void SchannelLayer::Reset() {
  generation_ = NextGeneration();
  checking_ = false;
  if (haveContext_) net::DeleteSecurityContext(&context_);
  haveContext_ = false;
  sizes_ = {};
}

SecurityStep SchannelLayer::Begin(std::string_view host) {
  Reset();
  host_ = Widen(host);
  // The window that takes the certificate's verdict comes with the first handshake.
  if (!EnsureWindow(kWindowClass)) return {SecurityStep::Result::kFailed, 0, {}, {}, "window"};
  if (!AcquireCredentials()) return {SecurityStep::Result::kFailed, 0, {}, {}, "credentials"};
  return Initialize(nullptr);
}

SecurityStep SchannelLayer::Handshake(std::string_view input) {
  if (!haveContext_) return {SecurityStep::Result::kFailed, 0, {}, {}, {}};
  const std::string copy(input);
  return Initialize(&copy);
}

SecurityStep SchannelLayer::Initialize(const std::string* input) {
  SecurityStep step;
  for (int round = 0; round < 2; ++round) {
    SecBuffer in[2] = {{input ? static_cast<ULONG>(input->size()) : 0, SECBUFFER_TOKEN,
                        input ? const_cast<char*>(input->data()) : nullptr},
                       {0, SECBUFFER_EMPTY, nullptr}};
    SecBufferDesc inDesc{SECBUFFER_VERSION, 2, in};
    SecBuffer out[2] = {{0, SECBUFFER_TOKEN, nullptr}, {0, SECBUFFER_ALERT, nullptr}};
    SecBufferDesc outDesc{SECBUFFER_VERSION, 2, out};
    ULONG attributes = 0;
    const SECURITY_STATUS status =
        net::InitializeSecurityContextW(&credentials_, haveContext_ ? &context_ : nullptr, host_.data(), kRequest, 0, 0,
                                        input ? &inDesc : nullptr, 0, &context_, &outDesc, &attributes, nullptr);
    if (!haveContext_ && (status == SEC_E_OK || status == SEC_I_CONTINUE_NEEDED)) haveContext_ = true;
    Collect(out[0], &step.output);
    Collect(out[1], nullptr);
    if (status == SEC_E_INCOMPLETE_MESSAGE) return {};  // keep every byte, wait for more
    step.consumed = input ? input->size() - (in[1].BufferType == SECBUFFER_EXTRA ? in[1].cbBuffer : 0) : 0;
    switch (status) {
      case SEC_E_OK:
        if (net::QueryContextAttributesW(&context_, SECPKG_ATTR_STREAM_SIZES, &sizes_) != SEC_E_OK)
          return {SecurityStep::Result::kFailed, step.consumed, {}, {}, "sizes"};
        step.result = SecurityStep::Result::kDone;
        return step;
      case SEC_I_CONTINUE_NEEDED:
        step.result = SecurityStep::Result::kContinue;
        return step;
      case SEC_I_INCOMPLETE_CREDENTIALS:
        // The server asks for a certificate of ours; there is none, and it may go on without.
        continue;
      default:
        step.result = SecurityStep::Result::kFailed;
        step.error = ErrorCode(status);
        return step;
    }
  }
  step.result = SecurityStep::Result::kFailed;
  step.error = ErrorCode(SEC_I_INCOMPLETE_CREDENTIALS);
  return step;
}

// One record at a time: its length is in its header, so only it is copied (the record is
// decrypted in place).
SecurityStep SchannelLayer::Decrypt(std::string_view input) {
  if (!haveContext_) return {SecurityStep::Result::kFailed, 0, {}, {}, {}};
  if (input.size() < kRecordHeader) return {};
  const std::size_t length =
      kRecordHeader + (static_cast<unsigned char>(input[3]) << 8 | static_cast<unsigned char>(input[4]));
  if (input.size() < length) return {};
  std::string record(input.substr(0, length));
  SecBuffer buffers[4] = {{static_cast<ULONG>(record.size()), SECBUFFER_DATA, record.data()},
                          {0, SECBUFFER_EMPTY, nullptr},
                          {0, SECBUFFER_EMPTY, nullptr},
                          {0, SECBUFFER_EMPTY, nullptr}};
  SecBufferDesc desc{SECBUFFER_VERSION, 4, buffers};
  const SECURITY_STATUS status = net::DecryptMessage(&context_, &desc, 0, nullptr);
  SecurityStep step;
  step.consumed = length;
  for (const SecBuffer& b : buffers) {
    if (b.BufferType == SECBUFFER_DATA && b.pvBuffer)
      step.plain.assign(static_cast<const char*>(b.pvBuffer), b.cbBuffer);
    if (b.BufferType == SECBUFFER_EXTRA) step.consumed = length - b.cbBuffer;
  }
  switch (status) {
    case SEC_E_OK:
      step.result = SecurityStep::Result::kData;
      return step;
    case SEC_I_RENEGOTIATE:
      // A TLS 1.2 server's request for a new handshake, which a client may ignore; the
      // conversation carries on in the keys it has.
      step.plain.clear();
      step.result = SecurityStep::Result::kData;
      return step;
    case SEC_I_CONTEXT_EXPIRED:
      step.result = SecurityStep::Result::kClosed;
      return step;
    case SEC_E_INCOMPLETE_MESSAGE:
      return {};
    default:
      return {SecurityStep::Result::kFailed, length, {}, {}, ErrorCode(status)};
  }
}

SecurityStep SchannelLayer::Encrypt(std::string_view plain) {
  SecurityStep step;
  if (!haveContext_ || sizes_.cbMaximumMessage == 0) return {SecurityStep::Result::kFailed, 0, {}, {}, {}};
  const std::string text = ToAnsi(plain);
  for (std::size_t at = 0; at < text.size(); at += sizes_.cbMaximumMessage) {
    const std::size_t n = std::min<std::size_t>(text.size() - at, sizes_.cbMaximumMessage);
    std::string record(sizes_.cbHeader + n + sizes_.cbTrailer, '\0');
    std::copy_n(text.data() + at, n, record.data() + sizes_.cbHeader);
    SecBuffer buffers[4] = {{sizes_.cbHeader, SECBUFFER_STREAM_HEADER, record.data()},
                            {static_cast<ULONG>(n), SECBUFFER_DATA, record.data() + sizes_.cbHeader},
                            {sizes_.cbTrailer, SECBUFFER_STREAM_TRAILER, record.data() + sizes_.cbHeader + n},
                            {0, SECBUFFER_EMPTY, nullptr}};
    SecBufferDesc desc{SECBUFFER_VERSION, 4, buffers};
    const SECURITY_STATUS status = net::EncryptMessage(&context_, 0, &desc, 0);
    if (status != SEC_E_OK) return {SecurityStep::Result::kFailed, 0, {}, {}, ErrorCode(status)};
    // The trailer shrinks to what the cipher needs: only what was filled in goes out.
    for (int i = 0; i < 3; ++i) step.output.append(static_cast<const char*>(buffers[i].pvBuffer), buffers[i].cbBuffer);
  }
  step.result = SecurityStep::Result::kData;
  return step;
}

std::string SchannelLayer::Shutdown() {
  if (!haveContext_) return {};
  DWORD type = SCHANNEL_SHUTDOWN;
  SecBuffer control{sizeof type, SECBUFFER_TOKEN, &type};
  SecBufferDesc desc{SECBUFFER_VERSION, 1, &control};
  if (net::ApplyControlToken(&context_, &desc) != SEC_E_OK) return {};
  return Initialize(nullptr).output;
}

void SchannelLayer::CheckCertificate() {
  auto job = std::make_unique<CertificateJob>();
  job->window = hwnd_;
  job->generation = generation_;
  job->host = host_;
  checking_ = true;
  if (!haveContext_ ||
      net::QueryContextAttributesW(&context_, SECPKG_ATTR_REMOTE_CERT_CONTEXT, &job->certificate) != SEC_E_OK ||
      !job->certificate) {
    PostMessageW(hwnd_, kCheckedMessage, generation_, static_cast<LPARAM>(CertificateVerdict::kUntrusted));
    return;
  }
  CertificateJob* raw = job.release();
  HANDLE thread = CreateThread(nullptr, 0, VerifyOnWorker, raw, 0, nullptr);
  if (thread) {
    CloseHandle(thread);
  } else {
    // No thread to be had: the check is made here, its verdict still arrives as an event.
    VerifyOnWorker(raw);
  }
}

LRESULT SchannelLayer::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg != kCheckedMessage) return Default(msg, wp, lp);
  if (static_cast<std::uint32_t>(wp) == generation_ && checking_) {
    checking_ = false;
    if (events_) events_->OnCertificateChecked(static_cast<CertificateVerdict>(lp));
  }
  return 0;
}

}  // namespace vq::win
