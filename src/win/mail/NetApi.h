#pragma once
#include <winsock2.h>
#include <ws2tcpip.h>
#ifndef SECURITY_WIN32
#define SECURITY_WIN32
#endif
#include <schannel.h>
#include <security.h>
#include <wincrypt.h>

#include "win/base/LoadFunction.h"

namespace vq::win::net {

// Windows Sockets, Schannel and the certificate functions are needed only once mail is checked.
// Each function here loads its DLL on first use rather than with the program, which keeps the
// start-up as short as a bare tray program's; when the DLL or the function cannot be had, the
// call fails as the function itself fails.
#define VQ_NET_FUNCTION(module, name, failure)                                    \
  inline constinit LazyFunction<decltype(&::name)> name##Function{module, #name}; \
  template <typename... Args>                                                     \
  inline auto name(Args... args) {                                                \
    const auto function = name##Function.Get();                                   \
    return function ? function(args...) : failure;                                \
  }

VQ_NET_FUNCTION(L"ws2_32.dll", WSAStartup, WSASYSNOTREADY)
VQ_NET_FUNCTION(L"ws2_32.dll", WSACleanup, SOCKET_ERROR)
VQ_NET_FUNCTION(L"ws2_32.dll", WSAGetLastError, WSASYSNOTREADY)
VQ_NET_FUNCTION(L"ws2_32.dll", WSAAsyncSelect, SOCKET_ERROR)
VQ_NET_FUNCTION(L"ws2_32.dll", GetAddrInfoW, EAI_FAIL)
VQ_NET_FUNCTION(L"ws2_32.dll", FreeAddrInfoW, void())
VQ_NET_FUNCTION(L"ws2_32.dll", socket, INVALID_SOCKET)
VQ_NET_FUNCTION(L"ws2_32.dll", connect, SOCKET_ERROR)
VQ_NET_FUNCTION(L"ws2_32.dll", send, SOCKET_ERROR)
VQ_NET_FUNCTION(L"ws2_32.dll", recv, SOCKET_ERROR)
VQ_NET_FUNCTION(L"ws2_32.dll", closesocket, SOCKET_ERROR)

VQ_NET_FUNCTION(L"secur32.dll", AcquireCredentialsHandleW, SEC_E_INTERNAL_ERROR)
VQ_NET_FUNCTION(L"secur32.dll", FreeCredentialsHandle, SEC_E_INTERNAL_ERROR)
VQ_NET_FUNCTION(L"secur32.dll", InitializeSecurityContextW, SEC_E_INTERNAL_ERROR)
VQ_NET_FUNCTION(L"secur32.dll", DeleteSecurityContext, SEC_E_INTERNAL_ERROR)
VQ_NET_FUNCTION(L"secur32.dll", QueryContextAttributesW, SEC_E_INTERNAL_ERROR)
VQ_NET_FUNCTION(L"secur32.dll", ApplyControlToken, SEC_E_INTERNAL_ERROR)
VQ_NET_FUNCTION(L"secur32.dll", EncryptMessage, SEC_E_INTERNAL_ERROR)
VQ_NET_FUNCTION(L"secur32.dll", DecryptMessage, SEC_E_INTERNAL_ERROR)
VQ_NET_FUNCTION(L"secur32.dll", FreeContextBuffer, SEC_E_INTERNAL_ERROR)

VQ_NET_FUNCTION(L"crypt32.dll", CertGetCertificateChain, FALSE)
VQ_NET_FUNCTION(L"crypt32.dll", CertVerifyCertificateChainPolicy, FALSE)
VQ_NET_FUNCTION(L"crypt32.dll", CertFreeCertificateChain, void())
VQ_NET_FUNCTION(L"crypt32.dll", CertFreeCertificateContext, FALSE)

#undef VQ_NET_FUNCTION

}  // namespace vq::win::net
