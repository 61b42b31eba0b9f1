#pragma once

namespace vq::mail {

// Failures of the secure connection, reported through OnError beside the Windows Sockets
// numbers (which end below 12000).
enum TlsError : int {
  kTlsHandshakeFailed = 20001,
  kTlsNotTlsServer,    // the server answered in plain text
  kTlsNoStartTls,      // the server did not agree to "STLS" (IMAP: did not offer or take STARTTLS)
  kTlsUntrusted,       // the certificate's chain ends nowhere this machine trusts
  kTlsExpired,         // the certificate is out of date
  kTlsWrongName,       // the certificate names another host
  kTlsBroken,          // a record that would not decrypt or encrypt after the handshake
  kTlsUnknownSetting,  // a security setting this program does not know
};

}  // namespace vq::mail
